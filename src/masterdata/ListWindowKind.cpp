// The three master lists and the code tables as data.
#include "ListWindowKind.h"

#include "CodeTables.h"
#include "datakvl.h"
#include "dm_dw_edit.h"
#include "dm_qt_edit.h"
#include "dm_sp_edit.h"
#include "dm_zg_edit.h"

namespace kvl {

namespace {

template<class Dialog> void runEdit(QWidget *owner, bool adding, bool editable)
{
    Dialog d(owner);
    if (adding)
        d.runAdding();
    else
        d.runChanging(editable);
}

} // namespace

const ListWindowKind &ListWindowKind::partners()
{
    static const ListWindowKind k{
        QStringLiteral("TFMdm_dw"), QStringLiteral("往来单位"), [] { return &DataModKvl->DataDm_dw; },
        QStringLiteral("select * from 往来单位"), QStringLiteral("选择往来单位"),
        QStringLiteral("select * from 往来单位 WHERE 暂停=0 order by 单位编号"),
        QStringLiteral("单位编号 单位名称 联系人 联系电话 邮政编码 通信地址 备注 暂停").split(u' '),
        QStringLiteral("单位名称"),
        QStringLiteral("按单位编号过滤 按单位名称过滤 按联系人过滤 按联系电话过滤 按邮政编码过滤 按通信地址过滤 按备注过滤").split(u' '),
        QStringLiteral("单位编号 单位名称 联系人 联系电话 邮政编码 通信地址 备注").split(u' '),
        QStringLiteral("单位名称"), QStringLiteral("单位编号"),
        true, true, true, false, runEdit<TFMdm_wldw_edit>};
    return k;
}

const ListWindowKind &ListWindowKind::goods()
{
    static const ListWindowKind k{
        QStringLiteral("TFMdm_sp"), QStringLiteral("商品资料"), [] { return &DataModKvl->DataKcsp; },
        QStringLiteral("select * from 商品资料"), QStringLiteral("选择商品资料"),
        QStringLiteral("select * from 商品资料 WHERE 暂停=0 order by 商品编号"),
        QStringLiteral("商品编号 商品名称 商品类别 商品产地 计量单位 参考进价 参考销价 暂停 备注").split(u' '),
        QStringLiteral("商品名称"),
        QStringLiteral("按商品编号过滤 按商品名称过滤 按商品类别过滤 按商品产地过滤 按计量单位过滤 按备注过滤").split(u' '),
        QStringLiteral("商品编号 商品名称 商品类别 商品产地 计量单位 备注").split(u' '),
        QStringLiteral("商品编号"), QStringLiteral("商品名称"),
        false, true, true, false, runEdit<TFMdm_sp_edit>};
    return k;
}

const ListWindowKind &ListWindowKind::staff()
{
    static const ListWindowKind k{
        QStringLiteral("TFMdm_zg"), QStringLiteral("公司员工"), [] { return &DataModKvl->DataDm_zg; },
        QStringLiteral("select * from  公司员工"), QStringLiteral("选择公司员工"),
        QStringLiteral("select * from 公司员工 WHERE 暂停=0 order by 员工编号"),
        QStringLiteral("员工编号 员工姓名 联系电话 家庭住址 备注 暂停").split(u' '),
        QStringLiteral("员工姓名"),
        QStringLiteral("按员工编号过滤 按员工名称过滤 按联系电话过滤 按家庭住址过滤 按备注过滤").split(u' '),
        QStringLiteral("员工编号 员工姓名 联系电话 家庭住址 备注").split(u' '),
        QStringLiteral("员工姓名"), QStringLiteral("员工编号"),
        true, true, true, false, runEdit<TFMdm_zg_edit>};
    return k;
}

ListWindowKind ListWindowKind::codeTable(const QString &table)
{
    ListWindowKind k;
    k.objectName = QStringLiteral("TFMdm_qt");
    k.caption = QStringLiteral("选择") + table;
    k.dataset = [table] { return CodeTables::dataset(table); };
    k.pickTitle = k.caption;
    k.pickSql = QStringLiteral("select * from %1 order by 拼音简码").arg(table);
    k.listSql = k.pickSql;
    k.columns = QStringList{QStringLiteral("拼音简码"), table};
    k.nameField = table;
    k.firstPickField = table;
    k.secondPickField = QStringLiteral("拼音简码");
    k.closeWithoutChoice = true;
    k.titleAndFilter = false;
    k.footer = false;
    k.widthCountsHidden = true;
    k.editDialog = [table](QWidget *owner, bool adding, bool editable) {
        TFMdm_qt_edit d(owner);
        d.bindTable(table);
        if (adding)
            d.runAdding();
        else
            d.runChanging(editable);
    };
    return k;
}

} // namespace kvl
