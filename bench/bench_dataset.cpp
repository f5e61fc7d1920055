// Benchmark of the client dataset on the large sample: fetch of the goods
// statistics' base query with its default conditions against a bare
// sqlite3_step loop reading every column, sort, filter, locate and the memory
// held per row. Usage: bench_dataset [KVL.DTA] (a path not yet there receives
// kvl-mkdata's large sample first).
#include "BaseQueries.h"
#include "Connection.h"
#include "Dataset.h"
#include "LargeSample.h"
#include "Schema.h"
#include "Statement.h"
#include "datakvl.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <functional>

using namespace kvl;
using namespace kvl::bench;

namespace {

// The bare engine: step every row and read every column by its storage class.
double bareLoop(Connection &conn, const QString &sql, qint64 *rows)
{
    QElapsedTimer t;
    t.start();
    sqlite3_stmt *st = nullptr;
    const QByteArray u = sql.toUtf8();
    sqlite3_prepare_v2(conn.handle(), u.constData(), int(u.size()), &st, nullptr);
    const int n = sqlite3_column_count(st);
    qint64 count = 0, sink = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        ++count;
        for (int c = 0; c < n; ++c) {
            switch (sqlite3_column_type(st, c)) {
            case SQLITE_INTEGER: sink += sqlite3_column_int64(st, c); break;
            case SQLITE_FLOAT: sink += qint64(sqlite3_column_double(st, c)); break;
            case SQLITE_TEXT: sink += sqlite3_column_bytes(st, c) + (sqlite3_column_text(st, c) != nullptr); break;
            case SQLITE_BLOB: sink += sqlite3_column_bytes(st, c); break;
            default: break;
            }
        }
    }
    sqlite3_finalize(st);
    *rows = count;
    if (sink == 42)
        std::puts("");
    return double(t.nsecsElapsed()) / 1e6;
}

double timed(const std::function<void()> &fn)
{
    return elapsedMs(fn);
}

// The goods statistics' refresh with every filter blank, over [from, to].
QString goodsStatistics(const QDate &from, const QDate &to)
{
    return BaseQueries::dataTJSp()
        + QStringLiteral(" where (sfk.制单日期>='%1 00:00:00') and (sfk.制单日期<='%2 00:00:00') AND sfk.类别<>'结帐'"
                         " AND (sfk.类别 like '%%') AND (sfk.单号 like '%%' ) AND (往来单位.单位编号 like '%%')"
                         " AND (往来单位.单位名称 like '%%') AND (商品资料.商品编号 like '%%') AND (商品资料.商品名称 like '%%' )"
                         " AND (商品资料.商品类别 like '%%') AND (商品资料.商品产地 like '%%') order by sfk.id")
              .arg(from.toString(Qt::ISODate), to.toString(Qt::ISODate));
}

void fetchFigure(Connection &conn, const char *what, const QString &sql)
{
    // Warm the page cache once so both sides read from memory.
    qint64 rows = 0;
    bareLoop(conn, sql, &rows);
    double bare = 1e300, ours = 1e300;
    for (int i = 0; i < 3; ++i) {
        bare = std::min(bare, bareLoop(conn, sql, &rows));
        Dataset ds(conn);
        ds.setSql(sql);
        ours = std::min(ours, timed([&] { ds.open(); }));
    }
    std::printf("fetch %-34s %9lld rows  dataset %8.1f ms  bare step %8.1f ms  ratio %.2f\n", what,
                static_cast<long long>(rows), ours, bare, ours / bare);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Dataset::setDefaultFieldResolver(resolveFieldFromSchema);
    const QString path = largeSample(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString());
    Connection conn;
    conn.connect(path, Schema::databasePassword());

    const QDate today = QDate::currentDate();
    const QString oneYear = goodsStatistics(QDate(today.year(), 1, 1), today);
    const QString allYears = goodsStatistics(today.addYears(-10), today);
    const QString documents = BaseQueries::dataSfk();
    fetchFigure(conn, "goods statistics, this year", oneYear);
    fetchFigure(conn, "goods statistics, ten years", allYears);
    fetchFigure(conn, "document list (all)", documents);

    Dataset lines(conn);
    lines.setSql(allYears);
    lines.open();
    const double perRow = double(lines.memoryBytes()) / std::max(1, lines.recordCount());
    std::printf("memory: %d rows, %.1f bytes per row beyond the text; distinct text %.1f MB\n", lines.recordCount(),
                perRow, double(lines.textBytes()) / 1e6);

    Dataset docs(conn);
    docs.setSql(documents);
    docs.open();
    std::vector<quint32> copy(size_t(docs.recordCount()));
    const double bareSort = timed([&] {
        std::vector<qint64> k(copy.size());
        for (size_t i = 0; i < copy.size(); ++i)
            copy[i] = quint32(i), k[i] = qint64((i * 2654435761u) % 1000003);
        std::stable_sort(copy.begin(), copy.end(), [&](quint32 a, quint32 b) { return k[a] < k[b]; });
    });
    const double sortFirst = timed([&] { docs.setSortText(QStringLiteral("单位名称, 制单日期 DESC")); });
    docs.setSortText(QString());
    const double sortAgain = timed([&] { docs.setSortText(QStringLiteral("单位名称, 制单日期 DESC")); });
    const double sortNumbers = timed([&] { docs.setSortText(QStringLiteral("应收款金额（出货） DESC, id")); });
    const double unsort = timed([&] { docs.setSortText(QString()); });
    std::printf("sort %d rows on two fields: names+dates %.1f ms first (collation ranks included), %.1f ms again; "
                "money+id %.1f ms; back to query order %.1f ms; bare stable_sort of int keys %.1f ms (ratio %.2f)\n",
                docs.recordCount(), sortFirst, sortAgain, sortNumbers, unsort, bareSort, sortAgain / bareSort);

    docs.setFilterText(QStringLiteral("(结帐=False) and (单位名称 like '*公司*') and (备注<>NULL)"));
    const double filterMs = timed([&] { docs.setFiltered(true); });
    const int passed = docs.recordCount();
    docs.setFiltered(false);
    qint64 bareRows = 0;
    const double bareFilter = bareLoop(conn, documents
        + QStringLiteral(" where (sfk.结帐=0) and (往来单位.单位名称 like '%公司%') and (sfk.备注 is not null)"), &bareRows);
    std::printf("filter over %d rows: %.1f ms, %d pass; the engine running the same condition as a query %.1f ms "
                "(ratio %.3f)\n", docs.recordCount(), filterMs, passed, bareFilter, filterMs / bareFilter);

    docs.last();
    const QString lastNumber = docs.value(QStringLiteral("单号")).toString();
    docs.first();
    bool found = false;
    const double locateMs = timed([&] { found = docs.locate(QStringLiteral("单号"), Value(lastNumber)); });
    docs.first();
    const double locatePartial = timed([&] {
        docs.locate(QStringLiteral("单位名称"), Value(QStringLiteral("zz")), Dataset::PartialKey | Dataset::CaseInsensitive);
    });
    Statement probe(conn, QStringLiteral("select id from sfk where 单号=?"));
    const double bareLocate = timed([&] {
        probe.bind(1, Value(lastNumber));
        probe.next();
    });
    std::printf("locate the last 单号 of %d rows: %.2f ms (found %d); partial, case-blind, no match: %.2f ms; "
                "engine lookup without an index on 单号 %.2f ms\n",
                docs.recordCount(), locateMs, int(found), locatePartial, bareLocate);
    return 0;
}
