// The list of business partners (往来单位).
#pragma once

#include "MasterListWindow.h"

namespace kvl {

class TFMdm_dw : public MasterListWindow
{
    Q_OBJECT
public:
    explicit TFMdm_dw(QWidget *parent = nullptr);
};

} // namespace kvl
