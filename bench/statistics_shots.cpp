// Pictures of the two statistics windows as a user sees them: the main window
// on a data file (the large sample unless another is given), the side bar's
// items 未结帐统计 and 进出商品统计 opened in turn, each photographed whole
// with `import -window root` once painted, and again over ten years scrolled
// to its last row and column. Run it under Xvfb:
//   xvfb-run -a -s "-screen 0 1280x800x24" statistics_shots OUT [DIR]
#include "MasterDataWindows.h"
#include "ProgramValues.h"
#include "SampleData.h"
#include "Schema.h"
#include "StatisticsWindow.h"
#include "StatisticsWindows.h"
#include "WorkingWindows.h"
#include "DataGrid.h"
#include "datakvl.h"
#include "main.h"

#include <QApplication>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QScrollBar>
#include <QScreen>
#include <QTest>

#include <cstdio>

using namespace kvl;

namespace {

void settle()
{
    for (int i = 0; i < 20; ++i) {
        QCoreApplication::processEvents();
        QTest::qWait(50);
    }
}

bool shoot(const QString &file)
{
    settle();
    const int rc = QProcess::execute(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), file});
    std::printf("%s %s\n", qPrintable(file), rc == 0 ? "written" : "NOT written");
    return rc == 0;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: statistics_shots OUT [DIR]\n");
        return 2;
    }
    const QString out = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    QDir().mkpath(out);
    const QString dir = argc > 2 ? QString::fromLocal8Bit(argv[2]) : out;
    AppDir = QDir(dir).absolutePath() + u'/';
    const QString file = AppDir + QStringLiteral("KVL.DTA");
    if (!QFileInfo::exists(file)) {
        Schema::createDataFile(file, QStringLiteral("样本公司"));
        Connection c;
        c.connect(file, Schema::databasePassword());
        SampleData::write(c, SampleData::large());
    }
    new TDataModKvl;
    if (!DbConnected)
        return 1;
    RegisterStatisticsWindows();
    RegisterMasterDataWindows();

    auto *main = new TFMmain;
    if (QScreen *screen = QGuiApplication::primaryScreen())
        main->setGeometry(screen->availableGeometry());
    main->showMaximized();
    settle();

    // Each window as it opens, then over all ten years (the largest footer totals),
    // the goods window also scrolled to its last row and column.
    bool ok = true;
    const QDate tenYears = QDate::currentDate().addYears(-10);
    for (int tag : {1, 2}) {
        const QString name = tag == 1 ? QStringLiteral("wjz") : QStringLiteral("sp");
        main->dxSideBar1ItemClick(tag);
        ok = shoot(out + u'/' + name + QStringLiteral(".png")) && ok;
        auto *w = qobject_cast<StatisticsWindow *>(WorkingWindows::window(tag));
        if (!w)
            return 1;
        w->startDate()->setDate(tenYears);
        w->flushRefresh();
        QScrollBar *h = w->grid()->horizontalScrollBar();
        h->setValue(h->maximum());
        QScrollBar *v = w->grid()->verticalScrollBar();
        v->setValue(v->maximum());
        ok = shoot(out + u'/' + name + QStringLiteral("_ten_years.png")) && ok;
    }
    main->closeWithoutQuestion();
    return ok ? 0 : 1;
}
