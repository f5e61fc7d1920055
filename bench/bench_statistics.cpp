// Benchmark of the statistics refresh (未结帐统计, 进出商品统计) on the large
// sample file: the whole refresh as the windows run it, beside the bare engine
// stepping the program's original statement and the statement the refresh
// runs, in the same run; a burst of ten refreshes as typing causes, and the
// same burst through the coalescing helper. The bare engine runs twice: as it
// comes (its default settings, on a copy of the file, which the program holds
// exclusively) and on the program's own connection. Figures are the best of a
// few runs of this thread's processor time (the machine is shared; set kCpu
// false for wall-clock time).
// Usage: bench_statistics [DIR] [--profile N]  (DIR holds KVL.DTA; when it has
// none, the large sample is written there first, as `kvl-mkdata DIR --sample
// large` writes it). With --profile only N refreshes of 进出商品统计 for the
// default year run, for a profiler to watch.
#include "RefreshCoalescer.h"
#include "SampleData.h"
#include "Schema.h"
#include "StatisticsRefresh.h"

#include "Connection.h"
#include "ProgramValues.h"
#include "datakvl.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <sqlite3.h>

#include <ctime>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace kvl;

namespace {

// The bare engine: prepare, bind, step every row and read every column.
qint64 bareRun(sqlite3 *db, const StatisticsQuery &q)
{
    sqlite3_stmt *st = nullptr;
    const QByteArray sql = q.text().toUtf8();
    if (sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &st, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "prepare: %s\n", sqlite3_errmsg(db));
        std::exit(1);
    }
    for (const auto &[name, value] : q.params()) {
        const int i = sqlite3_bind_parameter_index(st, (u':' + name).toUtf8().constData());
        const QByteArray t = value.type() == ValueType::DateTime ? Value::dateTimeText(value.dateTimeSecs()).toUtf8()
                                                                  : value.toString().toUtf8();
        sqlite3_bind_text(st, i, t.constData(), int(t.size()), SQLITE_TRANSIENT);
    }
    const int n = sqlite3_column_count(st);
    qint64 rows = 0, sink = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        ++rows;
        for (int c = 0; c < n; ++c) {
            switch (sqlite3_column_type(st, c)) {
            case SQLITE_INTEGER: sink += sqlite3_column_int64(st, c); break;
            case SQLITE_TEXT: sink += sqlite3_column_bytes(st, c) + (sqlite3_column_text(st, c) != nullptr); break;
            default: break;
            }
        }
    }
    sqlite3_finalize(st);
    if (sink == 42)
        std::puts("");
    return rows;
}

double cpuNow()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// The shared machine runs other work beside this: with kCpu the figures are the
// processor time of this thread, which is what an idle machine's wall clock shows.
bool kCpu = true;

double ms(const std::function<void()> &fn)
{
    QElapsedTimer t;
    const double c0 = cpuNow();
    t.start();
    fn();
    return kCpu ? cpuNow() - c0 : double(t.nsecsElapsed()) / 1e6;
}

// The best of `runs` timings after one warming run: what other work on the
// machine adds only ever lengthens a run.
double best(int runs, const std::function<void()> &fn)
{
    fn();
    double t = 1e300;
    for (int i = 0; i < runs; ++i)
        t = std::min(t, ms(fn));
    return t;
}

void line(const char *what, double value, double bare, const char *against)
{
    std::printf("  %-46s %9.1f ms   %-26s %8.1f ms   ratio %5.2f\n", what, value, against, bare, value / bare);
}

// The bare engine as it comes, on a copy of the data file, and the program's connection.
struct Engines
{
    sqlite3 *plain = nullptr;
    sqlite3 *program = nullptr;
};

