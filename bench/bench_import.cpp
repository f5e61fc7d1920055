// The import of an older data file, beside a bare INSERT loop of the engine
// copying the same rows of the same tables in the same run: one transaction,
// one prepared INSERT per table, each row's values passed straight across.
//
//   bench_import [--dir DIR] [--scale S] [--repeat R]   (scale 1, the default, is the large sample)
//
// Every figure is the best of R runs (3 by default), since the machine is shared.
#include "CompactDataFile.h"
#include "ImportOlderData.h"
#include "ImportSample.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <functional>

using namespace kvl;

namespace {

double once(const std::function<void()> &work)
{
    QElapsedTimer t;
    t.start();
    work();
    return double(t.nsecsElapsed()) / 1e9;
}

void check(int rc, sqlite3 *db)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "engine: %s\n", sqlite3_errmsg(db));
        std::exit(1);
    }
}

// The same ten tables, the same columns in the same order, with the engine's C API alone.
void bareCopy(const QString &olderPath, const QString &targetPath)
{
    sqlite3 *db = nullptr;
    check(sqlite3_open_v2(targetPath.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr), db);
    check(sqlite3_exec(db, "PRAGMA locking_mode=EXCLUSIVE; PRAGMA synchronous=FULL; PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr), db);
    check(sqlite3_exec(db, ("ATTACH '" + olderPath.toUtf8() + "' AS old").constData(), nullptr, nullptr, nullptr), db);
    check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db);
    const char *const tables[][2] = {
        {"公司员工", "id,员工编号,员工姓名,联系电话,家庭住址,备注,暂停"},
        {"计量单位", "拼音简码,计量单位"},
        {"商品产地", "拼音简码,商品产地"},
        {"商品类别", "拼音简码,商品类别"},
        {"商品资料", "id,商品编号,商品名称,商品类别,商品产地,计量单位,备注,暂停,参考进价,参考销价"},
        {"往来单位", "id,单位编号,单位名称,联系人,联系电话,邮政编码,通信地址,备注,暂停"},
        {"sfk", "id,制单日期,类别,单号,dw_id,xszg_id,应收款金额（出货）,结帐、应付款金额（进货）,备注,结帐"},
        {"kcmx", "id,sf_id,kcsp_id,sl,dj,je,备注"},
        {"jzmx", "id,sf_id,sfid_mx"}};
    for (const auto &t : tables) {
        const QString cols = QString::fromUtf8(t[1]);
        const int n = int(cols.count(QLatin1Char(','))) + 1;
        QStringList marks;
        for (int i = 0; i < n; ++i)
            marks << QStringLiteral("?");
        const QByteArray select = QStringLiteral("SELECT %1 FROM old.%2").arg(cols, QString::fromUtf8(t[0])).toUtf8();
        const QByteArray insert = QStringLiteral("INSERT INTO main.%1 (%2) VALUES (%3)").arg(QString::fromUtf8(t[0]), cols, marks.join(QLatin1Char(','))).toUtf8();
        sqlite3_stmt *read = nullptr, *write = nullptr;
        check(sqlite3_prepare_v2(db, select.constData(), -1, &read, nullptr), db);
        check(sqlite3_prepare_v2(db, insert.constData(), -1, &write, nullptr), db);
        while (sqlite3_step(read) == SQLITE_ROW) {
            for (int i = 0; i < n; ++i)
                sqlite3_bind_value(write, i + 1, sqlite3_column_value(read, i));
            check(sqlite3_step(write), db);
            sqlite3_reset(write);
        }
        sqlite3_finalize(read);
        sqlite3_finalize(write);
    }
    check(sqlite3_exec(db, "UPDATE main.PH SET (dw,zg,sp,sfk,dh_ysk,dh_yfk,dh_sk,UserName,pass) = "
                           "(SELECT dw,zg,sp,sfk,dh_ysk,dh_yfk,dh_sk,UserName,pass FROM old.PH)", nullptr, nullptr, nullptr), db);
    check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
    sqlite3_close(db);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QString dir = QDir::current().filePath(QStringLiteral("bench-import"));
    double scale = 1;
    int repeat = 3;
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--dir"))
            dir = args[i + 1];
        else if (args[i] == QLatin1String("--scale"))
            scale = args[i + 1].toDouble();
        else if (args[i] == QLatin1String("--repeat"))
            repeat = qMax(1, args[i + 1].toInt());
    }
    QDir(dir).removeRecursively();
    QDir().mkpath(dir);
    const QString older = dir + QStringLiteral("/OLD.DTA"), empty = dir + QStringLiteral("/EMPTY.DTA");
    const SampleData::Shape shape = bench::importShape(scale);
    const double writing = once([&] { bench::writeOlderFile(older, shape); });
    Schema::createDataFile(empty, QStringLiteral("本公司"));
    std::printf("older file %.1f MB (%d partners, %d goods, %d documents, %d lines), written in %.1f s\n",
                double(QFileInfo(older).size()) / 1e6, shape.partners, shape.goods, shape.documents, shape.lines, writing);
    const QByteArray expected = bench::importedDigest(older);

    double ours = 1e99, bare = 1e99, compact = 1e99;
    const QString target = dir + QStringLiteral("/KVL.DTA");
    for (int r = 0; r < repeat; ++r) {
        QFile::remove(target);
        QFile::copy(empty, target);
        ours = std::min(ours, once([&] {
            Connection current, from;
            current.connect(target, Schema::databasePassword());
            from.connect(older, Schema::databasePassword());
            ImportOlderData::copy(from, current);
        }));
        if (bench::importedDigest(target) != expected) {
            std::fprintf(stderr, "the import does not hold the older file's rows\n");
            return 1;
        }
        compact = std::min(compact, once([&] { CompactDataFile(target); }));

        QFile::remove(target);
        QFile::copy(empty, target);
        bare = std::min(bare, once([&] { bareCopy(older, target); }));
        if (bench::importedDigest(target) != expected) {
            std::fprintf(stderr, "the bare copy does not hold the older file's rows\n");
            return 1;
        }
    }
    std::printf("best of %d:\n", repeat);
    std::printf("  %-34s %8.3f s\n", "bare INSERT loop (engine C API)", bare);
    std::printf("  %-34s %8.3f s   %6.2fx bare\n", "import (ImportOlderData::copy)", ours, ours / bare);
    std::printf("  %-34s %8.3f s\n", "compaction afterwards", compact);
    QDir(dir).removeRecursively();
    return 0;
}
