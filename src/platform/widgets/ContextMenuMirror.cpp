// Context-menu items bound to tool buttons or actions; state follows through events/signals.
#include "ContextMenuMirror.h"

#include <QAbstractButton>
#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QWidget>

namespace kvl {

ContextMenuMirror::ContextMenuMirror(QMenu *menu, QWidget *shortcutScope)
    : QObject(menu)
    , m_menu(menu)
    , m_scope(shortcutScope)
{
}

QAction *ContextMenuMirror::addLink(QObject *source, QAction *item, bool separator,
                                    const QString &name, const QKeySequence &shortcut)
{
    item->setObjectName(name);
    if (!shortcut.isEmpty()) {
        item->setShortcut(shortcut);
        item->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        if (m_scope)
            m_scope->addAction(item);
    }
    m_links.append({source, item, separator});
    syncLink(m_links.constLast());
    return item;
}

QAction *ContextMenuMirror::mirror(QAbstractButton *button, const QKeySequence &shortcut,
                                   const QString &name)
{
    QAction *item = m_menu->addAction(button->text());
    QPointer<QAbstractButton> target(button);
    connect(item, &QAction::triggered, this, [target] {
        if (target && target->isEnabled())
            target->click();
    });
    button->installEventFilter(this);
    return addLink(button, item, false,
                   name.isEmpty() ? QStringLiteral("N") + button->objectName() : name, shortcut);
}

QAction *ContextMenuMirror::mirror(QAction *toolAction, const QKeySequence &shortcut,
                                   const QString &name)
{
    QAction *item = m_menu->addAction(toolAction->text());
    item->setIcon(toolAction->icon());
    QPointer<QAction> target(toolAction);
    connect(item, &QAction::triggered, this, [target] {
        if (target && target->isEnabled())
            target->trigger();
    });
    connect(toolAction, &QAction::changed, this, [this, toolAction] {
        for (const Link &l : std::as_const(m_links)) {
            if (l.source == toolAction)
                syncLink(l);
        }
    });
    return addLink(toolAction, item, false,
                   name.isEmpty() ? QStringLiteral("N") + toolAction->objectName() : name,
                   shortcut);
}

QAction *ContextMenuMirror::addSeparator(const QString &name, QWidget *toolbarSeparator)
{
    if (toolbarSeparator)
        toolbarSeparator->installEventFilter(this);
    return addLink(toolbarSeparator, m_menu->addSeparator(), true, name, {});
}

QAction *ContextMenuMirror::addSeparator(const QString &name, QAction *toolbarSeparator)
{
    QAction *item = m_menu->addSeparator();
    connect(toolbarSeparator, &QAction::changed, this,
            [this, item, toolbarSeparator] { item->setVisible(toolbarSeparator->isVisible()); });
    return addLink(toolbarSeparator, item, true, name, {});
}

void ContextMenuMirror::syncLink(const Link &link)
{
    if (!link.source)
        return;
    if (auto *w = qobject_cast<QWidget *>(link.source.data())) {
        // isHidden, not isVisible: the window may not be on screen yet.
        link.item->setVisible(!w->isHidden());
        if (!link.separator)
            link.item->setEnabled(w->isEnabled());
    } else if (auto *a = qobject_cast<QAction *>(link.source.data())) {
        link.item->setVisible(a->isVisible());
        if (!link.separator)
            link.item->setEnabled(a->isEnabled());
    }
}

void ContextMenuMirror::sync()
{
    for (const Link &l : std::as_const(m_links))
        syncLink(l);
}

bool ContextMenuMirror::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::EnabledChange:
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
        for (const Link &l : std::as_const(m_links)) {
            if (l.source == watched)
                syncLink(l);
        }
        break;
    default:
        break;
    }
    return false;
}

} // namespace kvl