void goodsFigures(const char *period, const GoodsStatsFilter &f, const Engines &db, int runs, double target)
{
    qint64 writtenRows = 0, oursRows = 0;
    const StatisticsQuery asWritten = f.joinedQuery(BlankFilters::AsWritten), ours = f.query();
    const double written = best(runs, [&] { writtenRows = bareRun(db.plain, asWritten); });
    const double lean = best(runs, [&] { oursRows = bareRun(db.plain, ours); });
    const double writtenHere = best(runs, [&] { bareRun(db.program, asWritten); });
    const double leanHere = best(runs, [&] { bareRun(db.program, ours); });
    const double refresh = best(runs, [&] { refreshGoodsStats(f); });
    const qint64 shown = DataModKvl->DataTJ_sp.recordCount();
    std::printf("进出商品统计, %s: %lld lines (statement as written %lld, ours %lld)\n", period,
                static_cast<long long>(shown), static_cast<long long>(writtenRows), static_cast<long long>(oursRows));
    std::printf("  %-46s %9.1f ms\n", "bare engine as it comes, statement as written", written);
    line("bare engine as it comes, statement ours", lean, written, "vs as written");
    line("program's connection, statement as written", writtenHere, written, "vs bare as written");
    line("program's connection, statement ours", leanHere, written, "vs bare as written");
    line("whole refresh (refreshGoodsStats)", refresh, written, "vs bare as written");
    std::printf("  %-46s %9.0f ms   %s\n", "target", target, refresh < target ? "met" : "NOT MET");
}

void unsettledFigures(const char *period, const UnsettledFilter &f, const Engines &db, double target)
{
    const StatisticsQuery written = f.joinedQuery(BlankFilters::AsWritten), ours = f.query();
    qint64 writtenRows = 0, oursRows = 0;
    const double bareWritten = best(7, [&] { writtenRows = bareRun(db.plain, written); });
    const double lean = best(7, [&] { oursRows = bareRun(db.plain, ours); });
    const double leanHere = best(7, [&] { bareRun(db.program, ours); });
    const double refresh = best(7, [&] { refreshUnsettled(f); });
    std::printf("未结帐统计, %s: %lld documents (statement as written %lld, ours %lld)\n", period,
                static_cast<long long>(DataModKvl->DataTJ_ysk.recordCount()), static_cast<long long>(writtenRows),
                static_cast<long long>(oursRows));
    std::printf("  %-46s %9.1f ms\n", "bare engine as it comes, statement as written", bareWritten);
    line("bare engine as it comes, statement ours", lean, bareWritten, "vs as written");
    line("program's connection, statement ours", leanHere, bareWritten, "vs bare as written");
    line("whole refresh (refreshUnsettled)", refresh, bareWritten, "vs bare as written");
    if (target > 0)
        std::printf("  %-46s %9.0f ms   %s\n", "target", target, refresh < target ? "met" : "NOT MET");
}

