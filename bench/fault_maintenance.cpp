// The long fault test of backup, restore, compaction and import: each run starts
// the operation in a child process, kills it with SIGKILL after a random delay,
// and then checks that KVL.DTA opens through the gate, passes the integrity check
// and holds the old or the new content, that the backup under the chosen name is
// the earlier one or a whole new one, and that an import's older file is as it
// was. Not part of ctest; run it by hand:
//
//   fault_maintenance [--runs N] [--dir DIR] [--scale S] [--seed X]   (N runs per operation)
#include "BackupRestore.h"
#include "BackupSample.h"
#include "CompactDataFile.h"
#include "DataFileCheck.h"
#include "ImportOlderData.h"
#include "ImportSample.h"
#include "MaintenanceError.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdio>
#include <map>

using namespace kvl;

namespace {

const QStringList kOperations = {QStringLiteral("backup"), QStringLiteral("restore"), QStringLiteral("compact"),
                                 QStringLiteral("import")};

// The child: one operation as the maintenance dialog runs it on a released data module.
int runChild(const QString &op, const QString &dir)
{
    const QString data = dir + QStringLiteral("/KVL.DTA");
    // The parent times its kill from here, so process start-up does not eat the delay.
    std::fputs("go\n", stdout);
    std::fflush(stdout);
    try {
        if (op == QLatin1String("backup")) {
            if (!CompactDataFile(data).replaced)
                return 2;
            BackupRestore::backup(data, dir + QStringLiteral("/chosen.kvl"));
        } else if (op == QLatin1String("restore")) {
            BackupRestore::restore(dir + QStringLiteral("/new.kvl"), data);
        } else if (op == QLatin1String("import")) {
            // As the dialog runs it: the copy in one transaction, then the
            // compaction with both files closed.
            {
                Connection current, older;
                current.connect(data, Schema::databasePassword());
                older.connect(dir + QStringLiteral("/OLD.DTA"), Schema::databasePassword());
                ImportOlderData::copy(older, current);
            }
            if (!CompactDataFile(data).replaced)
                return 2;
        } else if (!CompactDataFile(data).replaced) {
            return 2;
        }
    } catch (const MaintenanceError &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 3;
    } catch (const DbError &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 3;
    }
    return 0;
}

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void resetFolder(const QString &dir)
{
    QDir(dir).removeRecursively();
    QDir().mkpath(dir);
}

struct Tally
{
    int runs = 0, killed = 0, completed = 0, oldContent = 0, newContent = 0, bad = 0;
    int oldBackup = 0, newBackup = 0, noBackup = 0, leftovers = 0;
    double calibrationMs = 0;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == QLatin1String("--child"))
        return runChild(args[2], args[3]);

