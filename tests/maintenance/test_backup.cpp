// Backup and restore on real data files: the format as an independent zlib
// reader sees it, the byte-for-byte round trip, and every kind of bad backup
// refused with the restore's message while KVL.DTA stays as it was.
#include "BackupCodec.h"
#include "BackupRestore.h"
#include "MaintenanceError.h"
#include "MaintenanceTexts.h"
#include "TestDataFiles.h"

#include <QBuffer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <zlib.h>

using namespace kvl;
using namespace kvl::testdata;

namespace {

QByteArray lengthField(qint32 n)
{
    QByteArray b(4, '\0');
    qToLittleEndian<qint32>(n, b.data());
    return b;
}

QByteArray zlibOf(const QByteArray &raw)
{
    uLongf size = compressBound(uLong(raw.size()));
    QByteArray out(int(size), '\0');
    compress2(reinterpret_cast<Bytef *>(out.data()), &size, reinterpret_cast<const Bytef *>(raw.constData()),
              uLong(raw.size()), Z_DEFAULT_COMPRESSION);
    out.resize(int(size));
    return out;
}

// What the restore says, or an empty text when it succeeded.
QString restoreMessage(const QString &backup, const QString &data)
{
    try {
        BackupRestore::restore(backup, data);
    } catch (const MaintenanceError &e) {
        return e.message();
    }
    return QString();
}

} // namespace

class TestBackup : public QObject
{
    Q_OBJECT
    QTemporaryDir m_root;
    QString m_dir;      // serves as AppDir
    QString m_data;     // AppDir + KVL.DTA
    QString m_backups;  // where the user keeps backups

private slots:
    void init()
    {
        static int n = 0;
        m_dir = m_root.filePath(QStringLiteral("app%1").arg(++n));
        m_backups = m_root.filePath(QStringLiteral("backups%1").arg(n));
        QDir().mkpath(m_dir);
        QDir().mkpath(m_backups);
        m_data = m_dir + QStringLiteral("/KVL.DTA");
        makeDataFile(m_data, 300);
    }

    void restoreReproducesDataFileByteForByte()
    {
        const QByteArray atBackup = fileBytes(m_data);
        const QString backup = m_backups + QStringLiteral("/20040305.kvl");
        BackupRestore::backup(m_data, backup);
        QCOMPARE(QDir(m_backups).entryList(QDir::Files), QStringList{QStringLiteral("20040305.kvl")});

        // Work goes on after the backup; the restore brings back the file as it was.
        Connection conn;
        conn.connect(m_data, kPassword);
        addPartners(conn, 1000, 200);
        conn.disconnect();
        QVERIFY(fileBytes(m_data) != atBackup);

        QCOMPARE(restoreMessage(backup, m_data), QString());
        QCOMPARE(fileBytes(m_data), atBackup);
        QCOMPARE(leftovers(m_dir), QStringList());
    }

