// Import: each older table is read row by row on its own connection and each row
// written by one prepared INSERT, its k-th parameter taking the k-th listed column.
#include "ImportOlderData.h"

#include "Connection.h"
#include "MaintenanceTexts.h"
#include "Statement.h"

#include <QStringList>

#include <vector>

namespace kvl {

namespace {

struct TableCopy
{
    const char *select;
    const char *insert;
    const char *columns; // the INSERT's column list, read by these names from the older row
};

// In the order of the older program: masters before the rows that name them.
const TableCopy kMasters[] = {
    {"SELECT * from 公司员工",
     "INSERT INTO 公司员工 (id,员工编号,员工姓名,联系电话,家庭住址,备注,暂停) VALUES (:PPP0,:ppp1,:ppp2,:ppp3,:ppp4,:ppp5,:ppp6)",
     "id,员工编号,员工姓名,联系电话,家庭住址,备注,暂停"},
    {"SELECT * from 计量单位", "INSERT INTO 计量单位 (拼音简码,计量单位) VALUES (:PPP0,:ppp1)", "拼音简码,计量单位"},
    {"SELECT * from 商品产地", "INSERT INTO 商品产地 ( 拼音简码,商品产地) VALUES (:PPP0,:ppp1)", "拼音简码,商品产地"},
    {"SELECT * from 商品类别", "INSERT INTO 商品类别 ( 拼音简码,商品类别) VALUES (:PPP0,:ppp1)", "拼音简码,商品类别"},
    {"SELECT * from 商品资料",
     "INSERT INTO 商品资料 (id,商品编号,商品名称,商品类别,商品产地,计量单位,备注,暂停,参考进价,参考销价) "
     "VALUES (:PPP0,:ppp1,:ppp2,:ppp3,:ppp4,:ppp5,:ppp6,:ppp7,:ppp8,:ppp9)",
     "id,商品编号,商品名称,商品类别,商品产地,计量单位,备注,暂停,参考进价,参考销价"},
    {"SELECT * from 往来单位",
     "INSERT INTO 往来单位 (id,单位编号,单位名称,联系人,联系电话,邮政编码,通信地址,备注,暂停) "
     "VALUES (:PPP0,:ppp1,:ppp2,:ppp3,:ppp4,:ppp5,:ppp6,:ppp7,:ppp8)",
     "id,单位编号,单位名称,联系人,联系电话,邮政编码,通信地址,备注,暂停"},
};

const TableCopy kDocuments = {
    "SELECT * from sfk",
    "INSERT INTO sfk (id,制单日期,类别,单号,dw_id,xszg_id,应收款金额（出货）,结帐、应付款金额（进货）,备注,结帐) "
    "VALUES (:PPP0,:ppp1,:ppp2,:ppp3,:ppp4,:ppp5,:ppp6,:ppp7,:ppp8,:ppp9)",
    "id,制单日期,类别,单号,dw_id,xszg_id,应收款金额（出货）,结帐、应付款金额（进货）,备注,结帐"};
const TableCopy kLines = {"SELECT * from kcmx",
                          "INSERT INTO kcmx (id,sf_id,kcsp_id,sl,dj,je,备注) VALUES (:PPP0,:ppp1,:ppp2,:ppp3,:ppp4,:ppp5,:ppp6)",
                          "id,sf_id,kcsp_id,sl,dj,je,备注"};
const TableCopy kLinks = {"SELECT * from jzmx", "INSERT INTO jzmx (id,sf_id,sfid_mx) VALUES (:PPP0,:ppp1,:ppp2)",
                          "id,sf_id,sfid_mx"};

const char *const kCounters[] = {"dw", "zg", "sp", "sfk", "dh_ysk", "dh_yfk", "dh_sk"};

// Where each named column stands in the older statement's result; a missing one
// fails the import the way a missing field of the older program's dataset did.
std::vector<int> columnPositions(Connection &older, const Statement &read, const QStringList &names)
{
    std::vector<int> at;
    at.reserve(names.size());
    for (const QString &name : names) {
        int found = -1;
        for (int c = 0; c < read.columnCount() && found < 0; ++c)
            if (read.columnName(c).compare(name, Qt::CaseInsensitive) == 0)
                found = c;
        if (found < 0)
            older.failWith(0, QStringLiteral("老版本数据库的［%1］中没有［%2］。").arg(read.sql().section(QLatin1Char(' '), -1), name));
        at.push_back(found);
    }
    return at;
}

void copyTable(Connection &older, Connection &current, const TableCopy &t)
{
    Statement read(older, QString::fromUtf8(t.select));
    Statement write(current, QString::fromUtf8(t.insert));
    const std::vector<int> at = columnPositions(older, read, QString::fromUtf8(t.columns).split(QLatin1Char(',')));
    while (read.next()) {
        for (size_t k = 0; k < at.size(); ++k)
            write.bind(int(k) + 1, read.value(at[k]));
        write.exec();
        write.reset();
    }
}

void copyParameters(Connection &older, Connection &current)
{
    Statement read(older, QStringLiteral("SELECT * from PH"));
    QStringList names;
    for (const char *c : kCounters)
        names << QString::fromUtf8(c);
    names << QStringLiteral("UserName") << QStringLiteral("pass");
    const std::vector<int> at = columnPositions(older, read, names);
    if (!read.next())
        older.failWith(0, QStringLiteral("老版本数据库的［PH］中没有记录。"));
    Statement write(current, QStringLiteral(
        "UPDATE PH SET dw=:PPP0,zg=:ppp1,sp=:ppp2,sfk=:ppp3,dh_ysk=:ppp4,dh_yfk=:ppp5,dh_sk=:ppp6,UserName=:ppp7,pass=:ppp8"));
    for (size_t k = 0; k < at.size(); ++k)
        write.bind(int(k) + 1, read.value(at[k]));
    write.exec();
}

// An older file whose id counters fell behind its rows would make every new
// row collide with an imported one; the counters start after the largest id.
void counterAtLeastLargestIds(Connection &current)
{
    current.exec(QStringLiteral(
        "UPDATE PH SET "
        "dw=max(ifnull(dw,0),(SELECT ifnull(MAX(id),0) FROM 往来单位)),"
        "zg=max(ifnull(zg,0),(SELECT ifnull(MAX(id),0) FROM 公司员工)),"
        "sp=max(ifnull(sp,0),(SELECT ifnull(MAX(id),0) FROM 商品资料)),"
        "sfk=max(ifnull(sfk,0),(SELECT ifnull(MAX(id),0) FROM sfk))"));
}

} // namespace

bool ImportOlderData::countersAllZero(Connection &current)
{
    Statement ph(current, QStringLiteral("SELECT * from PH"));
    if (!ph.next())
        return false;
    for (const char *name : kCounters) {
        int at = -1;
        for (int c = 0; c < ph.columnCount() && at < 0; ++c)
            if (ph.columnName(c).compare(QString::fromUtf8(name), Qt::CaseInsensitive) == 0)
                at = c;
        if (at < 0 || ph.isNull(at) || ph.int64(at) != 0)
            return false;
    }
    return true;
}

void ImportOlderData::copy(Connection &older, Connection &current, const Stage &stage)
{
    auto tell = [&](const QString &text) {
        if (stage)
            stage(text);
    };
    Transaction tr(current);
    copyParameters(older, current);
    for (const TableCopy &t : kMasters)
        copyTable(older, current, t);
    tell(MaintenanceTexts::importDocumentsProgress());
    copyTable(older, current, kDocuments);
    tell(MaintenanceTexts::importLinesProgress());
    copyTable(older, current, kLines);
    tell(MaintenanceTexts::importSettlementsProgress());
    copyTable(older, current, kLinks);
    counterAtLeastLargestIds(current);
    tr.commit();
}

} // namespace kvl
