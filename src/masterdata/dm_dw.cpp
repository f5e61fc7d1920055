// The list of business partners (往来单位).
#include "dm_dw.h"

namespace kvl {

TFMdm_dw::TFMdm_dw(QWidget *parent)
    : MasterListWindow(ListWindowKind::partners(), parent)
{
}

} // namespace kvl
