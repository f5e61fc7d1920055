// Registration of the list windows with the working-window registry.
#include "MasterDataWindows.h"

#include "CodeTablePicker.h"
#include "Dataset.h"
#include "DataGrid.h"
#include "Dm_qt.h"
#include "Dm_sp.h"
#include "Dm_zg.h"
#include "GridLayout.h"
#include "WorkingWindows.h"
#include "datakvl.h"
#include "dm_dw.h"

namespace kvl {

namespace {

template<class Window> QWidget *openList(QWidget *panel)
{
    auto *w = new Window(panel);
    LoadGridLayout(w->kind().caption, *w->Grid);
    WorkingWindows::placeIn(w, panel);
    w->openAsWorkingWindow();
    w->show();
    return w;
}

} // namespace

void RegisterMasterDataWindows()
{
    WorkingWindows::add({10, openList<TFMdm_dw>, {}, {}});
    WorkingWindows::add({11, openList<TFMdm_sp>,
                         [](QWidget *) {
                             if (DataModKvl)
                                 DataModKvl->DataKcsp.close();
                         },
                         {}});
    WorkingWindows::add({12, openList<TFMdm_zg>, {}, {}});
    SetCodeTablePicker(PickCodeTable);
}

} // namespace kvl
