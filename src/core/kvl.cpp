// The program's main routine: registers the working windows of every subsystem library,
// then runs the start order and the message loop.
#include "Startup.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);

    // Each subsystem library that owns a working window or the maintenance dialog adds its
    // registration call here, one line each (they register with kvl::WorkingWindows):
    //   business window (tag 0), unsettled and goods statistics (tags 1, 2),
    //   partner, goods and staff lists (tags 10, 11, 12), the maintenance dialog (tag 21).
    // None is registered yet; until then their side-bar items do nothing.

    kvl::Startup start;
    if (start.run() != kvl::StartupOutcome::Running)
        return 0;
    return app.exec();
}
