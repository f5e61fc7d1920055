// One-second clock in a status pane.
#include "ClockPane.h"

#include <QApplication>

namespace kvl {

ClockPane::ClockPane(QWidget *parent, int width)
    : StatusPane(parent, width)
    , m_format(defaultFormat())
{
    m_timer.setInterval(1000);
    connect(&m_timer, &QTimer::timeout, this, [this] { showTime(QDateTime::currentDateTime()); });
    m_timer.start();
    fitFont();
    showTime(QDateTime::currentDateTime());
}

void ClockPane::fitFont()
{
    // The pane's width is fixed; fonts with wide digits get a smaller size rather than a cut.
    const QString widest =
        QDateTime(QDate(2088, 12, 28), QTime(20, 58, 58)).toString(m_format);
    QFont f = parentWidget() ? parentWidget()->font() : QApplication::font(this);
    const int room = contentsRect().width() - 4;
    while (f.pointSizeF() > 6 && QFontMetrics(f).horizontalAdvance(widest) > room)
        f.setPointSizeF(f.pointSizeF() - 0.5);
    setFont(f);
}

QString ClockPane::defaultFormat()
{
    return QStringLiteral("yyyy-MM-dd hh:mm:ss");
}

void ClockPane::setFormat(const QString &format)
{
    m_format = format;
    fitFont();
    showTime(QDateTime::currentDateTime());
}

QString ClockPane::format() const
{
    return m_format;
}

void ClockPane::showTime(const QDateTime &time)
{
    setText(time.toString(m_format));
}

const QTimer &ClockPane::timer() const
{
    return m_timer;
}

} // namespace kvl
