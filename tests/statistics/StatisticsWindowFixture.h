// A statistics data file with the report templates stored, and helpers that
// open a statistics window as the side bar does and read its grid and controls
// as a user sees them.
#pragma once

#include "DataGrid.h"
#include "ReportTemplates.h"
#include "StatisticsFixture.h"
#include "StatisticsWindow.h"
#include "WorkingWindows.h"

#include <QAction>
#include <QDateEdit>
#include <QMenu>
#include <QToolButton>

namespace kvl::test {

class StatisticsWindowData : public StatisticsData
{
public:
    StatisticsWindowData()
    {
        if (rows(QStringLiteral("SELECT count(*) FROM report"))[0][0].toInt() == 0)
            ReportTemplates::store(conn());
    }
};

// Opens a window the way the side bar does, into a panel of its own.
template <class Window>
Window *openWindow(QWidget &panel)
{
    auto *w = new Window(&panel);
    w->setAttribute(Qt::WA_DeleteOnClose);
    WorkingWindows::placeIn(w, &panel);
    w->openWithDefaults(QDate::currentDate());
    return w;
}

inline void setRange(StatisticsWindow &w, const QDate &a, const QDate &b)
{
    w.startDate()->setDate(a);
    w.endDate()->setDate(b);
    w.flushRefresh();
}

inline qint64 footerSumOf(const DataGrid &g, const QString &field)
{
    qint64 units = 0;
    const bool ok = g.footerSum(0, g.columnOfField(field), &units);
    return ok ? units : -1;
}

template <class T>
T *child(QWidget &w, const char *name)
{
    return w.findChild<T *>(QString::fromUtf8(name));
}

inline QAction *action(QWidget &w, const char *name)
{
    return w.findChild<QAction *>(QString::fromUtf8(name));
}

} // namespace kvl::test
