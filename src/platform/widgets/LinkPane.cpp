// A click is a press and release of the left button inside the pane.
#include "LinkPane.h"

#include <QMouseEvent>

namespace kvl {

LinkPane::LinkPane(const QPixmap &picture, const QString &hint, QWidget *parent, int width)
    : StatusPane(parent, width)
{
    setPixmap(picture);
    setToolTip(hint);
    setAccessibleName(hint);
    setCursor(Qt::PointingHandCursor);
}

void LinkPane::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void LinkPane::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton
        && rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click)
        emit clicked();
}

} // namespace kvl
