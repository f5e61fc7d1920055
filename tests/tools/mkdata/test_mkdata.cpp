// kvl-mkdata as a user runs it: an empty folder, a folder that already holds a
// data file, both samples checked for consistency in the written file, and the
// report templates every fresh file carries.
#include "Connection.h"
#include "Schema.h"
#include "Statement.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace kvl;

class TestMkdata : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

    int run(const QStringList &args, QByteArray *err = nullptr)
    {
        QProcess p;
        p.start(KVL_MKDATA, args);
        p.waitForFinished(300000);
        if (err)
            *err = p.readAllStandardError();
        return p.exitCode();
    }

    qint64 one(Connection &c, const QString &sql)
    {
        Statement st(c, sql);
        return st.next() ? st.int64(0) : -1;
    }

    // What every sample must hold: amounts equal their lines, settlements their
    // documents, counters the largest ids; a third of the documents settled.
    void checkConsistent(Connection &c)
    {
        QCOMPARE(one(c, "SELECT count(*) FROM sfk s WHERE 类别<>'结帐' AND "
                        "应收款金额（出货）+结帐、应付款金额（进货） <> (SELECT sum(je) FROM kcmx WHERE sf_id=s.id)"), 0);
        QCOMPARE(one(c, "SELECT count(*) FROM sfk s WHERE 类别='出货' AND 结帐、应付款金额（进货）<>0"), 0);
        QCOMPARE(one(c, "SELECT count(*) FROM sfk s WHERE 类别='结帐' AND 结帐、应付款金额（进货） <> "
                        "(SELECT sum(d.应收款金额（出货）-d.结帐、应付款金额（进货）) FROM jzmx j JOIN sfk d ON d.id=j.sfid_mx WHERE j.sf_id=s.id)"), 0);
        QCOMPARE(one(c, "SELECT count(*) FROM (SELECT sfid_mx FROM jzmx GROUP BY sfid_mx HAVING count(*)>1)"), 0);
        QCOMPARE(one(c, "SELECT count(*) FROM PH WHERE dw=(SELECT max(id) FROM 往来单位) AND zg=(SELECT max(id) FROM 公司员工) "
                        "AND sp=(SELECT max(id) FROM 商品资料) AND sfk=(SELECT max(id) FROM sfk) "
                        "AND dh_ysk=(SELECT count(*) FROM sfk WHERE 类别='出货') AND dh_sk=(SELECT count(*) FROM sfk WHERE 类别='结帐')"), 1);
        const qint64 docs = one(c, "SELECT count(*) FROM sfk WHERE 类别<>'结帐'");
        const qint64 settled = one(c, "SELECT count(*) FROM jzmx");
        const qint64 partners = one(c, "SELECT count(*) FROM 往来单位");
        // Each partner's third is rounded on its own.
        QVERIFY2(qAbs(settled * 3 - docs) <= 3 * partners, qPrintable(QString("%1 of %2").arg(settled).arg(docs)));
        QCOMPARE(one(c, "SELECT count(*) FROM sfk WHERE 单号 IS NULL OR 备注 IS NULL"), 0);
    }

    // Table report holds the files of reports/ in file-name order, each under its own
    // "name", byte for byte: the order the prefix search of the report runner relies on.
    void checkTemplates(Connection &c)
    {
        const QDir dir(QStringLiteral(KVL_SOURCE_DIR "/reports"));
        const QStringList files = dir.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name);
        QCOMPARE(files.size(), 18);
        Statement st(c, "SELECT Name, Template FROM report ORDER BY Id");
        for (const QString &file : files) {
            QVERIFY2(st.next(), qPrintable(file));
            QFile f(dir.filePath(file));
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QByteArray bytes = f.readAll();
            QCOMPARE(st.text(0), QJsonDocument::fromJson(bytes).object().value("name").toString());
            QCOMPARE(st.text(0), file.mid(3).chopped(5));
            QCOMPARE(st.value(1).toBytes(), bytes);
        }
        QVERIFY(!st.next());
    }

