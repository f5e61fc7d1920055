// The list of staff (公司员工).
#include "Dm_zg.h"

namespace kvl {

TFMdm_zg::TFMdm_zg(QWidget *parent)
    : MasterListWindow(ListWindowKind::staff(), parent)
{
}

} // namespace kvl
