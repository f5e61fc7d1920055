// Until the list windows' pick mode is part of the build, the statistics pickers
// report "no choice", so the windows link and the filters stay as typed. The build
// leaves this file empty as soon as src/masterdata provides PickMode.cpp.
#include "PickMode.h"

#ifndef KVL_HAVE_PICK_MODE

namespace kvl {

bool PickPartner(const QString &, QWidget *)
{
    return false;
}

bool PickGoods(const QString &, QWidget *)
{
    return false;
}

bool PickStaff(const QString &, QWidget *)
{
    return false;
}

} // namespace kvl

#endif
