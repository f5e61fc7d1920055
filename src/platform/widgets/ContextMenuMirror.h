// A context menu that repeats a window's tool buttons and follows their state by itself.
#pragma once

#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QPointer>

class QAbstractButton;
class QAction;
class QMenu;
class QWidget;

namespace kvl {

class ContextMenuMirror : public QObject
{
    Q_OBJECT
public:
    // Items are added to `menu` and, for their shortcuts to work while the menu is closed, to
    // `shortcutScope` (the window) with a widget-with-children context. Owned by the menu.
    ContextMenuMirror(QMenu *menu, QWidget *shortcutScope);

    // An item repeating `button`: its caption, "N" + the button's name ("Badd" gives "NBadd")
    // unless a name is given, the shortcut, and a click of the button when chosen.
    QAction *mirror(QAbstractButton *button, const QKeySequence &shortcut = {},
                    const QString &name = {});
    // The same for a tool-bar action.
    QAction *mirror(QAction *toolAction, const QKeySequence &shortcut = {},
                    const QString &name = {});
    // A separator named `name` that shows exactly when `toolbarSeparator` does (always when null).
    QAction *addSeparator(const QString &name, QWidget *toolbarSeparator = nullptr);
    QAction *addSeparator(const QString &name, QAction *toolbarSeparator);

    // Copies visibility and enabled state of every source now. Also runs by itself whenever a
    // source changes, so a window's commands need not call it.
    void sync();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Link
    {
        QPointer<QObject> source;   // QAbstractButton, QAction or a separator widget
        QAction *item;
        bool separator;
    };
    QAction *addLink(QObject *source, QAction *item, bool separator, const QString &name,
                     const QKeySequence &shortcut);
    void syncLink(const Link &link);

    QMenu *m_menu;
    QPointer<QWidget> m_scope;
    QList<Link> m_links;
};

} // namespace kvl
