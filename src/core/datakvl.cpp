// The data module's datasets: base queries, field lists in order with their
// captions and formats, lookups, master/detail, write settings, and the
// creation steps that connect and read the parameter row.
#include "datakvl.h"

#include "BaseQueries.h"
#include "DbErrorText.h"
#include "Messages.h"
#include "ProgramValues.h"
#include "Schema.h"
#include "Statement.h"

#include <QDir>

namespace kvl {

// Stored columns take what the schema says of them; the computed money columns
// of the joined queries are known by name.
void resolveFieldFromSchema(FieldDef &f)
{
    const QString column = f.originColumn.isEmpty() ? f.name : f.originColumn;
    if (!f.originTable.isEmpty()) {
        if (const auto info = Schema::column(f.originTable, column)) {
            f.type = info->type;
            if (info->type == ValueType::Text && info->width > 0)
                f.size = info->width;
            f.label = info->caption;
            f.displayFormat = info->displayFormat;
            f.currency = info->currency;
            return;
        }
    }
    if (Schema::isComputedMoney(f.name)) {
        f.type = ValueType::Money;
        f.displayFormat = QStringLiteral(",0.00;;#");
    }
}

namespace {

FieldDef field(const QString &name)
{
    FieldDef f;
    f.name = name;
    return f;
}

FieldDef captioned(const QString &name, const QString &label)
{
    FieldDef f = field(name);
    f.label = label;
    return f;
}

FieldDef hidden(const QString &name)
{
    FieldDef f = field(name);
    f.visible = false;
    return f;
}

FieldDef balance(const QString &name)
{
    FieldDef f = field(name);
    f.readOnly = true;
    f.type = ValueType::Money;
    f.displayFormat = QStringLiteral(",0.00;;#");
    return f;
}

FieldDef lookup(const QString &name, const QString &label, const QString &key, Dataset &source,
                const QString &result, int gbkBytes = -1)
{
    FieldDef f = captioned(name, label);
    f.lookup = LookupDef{key, &source, QStringLiteral("id"), result};
    f.size = gbkBytes;
    return f;
}

// A name taken by key from a dataset of that table, with the caption the table's column carries.
FieldDef nameLookup(const QString &name, const QString &key, Dataset &source, const QString &table)
{
    FieldDef f = lookup(name, QString(), key, source, name);
    if (const auto info = Schema::column(table, name))
        f.label = info->caption;
    return f;
}

QList<FieldDef> named(std::initializer_list<const char *> names)
{
    QList<FieldDef> r;
    for (const char *n : names)
        r << field(QString::fromUtf8(n));
    return r;
}

const QString kPurchaseCaption = QStringLiteral("进货（应付款）金额");
const QString kPayable = QStringLiteral("结帐、应付款金额（进货）");

} // namespace

TDataModKvl::TDataModKvl(QObject *parent) : QObject(parent)
{
    DataModKvl = this;
    defineDatasets();
    create();
}

TDataModKvl::~TDataModKvl()
{
    ConKVL.disconnect();
    ConKVL1.disconnect();
    if (DataModKvl == this)
        DataModKvl = nullptr;
}

void TDataModKvl::defineDatasets()
{
    for (Dataset *d : {&DataDm_dw, &DataDm_spcd, &DataDm_spdw, &DataDm_splb, &DataDm_zg, &DataKcsp, &DataKcmx,
                       &DataJzmx, &DataSfk, &DataSfk_jz, &DataTJ_ysk, &DataTJ_sp, &DataTJ_dw, &DataTJ_zg, &DataTJ_spzl,
                       &DataSfk_kcmx, &DataSfk_jzmx, &DataReport, &QueAll, &QueSJ})
        d->setFieldResolver(resolveFieldFromSchema);

    DataDm_dw.setSql(QStringLiteral("select * from 往来单位"));
    DataDm_spcd.setSql(QStringLiteral("select * from 商品产地"));
    DataDm_spdw.setSql(QStringLiteral("select * from 计量单位"));
    DataDm_splb.setSql(QStringLiteral("select * from 商品类别"));
    DataDm_zg.setSql(QStringLiteral("select * from  公司员工"));
    DataKcsp.setSql(QStringLiteral("select * from 商品资料"));
    DataKcmx.setSql(BaseQueries::dataKcmx());
    DataJzmx.setSql(QStringLiteral("select * from jzmx"));
    DataSfk.setSql(BaseQueries::dataSfk());
    DataSfk_jz.setSql(BaseQueries::dataSfkJz());
    DataTJ_ysk.setSql(BaseQueries::dataTJYskDocuments());
    DataTJ_sp.setSql(BaseQueries::dataTJSpLines());
    DataTJ_dw.setSql(BaseQueries::dataTJNamesDw());
    DataTJ_zg.setSql(BaseQueries::dataTJNamesZg());
    DataTJ_spzl.setSql(BaseQueries::dataTJNamesSp());
    DataSfk_kcmx.setSql(BaseQueries::dataSfkKcmx());
    DataSfk_jzmx.setSql(BaseQueries::dataSfkJzmx());
    DataReport.setSql(QStringLiteral("select * from report"));

    // The code tables list the quick code first, then the value.
    DataDm_spcd.setFieldDefs(named({"拼音简码", "商品产地"}));
    DataDm_spdw.setFieldDefs(named({"拼音简码", "计量单位"}));
    DataDm_splb.setFieldDefs(named({"拼音简码", "商品类别"}));

    // Goods lines of the open document, with the goods' names looked up.
    {
        QList<FieldDef> f;
        FieldDef name = lookup(QStringLiteral("kcsp_spmc"), QStringLiteral("商品名称"), QStringLiteral("kcsp_id"),
                               DataKcsp, QStringLiteral("商品名称"), 30);
        name.required = true;
        f << name
          << lookup(QStringLiteral("kcsp_splb"), QStringLiteral("商品类别"), QStringLiteral("kcsp_id"), DataKcsp,
                    QStringLiteral("商品类别"), 10)
          << lookup(QStringLiteral("kcsp_spcd"), QStringLiteral("商品产地"), QStringLiteral("kcsp_id"), DataKcsp,
                    QStringLiteral("商品产地"), 10)
          << lookup(QStringLiteral("kcsp_spdw"), QStringLiteral("计量单位"), QStringLiteral("kcsp_id"), DataKcsp,
                    QStringLiteral("计量单位"), 10)
          << named({"id", "sf_id", "kcsp_id"});
        FieldDef sl = field(QStringLiteral("sl"));
        sl.displayWidth = 10;
        FieldDef dj = field(QStringLiteral("dj"));
        dj.displayWidth = 12;
        f << sl << dj << named({"je", "备注"});
        DataKcmx.setFieldDefs(f);
    }

    // Links of the open settlement, showing the settled documents' columns.
    {
        QList<FieldDef> f;
        FieldDef date = lookup(QStringLiteral("sfk_zdrq"), QStringLiteral("制单日期"), QStringLiteral("sfid_mx"),
                               DataSfk_jz, QStringLiteral("制单日期"));
        date.type = ValueType::DateTime;
        date.displayFormat = QStringLiteral("yyyy/mm/dd");
        FieldDef kind = lookup(QStringLiteral("sfk_lb"), QStringLiteral("类别"), QStringLiteral("sfid_mx"), DataSfk_jz,
                               QStringLiteral("类别"));
        kind.displayWidth = 4;
        FieldDef number = lookup(QStringLiteral("sfk_dh"), QStringLiteral("单号"), QStringLiteral("sfid_mx"),
                                 DataSfk_jz, QStringLiteral("单号"));
        number.displayWidth = 10;
        f << date << kind << number;
        const std::pair<const char *, QString> amounts[] = {
            {"sfk_je_sk", kPayable}, {"sfk_je_fk", QStringLiteral("应收款金额（出货）")}, {"sfk_je_jy", QStringLiteral("应收款余额")}};
        const QString captions[] = {kPurchaseCaption, QStringLiteral("出货（应收款）金额"), QStringLiteral("本次结帐金额")};
        for (int i = 0; i < 3; ++i) {
            FieldDef a = lookup(QString::fromUtf8(amounts[i].first), captions[i], QStringLiteral("sfid_mx"), DataSfk_jz,
                                amounts[i].second);
            a.type = ValueType::Money;
            a.displayFormat = QStringLiteral(",0.00;;#");
            a.displayWidth = 15;
            f << a;
        }
        f << named({"id", "sf_id", "sfid_mx"});
        DataJzmx.setFieldDefs(f);
    }

    {
        QList<FieldDef> f = named({"id", "制单日期", "类别", "单号", "dw_id", "xszg_id", "应收款金额（出货）", "结帐、应付款金额（进货）"});
        f << balance(QStringLiteral("应收款余额")) << named({"员工姓名", "备注", "结帐", "单位名称"});
        FieldDef number = field(QStringLiteral("结帐单号"));
        number.size = 10;
        f << number;
        DataSfk.setFieldDefs(f);
        // Posting through the joined list writes table sfk alone, finds the row by
        // sfk.id and reads the whole joined row again.
        DataSfk.setUpdateTable(QStringLiteral("sfk"));
        DataSfk.setKeyFields({QStringLiteral("id")});
        DataSfk.setRereadSql(BaseQueries::dataSfk() + QStringLiteral(" where sfk.id=?"));
    }
    {
        QList<FieldDef> f = named({"id"});
        FieldDef date = field(QStringLiteral("制单日期"));
        date.displayFormat = QStringLiteral("yyyy-mm-dd");
        f << date << named({"类别", "单号", "dw_id", "xszg_id", "应收款金额（出货）"})
          << captioned(kPayable, kPurchaseCaption) << balance(QStringLiteral("应收款余额"))
          << named({"员工姓名", "备注", "结帐", "结帐单号"});
        DataSfk_jz.setFieldDefs(f);
    }
    // The statistics run over years of documents and lines: partner, staff and
    // goods names come from the name datasets held in memory rather than from
    // joins repeated on every row.
    const QString partners = QStringLiteral("往来单位"), staff = QStringLiteral("公司员工"), goods = QStringLiteral("商品资料");
    {
        QList<FieldDef> f;
        f << nameLookup(QStringLiteral("单位编号"), QStringLiteral("dw_id"), DataTJ_dw, partners)
          << nameLookup(QStringLiteral("单位名称"), QStringLiteral("dw_id"), DataTJ_dw, partners)
          << named({"id", "制单日期", "类别", "单号", "dw_id", "xszg_id", "应收款金额（出货）"});
        f << captioned(kPayable, kPurchaseCaption) << named({"备注", "结帐"}) << balance(QStringLiteral("应收款余额"))
          << nameLookup(QStringLiteral("员工姓名"), QStringLiteral("xszg_id"), DataTJ_zg, staff);
        DataTJ_ysk.setFieldDefs(f);
    }
    {
        QList<FieldDef> f = named({"id", "制单日期", "类别", "单号", "dw_id", "xszg_id", "应收款金额（出货）", "结帐、应付款金额（进货）"});
        FieldDef docRemark = field(QStringLiteral("sfk.备注"));
        docRemark.size = 60;
        f << docRemark << field(QStringLiteral("结帐"))
          << nameLookup(QStringLiteral("员工姓名"), QStringLiteral("xszg_id"), DataTJ_zg, staff)
          << field(QStringLiteral("结帐单号"));
        for (const char *n : {"商品编号", "商品名称", "商品类别", "商品产地", "计量单位"})
            f << nameLookup(QString::fromUtf8(n), QStringLiteral("kcsp_id"), DataTJ_spzl, goods);
        f << named({"sl", "dj", "备注"})
          << nameLookup(QStringLiteral("单位编号"), QStringLiteral("dw_id"), DataTJ_dw, partners)
          << nameLookup(QStringLiteral("单位名称"), QStringLiteral("dw_id"), DataTJ_dw, partners)
          << balance(QStringLiteral("应收款余额")) << balance(QStringLiteral("出货（应收款）金额"))
          << balance(QStringLiteral("进货（应付款）金额")) << hidden(QStringLiteral("kcsp_id"));
        DataTJ_sp.setFieldDefs(f);
    }
    {
        QList<FieldDef> f;
        f << hidden(QStringLiteral("商品编号")) << named({"商品名称", "商品类别", "商品产地", "计量单位", "sl", "dj", "je", "备注"})
          << hidden(QStringLiteral("sf_id"));
        DataSfk_kcmx.setFieldDefs(f);
        DataSfk_kcmx.setMaster(&DataSfk, QStringLiteral("id"), QStringLiteral("id"));
    }
    {
        QList<FieldDef> f = named({"制单日期", "类别", "单号", "应收款金额（出货）"});
        f << captioned(kPayable, kPurchaseCaption) << balance(QStringLiteral("本次结帐金额"));
        for (const char *n : {"员工姓名", "备注", "结帐", "id", "dw_id", "xszg_id", "sf_id"})
            f << hidden(QString::fromUtf8(n));
        DataSfk_jzmx.setFieldDefs(f);
        DataSfk_jzmx.setMaster(&DataSfk, QStringLiteral("id"), QStringLiteral("id"));
    }
    DataReport.setFieldDefs(named({"Id", "Name", "Template"}));

    for (Dataset *d : {&DataKcmx, &DataJzmx, &DataSfk_jz, &DataTJ_sp})
        d->setBatchMode(true);

    // The document editor relies on its lines standing in edit state, on the
    // first line or on a new empty one, as soon as they are opened.
    connect(&DataKcmx, &Dataset::opened, this, [this] { DataKcmx.edit(); });

    m_links = {{QStringLiteral("RmSfk"), &DataSfk},           {QStringLiteral("RmKcmx"), &DataKcmx},
               {QStringLiteral("RmJzmx"), &DataJzmx},         {QStringLiteral("RmTJ_ysk"), &DataTJ_ysk},
               {QStringLiteral("RmSfk_kcmx"), &DataSfk_kcmx}, {QStringLiteral("RmSfk_jzmx"), &DataSfk_jzmx},
               {QStringLiteral("RmTJ_sp"), &DataTJ_sp}};
}

void TDataModKvl::create()
{
    DbConnected = false;
    DataSfkBaseSql = BaseQueries::dataSfk();
    DataSfkJzBaseSql = BaseQueries::dataSfkJz();
    DataKcmxBaseSql = BaseQueries::dataKcmx();
    DataTJYskBaseSql = BaseQueries::dataTJYskDocuments();
    DataTJSpBaseSql = BaseQueries::dataTJSpLines();
    try {
        ConKVL.disconnect();
        ConKVL.connect(QDir(AppDir).filePath(QStringLiteral("KVL.DTA")), Schema::databasePassword());
        for (Dataset *d : {&DataDm_dw, &DataDm_spdw, &DataDm_spcd, &DataDm_splb, &DataDm_zg, &DataKcsp})
            d->open();
        Dataset &ph = query(QStringLiteral("SELECT * from PH"));
        ph.open();
        CompanyName = ph.value(QStringLiteral("UserName")).toString();
        Bbh36 = ph.value(QStringLiteral("BBH36")).toString();
        LoginPassword = ph.value(QStringLiteral("pass")).toString();
        BackgroundPicture = ph.value(QStringLiteral("JPEG")).toBytes();
        ph.close();
        DbConnected = true;
    } catch (const DbError &) {
        Messages::warning(QString::fromUtf8(kConnectFailed));
    }
}

Dataset &TDataModKvl::query(const QString &sql)
{
    QueAll.close();
    QueAll.clearParams();
    QueAll.setSql(sql);
    return QueAll;
}

Dataset *TDataModKvl::reportLink(const QString &name) const
{
    return m_links.value(name, nullptr);
}

QStringList TDataModKvl::reportLinkNames() const
{
    return m_links.keys();
}

QString DbErrorText(const QString &message, const QString &context)
{
    static const QList<EngineError> none;
    return DbErrorText(message, context, DataModKvl ? DataModKvl->ConKVL.errors() : none);
}

} // namespace kvl
