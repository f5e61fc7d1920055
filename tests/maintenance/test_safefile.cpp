// Safe replacement on real files: the new content arrives whole, and every way
// of failing leaves the old target as it was and no temporary behind.
#include "DbError.h"
#include "SafeFile.h"
#include "TestDataFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

using namespace kvl;
using kvl::testdata::FileSizeLimit;

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList temporaries(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral("~*")}, QDir::Files | QDir::Hidden);
}

} // namespace

class TestSafeFile : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_target;
    const QByteArray m_old = QByteArray("old content, which must survive every failure\n").repeated(100);

private slots:
    void init()
    {
        QDir(m_dir.path()).removeRecursively();
        QDir().mkpath(m_dir.path());
        m_target = m_dir.filePath(QStringLiteral("KVL.DTA"));
        QFile f(m_target);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(m_old);
    }

    void writeAllReplacesWholeContent()
    {
        const QByteArray fresh(3 * 1024 * 1024, 'n');
        SafeFile::writeAll(m_target, fresh);
        QCOMPARE(fileBytes(m_target), fresh);
        QCOMPARE(temporaries(m_dir.path()), QStringList());
        SafeFile::writeAll(m_dir.filePath(QStringLiteral("new.kvl")), "x");
        QCOMPARE(fileBytes(m_dir.filePath(QStringLiteral("new.kvl"))), QByteArray("x"));
    }

    void targetUntouchedUntilCommit()
    {
        SafeFile f(m_target);
        f.open();
        f.write("new");
        f.close();
        QCOMPARE(fileBytes(f.temporaryPath()), QByteArray("new"));
        QCOMPARE(QFileInfo(f.temporaryPath()).absolutePath(), QFileInfo(m_target).absolutePath());
        QCOMPARE(fileBytes(m_target), m_old);
        f.commit();
        QCOMPARE(fileBytes(m_target), QByteArray("new"));
        QCOMPARE(temporaries(m_dir.path()), QStringList());
    }

    void abandonedWriteLeavesNothing_data()
    {
        QTest::addColumn<bool>("explicitDiscard");
        QTest::newRow("discard") << true;
        QTest::newRow("destroyed without commit") << false;
    }
    void abandonedWriteLeavesNothing()
    {
        QFETCH(bool, explicitDiscard);
        {
            SafeFile f(m_target);
            f.open();
            f.write("half of it");
            if (explicitDiscard)
                f.discard();
        }
        QCOMPARE(fileBytes(m_target), m_old);
        QCOMPARE(temporaries(m_dir.path()), QStringList());
    }

    void failureKeepsOldTarget_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::newRow("target folder missing") << "missing folder";
        QTest::newRow("target folder read-only") << "read-only folder";
        QTest::newRow("disk full while writing") << "size limit";
        QTest::newRow("target is a folder, rename fails") << "folder target";
    }
    void failureKeepsOldTarget()
    {
        QFETCH(QString, failure);
        QString target = m_target;
        const QByteArray fresh(2 * 1024 * 1024, 'n');
        std::unique_ptr<FileSizeLimit> limit;
        if (failure == "missing folder") {
            target = m_dir.filePath(QStringLiteral("gone/KVL.DTA"));
        } else if (failure == "read-only folder") {
            if (geteuid() == 0)
                QSKIP("the super-user writes into read-only folders; the other rows cover the failure paths");
            QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        } else if (failure == "size limit") {
            limit = std::make_unique<FileSizeLimit>(256 * 1024);
        } else if (failure == "folder target") {
            target = m_dir.filePath(QStringLiteral("sub"));
            QDir().mkpath(target + QStringLiteral("/inside"));
        }

        bool thrown = false;
        try {
            SafeFile::writeAll(target, fresh);
        } catch (const DbError &e) {
            thrown = true;
            QVERIFY(!e.message().isEmpty());
        }
        limit.reset();
        QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(thrown);
        QCOMPARE(fileBytes(m_target), m_old);
        QCOMPARE(temporaries(m_dir.path()), QStringList());
        QVERIFY(!QFileInfo::exists(m_dir.filePath(QStringLiteral("gone"))));
    }

    void replaceBySiblingFile()
    {
        const QString source = m_dir.filePath(QStringLiteral("compacted.tmp"));
        QFile f(source);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("compacted");
        f.close();
        SafeFile::replace(source, m_target);
        QCOMPARE(fileBytes(m_target), QByteArray("compacted"));
        QVERIFY(!QFileInfo::exists(source));
    }

    void replaceAcrossFoldersRefused()
    {
        QTemporaryDir other;
        const QString source = other.filePath(QStringLiteral("elsewhere"));
        QFile f(source);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("elsewhere");
        f.close();
        QVERIFY_THROWS_EXCEPTION(DbError, SafeFile::replace(source, m_target));
        QCOMPARE(fileBytes(m_target), m_old);
        QCOMPARE(fileBytes(source), QByteArray("elsewhere"));
    }
};

QTEST_GUILESS_MAIN(TestSafeFile)
#include "test_safefile.moc"
