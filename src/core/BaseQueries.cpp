// Texts of the joined base queries.
#include "BaseQueries.h"

namespace kvl::BaseQueries {

QString dataSfk()
{
    return QStringLiteral(
        "SELECT 往来单位.单位名称, sfk.*, IIf((sfk_1.单号 IS NULL ) And sfk.类别<>'结帐',"
        "(sfk.应收款金额（出货）-sfk.结帐、应付款金额（进货）),0) AS 应收款余额, 公司员工.员工姓名, "
        "IIf(sfk.类别='结帐',sfk.单号,sfk_1.单号) AS 结帐单号 FROM (((sfk LEFT JOIN 公司员工 ON "
        "sfk.xszg_id = 公司员工.id) LEFT JOIN 往来单位 ON sfk.dw_id = 往来单位.id) LEFT JOIN jzmx ON "
        "sfk.id = jzmx.sfid_mx) LEFT JOIN sfk AS sfk_1 ON jzmx.sf_id = sfk_1.id");
}

QString dataSfkJz()
{
    return QStringLiteral(
        "SELECT sfk.*, (sfk.应收款金额（出货）-sfk.结帐、应付款金额（进货）) AS 应收款余额, "
        "公司员工.员工姓名,sfk_1.单号 AS 结帐单号 FROM ((sfk LEFT JOIN 公司员工 ON sfk.xszg_id = "
        "公司员工.id) LEFT JOIN jzmx ON sfk.id = jzmx.sfid_mx) LEFT JOIN sfk AS sfk_1 ON "
        "jzmx.sf_id = sfk_1.id");
}

QString dataKcmx()
{
    return QStringLiteral("select *  from kcmx");
}

QString dataTJYsk()
{
    return QStringLiteral(
        "SELECT 往来单位.单位编号,往来单位.单位名称, sfk.*, (sfk.应收款金额（出货）-"
        "sfk.结帐、应付款金额（进货）) AS 应收款余额, 公司员工.员工姓名 FROM (((sfk LEFT JOIN 公司员工 "
        "ON sfk.xszg_id = 公司员工.id) LEFT JOIN 往来单位 ON sfk.dw_id = 往来单位.id) LEFT JOIN jzmx "
        "ON sfk.id = jzmx.sfid_mx) LEFT JOIN sfk AS sfk_1 ON jzmx.sf_id = sfk_1.id");
}

QString dataTJYskDocuments()
{
    return QStringLiteral(
        "SELECT sfk.*, (sfk.应收款金额（出货）-sfk.结帐、应付款金额（进货）) AS 应收款余额 FROM (sfk LEFT JOIN jzmx "
        "ON sfk.id = jzmx.sfid_mx) LEFT JOIN sfk AS sfk_1 ON jzmx.sf_id = sfk_1.id");
}

QString dataTJSp()
{
    return QStringLiteral(
        "SELECT sfk.*, 公司员工.员工姓名, sfk_1.单号 AS 结帐单号, 商品资料.商品编号, 商品资料.商品名称, "
        "商品资料.商品类别, 商品资料.商品产地, 商品资料.计量单位, kcmx.sl, kcmx.dj,IIF(('出货' LIKE "
        "sfk.类别) ,kcmx.je,0) AS 出货（应收款）金额,IIF(('进货' LIKE sfk.类别) ,kcmx.je,0) AS "
        "进货（应付款）金额,IIF((sfk_1.单号 IS NULL),IIF(('出货' LIKE sfk.类别) ,kcmx.je,-1*kcmx.je),0) "
        "AS 应收款余额,kcmx.备注 AS 备注, 往来单位.单位编号,往来单位.单位名称 FROM ((kcmx LEFT JOIN "
        "(((sfk LEFT JOIN 公司员工 ON sfk.xszg_id = 公司员工.id) LEFT JOIN jzmx ON sfk.id = "
        "jzmx.sfid_mx) LEFT JOIN sfk AS sfk_1 ON jzmx.sf_id = sfk_1.id) ON kcmx.sf_id = sfk.id) "
        "LEFT JOIN 商品资料 ON kcmx.kcsp_id = 商品资料.id) LEFT JOIN 往来单位 ON sfk.dw_id = 往来单位.id");
}

QString dataTJSpLines()
{
    // Driven from the documents: each document's settlement is looked up once, and
    // its lines follow it. The amounts first compare the kind with the two kinds
    // the program writes and only then fall back on the original LIKE test.
    return QStringLiteral(
        "SELECT sfk.*, sfk_1.单号 AS 结帐单号, kcmx.sl, kcmx.dj,"
        "CASE WHEN sfk.类别='出货' THEN kcmx.je WHEN sfk.类别='进货' THEN 0 WHEN '出货' LIKE sfk.类别 THEN kcmx.je "
        "ELSE 0 END AS 出货（应收款）金额,"
        "CASE WHEN sfk.类别='进货' THEN kcmx.je WHEN sfk.类别='出货' THEN 0 WHEN '进货' LIKE sfk.类别 THEN kcmx.je "
        "ELSE 0 END AS 进货（应付款）金额,"
        "CASE WHEN sfk_1.单号 IS NOT NULL THEN 0 WHEN sfk.类别='出货' THEN kcmx.je WHEN sfk.类别='进货' THEN -1*kcmx.je "
        "WHEN '出货' LIKE sfk.类别 THEN kcmx.je ELSE -1*kcmx.je END AS 应收款余额,"
        "kcmx.备注 AS 备注, kcmx.kcsp_id FROM "
        "(sfk LEFT JOIN jzmx ON sfk.id = jzmx.sfid_mx) LEFT JOIN sfk AS sfk_1 ON jzmx.sf_id = sfk_1.id "
        "CROSS JOIN kcmx ON kcmx.sf_id = sfk.id");
}

QString dataTJNamesDw()
{
    return QStringLiteral("SELECT id, 单位编号, 单位名称 FROM 往来单位");
}

QString dataTJNamesZg()
{
    return QStringLiteral("SELECT id, 员工姓名 FROM 公司员工");
}

QString dataTJNamesSp()
{
    return QStringLiteral("SELECT id, 商品编号, 商品名称, 商品类别, 商品产地, 计量单位 FROM 商品资料");
}

QString dataSfkKcmx()
{
    return QStringLiteral(
        "SELECT 商品资料.商品编号, 商品资料.商品名称, 商品资料.商品类别, 商品资料.商品产地, "
        "商品资料.计量单位, kcmx.sl, kcmx.dj, kcmx.je, kcmx.备注,kcmx.sf_id FROM kcmx LEFT JOIN "
        "商品资料 ON kcmx.kcsp_id = 商品资料.id where sf_id=:id");
}

// The staff join follows the document join instead of being nested in it: the same
// rows, but the engine no longer builds the whole of sfk joined to the staff for
// each settlement the business window's detail grid shows (a third of a second on
// a file of ten years).
QString dataSfkJzmx()
{
    return QStringLiteral(
        "SELECT sfk.*,(sfk.应收款金额（出货）-sfk.结帐、应付款金额（进货）) AS 本次结帐金额, "
        "公司员工.员工姓名,jzmx.sf_id FROM (jzmx LEFT JOIN sfk ON jzmx.sfid_mx = sfk.id) LEFT JOIN 公司员工 ON "
        "sfk.xszg_id = 公司员工.id where sf_id=:id");
}

} // namespace kvl::BaseQueries
