// The user's text for database errors, as one table of cases, plus the
// texts produced from real engine failures on a data file.
#include "Connection.h"
#include "DbErrorText.h"
#include "Schema.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace kvl;

Q_DECLARE_METATYPE(QList<kvl::EngineError>)

class TestDbErrorText : public QObject
{
    Q_OBJECT

private slots:
    void cases_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("context");
        QTest::addColumn<QList<EngineError>>("errors");
        QTest::addColumn<QString>("expected");
        using E = QList<EngineError>;
        const E none;
        QTest::newRow("marked rule text alone, Latin letters upper-cased")
            << "  check failed: {B}单号 is too long{E} (sfk)  " << "业务" << E{{275, "x"}} << "单号 IS TOO LONG";
        QTest::newRow("{E} before {B} is not cut")
            << "a{E}b{B}c" << "业务" << E{{-105121349, "d"}} << "其它用户正在新建记录，请稍候再试......";
        QTest::newRow("empty list: the message upper-cased and trimmed")
            << "  disk i/o error\t" << "业务" << none << "DISK I/O ERROR";
        QTest::newRow("row changed")
            << "row gone" << "基础资料" << E{{32, "d"}} << "ROW GONE\r\r请取消修改，并重新查询相关数据。";
        QTest::newRow("missing goods")
            << "表［商品资料］中没有相关记录" << "业务" << E{{-535037517, "d"}}
            << "［商品资料］中没有对应的记录！\r\r记录引用失败，请重新选择！";
        QTest::newRow("missing partner")
            << "表［往来单位］中没有相关记录" << "业务" << E{{-535037517, "d"}}
            << "［往来单位］中没有对应的记录！\r\r记录引用失败，请重新选择！";
        QTest::newRow("missing staff")
            << "表［公司员工］中没有相关记录" << "业务" << E{{-535037517, "d"}}
            << "［公司员工］中没有对应的记录！\r\r记录引用失败，请重新选择！";
        QTest::newRow("missing, no table named: message unchanged")
            << "something" << "业务" << E{{-535037517, "d"}} << "SOMETHING";
        QTest::newRow("referenced under master data")
            << "x" << "基础资料" << E{{-534971980, "表［sfk］中包含相关记录"}} << "已被业务单据引用过了，不能删除！";
        QTest::newRow("referenced under business")
            << "x" << "业务" << E{{-534971980, "表［sfk］中包含相关记录"}} << "错误号：-534971980\r表［sfk］中包含相关记录";
        QTest::newRow("locked, lower-case computer name")
            << "数据库已被机器 'office-pc' 上的用户 'Admin' 打开" << "业务" << E{{-534381846, "d"}}
            << "数据库被［OFFICE-PC］上的用户锁定，请稍后再试......";
        QTest::newRow("busy") << "x" << "业务" << E{{-105514571, "d"}} << "系统忙，请稍候再试......";
        QTest::newRow("busy, other number") << "x" << "业务" << E{{-72156238, "d"}} << "系统忙，请稍候再试......";
        QTest::newRow("unknown then collision")
            << "x" << "业务" << E{{1299, "not null"}, {-105121349, "d"}} << "其它用户正在新建记录，请稍候再试......";
        QTest::newRow("unknown numbers: the last one stands")
            << "x" << "选列" << E{{1299, "first"}, {19, "second"}} << "错误号：19\rsecond";
    }
    void cases()
    {
        QFETCH(QString, message);
        QFETCH(QString, context);
        QFETCH(QList<EngineError>, errors);
        QFETCH(QString, expected);
        QCOMPARE(DbErrorText(message, context, errors), expected);
    }

    // The texts for failures that really happen on a data file.
    void fromTheEngine()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("KVL.DTA");
        Schema::createDataFile(path, "公司");
        Connection c;
        c.connect(path, Schema::databasePassword());
        c.exec("INSERT INTO 往来单位(id, 单位名称) VALUES(1, '甲'); INSERT INTO sfk(id, 类别, dw_id) VALUES(1, '出货', 1)");
        auto textOf = [&](const QString &sql, const QString &context) {
            try {
                c.exec(sql);
            } catch (const DbError &e) {
                return DbErrorText(e.message(), context, c.errors());
            }
            return QString();
        };
        QCOMPARE(textOf("DELETE FROM 往来单位 WHERE id=1", "基础资料"), QStringLiteral("已被业务单据引用过了，不能删除！"));
        QCOMPARE(textOf("INSERT INTO kcmx(sf_id, kcsp_id) VALUES(1, 5)", "业务"),
                 QStringLiteral("［商品资料］中没有对应的记录！\r\r记录引用失败，请重新选择！"));
        QCOMPARE(textOf("UPDATE 往来单位 SET 邮政编码='12345678901' WHERE id=1", "基础资料"),
                 QStringLiteral("［往来单位］的［邮政编码］最多只能录入10个字符，请缩短后再保存！"));
        QCOMPARE(textOf("INSERT INTO 往来单位(id) VALUES(1)", "基础资料"), QStringLiteral("其它用户正在新建记录，请稍候再试......"));
        Connection second;
        try {
            second.connect(path, Schema::databasePassword());
            QFAIL("second opener admitted");
        } catch (const DbError &e) {
            QCOMPARE(DbErrorText(e.message(), "业务", second.errors()),
                     QStringLiteral("数据库被［%1］上的用户锁定，请稍后再试......").arg(QSysInfo::machineHostName().toUpper()));
        }
    }
};

QTEST_GUILESS_MAIN(TestDbErrorText)
#include "test_dberrortext.moc"
