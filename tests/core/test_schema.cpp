// The data file's tables on a real file: derived columns of the shared
// queries, enforced links both ways, width and type rules, exact money.
#include "BaseQueries.h"
#include "Connection.h"
#include "Schema.h"
#include "Statement.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace kvl;

class TestSchema : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    Connection m_conn;
    int m_file = 0;

    // Runs a statement and returns the native number of its failure (0: it worked).
    qint32 refusal(const QString &sql, QString *message = nullptr)
    {
        try {
            m_conn.exec(sql);
        } catch (const DbError &e) {
            if (message)
                *message = e.message();
            return e.firstNative();
        }
        return 0;
    }

    // One column of the row of `sql` whose sfk id is `id`.
    Value cell(const QString &sql, const QString &column, qint64 id, const QString &idColumn = "id")
    {
        Statement st(m_conn, sql);
        if (st.hasParameter("id"))
            st.bind("id", Value::integer(id));
        int col = -1;
        for (int i = 0; i < st.columnCount(); ++i)
            if (st.columnName(i) == column)
                col = i;
        int idCol = -1;
        for (int i = 0; i < st.columnCount(); ++i)
            if (st.columnName(i) == idColumn && idCol < 0)
                idCol = i;
        while (st.next())
            if (st.hasParameter("id") || st.int64(idCol) == id)
                return st.value(col);
        return Value(QStringLiteral("<no row>"));
    }

