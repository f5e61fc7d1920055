// The purge and rebuild statements in the order the program has always run them.
// 结帐 serves as the mark of what a purge removes, so each purge ends by clearing
// it, and begins by clearing it too: a mark some earlier program left on an open
// document would otherwise remove that document with the settled ones.
#include "DataPurge.h"

#include "Connection.h"
#include "Statement.h"

namespace kvl {

namespace {

void runAll(Connection &conn, std::initializer_list<const char *> statements, const Value &day = Value())
{
    Transaction tr(conn);
    for (const char *sql : statements) {
        Statement st(conn, QString::fromUtf8(sql));
        if (st.hasParameter(QStringLiteral("zdrq")))
            st.bind(QStringLiteral("zdrq"), day);
        st.exec();
    }
    tr.commit();
}

} // namespace

void DataPurge::purgeAllSettled(Connection &conn)
{
    runAll(conn, {
        "update sfk set 结帐=False where True",
        "update sfk set 结帐=True where (id in (select sfid_mx from jzmx))",
        "delete from jzmx where True",
        "delete from kcmx where (sf_id in (select id from sfk where (结帐=True)))",
        "delete from sfk where (结帐=True) or (类别='结帐')",
        "update sfk set 结帐=False where True",
    });
}

void DataPurge::purgeSettledUpTo(Connection &conn, const QDate &day)
{
    // Documents carry the time they were entered; a settlement made at any hour
    // of the chosen day is one dated on that day.
    const Value lastMoment(day.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" 23:59:59"));
    // The links of the settlements removed go with them, so no link is left that
    // names a document which is no longer there.
    runAll(conn, {
        "update sfk set 结帐=False where True",
        "update sfk set 结帐=True where (id in (select sfid_mx from jzmx where sf_id in "
            "(select id from sfk where (类别='结帐') and (制单日期<=:zdrq))))",
        "delete from jzmx where (sf_id in (select id from sfk where (结帐=True) or ((类别='结帐') and (制单日期<=:zdrq))))",
        "delete from kcmx where (sf_id in (select id from sfk where (结帐=True)))",
        "delete from sfk where (结帐=True) or ((类别='结帐') and (制单日期<=:zdrq))",
        "update sfk set 结帐=False where True",
    }, lastMoment);
}

void DataPurge::rebuild(Connection &conn)
{
    runAll(conn, {
        "delete from jzmx where true",
        "delete from kcmx where true",
        "delete from sfk where true",
        "delete from 公司员工 where true",
        "delete from 计量单位 where true",
        "delete from 商品产地 where true",
        "delete from 商品类别 where true",
        "delete from 商品资料 where true",
        "delete from 往来单位 where true",
        "delete from GridColSelect where true",
        "UPDATE PH SET dw=0,zg=0,sp=0,sfk=0,dh_ysk=0,dh_yfk=0,dh_sk=0",
    });
}

} // namespace kvl
