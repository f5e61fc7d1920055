// The coalescing of refresh requests.
#include "RefreshCoalescer.h"

#include "DbError.h"

namespace kvl {

RefreshCoalescer::RefreshCoalescer(QObject *parent) : QObject(parent)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &RefreshCoalescer::run);
}

void RefreshCoalescer::request(std::function<void()> refresh)
{
    m_pending = std::move(refresh);
    if (!m_timer.isActive())
        m_timer.start();
}

void RefreshCoalescer::flush()
{
    if (!m_timer.isActive())
        return;
    m_timer.stop();
    run();
}

void RefreshCoalescer::cancel()
{
    m_timer.stop();
    m_pending = nullptr;
}

void RefreshCoalescer::run()
{
    const std::function<void()> refresh = std::move(m_pending);
    m_pending = nullptr;
    if (!refresh)
        return;
    try {
        refresh();
    } catch (const DbError &e) {
        emit failed(e.message());
    } catch (const std::exception &e) {
        emit failed(QString::fromUtf8(e.what()));
    }
}

} // namespace kvl