// Ten refreshes as typing a goods name letter by letter causes.
void burstFigures(const Engines &db)
{
    Dataset &kcsp = DataModKvl->DataKcsp;
    kcsp.first();
    const QString name = kcsp.value(QStringLiteral("商品名称")).toString();
    std::vector<GoodsStatsFilter> typed;
    for (int i = 1; i <= 10; ++i) {
        GoodsStatsFilter f = GoodsStatsFilter::defaults();
        f.spmc = name.left(std::min<qsizetype>(i, name.size()));
        typed.push_back(f);
    }
    std::printf("typing 商品名称 \"%s\" letter by letter, default year:\n", qPrintable(name.left(10)));
    double bare = 0;
    for (const GoodsStatsFilter &f : typed)
        bare += ms([&] { bareRun(db.plain, f.joinedQuery(BlankFilters::AsWritten)); });
    double longest = 0;
    const double burst = ms([&] {
        for (const GoodsStatsFilter &f : typed)
            longest = std::max(longest, ms([&] { refreshGoodsStats(f); }));
    });
    std::printf("  %-46s %9.1f ms\n", "bare engine as it comes, ten as written", bare);
    line("ten refreshes, one per keystroke", burst, bare, "vs bare as written");
    std::printf("  %-46s %9.1f ms\n", "longest single refresh of the burst", longest);

    // The same ten changes arriving before the event loop runs again (keys
    // queued while a refresh runs): the coalescer runs only the last.
    int runs = 0;
    RefreshCoalescer coalescer;
    const double coalesced = ms([&] {
        for (const GoodsStatsFilter &f : typed)
            coalescer.request([f, &runs] {
                ++runs;
                refreshGoodsStats(f);
            });
        while (coalescer.isPending())
            QCoreApplication::processEvents();
    });
    std::printf("  %-46s %9.1f ms   (%d refresh run)\n", "ten queued changes through RefreshCoalescer", coalesced, runs);

    std::vector<UnsettledFilter> partner;
    const QString dw = DataModKvl->DataTJ_ysk.isEmpty() ? QStringLiteral("广州") : QStringLiteral("广州华盛五金有限公司");
    for (int i = 1; i <= 10; ++i) {
        UnsettledFilter f = UnsettledFilter::defaults();
        f.dw = dw.left(i);
        partner.push_back(f);
    }
    const double ysk = ms([&] {
        for (const UnsettledFilter &f : partner)
            refreshUnsettled(f);
    });
    std::printf("  %-46s %9.1f ms\n", "未结帐统计: ten refreshes typing 单位名称", ysk);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    const QString dir = argc > 1 && argv[1][0] != '-' ? QString::fromLocal8Bit(argv[1])
                                 : QDir::temp().filePath(QStringLiteral("kvl_bench_statistics"));
    QDir().mkpath(dir);
    AppDir = QDir(dir).absolutePath() + u'/';
    const QString file = AppDir + QStringLiteral("KVL.DTA");
    if (!QFileInfo::exists(file)) {
        std::printf("writing the large sample to %s ...\n", qPrintable(file));
        std::fflush(stdout);
        Schema::createDataFile(file, QStringLiteral("样本公司"));
        Connection c;
        c.connect(file, Schema::databasePassword());
        SampleData::write(c, SampleData::large());
    }
    std::printf("data file %s, %.1f MB\n", qPrintable(file), double(QFileInfo(file).size()) / 1048576.0);

    TDataModKvl dm;
    if (!DbConnected)
        return 1;
    const QDate today = QDate::currentDate();
    GoodsStatsFilter year = GoodsStatsFilter::defaults(today), all = year;
    all.qshrq = today.addYears(-10);

    const QStringList args = app.arguments();
    const qsizetype profile = args.indexOf(QStringLiteral("--profile"));
    if (profile > 0) {
        const int n = profile + 1 < args.size() ? args[profile + 1].toInt() : 10;
        double sum = 0;
        for (int i = 0; i < n; ++i)
            sum += ms([&] { refreshGoodsStats(year); });
        std::printf("%d refreshes of 进出商品统计, default year: %.1f ms each\n", n, sum / std::max(n, 1));
        return 0;
    }

    QTemporaryDir copyDir;
    const QString copy = copyDir.filePath(QStringLiteral("KVL.DTA"));
    Engines db;
    db.program = dm.ConKVL.handle();
    if (!QFile::copy(file, copy) || sqlite3_open_v2(copy.toUtf8().constData(), &db.plain, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "cannot open a copy of %s\n", qPrintable(file));
        return 1;
    }

    // The first refresh reads the names it looks up; every later one finds them current.
    const double first = ms([&] { refreshGoodsStats(year); });
    std::printf("进出商品统计: first refresh after start, names read too: %.1f ms\n\n", first);

    goodsFigures("default year", year, db, 5, 100);
    goodsFigures("all ten years", all, db, 3, 1500);
    {
        // A sort chosen from the column titles is kept across every refresh.
        Dataset &ds = dm.DataTJ_sp;
        ds.setSortText(QStringLiteral("商品名称, 制单日期 DESC"));
        const double sorted = best(5, [&] { refreshGoodsStats(year); });
        std::printf("  %-46s %9.1f ms\n", "default year, kept sort 商品名称, 制单日期 DESC", sorted);
        const double byName = best(5, [&] {
            ds.setSortText(QString());
            ds.setSortText(QStringLiteral("商品名称"));
        });
        const double byNumber = best(5, [&] {
            ds.setSortText(QString());
            ds.setSortText(QStringLiteral("单号"));
        });
        line("sort by 商品名称 (looked up)", byName, byNumber, "by 单号 (data field)");
        ds.setSortText(QString());
    }
    std::printf("\n");

    UnsettledFilter uYear = UnsettledFilter::defaults(today), uAll = uYear;
    uAll.qshrq = today.addYears(-10);
    unsettledFigures("default year", uYear, db, 40);
    unsettledFigures("all ten years", uAll, db, 0);
    std::printf("\n");

    burstFigures(db);
    sqlite3_close(db.plain);
    return 0;
}