    int runs = 300;
    double scale = 0.02;
    quint32 seed = quint32(QDateTime::currentMSecsSinceEpoch());
    QString dir = QDir::current().filePath(QStringLiteral("fault-maintenance"));
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--runs"))
            runs = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--dir"))
            dir = args[i + 1];
        else if (args[i] == QLatin1String("--scale"))
            scale = args[i + 1].toDouble();
        else if (args[i] == QLatin1String("--seed"))
            seed = args[i + 1].toUInt();
    }
    QRandomGenerator random(seed);

    // The old file A (with deleted rows, so compaction has work), the backup of
    // another file B to restore, and an earlier backup under the chosen name.
    const QString setup = dir + QStringLiteral("/setup");
    const QString work = dir + QStringLiteral("/run");
    const QString scratch = dir + QStringLiteral("/scratch");
    resetFolder(setup);
    const QString fileA = setup + QStringLiteral("/A.DTA"), fileB = setup + QStringLiteral("/B.DTA");
    bench::writeSampleDataFile(fileA, scale, 1);
    {
        Connection conn;
        conn.connect(fileA, bench::kPassword);
        conn.exec(QStringLiteral("DELETE FROM kcmx WHERE id % 3 = 0"));
    }
    bench::writeSampleDataFile(fileB, scale, 2);
    const QByteArray digestA = bench::sampleDigest(fileA), digestB = bench::sampleDigest(fileB);
    BackupRestore::backup(fileB, setup + QStringLiteral("/new.kvl"));
    BackupRestore::backup(fileB, setup + QStringLiteral("/old.kvl"));
    const QByteArray oldBackup = bytesOf(setup + QStringLiteral("/old.kvl"));
    // For the import: an empty data file of the program's tables and an older file.
    const QString fileEmpty = setup + QStringLiteral("/EMPTY.DTA"), fileOlder = setup + QStringLiteral("/OLD.DTA");
    Schema::createDataFile(fileEmpty, QStringLiteral("本公司"));
    bench::writeOlderFile(fileOlder, bench::importShape(scale));
    const QByteArray digestEmpty = bench::importedDigest(fileEmpty), digestOlder = bench::importedDigest(fileOlder);
    std::printf("data file %.1f MB, %d runs per operation, seed %u\n", double(QFileInfo(fileA).size()) / 1e6, runs, seed);

    auto prepare = [&](const QString &op) {
        resetFolder(work);
        if (op == QLatin1String("import")) {
            QFile::copy(fileEmpty, work + QStringLiteral("/KVL.DTA"));
            QFile::copy(fileOlder, work + QStringLiteral("/OLD.DTA"));
            return;
        }
        QFile::copy(fileA, work + QStringLiteral("/KVL.DTA"));
        if (op == QLatin1String("restore"))
            QFile::copy(setup + QStringLiteral("/new.kvl"), work + QStringLiteral("/new.kvl"));
        if (op == QLatin1String("backup"))
            QFile::copy(setup + QStringLiteral("/old.kvl"), work + QStringLiteral("/chosen.kvl"));
    };
    auto startChild = [&](QProcess &p, const QString &op) {
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start(app.applicationFilePath(), {QStringLiteral("--child"), op, work});
        p.waitForStarted();
        while (!p.canReadLine() && p.state() == QProcess::Running)
            p.waitForReadyRead(1000);
    };

    std::map<QString, Tally> tally;
    // The longest of three uncut runs bounds the delays, so kills cover the whole operation.
    for (const QString &op : kOperations) {
        for (int i = 0; i < 3; ++i) {
            prepare(op);
            QProcess p;
            QElapsedTimer t;
            startChild(p, op);
            t.start();
            p.waitForFinished(-1);
            tally[op].calibrationMs = std::max(tally[op].calibrationMs, double(t.elapsed()));
            if (p.exitCode() != 0) {
                std::printf("%s does not complete without a kill (exit %d)\n", qPrintable(op), p.exitCode());
                return 1;
            }
        }
    }

    int failures = 0;
    for (int run = 0; run < runs * int(kOperations.size()); ++run) {
        const QString op = kOperations.at(run % kOperations.size());
        Tally &t = tally[op];
        prepare(op);
        QProcess p;
        const int delay = int(random.bounded(int(t.calibrationMs * 1.1) + 1));
        startChild(p, op);
        if (p.waitForFinished(delay)) {
            ++t.completed;
        } else {
            p.kill();
            p.waitForFinished(-1);
            ++t.killed;
        }
        ++t.runs;

        QString problem;
        const QString data = work + QStringLiteral("/KVL.DTA");
        if (op == QLatin1String("import")) {
            try {
                DataFileCheck::verify(data, bench::kPassword);
                const QByteArray digest = bench::importedDigest(data);
                if (digest == digestEmpty)
                    ++t.oldContent;
                else if (digest == digestOlder)
                    ++t.newContent;
                else
                    problem = QStringLiteral("KVL.DTA holds neither the empty file nor the imported one");
                const QString olderCopy = work + QStringLiteral("/OLD.DTA");
                DataFileCheck::verify(olderCopy, bench::kPassword);
                if (bench::importedDigest(olderCopy) != digestOlder)
                    problem = QStringLiteral("the older file changed");
            } catch (const std::exception &e) {
                problem = QStringLiteral("after an import: %1").arg(QString::fromUtf8(e.what()));
            }
        } else {
            try {
                DataFileCheck::verify(data, bench::kPassword);
                const QByteArray digest = bench::sampleDigest(data);
                if (digest == digestA)
                    ++t.oldContent;
                else if (digest == digestB && op == QLatin1String("restore"))
                    ++t.newContent;
                else
                    problem = QStringLiteral("KVL.DTA holds neither the old nor the new content");
            } catch (const std::exception &e) {
                problem = QStringLiteral("KVL.DTA: %1").arg(QString::fromUtf8(e.what()));
            }
        }
        if (op == QLatin1String("backup") && problem.isEmpty()) {
            const QString chosen = work + QStringLiteral("/chosen.kvl");
            if (!QFileInfo::exists(chosen)) {
                ++t.noBackup;
                problem = QStringLiteral("the earlier backup under the chosen name is gone");
            } else if (bytesOf(chosen) == oldBackup) {
                ++t.oldBackup;
            } else {
                resetFolder(scratch);
                try {
                    BackupRestore::restore(chosen, scratch + QStringLiteral("/KVL.DTA"));
                    if (bench::sampleDigest(scratch + QStringLiteral("/KVL.DTA")) != digestA)
                        problem = QStringLiteral("the new backup holds other content");
                    ++t.newBackup;
                } catch (const std::exception &e) {
                    problem = QStringLiteral("the file under the chosen name is no whole backup: %1").arg(QString::fromUtf8(e.what()));
                }
            }
        }
        // Temporaries a kill leaves behind are clutter, not damage; count them.
        if (!QDir(work).entryList({QStringLiteral("~*")}, QDir::Files | QDir::Hidden).isEmpty())
            ++t.leftovers;
        if (!problem.isEmpty()) {
            ++t.bad;
            ++failures;
            std::printf("run %d (%s, killed after %d ms): %s\n", run, qPrintable(op), delay, qPrintable(problem));
        }
    }

    std::printf("\n%-8s %6s %7s %9s %6s %6s %10s %10s %6s %11s\n", "", "runs", "killed", "completed", "old", "new",
                "old backup", "new backup", "bad", "temp left");
    int total = 0, killed = 0;
    for (const QString &op : kOperations) {
        const Tally &t = tally[op];
        total += t.runs;
        killed += t.killed;
        std::printf("%-8s %6d %7d %9d %6d %6d %10d %10d %6d %11d   (uncut %.0f ms after start-up)\n", qPrintable(op), t.runs, t.killed,
                    t.completed, t.oldContent, t.newContent, t.oldBackup, t.newBackup, t.bad, t.leftovers, t.calibrationMs);
    }
    std::printf("\n%d runs, %d killed mid-way, %d with a damaged or lost file\n", total, killed, failures);
    QDir(dir).removeRecursively();
    return failures == 0 ? 0 : 1;
}
