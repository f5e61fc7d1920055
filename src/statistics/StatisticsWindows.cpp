// Registration of the two statistics windows with the main window's dispatcher.
#include "StatisticsWindows.h"

#include "WorkingWindows.h"
#include "yw_tj_sp.h"
#include "yw_tj_wjz.h"

#include <QDate>

namespace kvl {

namespace {

template <class Window>
QWidget *openStatistics(QWidget *panel)
{
    auto *w = new Window(panel);
    WorkingWindows::placeIn(w, panel);
    w->openWithDefaults(QDate::currentDate());
    return w;
}

} // namespace

void RegisterStatisticsWindows()
{
    WorkingWindowKind unsettled;
    unsettled.tag = 1;
    unsettled.open = &openStatistics<TFMyw_tj_wjz>;
    WorkingWindows::add(unsettled);

    WorkingWindowKind goods;
    goods.tag = 2;
    goods.open = &openStatistics<TFMyw_tj_sp>;
    WorkingWindows::add(goods);
}

} // namespace kvl
