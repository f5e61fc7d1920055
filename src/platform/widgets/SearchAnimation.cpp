// The magnifier circles over a written sheet, one eighth of a turn per frame.
#include "SearchAnimation.h"

#include <QPainter>
#include <QtMath>

namespace kvl {

SearchAnimation::SearchAnimation(QWidget *parent)
    : QWidget(parent)
{
    setFixedSize(sizeHint());
    m_timer.setInterval(110);
    connect(&m_timer, &QTimer::timeout, this, [this] { setFrame((m_frame + 1) % frameCount); });
}

QSize SearchAnimation::sizeHint() const
{
    return QSize(44, 44);
}

void SearchAnimation::start()
{
    m_timer.start();
}

void SearchAnimation::stop()
{
    m_timer.stop();
    setFrame(0);
}

bool SearchAnimation::isRunning() const
{
    return m_timer.isActive();
}

int SearchAnimation::frame() const
{
    return m_frame;
}

void SearchAnimation::setFrame(int frame)
{
    m_frame = frame % frameCount;
    update();
}

void SearchAnimation::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    // The sheet, with lines of writing.
    const QRectF sheet(6, 4, 26, 34);
    p.setPen(QPen(QColor(110, 110, 110), 1));
    p.setBrush(Qt::white);
    p.drawRect(sheet);
    p.setPen(QPen(QColor(80, 110, 170), 1.5));
    for (int i = 0; i < 5; ++i) {
        const qreal y = sheet.top() + 7 + i * 6;
        p.drawLine(QPointF(sheet.left() + 4, y), QPointF(sheet.right() - (i % 2 ? 8 : 4), y));
    }
    // The magnifier, its lens moving round the middle of the sheet.
    const qreal angle = m_frame * 2 * M_PI / frameCount;
    const QPointF lens(sheet.center().x() + 6 * qCos(angle), sheet.center().y() + 6 * qSin(angle));
    const qreal r = 8;
    p.setPen(QPen(QColor(90, 60, 20), 3, Qt::SolidLine, Qt::RoundCap));
    const QPointF handleFrom = lens + QPointF(r * 0.72, r * 0.72);
    p.drawLine(handleFrom, handleFrom + QPointF(8, 8));
    p.setPen(QPen(QColor(60, 60, 60), 2));
    p.setBrush(QColor(170, 210, 255, 130));
    p.drawEllipse(lens, r, r);
}

} // namespace kvl
