// The list of goods (商品资料).
#pragma once

#include "MasterListWindow.h"

namespace kvl {

class TFMdm_sp : public MasterListWindow
{
    Q_OBJECT
public:
    explicit TFMdm_sp(QWidget *parent = nullptr);
};

} // namespace kvl
