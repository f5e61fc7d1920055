// Data files of a business after years of use, for the backup benchmark and the
// fault test: partners, goods, documents and goods lines with Chinese text and
// integer amounts, in proportions of a real file, scaled to the size wanted.
#pragma once

#include "Connection.h"
#include "Statement.h"

#include <QCryptographicHash>
#include <QRandomGenerator>
#include <QStringList>

namespace kvl::bench {

inline const QString kPassword = QStringLiteral("PlumHarbor7|XRZ");

class SampleText
{
public:
    explicit SampleText(quint32 seed) : m_random(seed) {}
    QString words(int count)
    {
        static const QStringList pool = QStringLiteral(
            "上海 杭州 宁波 温州 苏州 无锡 广州 深圳 五金 交电 机电 设备 建材 化工 纺织 服装 电子 电器 "
            "有限公司 贸易 商行 经营部 批发 零售 螺丝 螺母 轴承 电线 电缆 开关 插座 灯泡 水管 阀门 油漆 "
            "钢材 铝材 木板 玻璃 瓷砖 胶水 工具 扳手 钳子 电钻 刀片 手套 纸箱 包装 运输 月结 现金 转账 "
            "退货 补货 赠品 样品 优惠 折扣 欠款 已付 未付 张 王 李 赵 刘 陈 杨 黄 周 吴 先生 女士 经理")
            .split(QLatin1Char(' '));
        QString s;
        for (int i = 0; i < count; ++i)
            s += pool.at(int(m_random.bounded(quint32(pool.size()))));
        return s;
    }
    qint64 number(qint64 below) { return qint64(m_random.bounded(quint64(below))); }

private:
    QRandomGenerator m_random;
};

// About 80 MB at scale 1: 3,000 partners, 5,000 goods, 300,000 documents, 1,000,000 goods lines.
inline void writeSampleDataFile(const QString &path, double scale, quint32 seed = 20040305)
{
    const int partners = qMax(10, int(3000 * scale));
    const int goods = qMax(10, int(5000 * scale));
    const int documents = qMax(30, int(300000 * scale));
    const int lines = qMax(100, int(1000000 * scale));
    SampleText text(seed);

    Connection::createDataFile(path, kPassword);
    Connection conn;
    conn.connect(path, kPassword);
    conn.exec(QStringLiteral(
        "CREATE TABLE 往来单位(id INTEGER PRIMARY KEY, 单位编号 TEXT, 单位名称 TEXT, 联系人 TEXT, 联系电话 TEXT, 通信地址 TEXT, 备注 TEXT) STRICT;"
        "CREATE TABLE 商品资料(id INTEGER PRIMARY KEY, 商品编号 TEXT, 商品名称 TEXT, 商品类别 TEXT, 计量单位 TEXT, 参考进价 INTEGER, 参考销价 INTEGER) STRICT;"
        "CREATE TABLE sfk(id INTEGER PRIMARY KEY, 制单日期 TEXT, 类别 TEXT, 单号 TEXT, dw_id INTEGER, 应收款金额 INTEGER, 应付款金额 INTEGER, 备注 TEXT, 结帐 INTEGER) STRICT;"
        "CREATE TABLE kcmx(id INTEGER PRIMARY KEY AUTOINCREMENT, sf_id INTEGER, kcsp_id INTEGER, sl INTEGER, dj INTEGER, je INTEGER, 备注 TEXT) STRICT;"
        "CREATE INDEX sfk_dw ON sfk(dw_id); CREATE INDEX kcmx_sf ON kcmx(sf_id);"));
    Transaction t(conn);
    {
        Statement st(conn, QStringLiteral("INSERT INTO 往来单位 VALUES(?,?,?,?,?,?,?)"));
        for (int i = 1; i <= partners; ++i) {
            st.bind(1, Value::integer(i));
            st.bind(2, Value(QStringLiteral("DW%1").arg(i, 5, 10, QLatin1Char('0'))));
            st.bind(3, Value(text.words(4)));
            st.bind(4, Value(text.words(2)));
            st.bind(5, Value(QStringLiteral("0571-%1").arg(80000000 + text.number(9999999))));
            st.bind(6, Value(text.words(3) + QStringLiteral("路%1号").arg(text.number(999))));
            st.bind(7, Value(text.words(int(text.number(6)))));
            st.exec();
            st.reset();
        }
    }
    {
        Statement st(conn, QStringLiteral("INSERT INTO 商品资料 VALUES(?,?,?,?,?,?,?)"));
        for (int i = 1; i <= goods; ++i) {
            st.bind(1, Value::integer(i));
            st.bind(2, Value(QStringLiteral("SP%1").arg(i, 6, 10, QLatin1Char('0'))));
            st.bind(3, Value(text.words(3)));
            st.bind(4, Value(text.words(1)));
            st.bind(5, Value(text.words(1)));
            const qint64 price = 10000 * (1 + text.number(5000));
            st.bind(6, Value::integer(price));
            st.bind(7, Value::integer(price + price / 5));
            st.exec();
            st.reset();
        }
    }
    {
        Statement st(conn, QStringLiteral("INSERT INTO sfk VALUES(?,?,?,?,?,?,?,?,?)"));
        for (int i = 1; i <= documents; ++i) {
            const bool shipment = text.number(2) == 0;
            st.bind(1, Value::integer(i));
            st.bind(2, Value(Value::dateTimeText(1072915200 + qint64(i) * 600)));
            st.bind(3, Value(shipment ? QStringLiteral("出货") : QStringLiteral("进货")));
            st.bind(4, Value(QStringLiteral("%1%2").arg(shipment ? "CH" : "JH").arg(i, 8, 10, QLatin1Char('0'))));
            st.bind(5, Value::integer(1 + text.number(partners)));
            st.bind(6, Value::integer(shipment ? text.number(100000000) : 0));
            st.bind(7, Value::integer(shipment ? 0 : text.number(100000000)));
            st.bind(8, Value(text.words(int(text.number(8)))));
            st.bind(9, Value::integer(text.number(2)));
            st.exec();
            st.reset();
        }
    }
    {
        Statement st(conn, QStringLiteral("INSERT INTO kcmx(sf_id, kcsp_id, sl, dj, je, 备注) VALUES(?,?,?,?,?,?)"));
        for (int i = 1; i <= lines; ++i) {
            const qint64 sl = 1 + text.number(500);
            const qint64 dj = 10000 * (1 + text.number(2000));
            st.bind(1, Value::integer(1 + text.number(documents)));
            st.bind(2, Value::integer(1 + text.number(goods)));
            st.bind(3, Value::integer(sl));
            st.bind(4, Value::integer(dj));
            st.bind(5, Value::integer(sl * dj));
            st.bind(6, Value(text.words(int(text.number(4)))));
            st.exec();
            st.reset();
        }
    }
    t.commit();
}

// The content of the sample tables, independent of how the file lays it out.
inline QByteArray sampleDigest(const QString &path)
{
    Connection conn;
    conn.connect(path, kPassword);
    QCryptographicHash h(QCryptographicHash::Sha256);
    for (const char *table : {"往来单位", "商品资料", "sfk", "kcmx"}) {
        Statement st(conn, QStringLiteral("SELECT * FROM %1 ORDER BY id").arg(QString::fromUtf8(table)));
        while (st.next())
            for (int c = 0; c < st.columnCount(); ++c)
                h.addData(st.value(c).toString().toUtf8() + '\x1f');
    }
    return h.result();
}

} // namespace kvl::bench
