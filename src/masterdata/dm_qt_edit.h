// The entry dialog of the code tables (商品类别, 商品产地, 计量单位): a name and its pinyin
// short code, which follows the name on every key released in the name box.
#pragma once

#include "RecordEditDialog.h"

class QLabel;

namespace kvl {

class DbEdit;

class TFMdm_qt_edit : public RecordEditDialog
{
    Q_OBJECT
public:
    explicit TFMdm_qt_edit(QWidget *parent = nullptr);
    static RecordEditForm form();

    // Binds RzDBEdit1 to the table's name field and RzDBEdit2 to 拼音简码 of the table's
    // shared dataset, and sets the title to the table's name. False for a name that is
    // not a code table.
    bool bindTable(const QString &table);

    // The short code from the trimmed name, written into 拼音简码 when it differs.
    void PYKeyUp();
    // Leaving the name box of a modified record does the same.
    void PYRzDBEdit1Exit();

    QLabel *Label3 = nullptr;
    DbEdit *RzDBEdit1 = nullptr;
    DbEdit *RzDBEdit2 = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *e) override;

private:
    void FormActivate();
};

} // namespace kvl
