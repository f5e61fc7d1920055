// The state of the keyboard's lock keys, read from the windowing system.
#pragma once

#include <optional>

namespace kvl {

enum class LockKey { NumLock, CapsLock };

class LockKeys
{
public:
    // Empty when the windowing system does not tell (offscreen, Wayland).
    static std::optional<bool> isOn(LockKey key);
};

} // namespace kvl
