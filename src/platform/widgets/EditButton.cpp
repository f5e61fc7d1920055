// The button is a trailing action of the line edit, drawn in code as three dots.
#include "EditButton.h"

#include "EnterAsTab.h"

#include <QAction>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>

namespace kvl {

namespace {

QIcon dotsIcon(const QColor &color)
{
    QIcon icon;
    for (int scale : {1, 2}) {
        QPixmap pm(16 * scale, 16 * scale);
        pm.setDevicePixelRatio(scale);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(color);
        for (int i = 0; i < 3; ++i)
            p.drawEllipse(QPointF(3.5 + i * 4.5, 10.5), 1.4, 1.4);
        icon.addPixmap(pm);
    }
    return icon;
}

} // namespace

EditButton::EditButton(QLineEdit *edit)
    : QObject(edit)
    , m_edit(edit)
    , m_action(edit->addAction(dotsIcon(edit->palette().color(QPalette::Text)), QLineEdit::TrailingPosition))
{
    m_action->setText(QStringLiteral("选择"));
    m_action->setToolTip(QStringLiteral("选择 F4"));
    connect(m_action, &QAction::triggered, this, &EditButton::trigger);
    edit->installEventFilter(this);
}

void EditButton::setEnterTriggers(bool on)
{
    m_enter = on;
    EnterAsTab::setWantsEnter(m_edit, on);
}

void EditButton::trigger()
{
    if (m_edit->isEnabled())
        emit clicked();
}

bool EditButton::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_edit)
        return false;
    if (event->type() == QEvent::MouseButtonDblClick) {
        trigger();
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
        if (key->key() == Qt::Key_F4 && mods == Qt::NoModifier) {
            trigger();
            return true;
        }
        if (m_enter && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && mods == Qt::NoModifier) {
            trigger();
            return true;
        }
    }
    return false;
}

} // namespace kvl
