// Compaction of real data files: smaller, same content, still a data file of the
// program; and when it cannot be done, the message and the old file as it was.
#include "CompactDataFile.h"
#include "DataFileCheck.h"
#include "MaintenanceTexts.h"
#include "TestDataFiles.h"

#include <QSysInfo>
#include <QTemporaryDir>
#include <QtTest>

using namespace kvl;
using namespace kvl::testdata;

class TestCompact : public QObject
{
    Q_OBJECT
    QTemporaryDir m_root;
    QString m_dir;
    QString m_data;

private slots:
    void init()
    {
        static int n = 0;
        m_dir = m_root.filePath(QStringLiteral("app%1").arg(++n));
        QDir().mkpath(m_dir);
        m_data = m_dir + QStringLiteral("/KVL.DTA");
        makeDataFile(m_data, 3000);
    }

    void shrinksAndKeepsContent()
    {
        deletePartners(m_data, QStringLiteral("id % 10 <> 0"));
        const qint64 before = QFileInfo(m_data).size();
        const QByteArray content = contentDigest(m_data);

        const CompactResult r = CompactDataFile(m_data);
        QCOMPARE(r.message, QString());
        QVERIFY2(r.replaced, qPrintable(r.detail));
        QVERIFY2(QFileInfo(m_data).size() < before / 2,
                 qPrintable(QStringLiteral("%1 -> %2").arg(before).arg(QFileInfo(m_data).size())));
        QCOMPARE(contentDigest(m_data), content);
        DataFileCheck::verify(m_data, kPassword);
        QCOMPARE(leftovers(m_dir), QStringList());
    }

    void heldFileNamesItsHolder()
    {
        const QByteArray before = fileBytes(m_data);
        Connection holder;
        holder.connect(m_data, kPassword);
        const CompactResult r = CompactDataFile(m_data);
        holder.disconnect();
        QVERIFY(!r.replaced);
        QCOMPARE(r.message, MaintenanceTexts::lockedBy(QSysInfo::machineHostName()));
        QCOMPARE(fileBytes(m_data), before);
    }

    void unusableFileRefused_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("another password") << "password";
        QTest::newRow("not a data file") << "text";
        QTest::newRow("no data file") << "missing";
    }
    void unusableFileRefused()
    {
        QFETCH(QString, kind);
        QString path = m_data;
        if (kind == "password") {
            path = m_dir + QStringLiteral("/OTHER.DTA");
            makeDataFile(path, 5, QStringLiteral("别家"), QStringLiteral("another"));
        } else if (kind == "text") {
            writeBytes(m_data, QByteArray("not a data file\n").repeated(1000));
        } else {
            path = m_dir + QStringLiteral("/NONE.DTA");
        }
        const QByteArray before = fileBytes(path);
        const CompactResult r = CompactDataFile(path);
        QVERIFY(!r.replaced);
        QVERIFY(!r.detail.isEmpty());
        QCOMPARE(r.message, MaintenanceTexts::openConflict(r.detail));
        QCOMPARE(fileBytes(path), before);
        QCOMPARE(leftovers(m_dir), QStringList());
    }

    void fullDiskLeavesOldFile()
    {
        deletePartners(m_data, QStringLiteral("id % 2 = 0"));
        const QByteArray before = fileBytes(m_data);
        CompactResult r;
        {
            FileSizeLimit limit(64 * 1024);
            r = CompactDataFile(m_data);
        }
        QVERIFY(!r.replaced);
        QVERIFY(r.message.startsWith(QStringLiteral("数据库打开冲突。")));
        QCOMPARE(fileBytes(m_data), before);
        QCOMPARE(leftovers(m_dir), QStringList());
        DataFileCheck::verify(m_data, kPassword);
    }
};

QTEST_GUILESS_MAIN(TestCompact)
#include "test_compact.moc"
