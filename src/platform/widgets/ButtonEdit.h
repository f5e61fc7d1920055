// A one-line edit with a small button at its right; F4 and a double click press it too.
#pragma once

#include <QLineEdit>

namespace kvl {

class EditButton;

class ButtonEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit ButtonEdit(QWidget *parent = nullptr);

    EditButton *button() const { return m_button; }
    void setEnterTriggers(bool on);

signals:
    void buttonClicked();

private:
    EditButton *m_button;
};

} // namespace kvl
