// Counter reads and updates in the statements the program has always used.
#include "PhCounters.h"

#include "Connection.h"
#include "Statement.h"

namespace kvl {

namespace {

struct CounterUse
{
    const char *read;
    const char *update;
};

CounterUse use(NumberedRow kind)
{
    switch (kind) {
    case NumberedRow::Partner:
        return {"SELECT dw from PH", "UPDATE PH SET dw=:PPP1"};
    case NumberedRow::Goods:
        return {"SELECT sp from PH", "UPDATE PH SET sp=:PPP1"};
    case NumberedRow::Staff:
        return {"SELECT zg from PH", "UPDATE PH SET zg=:PPP1"};
    case NumberedRow::Shipment:
    case NumberedRow::Purchase:
        return {"SELECT sfk,dh_ysk,dh_yfk from PH", "UPDATE PH SET sfk=:PPP,dh_ysk=:ppp1,dh_yfk=:ppp2"};
    case NumberedRow::Settlement:
        return {"SELECT sfk,dh_sk from PH", "UPDATE PH SET sfk=:PPP,dh_sk=:ppp1"};
    }
    return {};
}

} // namespace

qint64 AllocateId(Connection &conn, NumberedRow kind)
{
    if (!conn.inTransaction())
        conn.failWith(1, QStringLiteral("编号只能在保存的事务中分配。"));
    const CounterUse u = use(kind);
    Statement read(conn, QString::fromUtf8(u.read));
    if (!read.next())
        conn.failWith(1, QStringLiteral("参数表 PH 中没有记录。"));
    const qint64 id = read.int64(0) + 1;
    Statement update(conn, QString::fromUtf8(u.update));
    switch (kind) {
    case NumberedRow::Partner:
    case NumberedRow::Goods:
    case NumberedRow::Staff:
        update.bind(QStringLiteral("PPP1"), Value::integer(id));
        break;
    case NumberedRow::Shipment:
    case NumberedRow::Purchase: {
        const bool shipment = kind == NumberedRow::Shipment;
        update.bind(QStringLiteral("PPP"), Value::integer(id));
        update.bind(QStringLiteral("ppp1"), Value::integer(read.int64(1) + (shipment ? 1 : 0)));
        update.bind(QStringLiteral("ppp2"), Value::integer(read.int64(2) + (shipment ? 0 : 1)));
        break;
    }
    case NumberedRow::Settlement:
        update.bind(QStringLiteral("PPP"), Value::integer(id));
        update.bind(QStringLiteral("ppp1"), Value::integer(read.int64(1) + 1));
        break;
    }
    update.exec();
    return id;
}

void RepairCounters(Connection &conn)
{
    try {
        Transaction tr(conn);
        {
            Statement ph(conn, QStringLiteral("SELECT * from PH"));
            if (!ph.next())
                return;
            for (int i = 0; i < ph.columnCount(); ++i) {
                const QString name = ph.columnName(i);
                if ((name == QLatin1String("dw") || name == QLatin1String("zg") || name == QLatin1String("sp")
                     || name == QLatin1String("sfk")) && ph.int64(i) != 0)
                    return;
            }
        }
        qint64 largest[4];
        const char *tables[4] = {"往来单位", "公司员工", "商品资料", "sfk"};
        for (int i = 0; i < 4; ++i) {
            Statement max(conn, QStringLiteral("SELECT iif(MAX(id)>0,MAX(id),0) AS ibh from %1").arg(QString::fromUtf8(tables[i])));
            largest[i] = max.next() ? max.int64(0) : 0;
        }
        Statement update(conn, QStringLiteral("UPDATE PH SET dw=:PPP,zg=:PPP1,sp=:PPP2,sfk=:PPP3"));
        update.bind(QStringLiteral("PPP"), Value::integer(largest[0]));
        update.bind(QStringLiteral("PPP1"), Value::integer(largest[1]));
        update.bind(QStringLiteral("PPP2"), Value::integer(largest[2]));
        update.bind(QStringLiteral("PPP3"), Value::integer(largest[3]));
        update.exec();
        tr.commit();
    } catch (const DbError &) {
        // A failed repair leaves the counters as they were; start-up goes on.
    }
}

} // namespace kvl
