// The goods dialog's rows, counter, pinyin button and code-table boxes.
#include "dm_sp_edit.h"

#include "DbButtonEdit.h"
#include "datakvl.h"

namespace kvl {

RecordEditForm TFMdm_sp_edit::form()
{
    RecordEditForm f;
    f.objectName = QStringLiteral("TFMdm_sp_edit");
    f.title = QStringLiteral("商品资料");
    f.dataset = [] { return DataModKvl ? &DataModKvl->DataKcsp : nullptr; };
    f.codeField = QStringLiteral("商品编号");
    f.nameField = QStringLiteral("商品名称");
    f.trimmed = {QStringLiteral("商品编号"), QStringLiteral("商品名称")};
    f.counter = NumberedRow::Goods;
    f.pinyinCaption = QStringLiteral("“商品名称”的拼音简码(&P)");
    const QString money = QStringLiteral(",0.00");
    using R = EditRow;
    f.rows = {
        R::make(R::Text, "RzDBEdit1", "商品编号", "商品编号", "Label1").tipColour().fixed(200),
        R::make(R::Text, "RzDBEdit2", "商品名称", "商品名称", "Label2").tipColour(),
        R::make(R::Pick, "splb", "商品类别", "商品类别", "Label3").fixed(200),
        R::make(R::Pick, "spcd", "商品产地", "商品产地", "Label4").fixed(200),
        R::make(R::Pick, "spdw", "计量单位", "计量单位", "Label5").fixed(200),
        R::make(R::Numeric, "RzDBNumericEdit1", "参考进价", "参考进价", "Label6").fixed(140).format(money),
        R::make(R::Numeric, "RzDBNumericEdit2", "参考销价", "参考销价", "Label7").fixed(140).format(money),
        R::make(R::Check, "RzDBCheckBox1", "暂停", "暂停使用"),
        R::make(R::Memo, "RzDBMemo1", "备注", "备注：", "Label8"),
    };
    return f;
}

TFMdm_sp_edit::TFMdm_sp_edit(QWidget *parent)
    : RecordEditDialog(form(), parent)
    , splb(qobject_cast<DbButtonEdit *>(control(QStringLiteral("splb"))))
    , spcd(qobject_cast<DbButtonEdit *>(control(QStringLiteral("spcd"))))
    , spdw(qobject_cast<DbButtonEdit *>(control(QStringLiteral("spdw"))))
{
}

void TFMdm_sp_edit::splbButtonClick()
{
    RecordEditDialog::pickButtonClicked(splb);
}

void TFMdm_sp_edit::spcdButtonClick()
{
    RecordEditDialog::pickButtonClicked(spcd);
}

void TFMdm_sp_edit::spdwButtonClick()
{
    RecordEditDialog::pickButtonClicked(spdw);
}

void TFMdm_sp_edit::pickButtonClicked(DbButtonEdit *edit)
{
    if (edit == splb)
        splbButtonClick();
    else if (edit == spcd)
        spcdButtonClick();
    else if (edit == spdw)
        spdwButtonClick();
}

} // namespace kvl