private slots:
    void emptyFolderThenRefusal()
    {
        const QString dir = m_dir.filePath("plain");
        QCOMPARE(run({dir, "--company", "东方贸易"}), 0);
        Connection c;
        c.connect(dir + "/KVL.DTA", Schema::databasePassword());
        QCOMPARE(one(c, "SELECT count(*) FROM sfk"), 0);
        Statement st(c, "SELECT UserName FROM PH");
        QVERIFY(st.next());
        QCOMPARE(st.text(0), QStringLiteral("东方贸易"));
        checkTemplates(c);
        c.disconnect();

        QFile f(dir + "/KVL.DTA");
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray before = f.readAll();
        f.close();
        QByteArray err;
        QCOMPARE(run({dir, "--sample", "small"}, &err), 1);
        QVERIFY(err.contains("already exists"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), before);
        QCOMPARE(run({}), 2);
        QCOMPARE(run({dir, "--sample", "huge"}), 2);
        QCOMPARE(run({dir, "--add-templates", "--sample", "small"}), 2);
    }

    // A file made before the templates were built in gets them once; one that has
    // templates, or no file at all, is left alone.
    void templatesAddedToOlderFile()
    {
        const QString dir = m_dir.filePath("older");
        QVERIFY(QDir().mkpath(dir));
        Schema::createDataFile(dir + "/KVL.DTA", QStringLiteral("旧公司"));
        QCOMPARE(run({dir, "--add-templates"}), 0);
        QCOMPARE(run({dir, "--add-templates"}), 0);
        {
            Connection c;
            c.connect(dir + "/KVL.DTA", Schema::databasePassword());
            checkTemplates(c);
        }
        QByteArray err;
        QCOMPARE(run({m_dir.filePath("none"), "--add-templates"}, &err), 1);
        QVERIFY(err.contains("does not exist"));
        QVERIFY(!QFile::exists(m_dir.filePath("none/KVL.DTA")));
    }

    void smallSample()
    {
        const QString dir = m_dir.filePath("small");
        QCOMPARE(run({dir, "--sample", "small"}), 0);
        Connection c;
        c.connect(dir + "/KVL.DTA", Schema::databasePassword());
        QCOMPARE(one(c, "SELECT count(*) FROM 往来单位"), 12);
        QCOMPARE(one(c, "SELECT count(*) FROM 商品资料"), 12);
        QCOMPARE(one(c, "SELECT count(*) FROM 公司员工"), 12);
        QCOMPARE(one(c, "SELECT count(*) FROM 商品类别"), 12);
        checkTemplates(c);
        QVERIFY(one(c, "SELECT count(*) FROM sfk WHERE 类别='结帐'") > 0);
        QVERIFY(one(c, "SELECT count(*) FROM sfk WHERE 类别='进货'") > 0);
        checkConsistent(c);
    }

    void largeSample()
    {
        const QString dir = m_dir.filePath("large");
        QCOMPARE(run({dir, "--sample", "large"}), 0);
        Connection c;
        c.connect(dir + "/KVL.DTA", Schema::databasePassword());
        QCOMPARE(one(c, "SELECT count(*) FROM 往来单位"), 3000);
        QCOMPARE(one(c, "SELECT count(*) FROM 商品资料"), 5000);
        QCOMPARE(one(c, "SELECT count(*) FROM 公司员工"), 50);
        QCOMPARE(one(c, "SELECT count(*) FROM sfk WHERE 类别<>'结帐'"), 300000);
        QCOMPARE(one(c, "SELECT count(*) FROM kcmx"), 1000000);
        QVERIFY(one(c, "SELECT count(*) FROM sfk WHERE dw_id=1") >= 5000);
        // Ten years of dates.
        QVERIFY(one(c, "SELECT julianday(max(制单日期)) - julianday(min(制单日期)) FROM sfk") >= 3600);
        checkConsistent(c);
    }
};

QTEST_GUILESS_MAIN(TestMkdata)
#include "test_mkdata.moc"
