// Application-wide key filter scoped to one root widget; moves focus along the Tab chain.
#include "EnterAsTab.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QToolButton>

namespace kvl {

namespace {
const char *const kWantsEnter = "kvlWantsEnter";
}

EnterAsTab *EnterAsTab::install(QWidget *root)
{
    return new EnterAsTab(root);
}

EnterAsTab::EnterAsTab(QWidget *root)
    : QObject(root)
    , m_root(root)
{
    // A filter on the root alone would see Enter only after the focused control has used it.
    qApp->installEventFilter(this);
}

void EnterAsTab::setWantsEnter(QWidget *control, bool wants)
{
    control->setProperty(kWantsEnter, wants);
}

bool EnterAsTab::keepsEnter(const QWidget *control) const
{
    if (control->property(kWantsEnter).toBool())
        return true;
    if (qobject_cast<const QTextEdit *>(control) || qobject_cast<const QPlainTextEdit *>(control))
        return true;
    if (qobject_cast<const QPushButton *>(control) || qobject_cast<const QToolButton *>(control))
        return true;
    if (qobject_cast<const QAbstractItemView *>(control))
        return true;
    // A cell editor lives in the grid's viewport; Enter there ends the edit, as the grid wants.
    for (const QWidget *w = control->parentWidget(); w && w != m_root; w = w->parentWidget())
        if (auto *view = qobject_cast<const QAbstractItemView *>(w); view && view->viewport()->isAncestorOf(control))
            return true;
    return false;
}

bool EnterAsTab::focusNext(QWidget *from)
{
    for (QWidget *w = from->nextInFocusChain(); w && w != from; w = w->nextInFocusChain()) {
        if (!m_root->isAncestorOf(w) || w->focusProxy())
            continue;
        if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(m_root)) {
            w->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    return false;
}

bool EnterAsTab::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !m_root || !watched->isWidgetType())
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return false;
    if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    auto *control = static_cast<QWidget *>(watched);
    // Only the control that has the focus in our root; the event's later trips up the parent
    // chain (when a control passed it on) are not ours to take.
    if (!m_root->isAncestorOf(control) || m_root->focusWidget() != control)
        return false;
    if (keepsEnter(control))
        return false;
    return focusNext(control);
}

} // namespace kvl
