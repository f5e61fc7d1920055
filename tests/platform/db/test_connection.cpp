// The connection on real data files: the password gate, exclusive use across
// processes, transactions, parameters and the classes of the engine error list.
#include "Connection.h"
#include "Statement.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <sqlite3.h>

using namespace kvl;

namespace {
const QString kPassword = QStringLiteral("PlumHarbor7|XRZ");

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}
}

class TestConnection : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_file;

    qint32 nativeOf(const std::function<void()> &fn, Connection *c = nullptr)
    {
        try {
            fn();
        } catch (const DbError &e) {
            if (c)
                [&] { QCOMPARE(c->errors(), e.errors()); }();
            return e.firstNative();
        }
        return 0;
    }

private slots:
    void init()
    {
        m_file = m_dir.filePath(QStringLiteral("KVL%1.DTA").arg(QRandomGenerator::global()->generate()));
        Connection::createDataFile(m_file, kPassword);
    }

    void gate_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<qint32>("native");
        QTest::newRow("right password") << "right" << 0;
        QTest::newRow("wrong password") << "wrong" << NativeError::BadPassword;
        QTest::newRow("plain database of another program") << "foreign" << NativeError::NotDataFile;
        QTest::newRow("text file") << "text" << NativeError::NotDataFile;
        QTest::newRow("missing file") << "missing" << NativeError::NotDataFile;
        QTest::newRow("empty file") << "empty" << NativeError::NotDataFile;
    }
    void gate()
    {
        QFETCH(QString, kind);
        QFETCH(qint32, native);
        QString path = m_file;
        QString password = kPassword;
        if (kind == "wrong") {
            password = QStringLiteral("plumharbor7|xrz");
        } else if (kind == "foreign") {
            path = m_dir.filePath("other.db");
            sqlite3 *db = nullptr;
            sqlite3_open(path.toUtf8().constData(), &db);
            sqlite3_exec(db, "CREATE TABLE t(a); INSERT INTO t VALUES(1);", nullptr, nullptr, nullptr);
            sqlite3_close(db);
        } else if (kind == "text" || kind == "empty") {
            path = m_dir.filePath(kind + ".txt");
            QFile f(path);
            f.open(QIODevice::WriteOnly);
            if (kind == "text")
                f.write(QByteArray("这不是数据文件\r\njust some text that is long enough to look like a header....\r\n").repeated(40));
        } else if (kind == "missing") {
            path = m_dir.filePath("nothing.DTA");
        }
        const QByteArray before = fileBytes(path);
        Connection c;
        QCOMPARE(nativeOf([&] { c.connect(path, password); }, &c), native);
        QCOMPARE(c.isConnected(), native == 0);
        c.disconnect();
        // A refused file is never written to.
        QCOMPARE(fileBytes(path), before);
        QVERIFY(!QFile::exists(path + "-journal"));
    }

    void secondOpenerInThisProcess()
    {
        Connection a, b;
        a.connect(m_file, kPassword);
        QVERIFY(QFile::exists(Connection::lockFilePath(m_file)));
        QCOMPARE(Connection::lockHolder(m_file), QSysInfo::machineHostName());
        try {
            b.connect(m_file, kPassword);
            QFAIL("second opener admitted");
        } catch (const DbError &e) {
            QCOMPARE(e.firstNative(), NativeError::Locked);
            QVERIFY(e.message().contains(QStringLiteral("器 '%1' 上").arg(QSysInfo::machineHostName())));
        }
        QVERIFY(!b.isConnected());
        // The refused opener leaves the holder's side file alone.
        QVERIFY(QFile::exists(Connection::lockFilePath(m_file)));
        a.disconnect();
        QVERIFY(!QFile::exists(Connection::lockFilePath(m_file)));
        b.connect(m_file, kPassword);
        QVERIFY(b.isConnected());
    }

    void secondOpenerInAnotherProcess()
    {
        QProcess holder;
        holder.start(QCoreApplication::applicationFilePath(), {"--hold", m_file});
        QVERIFY(holder.waitForReadyRead(10000));
        QCOMPARE(holder.readLine().trimmed(), QByteArray("held"));
        Connection c;
        QCOMPARE(nativeOf([&] { c.connect(m_file, kPassword); }), NativeError::Locked);
        // Even a plain reader of the engine is kept out.
        sqlite3 *raw = nullptr;
        sqlite3_open_v2(m_file.toUtf8().constData(), &raw, SQLITE_OPEN_READONLY, nullptr);
        QCOMPARE(sqlite3_exec(raw, "SELECT * FROM kvl_gate", nullptr, nullptr, nullptr) & 0xff, SQLITE_BUSY);
        sqlite3_close(raw);
        holder.write("\n");
        QVERIFY(holder.waitForFinished(10000));
        QCOMPARE(holder.exitCode(), 0);
        c.connect(m_file, kPassword);
        QVERIFY(c.isConnected());
    }

    void transactionsAndParameters()
    {
        Connection c;
        c.connect(m_file, kPassword);
        c.exec("CREATE TABLE t(id INTEGER PRIMARY KEY, 名称 TEXT, je INTEGER) STRICT");
        {
            Transaction tr(c);
            Statement ins(c, "INSERT INTO t(id, 名称, je) VALUES(:Id, :MC, ?)");
            ins.bind("id", Value::integer(1));
            ins.bind(":mc", Value(QStringLiteral("甲")));
            ins.bind(3, Value::money(12345)); // 1.2345
            ins.exec();
            tr.commit();
        }
        {
            Transaction tr(c);
            c.exec("INSERT INTO t(id, 名称) VALUES(2, '乙')");
            // left without commit: rolled back
        }
        QVERIFY(!c.inTransaction());
        try {
            Transaction tr(c);
            c.exec("INSERT INTO t(id, 名称) VALUES(3, '丙')");
            c.exec("INSERT INTO t(id, 名称) VALUES(3, '丁')"); // collides
            tr.commit();
            QFAIL("collision not refused");
        } catch (const DbError &e) {
            QCOMPARE(e.firstNative(), NativeError::Collision);
        }
        QVERIFY(!c.inTransaction());
        Statement q(c, "SELECT count(*), max(je) FROM t");
        QVERIFY(q.next());
        QCOMPARE(q.int64(0), 1);
        QCOMPARE(q.int64(1), 12345);
        QVERIFY_THROWS_EXCEPTION(DbError, [&] { Statement s(c, "SELECT * FROM t WHERE id=:x"); s.bind("y", Value::integer(1)); }());
        QCOMPARE(nativeOf([&] { Statement s(c, "SELECT 1; SELECT 2"); }), SQLITE_MISUSE);
    }

    // Every class of the engine error list stands on a real engine condition.
    void errorClasses()
    {
        Connection c;
        c.connect(m_file, kPassword);
        c.exec("CREATE TABLE m(id INTEGER PRIMARY KEY) STRICT;"
               "CREATE TABLE d(id INTEGER PRIMARY KEY, m_id INTEGER, "
               "  CONSTRAINT \"{B}太长了{E}\" CHECK(id < 100)) STRICT;"
               "CREATE TRIGGER d_m BEFORE INSERT ON d WHEN NEW.m_id IS NOT NULL AND NOT EXISTS(SELECT 1 FROM m WHERE id=NEW.m_id) "
               "BEGIN SELECT RAISE(ABORT, 'KVL-MISSING:表［m］中没有相关记录'); END;"
               "CREATE TRIGGER m_del BEFORE DELETE ON m WHEN EXISTS(SELECT 1 FROM d WHERE m_id=OLD.id) "
               "BEGIN SELECT RAISE(ABORT, 'KVL-REFERENCED:表［d］中包含相关记录'); END;"
               "INSERT INTO m VALUES(1); INSERT INTO d VALUES(1, 1);");
        QCOMPARE(nativeOf([&] { c.exec("INSERT INTO d VALUES(2, 9)"); }, &c), NativeError::MissingMaster);
        QVERIFY(c.errors().first().description.contains(QStringLiteral("［m］")));
        QCOMPARE(nativeOf([&] { c.exec("DELETE FROM m WHERE id=1"); }, &c), NativeError::Referenced);
        QCOMPARE(nativeOf([&] { c.exec("INSERT INTO m VALUES(1)"); }, &c), NativeError::Collision);
        QCOMPARE(nativeOf([&] {
                     Statement s(c, "UPDATE m SET id=id WHERE id=:id");
                     s.bind("id", Value::integer(42));
                     s.execOnRow();
                 }, &c), NativeError::RowChanged);
        // A table cannot be dropped while a statement still reads it: the engine is busy.
        QCOMPARE(nativeOf([&] {
                     Statement reader(c, "SELECT * FROM d");
                     QVERIFY(reader.next());
                     c.exec("DROP TABLE m");
                 }, &c), NativeError::Busy);
        try {
            c.exec("INSERT INTO d VALUES(300, 1)");
            QFAIL("check not refused");
        } catch (const DbError &e) {
            QVERIFY2(e.message().contains("{B}太长了{E}"), qPrintable(e.message()));
        }
        // Locked: covered by the second-opener tests.
    }
};

int main(int argc, char **argv)
{
    if (argc == 3 && QByteArray(argv[1]) == "--hold") {
        QCoreApplication app(argc, argv);
        Connection c;
        try {
            c.connect(QString::fromLocal8Bit(argv[2]), kPassword);
        } catch (const DbError &) {
            return 2;
        }
        fputs("held\n", stdout);
        fflush(stdout);
        char line[8];
        if (!fgets(line, sizeof line, stdin))
            return 3;
        c.disconnect();
        return 0;
    }
    QCoreApplication app(argc, argv);
    TestConnection t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_connection.moc"
