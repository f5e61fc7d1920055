// Lock-key state: GetKeyState on Windows, the X keyboard extension's indicators on X11.
#include "LockKeys.h"

#include <QGuiApplication>

#if defined(Q_OS_WIN)
#include <windows.h>
#elif defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
#include <dlfcn.h>
#include <qguiapplication_platform.h>
#endif

namespace kvl {

#if defined(Q_OS_WIN)

std::optional<bool> LockKeys::isOn(LockKey key)
{
    return (GetKeyState(key == LockKey::NumLock ? VK_NUMLOCK : VK_CAPITAL) & 1) != 0;
}

#elif defined(Q_OS_UNIX) && !defined(Q_OS_MACOS) && QT_CONFIG(xcb)

namespace {
// Looked up in the X library Qt's xcb platform has loaded, so the build needs no X headers
// and a program running on another platform plugin does not load X at all.
using InternAtom = unsigned long (*)(Display *, const char *, int);
using GetNamedIndicator = int (*)(Display *, unsigned long, int *, int *, void *, int *);
} // namespace

std::optional<bool> LockKeys::isOn(LockKey key)
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display *display = x11 ? x11->display() : nullptr;
    if (!display)
        return std::nullopt;
    static auto internAtom = reinterpret_cast<InternAtom>(dlsym(RTLD_DEFAULT, "XInternAtom"));
    static auto indicator =
        reinterpret_cast<GetNamedIndicator>(dlsym(RTLD_DEFAULT, "XkbGetNamedIndicator"));
    if (!internAtom || !indicator)
        return std::nullopt;
    // The panes ask twice a second; the atoms cost a round trip to the server, so ask once.
    static const unsigned long numLock = internAtom(display, "Num Lock", 0);
    static const unsigned long capsLock = internAtom(display, "Caps Lock", 0);
    const unsigned long atom = key == LockKey::NumLock ? numLock : capsLock;
    int state = 0;
    if (!atom || !indicator(display, atom, nullptr, &state, nullptr, nullptr))
        return std::nullopt;
    return state != 0;
}

#else

std::optional<bool> LockKeys::isOn(LockKey)
{
    return std::nullopt;
}

#endif

} // namespace kvl
