// Registration of the business window with the main window's dispatcher.
#include "DocumentsWindows.h"

#include "WorkingWindows.h"
#include "yw.h"

#include <QDate>

namespace kvl {

void RegisterDocumentsWindows()
{
    WorkingWindowKind business;
    business.tag = 0;
    business.open = [](QWidget *panel) -> QWidget * {
        auto *w = new TFMyw(panel);
        WorkingWindows::placeIn(w, panel);
        w->openWithDefaults(QDate::currentDate());
        return w;
    };
    WorkingWindows::add(business);
}

} // namespace kvl
