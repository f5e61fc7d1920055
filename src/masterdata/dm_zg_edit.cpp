// The staff dialog's rows, counter and pinyin button.
#include "dm_zg_edit.h"

#include "datakvl.h"

namespace kvl {

RecordEditForm TFMdm_zg_edit::form()
{
    RecordEditForm f;
    f.objectName = QStringLiteral("TFMdm_zg_edit");
    f.title = QStringLiteral("公司员工");
    f.dataset = [] { return DataModKvl ? &DataModKvl->DataDm_zg : nullptr; };
    f.codeField = QStringLiteral("员工编号");
    f.nameField = QStringLiteral("员工姓名");
    f.trimmed = {QStringLiteral("员工编号"), QStringLiteral("员工姓名"), QStringLiteral("联系电话"),
                 QStringLiteral("家庭住址")};
    f.counter = NumberedRow::Staff;
    f.pinyinCaption = QStringLiteral("“员工姓名”的拼音简码(&P)");
    using R = EditRow;
    f.rows = {
        R::make(R::Text, "RzDBEdit1", "员工编号", "员工编号", "Label1").tipColour().fixed(120),
        R::make(R::Text, "RzDBEdit2", "员工姓名", "员工姓名", "Label2").tipColour().fixed(200),
        R::make(R::Text, "RzDBEdit3", "联系电话", "联系电话", "Label3"),
        R::make(R::Text, "RzDBEdit4", "家庭住址", "家庭住址", "Label4"),
        R::make(R::Check, "RzDBCheckBox1", "暂停", "暂停使用"),
        R::make(R::Memo, "RzDBMemo1", "备注", "备注：", "Label5"),
    };
    return f;
}

TFMdm_zg_edit::TFMdm_zg_edit(QWidget *parent)
    : RecordEditDialog(form(), parent)
{
}

} // namespace kvl
