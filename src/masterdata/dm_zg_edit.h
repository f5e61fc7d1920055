// The staff dialog (公司员工): adds and changes records of DataDm_zg.
#pragma once

#include "RecordEditDialog.h"

namespace kvl {

class TFMdm_zg_edit : public RecordEditDialog
{
    Q_OBJECT
public:
    explicit TFMdm_zg_edit(QWidget *parent = nullptr);
    static RecordEditForm form();
};

} // namespace kvl
