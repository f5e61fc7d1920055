// Benchmark of the business window 办理业务 on the large sample, where partner 1
// has about 5,000 documents: loading its list (open documents only, and every
// document), and moving through the list row by row with the detail grid
// following, beside the bare engine running the same statements in the same run.
// Figures are the best of several runs of wall-clock time.
// Usage: bench_documents [DIR]        DIR holds KVL.DTA (written there when missing)
//        bench_documents --show DIR   the main window with the business window of
//                                     partner 1, left open for a screenshot
#include "ButtonEdit.h"
#include "DataGrid.h"
#include "Dataset.h"
#include "DocumentsWindows.h"
#include "LargeSample.h"
#include "ProgramValues.h"
#include "Statement.h"
#include "WorkingWindows.h"
#include "datakvl.h"
#include "main.h"
#include "yw.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>

using namespace kvl;

namespace {

// The settled documents of a settlement as the data module read them before its
// staff join was moved out of the parentheses.
const char *kNestedJzmx =
    "SELECT sfk.*,(sfk.应收款金额（出货）-sfk.结帐、应付款金额（进货）) AS 本次结帐金额, "
    "公司员工.员工姓名,jzmx.sf_id FROM jzmx LEFT JOIN (sfk LEFT JOIN 公司员工 ON sfk.xszg_id = "
    "公司员工.id) ON jzmx.sfid_mx = sfk.id where sf_id=:id";

double best(int runs, const std::function<void()> &fn)
{
    double t = 1e300;
    for (int i = 0; i < runs; ++i)
        t = std::min(t, bench::elapsedMs(fn));
    return t;
}

void line(const char *what, double ours, double bare)
{
    std::printf("  %-44s %9.1f ms   bare engine %9.1f ms   ratio %6.2f\n", what, ours, bare, ours / bare);
}

// A prepared statement of the bare engine, stepped to the end reading every column.
class Bare
{
public:
    Bare(sqlite3 *db, const QString &sql)
    {
        const QByteArray text = sql.toUtf8();
        if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &m_st, nullptr) != SQLITE_OK) {
            std::fprintf(stderr, "prepare: %s\n", sqlite3_errmsg(db));
            std::exit(1);
        }
    }
    ~Bare() { sqlite3_finalize(m_st); }

    qint64 run(const char *param, qint64 value)
    {
        sqlite3_reset(m_st);
        sqlite3_bind_int64(m_st, sqlite3_bind_parameter_index(m_st, param), value);
        const int n = sqlite3_column_count(m_st);
        qint64 rows = 0;
        while (sqlite3_step(m_st) == SQLITE_ROW) {
            ++rows;
            for (int c = 0; c < n; ++c) {
                if (sqlite3_column_type(m_st, c) == SQLITE_TEXT)
                    m_sink += sqlite3_column_bytes(m_st, c);
                else
                    m_sink += sqlite3_column_int64(m_st, c);
            }
        }
        return rows;
    }

private:
    sqlite3_stmt *m_st = nullptr;
    qint64 m_sink = 0;
};

QString openDataFile(const QString &dir)
{
    QDir().mkpath(dir);
    AppDir = QDir(dir).absolutePath() + u'/';
    return bench::largeSample(AppDir + QStringLiteral("KVL.DTA"));
}

TFMyw *openBusinessWindow(QWidget *panel)
{
    RegisterDocumentsWindows();
    WorkingWindows::dispatch(0, panel);
    return qobject_cast<TFMyw *>(WorkingWindows::window(0));
}

void choosePartner(TFMyw &w, qint64 id)
{
    Statement st(DataModKvl->ConKVL, QStringLiteral("SELECT 单位名称 FROM 往来单位 WHERE id=%1").arg(id));
    st.next();
    w.dw->setText(st.value(0).toString());
    w.dwid->setText(QString::number(id));
}

int show(const QString &dir)
{
    openDataFile(dir);
    TDataModKvl dm;
    if (!DbConnected)
        return 1;
    TFMmain main;
    // No window manager maximises it under a bare X server.
    main.setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
    main.show();
    TFMyw *w = openBusinessWindow(main.Panel2);
    choosePartner(*w, 1);
    w->CheckJZ->setChecked(true);
    w->CheckJZClick();
    // Stand on a settlement near the end, so the detail shows the documents it settled.
    Dataset &list = dm.DataSfk;
    int at = list.recordCount() - 1;
    const int kind = list.fieldIndex(QStringLiteral("类别"));
    while (at > 0 && list.valueAt(at, kind).toString() != QStringLiteral("结帐"))
        --at;
    // Coming from above, the settled documents before it stay in view.
    list.moveTo(std::max(0, at - 20));
    QCoreApplication::processEvents();
    list.moveTo(at);
    QTimer::singleShot(30000, qApp, &QApplication::quit);
    return qApp->exec();
}

} // namespace

