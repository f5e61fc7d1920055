// The benchmarks' sample data file.
#include "SampleFile.h"

#include "Connection.h"
#include "Statement.h"

#include <QHash>
#include <QRandomGenerator>
#include <QStringList>

namespace kvl::bench {

const QString kPassword = QStringLiteral("PlumHarbor7|XRZ");

const QString kGoodsStatisticsQuery = QStringLiteral(
    "SELECT sfk.*, 公司员工.员工姓名, sfk_1.单号 AS 结帐单号, 商品资料.商品编号, 商品资料.商品名称, 商品资料.商品类别, "
    "商品资料.商品产地, 商品资料.计量单位, kcmx.sl, kcmx.dj,IIF(('出货' LIKE sfk.类别) ,kcmx.je,0) AS 出货（应收款）金额,"
    "IIF(('进货' LIKE sfk.类别) ,kcmx.je,0) AS 进货（应付款）金额,IIF((sfk_1.单号 IS NULL),IIF(('出货' LIKE sfk.类别) ,"
    "kcmx.je,-1*kcmx.je),0) AS 应收款余额,kcmx.备注 AS 备注, 往来单位.单位编号,往来单位.单位名称 FROM ((kcmx LEFT JOIN "
    "(((sfk LEFT JOIN 公司员工 ON sfk.xszg_id = 公司员工.id) LEFT JOIN jzmx ON sfk.id = jzmx.sfid_mx) LEFT JOIN sfk AS "
    "sfk_1 ON jzmx.sf_id = sfk_1.id) ON kcmx.sf_id = sfk.id) LEFT JOIN 商品资料 ON kcmx.kcsp_id = 商品资料.id) LEFT JOIN "
    "往来单位 ON sfk.dw_id = 往来单位.id");

const QString kDocumentStatisticsQuery = QStringLiteral(
    "SELECT 往来单位.单位编号,往来单位.单位名称, sfk.*, (sfk.应收款金额（出货）-sfk.结帐、应付款金额（进货）) AS 应收款余额, "
    "公司员工.员工姓名 FROM (((sfk LEFT JOIN 公司员工 ON sfk.xszg_id = 公司员工.id) LEFT JOIN 往来单位 ON sfk.dw_id = 往来单位.id) "
    "LEFT JOIN jzmx ON sfk.id = jzmx.sfid_mx) LEFT JOIN sfk AS sfk_1 ON jzmx.sf_id = sfk_1.id");

namespace {

const char16_t kSyllables[] = u"东方华夏长江明光永兴宏达金鑫盛世恒通天成瑞丰新源大地中信安康海峰博远聚德泰和嘉禾福星汇丰广厦";
const char16_t kGoodsWords[] = u"螺丝钉板材钢管铜线电缆开关灯泡插座水泥油漆瓷砖木门玻璃胶带滤芯轴承阀门齿轮链条";

QString pick(QRandomGenerator &r, const char16_t *pool, int poolLen, int n)
{
    QString s;
    for (int i = 0; i < n; ++i)
        s += QChar(pool[r.bounded(poolLen)]);
    return s;
}

} // namespace

void writeSampleFile(const QString &path, const SampleSize &n)
{
    Connection conn;
    Connection::createDataFile(path, kPassword);
    conn.connect(path, kPassword);
    conn.exec(QStringLiteral(
        "PRAGMA synchronous=OFF;"
        "CREATE TABLE 往来单位(id INTEGER PRIMARY KEY, 单位编号 TEXT, 单位名称 TEXT, 联系人 TEXT, 暂停 INTEGER NOT NULL DEFAULT 0) STRICT;"
        "CREATE TABLE 公司员工(id INTEGER PRIMARY KEY, 员工编号 TEXT, 员工姓名 TEXT) STRICT;"
        "CREATE TABLE 商品资料(id INTEGER PRIMARY KEY, 商品编号 TEXT, 商品名称 TEXT, 商品类别 TEXT, 商品产地 TEXT, 计量单位 TEXT, "
        "  参考进价 INTEGER, 参考销价 INTEGER) STRICT;"
        "CREATE TABLE sfk(id INTEGER PRIMARY KEY, 制单日期 TEXT, 类别 TEXT, 单号 TEXT, dw_id INTEGER, xszg_id INTEGER, "
        "  应收款金额（出货） INTEGER, 结帐、应付款金额（进货） INTEGER, 备注 TEXT, 结帐 INTEGER NOT NULL DEFAULT 0) STRICT;"
        "CREATE TABLE kcmx(id INTEGER PRIMARY KEY AUTOINCREMENT, sf_id INTEGER, kcsp_id INTEGER, sl INTEGER, dj INTEGER, "
        "  je INTEGER, 备注 TEXT) STRICT;"
        "CREATE TABLE jzmx(id INTEGER PRIMARY KEY AUTOINCREMENT, sf_id INTEGER, sfid_mx INTEGER) STRICT;"));
    QRandomGenerator r(20240305);
    const int syl = int(std::char_traits<char16_t>::length(kSyllables));
    const int gw = int(std::char_traits<char16_t>::length(kGoodsWords));
    conn.beginTransaction();
    {
        Statement st(conn, QStringLiteral("INSERT INTO 往来单位 VALUES(?,?,?,?,0)"));
        const QStringList kinds{QStringLiteral("公司"), QStringLiteral("商行"), QStringLiteral("贸易有限公司"), QStringLiteral("五金店")};
        for (int i = 1; i <= n.partners; ++i) {
            st.bind(1, Value::integer(i));
            st.bind(2, Value(QStringLiteral("DW%1").arg(i, 5, 10, QLatin1Char('0'))));
            st.bind(3, Value(pick(r, kSyllables, syl, 4) + kinds[r.bounded(4)]));
            st.bind(4, Value(pick(r, kSyllables, syl, 2)));
            st.exec();
            st.reset();
        }
    }
    {
        Statement st(conn, QStringLiteral("INSERT INTO 公司员工 VALUES(?,?,?)"));
        for (int i = 1; i <= n.staff; ++i) {
            st.bind(1, Value::integer(i));
            st.bind(2, Value(QStringLiteral("Z%1").arg(i, 3, 10, QLatin1Char('0'))));
            st.bind(3, Value(pick(r, kSyllables, syl, 3)));
            st.exec();
            st.reset();
        }
    }
    {
        Statement st(conn, QStringLiteral("INSERT INTO 商品资料 VALUES(?,?,?,?,?,?,?,?)"));
        const QStringList cats{QStringLiteral("五金"), QStringLiteral("电料"), QStringLiteral("建材"), QStringLiteral("配件")};
        const QStringList origins{QStringLiteral("广东"), QStringLiteral("浙江"), QStringLiteral("江苏"), QStringLiteral("山东")};
        const QStringList units{QStringLiteral("个"), QStringLiteral("箱"), QStringLiteral("米"), QStringLiteral("吨")};
        for (int i = 1; i <= n.goods; ++i) {
            st.bind(1, Value::integer(i));
            st.bind(2, Value(QStringLiteral("SP%1").arg(i, 6, 10, QLatin1Char('0'))));
            st.bind(3, Value(pick(r, kGoodsWords, gw, 4 + r.bounded(12))));
            st.bind(4, Value(cats[r.bounded(4)]));
            st.bind(5, Value(origins[r.bounded(4)]));
            st.bind(6, Value(units[r.bounded(4)]));
            st.bind(7, Value::money(r.bounded(1, 100000) * 100));
            st.bind(8, Value::money(r.bounded(1, 120000) * 100));
            st.exec();
            st.reset();
        }
    }
    // Documents over ten years: mostly shipments and purchases, one in ten a settlement.
    const qint64 start = QDateTime(QDate(2015, 1, 1), QTime(0, 0), Qt::UTC).toSecsSinceEpoch();
    std::vector<int> kind(size_t(n.documents) + 1);
    {
        Statement st(conn, QStringLiteral("INSERT INTO sfk VALUES(?,?,?,?,?,?,?,?,?,0)"));
        int ch = 0, jh = 0, jz = 0;
        for (int i = 1; i <= n.documents; ++i) {
            const int k = r.bounded(10) == 0 ? 2 : r.bounded(2);
            kind[size_t(i)] = k;
            const qint64 day = qint64(i) * 3650 / n.documents;
            st.bind(1, Value::integer(i));
            st.bind(2, Value::dateTimeSecs(start + day * 86400));
            st.bind(3, Value(k == 0 ? QStringLiteral("出货") : k == 1 ? QStringLiteral("进货") : QStringLiteral("结帐")));
            st.bind(4, Value(k == 0 ? QStringLiteral("CH%1").arg(++ch, 8, 10, QLatin1Char('0'))
                             : k == 1 ? QStringLiteral("JH%1").arg(++jh, 8, 10, QLatin1Char('0'))
                                      : QStringLiteral("结%1").arg(++jz, 8, 10, QLatin1Char('0'))));
            st.bind(5, Value::integer(r.bounded(1, n.partners + 1)));
            st.bind(6, r.bounded(5) == 0 ? Value() : Value::integer(r.bounded(1, n.staff + 1)));
            const qint64 amount = qint64(r.bounded(1, 5000000)) * 100;
            st.bind(7, Value::money(k == 0 ? amount : 0));
            st.bind(8, Value::money(k == 0 ? 0 : amount));
            st.bind(9, Value(r.bounded(3) == 0 ? pick(r, kSyllables, syl, 2) : QString()));
            st.exec();
            st.reset();
        }
    }
    {
        Statement st(conn, QStringLiteral("INSERT INTO kcmx(sf_id,kcsp_id,sl,dj,je,备注) VALUES(?,?,?,?,?,?)"));
        for (int i = 0; i < n.lines; ++i) {
            int doc = r.bounded(1, n.documents + 1);
            while (kind[size_t(doc)] == 2)
                doc = r.bounded(1, n.documents + 1);
            const qint64 sl = qint64(r.bounded(1, 1000)) * 10000, dj = qint64(r.bounded(1, 100000)) * 100;
            st.bind(1, Value::integer(doc));
            st.bind(2, Value::integer(r.bounded(1, n.goods + 1)));
            st.bind(3, Value::money(sl));
            st.bind(4, Value::money(dj));
            st.bind(5, Value::money(sl / 10000 * dj));
            st.bind(6, Value(r.bounded(4) == 0 ? pick(r, kGoodsWords, gw, 2) : QString()));
            st.exec();
            st.reset();
        }
    }
    {
        // Settle the older two thirds of the shipments and purchases, each by a settlement after it.
        Statement st(conn, QStringLiteral("INSERT INTO jzmx(sf_id,sfid_mx) VALUES(?,?)"));
        int lastSettlement = 0;
        for (int i = n.documents; i >= 1; --i) {
            if (kind[size_t(i)] == 2) {
                lastSettlement = i;
            } else if (lastSettlement && i < n.documents * 2 / 3) {
                st.bind(1, Value::integer(lastSettlement));
                st.bind(2, Value::integer(i));
                st.exec();
                st.reset();
            }
        }
    }
    conn.exec(QStringLiteral("CREATE INDEX kcmx_sf ON kcmx(sf_id); CREATE UNIQUE INDEX jzmx_mx ON jzmx(sfid_mx);"
                             "CREATE INDEX jzmx_sf ON jzmx(sf_id); CREATE INDEX sfk_dw ON sfk(dw_id);"
                             "CREATE INDEX sfk_date ON sfk(制单日期);"));
    conn.commit();
}

FieldResolver sampleResolver()
{
    return [](FieldDef &f) {
        static const QHash<QString, ValueType> types = {
            {QStringLiteral("应收款金额（出货）"), ValueType::Money}, {QStringLiteral("结帐、应付款金额（进货）"), ValueType::Money},
            {QStringLiteral("参考进价"), ValueType::Money},          {QStringLiteral("参考销价"), ValueType::Money},
            {QStringLiteral("sl"), ValueType::Money},                {QStringLiteral("dj"), ValueType::Money},
            {QStringLiteral("je"), ValueType::Money},                {QStringLiteral("结帐"), ValueType::Boolean},
            {QStringLiteral("暂停"), ValueType::Boolean},            {QStringLiteral("制单日期"), ValueType::DateTime},
        };
        const auto t = types.constFind(f.originColumn);
        if (t != types.constEnd())
            f.type = *t;
        if (f.originColumn.isEmpty() && (f.name.endsWith(QStringLiteral("金额")) || f.name == QStringLiteral("应收款余额")))
            f.type = ValueType::Money;
    };
}

} // namespace kvl::bench