private slots:
    void init()
    {
        const QString path = m_dir.filePath(QStringLiteral("KVL%1.DTA").arg(++m_file));
        Schema::createDataFile(path, QStringLiteral("测试商贸有限公司"));
        m_conn.connect(path, Schema::databasePassword());
        m_conn.exec("INSERT INTO 往来单位(id, 单位编号, 单位名称) VALUES(1, 'A01', '甲公司'), (2, 'A02', '乙公司');"
                    "INSERT INTO 公司员工(id, 员工编号, 员工姓名) VALUES(1, 'Y1', '张三');"
                    "INSERT INTO 商品资料(id, 商品编号, 商品名称) VALUES(1, 'S1', '水杯');");
    }
    void cleanup() { m_conn.disconnect(); }

    void freshFile()
    {
        Statement st(m_conn, "SELECT dw, zg, sp, sfk, dh_ysk, dh_yfk, dh_sk, UserName, pass, length(JPEG) FROM PH");
        QVERIFY(st.next());
        for (int i = 0; i < 7; ++i)
            QCOMPARE(st.int64(i), 0);
        QCOMPARE(st.text(7), QStringLiteral("测试商贸有限公司"));
        QCOMPARE(st.text(8), QString());
        QCOMPARE(st.int64(9), 0);
        QVERIFY(!st.next());
    }

    void derivedColumns()
    {
        // A purchase of 100.00, a shipment of 500.00 with a line, a settlement linking the purchase.
        m_conn.exec("INSERT INTO sfk(id, 制单日期, 类别, 单号, dw_id, 应收款金额（出货）, 结帐、应付款金额（进货）) VALUES"
                    "(1, '2026-03-01 10:00:00', '进货', 'JH00000001', 1, 0, 1000000),"
                    "(2, '2026-03-02 10:00:00', '出货', 'CH00000001', 1, 5000000, 0);"
                    "INSERT INTO kcmx(sf_id, kcsp_id, sl, dj, je) VALUES(1, 1, 20000, 500000, 1000000),"
                    "(2, 1, 10000, 5000000, 5000000);");
        const QString sfk = BaseQueries::dataSfk(), jz = BaseQueries::dataSfkJz(), sp = BaseQueries::dataTJSp();
        QCOMPARE(cell(sfk, "应收款余额", 1).toInt(), -1000000);
        QCOMPARE(cell(jz, "应收款余额", 1).toInt(), -1000000);
        QCOMPARE(cell(sfk, "应收款余额", 2).toInt(), 5000000);
        QVERIFY(cell(sfk, "结帐单号", 1).isNull());
        // The purchase's line while open.
        QCOMPARE(cell(sp, "出货（应收款）金额", 1).toInt(), 0);
        QCOMPARE(cell(sp, "进货（应付款）金额", 1).toInt(), 1000000);
        QCOMPARE(cell(sp, "应收款余额", 1).toInt(), -1000000);
        QCOMPARE(cell(sp, "出货（应收款）金额", 2).toInt(), 5000000);

        m_conn.exec("INSERT INTO sfk(id, 制单日期, 类别, 单号, dw_id, 应收款金额（出货）, 结帐、应付款金额（进货）) VALUES"
                    "(3, '2026-03-05 10:00:00', '结帐', '结00000001', 1, 0, -1000000);"
                    "INSERT INTO jzmx(sf_id, sfid_mx) VALUES(3, 1);");
        QCOMPARE(cell(sfk, "应收款余额", 1).toInt(), 0);
        QCOMPARE(cell(jz, "应收款余额", 1).toInt(), -1000000);
        QCOMPARE(cell(sfk, "结帐单号", 1).toString(), QStringLiteral("结00000001"));
        QCOMPARE(cell(jz, "结帐单号", 1).toString(), QStringLiteral("结00000001"));
        // The settlement shows its own number and no balance.
        QCOMPARE(cell(sfk, "结帐单号", 3).toString(), QStringLiteral("结00000001"));
        QCOMPARE(cell(sfk, "应收款余额", 3).toInt(), 0);
        QCOMPARE(cell(sfk, "单位名称", 3).toString(), QStringLiteral("甲公司"));
        QCOMPARE(cell(sp, "应收款余额", 1).toInt(), 0);
        QCOMPARE(cell(sp, "进货（应付款）金额", 1).toInt(), 1000000);
        // Details of one document by the :id parameter.
        QCOMPARE(cell(BaseQueries::dataSfkKcmx(), "商品名称", 2).toString(), QStringLiteral("水杯"));
        QCOMPARE(cell(BaseQueries::dataSfkJzmx(), "本次结帐金额", 3).toInt(), -1000000);
        // The statistics query of unsettled documents runs as written.
        QCOMPARE(cell(BaseQueries::dataTJYsk() + " WHERE sfk_1.单号 IS NULL", "单位编号", 2).toString(), QStringLiteral("A01"));
    }

    void links_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<qint32>("native");
        QTest::addColumn<QString>("table");
        const qint32 missing = NativeError::MissingMaster, referenced = NativeError::Referenced;
        QTest::newRow("document names a missing partner")
            << "INSERT INTO sfk(id, 类别, dw_id) VALUES(9, '出货', 77)" << missing << "往来单位";
        QTest::newRow("document names a missing staff member")
            << "INSERT INTO sfk(id, 类别, dw_id, xszg_id) VALUES(9, '出货', 1, 77)" << missing << "公司员工";
        QTest::newRow("document changed to a missing partner")
            << "UPDATE sfk SET dw_id=77 WHERE id=5" << missing << "往来单位";
        QTest::newRow("line names missing goods")
            << "INSERT INTO kcmx(sf_id, kcsp_id) VALUES(5, 77)" << missing << "商品资料";
        QTest::newRow("document without staff") << "INSERT INTO sfk(id, 类别, dw_id) VALUES(9, '出货', 2)" << 0 << "";
        QTest::newRow("delete a named partner") << "DELETE FROM 往来单位 WHERE id=1" << referenced << "sfk";
        QTest::newRow("renumber a named partner") << "UPDATE 往来单位 SET id=50 WHERE id=1" << referenced << "sfk";
        QTest::newRow("delete a named staff member") << "DELETE FROM 公司员工 WHERE id=1" << referenced << "sfk";
        QTest::newRow("delete named goods") << "DELETE FROM 商品资料 WHERE id=1" << referenced << "kcmx";
        QTest::newRow("delete a partner no document names") << "DELETE FROM 往来单位 WHERE id=2" << 0 << "";
    }
    void links()
    {
        QFETCH(QString, sql);
        QFETCH(qint32, native);
        QFETCH(QString, table);
        m_conn.exec("INSERT INTO sfk(id, 类别, dw_id, xszg_id) VALUES(5, '出货', 1, 1);"
                    "INSERT INTO kcmx(sf_id, kcsp_id) VALUES(5, 1);");
        QString message;
        QCOMPARE(refusal(sql, &message), native);
        if (native)
            QVERIFY2(message.contains(QStringLiteral("［%1］").arg(table)), qPrintable(message));
    }

    void rules_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("text"); // empty: accepted
        const QString code30 = QString(30, QChar(0x7532)); // thirty Chinese characters fit
        QTest::newRow("thirty characters") << QString("UPDATE 往来单位 SET 单位编号='%1' WHERE id=1").arg(code30) << "";
        QTest::newRow("thirty-one characters") << QString("UPDATE 往来单位 SET 单位编号='%1' WHERE id=1").arg(code30 + "x")
                                               << "［往来单位］的［单位编号］最多只能录入30个字符，请缩短后再保存！";
        QTest::newRow("document number of eleven") << "INSERT INTO sfk(id, 单号) VALUES(8, 'CH123456789')"
                                                   << "［sfk］的［单号］最多只能录入10个字符，请缩短后再保存！";
        QTest::newRow("line remark of twenty-one") << QString("INSERT INTO kcmx(sf_id, 备注) VALUES(1, '%1')").arg(QString(21, 'a'))
                                                   << "［kcmx］的［备注］最多只能录入20个字符，请缩短后再保存！";
        QTest::newRow("date not in the stored form") << "INSERT INTO sfk(id, 制单日期) VALUES(8, '2026/03/01')"
                                                     << "［sfk］的［制单日期］不是有效的日期！";
        QTest::newRow("boolean other than 0 and 1") << "UPDATE 往来单位 SET 暂停=2 WHERE id=1" << "［往来单位］的［暂停］只能是“是”或“否”！";
        QTest::newRow("integer beyond 32 bits") << "UPDATE PH SET dh_ysk=2147483648" << "［PH］的［dh_ysk］超出了整数的范围！";
    }
    void rules()
    {
        QFETCH(QString, sql);
        QFETCH(QString, text);
        QString message;
        const qint32 native = refusal(sql, &message);
        if (text.isEmpty()) {
            QCOMPARE(native, 0);
        } else {
            QVERIFY(native != 0);
            QVERIFY2(message.contains("{B}" + text + "{E}"), qPrintable(message));
        }
    }

    void typesAreStrict()
    {
        QVERIFY(refusal("UPDATE 商品资料 SET 参考进价='abc' WHERE id=1") != 0);
        QVERIFY(refusal("UPDATE 商品资料 SET 商品名称=12 WHERE id=1") == 0); // a number as text is fine
    }

    void moneyKeepsFourDecimals()
    {
        // One and 2345 ten-thousandths, a million lines' worth of sums stays exact.
        m_conn.exec("INSERT INTO kcmx(sf_id, kcsp_id, sl, dj, je) VALUES(1, 1, 12345, 10001, 3);"
                    "INSERT INTO kcmx(sf_id, kcsp_id, sl, dj, je) VALUES(1, 1, 922337203685477, 1, 1);");
        Statement st(m_conn, "SELECT sl, sum(je) FROM kcmx WHERE sl = 12345");
        QVERIFY(st.next());
        QCOMPARE(Value::money(st.int64(0)).toString(), QStringLiteral("1.2345"));
        QCOMPARE(st.int64(1), 3);
        Statement big(m_conn, "SELECT sl FROM kcmx WHERE sl > 12345");
        QVERIFY(big.next());
        QCOMPARE(big.int64(0), Q_INT64_C(922337203685477));
    }

    void omittedTextsAreEmptyNotNull()
    {
        m_conn.exec("INSERT INTO sfk(id, 类别, dw_id) VALUES(7, '出货', 1)");
        Statement st(m_conn, "SELECT 单号, 备注, 应收款金额（出货）, 结帐 FROM sfk WHERE id=7");
        QVERIFY(st.next());
        QVERIFY(!st.isNull(0));
        QCOMPARE(st.text(1), QString(""));
        QVERIFY(!st.isNull(1));
        QCOMPARE(st.int64(2), 0);
        QCOMPARE(st.int64(3), 0);
    }
};

QTEST_GUILESS_MAIN(TestSchema)
#include "test_schema.moc"
