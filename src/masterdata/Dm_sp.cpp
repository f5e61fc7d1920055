// The list of goods (商品资料).
#include "Dm_sp.h"

namespace kvl {

TFMdm_sp::TFMdm_sp(QWidget *parent)
    : MasterListWindow(ListWindowKind::goods(), parent)
{
}

} // namespace kvl
