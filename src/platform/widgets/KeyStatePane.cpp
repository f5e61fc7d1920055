// Lock-key pane: polls its state source and listens for the lock keys themselves.
#include "KeyStatePane.h"

#include <QApplication>
#include <QKeyEvent>

namespace kvl {

KeyStatePane::KeyStatePane(LockKey key, const QString &caption, QWidget *parent)
    : StatusPane(parent)
    , m_key(key)
    , m_source(&LockKeys::isOn)
{
    setText(caption);
    setAccessibleName(caption);
    setFixedWidth(fontMetrics().horizontalAdvance(caption) + 16);
    m_timer.setInterval(500);
    connect(&m_timer, &QTimer::timeout, this, &KeyStatePane::refresh);
    m_timer.start();
    qApp->installEventFilter(this);
    refresh();
}

void KeyStatePane::setStateSource(StateSource source)
{
    m_source = std::move(source);
    refresh();
}

void KeyStatePane::refresh()
{
    m_state = m_source ? m_source(m_key) : std::nullopt;
    // Greyed while off or unknown, as a lock-key indicator that is dark.
    setEnabled(m_state.value_or(false));
}

LockKey KeyStatePane::key() const
{
    return m_key;
}

bool KeyStatePane::isOn() const
{
    return m_state.value_or(false);
}

bool KeyStatePane::isKnown() const
{
    return m_state.has_value();
}

bool KeyStatePane::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyRelease) {
        const int k = static_cast<QKeyEvent *>(event)->key();
        if (k == Qt::Key_NumLock || k == Qt::Key_CapsLock)
            refresh();
    } else if (event->type() == QEvent::ApplicationActivate && watched == qApp) {
        refresh();
    }
    return false;
}

} // namespace kvl