int main(int argc, char **argv)
{
    const bool showOnly = argc > 2 && qstrcmp(argv[1], "--show") == 0;
    if (!showOnly)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    if (showOnly)
        return show(QString::fromLocal8Bit(argv[2]));

    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::temp().filePath(QStringLiteral("kvl_bench_documents"));
    const QString file = openDataFile(dir);
    std::printf("data file %s\n", qPrintable(file));
    TDataModKvl dm;
    if (!DbConnected)
        return 1;
    sqlite3 *db = dm.ConKVL.handle();

    QWidget panel;
    panel.resize(1200, 800);
    panel.show();
    TFMyw *w = openBusinessWindow(&panel);
    choosePartner(*w, 1);
    Dataset &list = dm.DataSfk;

    for (bool all : {false, true}) {
        w->CheckJZ->setChecked(all);
        const double load = best(5, [&] {
            w->CheckJZClick();
            QCoreApplication::processEvents();
        });
        Bare bare(db, list.sql());
        qint64 bareRows = 0;
        const double bareLoad = best(5, [&] { bareRows = bare.run(":Vdw_id", 1); });
        std::printf("partner 1, %s: %d documents listed (bare engine %lld rows)\n",
                    all ? "every document (显示已结帐单据)" : "open documents only", list.recordCount(),
                    static_cast<long long>(bareRows));
        line("loading the list (CheckJZClick, painted)", load, bareLoad);

        // Every row once, as the arrow keys go: the detail grid reads the row's lines or links.
        QList<qint64> ids;
        QList<bool> settlements;
        const int idField = list.fieldIndex(QStringLiteral("id")), kindField = list.fieldIndex(QStringLiteral("类别"));
        for (int i = 0; i < list.recordCount(); ++i) {
            ids << list.valueAt(i, idField).toInt();
            settlements << (list.valueAt(i, kindField).toString() == QStringLiteral("结帐"));
        }
        const double move = best(3, [&] {
            for (list.first(); !list.eof(); list.next()) {
            }
        });
        Bare lines(db, dm.DataSfk_kcmx.sql()), links(db, dm.DataSfk_jzmx.sql());
        const double bareMove = best(3, [&] {
            for (int i = 0; i < ids.size(); ++i)
                (settlements[i] ? links : lines).run(":id", ids[i]);
        });
        char what[96];
        std::snprintf(what, sizeof what, "moving through all %d rows, detail following", int(ids.size()));
        line(what, move, bareMove);
        std::printf("  %-44s %9.3f ms   bare engine %9.3f ms\n", "  per row", move / ids.size(), bareMove / ids.size());

        if (all) {
            Bare nested(db, QString::fromUtf8(kNestedJzmx));
            int count = 0;
            for (bool s : settlements)
                count += s;
            const int sample = std::min(count, 20);
            double ours = 0, before = 0;
            for (int i = 0, n = 0; i < ids.size() && n < sample; ++i) {
                if (!settlements[i])
                    continue;
                ++n;
                ours += bench::elapsedMs([&] { links.run(":id", ids[i]); });
                before += bench::elapsedMs([&] { nested.run(":id", ids[i]); });
            }
            std::printf("  settled documents of one settlement (%d of %d settlements):\n", sample, count);
            std::printf("  %-44s %9.3f ms   nested join as before %9.3f ms   ratio %6.4f\n", "  bare engine, statement now", ours / sample,
                        before / sample, ours / before);
        }

        // A user sees each row: the grids repaint after every move (the first 300 rows).
        const int painted = std::min<int>(300, int(ids.size()));
        const double movePainted = best(3, [&] {
            list.first();
            for (int i = 0; i < painted; ++i) {
                list.next();
                QCoreApplication::processEvents();
            }
        });
        std::snprintf(what, sizeof what, "moving %d rows, repainted after each", painted);
        const double barePainted = bareMove * painted / ids.size();
        line(what, movePainted, barePainted);
    }
    return 0;
}
