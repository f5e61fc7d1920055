// Keyboard convention of entry boxes: Enter moves on to the next control, as Tab does.
#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

namespace kvl {

class EnterAsTab : public QObject
{
    Q_OBJECT
public:
    // Works for every control inside `root` (a dialog, a window, or a working window placed in
    // another window), including controls added later. Owned by `root`.
    static EnterAsTab *install(QWidget *root);

    // Enter is left to multi-line edits, push and tool buttons (a default button), item views
    // (grids) and the cell editors inside them, and to any control marked here.
    static void setWantsEnter(QWidget *control, bool wants = true);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit EnterAsTab(QWidget *root);
    bool keepsEnter(const QWidget *control) const;
    bool focusNext(QWidget *from);

    QPointer<QWidget> m_root;
};

} // namespace kvl
