// The list of staff (公司员工).
#pragma once

#include "MasterListWindow.h"

namespace kvl {

class TFMdm_zg : public MasterListWindow
{
    Q_OBJECT
public:
    explicit TFMdm_zg(QWidget *parent = nullptr);
};

} // namespace kvl
