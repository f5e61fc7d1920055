// The small button at the right end of a one-line edit, and the keys that press it:
// F4 and a double click in the edit, optionally Enter. Shared by the plain and the
// data-aware button edits.
#pragma once

#include <QObject>

class QAction;
class QLineEdit;

namespace kvl {

class EditButton : public QObject
{
    Q_OBJECT
public:
    // Owned by the edit.
    explicit EditButton(QLineEdit *edit);

    // Enter presses the button instead of moving on (the edit then keeps Enter for itself).
    void setEnterTriggers(bool on);
    bool enterTriggers() const { return m_enter; }

    QAction *action() const { return m_action; }
    // Presses the button, as a click, F4 or a double click do; nothing while the edit is disabled.
    void trigger();

signals:
    void clicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *m_edit;
    QAction *m_action;
    bool m_enter = false;
};

} // namespace kvl
