// The partner dialog's rows, counter and pinyin button.
#include "dm_dw_edit.h"

#include "datakvl.h"

namespace kvl {

RecordEditForm TFMdm_wldw_edit::form()
{
    RecordEditForm f;
    f.objectName = QStringLiteral("TFMdm_wldw_edit");
    f.title = QStringLiteral("往来单位");
    f.dataset = [] { return DataModKvl ? &DataModKvl->DataDm_dw : nullptr; };
    f.codeField = QStringLiteral("单位编号");
    f.nameField = QStringLiteral("单位名称");
    f.trimmed = {QStringLiteral("单位编号"), QStringLiteral("单位名称"), QStringLiteral("联系人"),
                 QStringLiteral("联系电话"), QStringLiteral("邮政编码"), QStringLiteral("通信地址")};
    f.counter = NumberedRow::Partner;
    f.pinyinCaption = QStringLiteral("“单位名称”的拼音简码(&P)");
    using R = EditRow;
    f.rows = {
        R::make(R::Text, "RzDBEdit1", "单位编号", "单位编号", "Label1").tipColour().fixed(200),
        R::make(R::Text, "RzDBEdit2", "单位名称", "单位名称", "Label2").tipColour().hint("单位名称或个人姓名"),
        R::make(R::Text, "RzDBEdit3", "联系人", "联系人", "Label3"),
        R::make(R::Text, "RzDBEdit4", "联系电话", "联系电话", "Label4"),
        R::make(R::Text, "RzDBEdit5", "邮政编码", "邮编地址", "Label5").fixed(80),
        R::make(R::Text, "RzDBEdit6", "通信地址", QString()).beside(),
        R::make(R::Check, "RzDBCheckBox1", "暂停", "暂停使用"),
        R::make(R::Memo, "RzDBMemo1", "备注", "备注：", "Label6"),
    };
    return f;
}

TFMdm_wldw_edit::TFMdm_wldw_edit(QWidget *parent)
    : RecordEditDialog(form(), parent)
{
}

} // namespace kvl
