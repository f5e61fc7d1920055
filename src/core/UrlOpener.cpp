// The desktop's opener unless a test has put its own in place.
#include "UrlOpener.h"

#include <QDesktopServices>

namespace kvl {

namespace {
UrlOpener::Handler &handler()
{
    static UrlOpener::Handler h;
    return h;
}
} // namespace

bool UrlOpener::open(const QUrl &url)
{
    if (const Handler &h = handler())
        return h(url);
    return QDesktopServices::openUrl(url);
}

UrlOpener::Handler UrlOpener::setHandler(Handler h)
{
    Handler before = handler();
    handler() = std::move(h);
    return before;
}

} // namespace kvl
