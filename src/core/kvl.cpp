// The program's main routine: registers the working windows of every subsystem library,
// then runs the start order and the message loop.
#include "DocumentsWindows.h"
#include "MasterDataWindows.h"
#include "Startup.h"
#include "StatisticsWindows.h"
#include "WorkingWindows.h"
#include "Zzlsjk.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);

    // Each subsystem library that owns a working window or the maintenance dialog offers one
    // registration function, which adds its kinds to kvl::WorkingWindows (WorkingWindows::add,
    // WorkingWindows::setMaintenanceDialog); it is called here, one line each, with its
    // header included above:
    //   kvl::RegisterDocumentsWindows();    // 办理业务 (tag 0)
    //   kvl::RegisterStatisticsWindows();   // 未结帐统计, 进出商品统计 (tags 1, 2)
    //   kvl::RegisterMasterDataWindows();   // 往来单位, 商品资料, 公司员工 (tags 10, 11, 12)
    // Until a window is registered its side-bar item does nothing.
    kvl::RegisterDocumentsWindows();
    kvl::RegisterStatisticsWindows();
    kvl::RegisterMasterDataWindows();
    kvl::WorkingWindows::setMaintenanceDialog(kvl::CreateMaintenanceDialog);

    kvl::Startup start;
    if (start.run() != kvl::StartupOutcome::Running)
        return 0;
    return app.exec();
}
