// The one notifier of program-wide events.
#include "AppEvents.h"

namespace kvl {

AppEvents *AppEvents::instance()
{
    static AppEvents events;
    return &events;
}

} // namespace kvl
