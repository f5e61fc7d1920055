// The goods dialog (商品资料): adds and changes records of DataKcsp; its category, origin
// and unit boxes choose their names from the code tables.
#pragma once

#include "RecordEditDialog.h"

namespace kvl {

class DbButtonEdit;

class TFMdm_sp_edit : public RecordEditDialog
{
    Q_OBJECT
public:
    explicit TFMdm_sp_edit(QWidget *parent = nullptr);
    static RecordEditForm form();

    // Open the code-table picker for the box's table and take the chosen name.
    void splbButtonClick();
    void spcdButtonClick();
    void spdwButtonClick();

    DbButtonEdit *splb = nullptr;
    DbButtonEdit *spcd = nullptr;
    DbButtonEdit *spdw = nullptr;

protected:
    void pickButtonClicked(DbButtonEdit *edit) override;
};

} // namespace kvl
