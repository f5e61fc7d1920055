// The partner dialog (往来单位): adds and changes records of DataDm_dw.
#pragma once

#include "RecordEditDialog.h"

namespace kvl {

class TFMdm_wldw_edit : public RecordEditDialog
{
    Q_OBJECT
public:
    explicit TFMdm_wldw_edit(QWidget *parent = nullptr);
    static RecordEditForm form();
};

} // namespace kvl
