// Data-aware text edit with a pick button: the field's text, typed or chosen through the
// button (click, F4, double click, optionally Enter).
#pragma once

#include "DbEdit.h"

namespace kvl {

class EditButton;

class DbButtonEdit : public DbEdit
{
    Q_OBJECT
public:
    explicit DbButtonEdit(QWidget *parent = nullptr);

    EditButton *button() const { return m_button; }
    void setEnterTriggers(bool on);

signals:
    // Not sent while the field cannot be changed (read-only, no record).
    void buttonClicked();

private:
    EditButton *m_button;
};

} // namespace kvl
