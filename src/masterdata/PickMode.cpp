// The pick-mode protocol for partners, goods and staff: one routine, three lists.
#include "PickMode.h"

#include "Dataset.h"
#include "Dm_sp.h"
#include "Dm_zg.h"
#include "ModalRunner.h"
#include "WaitCursor.h"
#include "dm_dw.h"

#include <optional>

namespace kvl {

namespace {

// The answer is this picker's own: an inner picker's choice cannot count for it.
template<class Window> bool pick(const QString &text, QWidget *caller)
{
    std::optional<WaitCursor> wait(std::in_place);
    Window w(caller);
    w.preparePicker(text);
    wait.reset();
    ModalRunner::exec(w);
    const Dataset *ds = w.dataset();
    return w.chosen() && ds && ds->isActive() && !ds->isEmpty();
}

} // namespace

bool PickPartner(const QString &text, QWidget *caller)
{
    return pick<TFMdm_dw>(text, caller);
}

bool PickGoods(const QString &text, QWidget *caller)
{
    return pick<TFMdm_sp>(text, caller);
}

bool PickStaff(const QString &text, QWidget *caller)
{
    return pick<TFMdm_zg>(text, caller);
}

} // namespace kvl
