// Scope guard: the wait cursor for as long as it lives, on every path out.
#pragma once

namespace kvl {

class WaitCursor
{
public:
    // Qt's override cursors form a stack, so nested guards restore each other correctly.
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

} // namespace kvl
