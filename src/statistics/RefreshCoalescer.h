// Runs the latest of a quick run of refresh requests once, when the event queue
// has nothing else to do: keys typed while one refresh runs are answered by one
// more refresh with the text as it then stands, not by one refresh per key.
#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

namespace kvl {

class RefreshCoalescer : public QObject
{
    Q_OBJECT
public:
    explicit RefreshCoalescer(QObject *parent = nullptr);

    // Keeps `refresh` as the one to run, replacing any not yet run, and runs it
    // through a zero-delay single shot, that is after the events already queued.
    void request(std::function<void()> refresh);
    bool isPending() const { return m_timer.isActive(); }
    // Runs the pending refresh now (for a handler that needs the result at once).
    void flush();
    void cancel();

signals:
    // A refresh threw; the window shows the text. The error does not cross the event loop.
    void failed(const QString &message);

private:
    void run();

    QTimer m_timer;
    std::function<void()> m_pending;
};

} // namespace kvl
