// The sample data file of the dataset tests.
#include "TestDataFile.h"

#include "Statement.h"

#include <QHash>

namespace kvl::test {

const QString kPassword = QStringLiteral("PlumHarbor7|XRZ");

const QString kSfkQuery = QStringLiteral(
    "SELECT 往来单位.单位名称, sfk.*, IIf((sfk_1.单号 IS NULL ) And sfk.类别<>'结帐',"
    "(sfk.应收款金额（出货）-sfk.结帐、应付款金额（进货）),0) AS 应收款余额, 公司员工.员工姓名, "
    "IIf(sfk.类别='结帐',sfk.单号,sfk_1.单号) AS 结帐单号 FROM (((sfk LEFT JOIN 公司员工 ON sfk.xszg_id = 公司员工.id) "
    "LEFT JOIN 往来单位 ON sfk.dw_id = 往来单位.id) LEFT JOIN jzmx ON sfk.id = jzmx.sfid_mx) "
    "LEFT JOIN sfk AS sfk_1 ON jzmx.sf_id = sfk_1.id");

void createSample(Connection &conn, const QString &path)
{
    Connection::createDataFile(path, kPassword);
    conn.connect(path, kPassword);
    conn.exec(QStringLiteral(
        "CREATE TABLE 往来单位(id INTEGER PRIMARY KEY, 单位编号 TEXT CHECK(length(单位编号)<=30), "
        "  单位名称 TEXT CHECK(length(单位名称)<=60), 暂停 INTEGER NOT NULL DEFAULT 0 CHECK(暂停 IN (0,1))) STRICT;"
        "CREATE TABLE 公司员工(id INTEGER PRIMARY KEY, 员工编号 TEXT, 员工姓名 TEXT CHECK(length(员工姓名)<=20)) STRICT;"
        "CREATE TABLE 商品资料(id INTEGER PRIMARY KEY, 商品编号 TEXT, 商品名称 TEXT CHECK(length(商品名称)<=60), "
        "  计量单位 TEXT, 参考销价 INTEGER) STRICT;"
        "CREATE TABLE sfk(id INTEGER PRIMARY KEY, 制单日期 TEXT, 类别 TEXT CHECK(length(类别)<=4), "
        "  单号 TEXT CHECK(length(单号)<=10), dw_id INTEGER REFERENCES 往来单位(id), xszg_id INTEGER, "
        "  应收款金额（出货） INTEGER, 结帐、应付款金额（进货） INTEGER, 备注 TEXT CHECK(length(备注)<=60), "
        "  结帐 INTEGER NOT NULL DEFAULT 0 CHECK(结帐 IN (0,1))) STRICT;"
        "CREATE TABLE kcmx(id INTEGER PRIMARY KEY AUTOINCREMENT, sf_id INTEGER, kcsp_id INTEGER, sl INTEGER, "
        "  dj INTEGER, je INTEGER, 备注 TEXT CHECK(length(备注)<=20)) STRICT;"
        "CREATE TABLE jzmx(id INTEGER PRIMARY KEY AUTOINCREMENT, sf_id INTEGER, sfid_mx INTEGER UNIQUE) STRICT;"
        "INSERT INTO 往来单位 VALUES(1,'B001','北京东方公司',0),(2,'S002','上海南方商行',0),(3,'A003','Abc Trading',1);"
        "INSERT INTO 公司员工 VALUES(1,'Z01','张三');"
        "INSERT INTO 商品资料 VALUES(1,'SP001','特级精制长白山野生黑木耳礼盒装五百克每盒','盒',1234500),"
        "  (2,'SP002','螺丝','个',5000);"
        // 1 shipment CH00000001 open, 2 purchase JH00000001 settled by 3, 3 the settlement,
        // 4 shipment CH00000002 open, 5 shipment without a date or remark, 6 purchase of another partner.
        "INSERT INTO sfk VALUES"
        "  (1,'2024-03-05 00:00:00','出货','CH00000001',1,1,1000000,0,'首批',0),"
        "  (2,'2024-01-20 00:00:00','进货','JH00000001',1,NULL,0,250000,'',0),"
        "  (3,'2024-04-01 00:00:00','结帐','结00000001',1,1,0,250000,NULL,0),"
        "  (4,'2024-02-11 00:00:00','出货','CH00000002',2,1,55000,0,'abc 公司 备注',0),"
        "  (5,NULL,'出货','CH00000003',3,NULL,0,0,NULL,0),"
        "  (6,'2024-02-11 00:00:00','进货','JH00000002',2,1,0,12345,'ABC',0);"
        "INSERT INTO jzmx(sf_id, sfid_mx) VALUES(3,2);"
        "INSERT INTO kcmx(sf_id,kcsp_id,sl,dj,je,备注) VALUES(1,1,10000,1000000,1000000,'a'),(1,2,20000,5000,10000,NULL),"
        "  (4,2,110000,5000,55000,'b');"));
}

FieldResolver schemaResolver()
{
    return [](FieldDef &f) {
        static const QHash<QString, ValueType> types = {
            {QStringLiteral("应收款金额（出货）"), ValueType::Money},
            {QStringLiteral("结帐、应付款金额（进货）"), ValueType::Money},
            {QStringLiteral("参考销价"), ValueType::Money},
            {QStringLiteral("sl"), ValueType::Money},
            {QStringLiteral("dj"), ValueType::Money},
            {QStringLiteral("je"), ValueType::Money},
            {QStringLiteral("结帐"), ValueType::Boolean},
            {QStringLiteral("暂停"), ValueType::Boolean},
            {QStringLiteral("制单日期"), ValueType::DateTime},
        };
        static const QHash<QString, int> sizes = {
            {QStringLiteral("单号"), 10}, {QStringLiteral("类别"), 4}, {QStringLiteral("备注"), 60},
            {QStringLiteral("单位名称"), 60}, {QStringLiteral("员工姓名"), 20}, {QStringLiteral("商品名称"), 60},
        };
        if (f.originColumn.isEmpty())
            return;
        const auto t = types.constFind(f.originColumn);
        if (t != types.constEnd())
            f.type = *t;
        f.size = sizes.value(f.originColumn, -1);
        if (f.originTable == u"kcmx" && f.originColumn == u"备注")
            f.size = 20;
    };
}

qint64 count(Connection &conn, const QString &sqlCount)
{
    Statement st(conn, sqlCount);
    return st.next() ? st.int64(0) : -1;
}

} // namespace kvl::test
