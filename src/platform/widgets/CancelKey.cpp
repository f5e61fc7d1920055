// Application-wide key filter that turns Esc inside one root into a click of its cancel button.
#include "CancelKey.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>

namespace kvl {

namespace {
const char *const kWantsEscape = "kvlWantsEscape";
} // namespace

CancelKey *CancelKey::attach(QAbstractButton *button, QWidget *root)
{
    return new CancelKey(button, root ? root : button->window());
}

CancelKey::CancelKey(QAbstractButton *button, QWidget *root)
    : QObject(button)
    , m_button(button)
    , m_root(root)
{
    qApp->installEventFilter(this);
}

void CancelKey::setWantsEscape(QWidget *control, bool wants)
{
    control->setProperty(kWantsEscape, wants);
}

bool CancelKey::keepsEscape(const QWidget *control) const
{
    for (const QWidget *w = control; w && w != m_root; w = w->parentWidget()) {
        if (w->property(kWantsEscape).toBool())
            return true;
        // A cell editor lives in the grid's viewport; Esc there ends the edit, not the window.
        if (auto *view = qobject_cast<const QAbstractItemView *>(w);
            view && control != view && view->viewport()->isAncestorOf(control))
            return true;
    }
    return false;
}

bool CancelKey::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !m_button || !m_root || !watched->isWidgetType())
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() != Qt::Key_Escape || key->modifiers() != Qt::NoModifier)
        return false;
    auto *control = static_cast<QWidget *>(watched);
    // Only the first delivery: the focused control, or the root when nothing in it has focus.
    QWidget *focus = m_root->focusWidget();
    const bool ours = (control == m_root && (!focus || focus == m_root))
        || (m_root->isAncestorOf(control) && focus == control);
    if (!ours || keepsEscape(control))
        return false;
    if (!m_button->isEnabled() || !m_button->isVisibleTo(m_root))
        return false;
    m_button->click();
    return true;
}

} // namespace kvl