    void backupReadByIndependentZlib()
    {
        const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
        if (python.isEmpty())
            QFAIL("python3 is needed as the independent zlib reader (scripts/install-deps.sh installs it)");
        const QString backup = m_backups + QStringLiteral("/b.kvl");
        BackupRestore::backup(m_data, backup);

        // Length header, the default-level zlib header, the data file inflated in
        // one call, and the very stream zlib's one-shot compress would have written.
        const char *script = R"(
import struct, sys, zlib
backup = open(sys.argv[1], 'rb').read()
data = open(sys.argv[2], 'rb').read()
n, = struct.unpack('<i', backup[:4])
assert n == len(data), ('length', n, len(data))
assert backup[4:6] == b'\x78\x9c', backup[4:6].hex()
assert zlib.decompress(backup[4:]) == data, 'content'
assert zlib.compress(data) == backup[4:], 'stream differs from zlib.compress at the default level'
print('ok', n)
)";
        QProcess py;
        py.start(python, {QStringLiteral("-c"), QString::fromLatin1(script), backup, m_data});
        QVERIFY(py.waitForFinished(60000));
        QCOMPARE(QString::fromUtf8(py.readAllStandardError()), QString());
        QCOMPARE(QString::fromUtf8(py.readAllStandardOutput()).trimmed(),
                 QStringLiteral("ok %1").arg(QFileInfo(m_data).size()));
    }

    // Sizes around and well beyond the chunks the codec reads and writes in.
    void codecRoundTrip_data()
    {
        QTest::addColumn<QByteArray>("raw");
        QByteArray noise(3 * 1024 * 1024 + 17, '\0');
        QRandomGenerator random(7);
        for (char &c : noise)
            c = char(random.bounded(256));
        QTest::newRow("one byte") << QByteArray("x");
        QTest::newRow("exactly one chunk") << QByteArray(256 * 1024, 'k');
        QTest::newRow("incompressible, many input chunks") << noise;
        QTest::newRow("zeros, many output chunks per input chunk") << QByteArray(40 * 1024 * 1024, '\0');
    }
    void codecRoundTrip()
    {
        QFETCH(QByteArray, raw);
        QBuffer data(&raw), backup, decoded;
        data.open(QIODevice::ReadOnly);
        backup.open(QIODevice::WriteOnly);
        BackupCodec::encode(data, raw.size(), backup);
        QCOMPARE(backup.data().left(4), lengthField(qint32(raw.size())));
        QCOMPARE(backup.data().mid(4), zlibOf(raw));

        backup.close();
        backup.open(QIODevice::ReadOnly);
        decoded.open(QIODevice::WriteOnly);
        QCOMPARE(BackupCodec::decode(backup, decoded), qint64(raw.size()));
        QVERIFY(decoded.data() == raw);
    }

    void dataFileShorterThanItsSizeRefused()
    {
        QByteArray raw("only this much");
        QBuffer data(&raw), backup;
        data.open(QIODevice::ReadOnly);
        backup.open(QIODevice::WriteOnly);
        QVERIFY_THROWS_EXCEPTION(MaintenanceError, BackupCodec::encode(data, raw.size() + 1, backup));
    }

    void badBackupRefused_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("empty file") << "empty";
        QTest::newRow("shorter than the length field") << "header";
        QTest::newRow("length 0") << "zero";
        QTest::newRow("negative length") << "negative";
        QTest::newRow("truncated stream") << "truncated";
        QTest::newRow("length larger than the stream gives") << "longer";
        QTest::newRow("length smaller than the stream gives") << "shorter";
        QTest::newRow("checksum broken") << "checksum";
        QTest::newRow("garbage") << "garbage";
        QTest::newRow("garbage behind a plausible length") << "garbage-after-length";
        QTest::newRow("tiny file claiming two gigabytes") << "claims-gigabytes";
        QTest::newRow("one megabyte of zeros claiming two gigabytes") << "zeros-claim-gigabytes";
        QTest::newRow("valid stream of something that is no data file") << "not-a-data-file";
        QTest::newRow("data file of another password") << "other-password";
        QTest::newRow("plain database of another program") << "foreign-database";
        QTest::newRow("damaged data file") << "damaged";
        QTest::newRow("no such backup file") << "missing";
    }
    void badBackupRefused()
    {
        QFETCH(QString, kind);
        const QString good = m_backups + QStringLiteral("/good.kvl");
        BackupRestore::backup(m_data, good);
        const QByteArray valid = fileBytes(good);
        const QByteArray raw = fileBytes(m_data);
        const qint32 n = qint32(raw.size());
        const QByteArray stream = valid.mid(4);

        QByteArray bad;
        if (kind == "empty") {
        } else if (kind == "header") {
            bad = valid.left(3);
        } else if (kind == "zero") {
            bad = lengthField(0) + stream;
        } else if (kind == "negative") {
            bad = lengthField(-n) + stream;
        } else if (kind == "truncated") {
            bad = valid.left(valid.size() / 2);
        } else if (kind == "longer") {
            bad = lengthField(n + 1) + stream;
        } else if (kind == "shorter") {
            bad = lengthField(n - 1) + stream;
        } else if (kind == "checksum") {
            bad = valid;
            bad[bad.size() - 1] = char(bad.at(bad.size() - 1) ^ 0x55);
        } else if (kind == "garbage") {
            bad = QByteArray("这不是备份文件，只是一些文字。").repeated(50);
        } else if (kind == "garbage-after-length") {
            bad = lengthField(n) + QByteArray("\x78\x9c garbage, not deflate data").repeated(20);
        } else if (kind == "claims-gigabytes") {
            bad = lengthField(0x7fffffff) + zlibOf("x");
        } else if (kind == "zeros-claim-gigabytes") {
            bad = lengthField(0x7fffffff) + zlibOf(QByteArray(1024 * 1024, '\0'));
        } else if (kind == "not-a-data-file") {
            const QByteArray text = QByteArray("往来单位,商品资料\n").repeated(5000);
            bad = lengthField(qint32(text.size())) + zlibOf(text);
        } else if (kind == "other-password") {
            const QString other = m_backups + QStringLiteral("/other.dta");
            makeDataFile(other, 10, QStringLiteral("别家公司"), QStringLiteral("another password"));
            const QByteArray otherRaw = fileBytes(other);
            bad = lengthField(qint32(otherRaw.size())) + zlibOf(otherRaw);
        } else if (kind == "foreign-database") {
            const QString other = m_backups + QStringLiteral("/foreign.db");
            QProcess::execute(QStringLiteral("python3"), {QStringLiteral("-c"),
                QStringLiteral("import sqlite3; c=sqlite3.connect('%1'); c.execute('create table t(x)'); c.commit()").arg(other)});
            const QByteArray otherRaw = fileBytes(other);
            QVERIFY(otherRaw.size() > 0);
            bad = lengthField(qint32(otherRaw.size())) + zlibOf(otherRaw);
        } else if (kind == "damaged") {
            // The partner table's first leaf page loses its page type: the
            // stream is fine, the data file inside it is not.
            QByteArray broken = raw;
            Connection conn;
            conn.connect(m_data, kPassword);
            Statement st(conn, QStringLiteral("SELECT rootpage FROM sqlite_schema WHERE name='PH'"));
            QVERIFY(st.next());
            const qint64 page = st.int64(0);
            Statement ps(conn, QStringLiteral("PRAGMA page_size"));
            QVERIFY(ps.next());
            const qint64 pageSize = ps.int64(0);
            broken[int((page - 1) * pageSize)] = char(0x01);
            bad = lengthField(n) + zlibOf(broken);
        }
        const QString path = m_backups + QStringLiteral("/bad.kvl");
        if (kind != "missing")
            writeBytes(path, bad);

        QCOMPARE(restoreMessage(path, m_data), MaintenanceTexts::restoreFailed());
        QCOMPARE(fileBytes(m_data), raw);
        QCOMPARE(leftovers(m_dir), QStringList());
    }

    void bytesAfterStreamIgnored()
    {
        const QString backup = m_backups + QStringLiteral("/b.kvl");
        BackupRestore::backup(m_data, backup);
        const QByteArray atBackup = fileBytes(m_data);
        writeBytes(backup, fileBytes(backup) + QByteArray("trailing bytes of a careless copy"));
        deletePartners(m_data, QStringLiteral("id > 10"));

        QCOMPARE(restoreMessage(backup, m_data), QString());
        QCOMPARE(fileBytes(m_data), atBackup);
    }

    void restoreRefusedWhileDataFileHeld()
    {
        const QString backup = m_backups + QStringLiteral("/b.kvl");
        BackupRestore::backup(m_data, backup);
        deletePartners(m_data, QStringLiteral("id > 10"));
        const QByteArray before = fileBytes(m_data);

        Connection holder;
        holder.connect(m_data, kPassword);
        QCOMPARE(restoreMessage(backup, m_data), MaintenanceTexts::restoreFailed());
        holder.disconnect();
        QCOMPARE(fileBytes(m_data), before);
        QCOMPARE(leftovers(m_dir), QStringList());
    }

    // A crash in the middle of a write leaves a journal the engine plays back at
    // the next opening. It belongs to the old file: played into the restored
    // one it would damage it, and removed without playing it, it would damage
    // the old one when the restore fails.
    void journalOfInterruptedWrite_data()
    {
        QTest::addColumn<bool>("goodBackup");
        QTest::newRow("restore succeeds") << true;
        QTest::newRow("restore refused") << false;
    }
    void journalOfInterruptedWrite()
    {
        QFETCH(bool, goodBackup);
        const QString backup = m_backups + QStringLiteral("/b.kvl");
        deletePartners(m_data, QStringLiteral("id > 100"));
        BackupRestore::backup(m_data, backup);
        const QByteArray backedUp = contentDigest(m_data);
        Connection conn;
        conn.connect(m_data, kPassword);
        addPartners(conn, 1000, 400);
        conn.disconnect();
        const QByteArray committed = contentDigest(m_data);

        // A snapshot of the folder while a large change is half written to the file.
        const QString crashed = m_root.filePath(QStringLiteral("crashed%1").arg(goodBackup));
        QDir().mkpath(crashed);
        conn.connect(m_data, kPassword);
        conn.exec(QStringLiteral("PRAGMA cache_size=2"));
        conn.beginTransaction();
        conn.exec(QStringLiteral("UPDATE 往来单位 SET 通信地址 = 通信地址 || '（已搬迁）'"));
        QVERIFY(QFile::copy(m_data, crashed + QStringLiteral("/KVL.DTA")));
        QVERIFY(QFile::copy(m_data + QStringLiteral("-journal"), crashed + QStringLiteral("/KVL.DTA-journal")));
        conn.rollback();
        conn.disconnect();
        const QString data = crashed + QStringLiteral("/KVL.DTA");
        QVERIFY(fileBytes(data) != fileBytes(m_data));

        if (!goodBackup)
            writeBytes(backup, fileBytes(backup).left(100));
        QCOMPARE(restoreMessage(backup, data), goodBackup ? QString() : MaintenanceTexts::restoreFailed());
        QCOMPARE(contentDigest(data), goodBackup ? backedUp : committed);
        QCOMPARE(leftovers(crashed), QStringList());
    }

    void dataFileNamedInAnyCase_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<bool>("same");
        QTest::newRow("as it is") << "%1/KVL.DTA" << true;
        QTest::newRow("lower case") << "%1/kvl.dta" << true;
        QTest::newRow("mixed case with blanks") << "  %1/Kvl.Dta " << true;
        QTest::newRow("through a dot folder") << "%1/sub/../KVL.DTA" << true;
        QTest::newRow("backup beside it") << "%1/KVL.DTA.kvl" << false;
        QTest::newRow("same name elsewhere") << "%1/../KVL.DTA" << false;
        QTest::newRow("nothing typed") << "" << false;
    }
    void dataFileNamedInAnyCase()
    {
        QFETCH(QString, chosen);
        QFETCH(bool, same);
        const QString path = chosen.isEmpty() ? chosen : chosen.arg(m_dir);
        QCOMPARE(BackupRestore::namesDataFile(path, m_data), same);
        if (!same)
            return;
        const QByteArray before = fileBytes(m_data);
        for (const bool restoring : {false, true}) {
            try {
                restoring ? BackupRestore::restore(path, m_data) : BackupRestore::backup(m_data, path);
                QFAIL("the data file itself was accepted");
            } catch (const MaintenanceError &e) {
                QCOMPARE(e.message(), MaintenanceTexts::sameNameAsDataFile());
            }
        }
        QCOMPARE(fileBytes(m_data), before);
        QCOMPARE(QDir(m_dir).entryList(QDir::Files), QStringList{QStringLiteral("KVL.DTA")});
    }

    void dataFileThroughLinkIsSameName()
    {
        const QString link = m_backups + QStringLiteral("/link.kvl");
        QVERIFY(QFile::link(m_data, link));
        QVERIFY(BackupRestore::namesDataFile(link, m_data));
    }

    void defaultNameIsTheDay()
    {
        QCOMPARE(BackupRestore::defaultBackupFileName(QDate(2004, 3, 5)), QStringLiteral("20040305.kvl"));
        QCOMPARE(BackupRestore::defaultBackupFileName(QDate(2025, 12, 31)), QStringLiteral("20251231.kvl"));
    }

    void failedBackupLeavesOldBackupWhole_data()
    {
        QTest::addColumn<bool>("diskFull");
        QTest::newRow("data file missing") << false;
        QTest::newRow("disk full while writing") << true;
    }
    void failedBackupLeavesOldBackupWhole()
    {
        QFETCH(bool, diskFull);
        const QString backup = m_backups + QStringLiteral("/b.kvl");
        makeDataFile(m_dir + QStringLiteral("/SMALL.DTA"), 1);
        BackupRestore::backup(m_dir + QStringLiteral("/SMALL.DTA"), backup);
        const QByteArray old = fileBytes(backup);
        QVERIFY(old.size() < 4096);
        try {
            std::unique_ptr<FileSizeLimit> limit;
            if (diskFull)
                limit = std::make_unique<FileSizeLimit>(4096);
            BackupRestore::backup(diskFull ? m_data : m_dir + QStringLiteral("/NOFILE.DTA"), backup);
            QFAIL("the backup succeeded");
        } catch (const MaintenanceError &e) {
            QCOMPARE(e.message(), MaintenanceTexts::backupFailed());
        }
        QCOMPARE(fileBytes(backup), old);
        QCOMPARE(QDir(m_backups).entryList(QDir::Files), QStringList{QStringLiteral("b.kvl")});
    }
};

QTEST_GUILESS_MAIN(TestBackup)
#include "test_backup.moc"
