// The program-wide progress indicator reference.
#include "ProgressIndicator.h"

namespace kvl {

namespace {
ProgressIndicator *g_current = nullptr;
}

ProgressIndicator::~ProgressIndicator()
{
    if (g_current == this)
        g_current = nullptr;
}

ProgressIndicator *ProgressIndicator::current()
{
    return g_current;
}

void ProgressIndicator::setCurrent(ProgressIndicator *indicator)
{
    g_current = indicator;
}

} // namespace kvl
