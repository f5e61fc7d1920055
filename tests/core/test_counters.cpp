// Ids and numbers from PH inside the writer's transaction, and the repair of
// the id counters at start-up.
#include "Connection.h"
#include "PhCounters.h"
#include "Schema.h"
#include "Statement.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace kvl;

class TestCounters : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    Connection m_conn;
    int m_file = 0;

    QList<qint64> counters()
    {
        Statement st(m_conn, "SELECT dw, zg, sp, sfk, dh_ysk, dh_yfk, dh_sk FROM PH");
        st.next();
        QList<qint64> r;
        for (int i = 0; i < 7; ++i)
            r << st.int64(i);
        return r;
    }

private slots:
    void init()
    {
        const QString path = m_dir.filePath(QStringLiteral("KVL%1.DTA").arg(++m_file));
        Schema::createDataFile(path, "公司");
        m_conn.connect(path, Schema::databasePassword());
    }
    void cleanup() { m_conn.disconnect(); }

    void eachKindMovesItsCounters_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QList<qint64>>("after");
        QTest::addColumn<qint64>("id");
        // Counters start at dw 4, zg 5, sp 6, sfk 7, dh_ysk 10, dh_yfk 20, dh_sk 30.
        QTest::newRow("partner") << int(NumberedRow::Partner) << QList<qint64>{5, 5, 6, 7, 10, 20, 30} << qint64(5);
        QTest::newRow("staff") << int(NumberedRow::Staff) << QList<qint64>{4, 6, 6, 7, 10, 20, 30} << qint64(6);
        QTest::newRow("goods") << int(NumberedRow::Goods) << QList<qint64>{4, 5, 7, 7, 10, 20, 30} << qint64(7);
        QTest::newRow("shipment") << int(NumberedRow::Shipment) << QList<qint64>{4, 5, 6, 8, 11, 20, 30} << qint64(8);
        QTest::newRow("purchase") << int(NumberedRow::Purchase) << QList<qint64>{4, 5, 6, 8, 10, 21, 30} << qint64(8);
        QTest::newRow("settlement") << int(NumberedRow::Settlement) << QList<qint64>{4, 5, 6, 8, 10, 20, 31} << qint64(8);
    }
    void eachKindMovesItsCounters()
    {
        QFETCH(int, kind);
        QFETCH(QList<qint64>, after);
        QFETCH(qint64, id);
        m_conn.exec("UPDATE PH SET dw=4, zg=5, sp=6, sfk=7, dh_ysk=10, dh_yfk=20, dh_sk=30");
        Transaction tr(m_conn);
        QCOMPARE(AllocateId(m_conn, NumberedRow(kind)), id);
        tr.commit();
        QCOMPARE(counters(), after);
    }

    void failedSaveLeavesTheCounter()
    {
        m_conn.exec("INSERT INTO 往来单位(id, 单位名称) VALUES(1, '甲'); UPDATE PH SET dw=0");
        // The first save takes id 1, which is already there: the insert fails and rolls back.
        try {
            Transaction tr(m_conn);
            const qint64 id = AllocateId(m_conn, NumberedRow::Partner);
            QCOMPARE(id, 1);
            m_conn.exec(QString("INSERT INTO 往来单位(id, 单位编号) VALUES(%1, '%2')").arg(id).arg(QString(31, 'x')));
            tr.commit();
            QFAIL("over-long code saved");
        } catch (const DbError &) {
        }
        QCOMPARE(counters()[0], 0);
        // The next save gets the same id.
        Transaction tr(m_conn);
        QCOMPARE(AllocateId(m_conn, NumberedRow::Partner), 1);
        tr.commit();
        QCOMPARE(counters()[0], 1);
    }

    void outsideATransactionIsRefused()
    {
        QVERIFY_THROWS_EXCEPTION(DbError, AllocateId(m_conn, NumberedRow::Goods));
        QCOMPARE(counters()[2], 0);
    }

    void repair_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QList<qint64>>("after");
        const QString rows = "INSERT INTO 往来单位(id) VALUES(1), (2), (5); INSERT INTO 公司员工(id) VALUES(3);"
                             "INSERT INTO sfk(id, 类别, dw_id) VALUES(9, '出货', 1);";
        QTest::newRow("all zero: the largest ids") << rows << QList<qint64>{5, 3, 0, 9, 0, 0, 0};
        QTest::newRow("dw set: nothing changes") << rows + "UPDATE PH SET dw=7;" << QList<qint64>{7, 0, 0, 0, 0, 0, 0};
        QTest::newRow("sfk set: nothing changes") << rows + "UPDATE PH SET sfk=1;" << QList<qint64>{0, 0, 0, 1, 0, 0, 0};
        QTest::newRow("empty tables") << "" << QList<qint64>{0, 0, 0, 0, 0, 0, 0};
        QTest::newRow("number counters are not repaired") << rows + "UPDATE PH SET dh_ysk=0;" << QList<qint64>{5, 3, 0, 9, 0, 0, 0};
    }
    void repair()
    {
        QFETCH(QString, setup);
        QFETCH(QList<qint64>, after);
        if (!setup.isEmpty())
            m_conn.exec(setup);
        RepairCounters(m_conn);
        QVERIFY(!m_conn.inTransaction());
        QCOMPARE(counters(), after);
    }
};

QTEST_GUILESS_MAIN(TestCounters)
#include "test_counters.moc"
