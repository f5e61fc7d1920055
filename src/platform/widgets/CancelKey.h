// Keyboard convention: Esc clicks a window's cancel button (返回, 取消).
#pragma once

#include <QObject>
#include <QPointer>

class QAbstractButton;
class QWidget;

namespace kvl {

class CancelKey : public QObject
{
    Q_OBJECT
public:
    // Esc anywhere in `root` (default: the button's window) clicks `button` while it is enabled
    // and shown. Owned by the button.
    static CancelKey *attach(QAbstractButton *button, QWidget *root = nullptr);

    // Esc is left to a control marked here, and to a grid while a cell is being edited.
    static void setWantsEscape(QWidget *control, bool wants = true);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    CancelKey(QAbstractButton *button, QWidget *root);
    bool keepsEscape(const QWidget *control) const;

    QPointer<QAbstractButton> m_button;
    QPointer<QWidget> m_root;
};

} // namespace kvl
