// Backup, restore and compaction of a data file of realistic size, each beside
// the bare work in the same run: zlib's one-shot compress and uncompress of the
// same bytes in memory, the engine's own integrity check and VACUUM INTO.
//
//   bench_backup [--dir DIR] [--scale S] [--repeat R]   (scale 2, the default, is about 160 MB)
//
// Every figure is the best of R runs (3 by default), since the machine is shared.
#include "BackupCodec.h"
#include "BackupRestore.h"
#include "BackupSample.h"
#include "CompactDataFile.h"
#include "DataFileCheck.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <functional>

using namespace kvl;

namespace {

int g_repeat = 3;

double once(const std::function<void()> &work)
{
    QElapsedTimer t;
    t.start();
    work();
    return double(t.nsecsElapsed()) / 1e9;
}

double seconds(const std::function<void()> &work)
{
    double best = once(work);
    for (int i = 1; i < g_repeat; ++i)
        best = std::min(best, once(work));
    return best;
}

void line(const char *what, double secs, double bareSecs, const char *bare)
{
    if (bareSecs > 0)
        std::printf("  %-34s %8.3f s   %6.2fx %s\n", what, secs, secs / bareSecs, bare);
    else
        std::printf("  %-34s %8.3f s\n", what, secs);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QString dir = QDir::current().filePath(QStringLiteral("bench-backup"));
    double scale = 2.0;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--dir"))
            dir = args[i + 1];
        else if (args[i] == QLatin1String("--scale"))
            scale = args[i + 1].toDouble();
        else if (args[i] == QLatin1String("--repeat"))
            g_repeat = qMax(1, args[i + 1].toInt());
    }
    QDir().mkpath(dir);
    const QString sample = dir + QStringLiteral("/sample-%1.dta").arg(scale);
    const QString data = dir + QStringLiteral("/KVL.DTA");
    const QString backup = dir + QStringLiteral("/bench.kvl");

    if (!QFileInfo::exists(sample)) {
        const double gen = once([&] { bench::writeSampleDataFile(sample, scale); });
        std::printf("generated %s in %.1f s\n", qPrintable(sample), gen);
    }
    QFile::remove(data);
    QFile::copy(sample, data);
    const qint64 n = QFileInfo(data).size();
    std::printf("data file: %.1f MB (scale %.2f)\n\n", double(n) / 1e6, scale);

    // The bare work: one-shot zlib at the default level on the bytes in memory.
    QByteArray raw;
    const double readSecs = seconds([&] {
        QFile f(data);
        f.open(QIODevice::ReadOnly);
        raw = f.readAll();
    });
    QByteArray packed;
    const double compressSecs = seconds([&] {
        uLongf size = compressBound(uLong(raw.size()));
        packed.resize(qsizetype(size));
        compress2(reinterpret_cast<Bytef *>(packed.data()), &size, reinterpret_cast<const Bytef *>(raw.constData()),
                  uLong(raw.size()), Z_DEFAULT_COMPRESSION);
        packed.resize(qsizetype(size));
    });
    QByteArray unpacked(raw.size(), '\0');
    const double uncompressSecs = seconds([&] {
        uLongf size = uLongf(unpacked.size());
        uncompress(reinterpret_cast<Bytef *>(unpacked.data()), &size, reinterpret_cast<const Bytef *>(packed.constData()),
                   uLong(packed.size()));
    });
    const bool sameBytes = unpacked == raw;
    unpacked.clear();

    const double backupSecs = seconds([&] { BackupRestore::backup(data, backup); });
    QFile written(backup);
    written.open(QIODevice::ReadOnly);
    const bool sameStream = written.readAll().mid(4) == packed;
    written.close();
    const double decodeSecs = seconds([&] {
        QFile in(backup), sink(QStringLiteral("/dev/null"));
        in.open(QIODevice::ReadOnly);
        sink.open(QIODevice::WriteOnly);
        BackupCodec::decode(in, sink);
    });
    const double restoreSecs = seconds([&] { BackupRestore::restore(backup, data); });
    QFile restored(data);
    restored.open(QIODevice::ReadOnly);
    const bool restoredSame = restored.readAll() == raw;
    restored.close();
    const double checkSecs = seconds([&] { DataFileCheck::verify(data, bench::kPassword); });

    // Compaction beside the engine's VACUUM INTO alone, on a file with a tenth of its lines deleted.
    const QString thinned = dir + QStringLiteral("/thinned.dta");
    QFile::remove(thinned);
    QFile::copy(data, thinned);
    {
        Connection conn;
        conn.connect(thinned, bench::kPassword);
        conn.exec(QStringLiteral("DELETE FROM kcmx WHERE id % 10 = 0"));
    }
    const QString bareCopy = dir + QStringLiteral("/vacuum-into.dta");
    const double vacuumSecs = seconds([&] {
        QFile::remove(bareCopy);
        Connection conn;
        conn.connect(thinned, bench::kPassword);
        Statement st(conn, QStringLiteral("VACUUM INTO ?"));
        st.bind(1, Value(bareCopy));
        st.exec();
    });
    QFile::remove(bareCopy);
    const qint64 beforeCompact = QFileInfo(thinned).size();
    CompactResult compacted;
    double compactSecs = 0;
    for (int i = 0; i < g_repeat; ++i) {
        QFile::remove(data);
        QFile::copy(thinned, data);
        const double s = once([&] { compacted = CompactDataFile(data); });
        compactSecs = i == 0 ? s : std::min(compactSecs, s);
    }
    QFile::remove(thinned);

    std::printf("backup file: %.1f MB, %.1f%% of the data file; stream %s zlib's one-shot compress\n",
                double(QFileInfo(backup).size()) / 1e6, 100.0 * double(QFileInfo(backup).size()) / double(n),
                sameStream ? "identical to" : "DIFFERENT FROM");
    std::printf("round trips: zlib %s, restore %s\n\n", sameBytes ? "exact" : "WRONG", restoredSame ? "byte for byte" : "DIFFERENT");
    std::printf("bare work, same bytes, same run:\n");
    line("read the file into memory", readSecs, 0, "");
    line("zlib compress2 (level 6)", compressSecs, 0, "");
    line("zlib uncompress", uncompressSecs, 0, "");
    line("engine integrity check", checkSecs, 0, "");
    line("engine VACUUM INTO", vacuumSecs, 0, "");
    std::printf("ours:\n");
    line("backup (read, deflate, write, sync)", backupSecs, compressSecs, "zlib compress2");
    line("decode only (inflate in chunks)", decodeSecs, uncompressSecs, "zlib uncompress");
    line("restore (decode, check, replace)", restoreSecs, uncompressSecs, "zlib uncompress");
    line("", restoreSecs, uncompressSecs + checkSecs, "zlib uncompress + integrity check");
    line("CompactDataFile", compactSecs, vacuumSecs, "VACUUM INTO");
    line("", compactSecs, vacuumSecs + checkSecs, "VACUUM INTO + integrity check");
    std::printf("  compaction %s: %.1f MB -> %.1f MB\n", compacted.replaced ? "done" : "FAILED",
                double(beforeCompact) / 1e6, double(QFileInfo(data).size()) / 1e6);
    QFile::remove(backup);
    return sameStream && sameBytes && restoredSame && compacted.replaced ? 0 : 1;
}
