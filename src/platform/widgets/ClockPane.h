// Status pane with a running clock.
#pragma once

#include "StatusPane.h"

#include <QDateTime>
#include <QTimer>

namespace kvl {

class ClockPane : public StatusPane
{
    Q_OBJECT
public:
    explicit ClockPane(QWidget *parent = nullptr, int width = 124);

    static QString defaultFormat();           // "yyyy-MM-dd hh:mm:ss"
    void setFormat(const QString &format);
    QString format() const;

    // The timer calls this every second with the current time.
    void showTime(const QDateTime &time);
    const QTimer &timer() const;

private:
    void fitFont();

    QString m_format;
    QTimer m_timer;
};

} // namespace kvl
