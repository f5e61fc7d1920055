// Every web address and file the program hands to the desktop (browser, help viewer) goes
// through here, so tests can record what would have opened.
#pragma once

#include <QUrl>

#include <functional>

namespace kvl {

class UrlOpener
{
public:
    using Handler = std::function<bool(const QUrl &)>;

    // Opens `url` with the desktop's program for it; false when that failed.
    static bool open(const QUrl &url);

    // Replaces the opener (null restores the desktop's) and returns the one before.
    static Handler setHandler(Handler handler);
};

} // namespace kvl
