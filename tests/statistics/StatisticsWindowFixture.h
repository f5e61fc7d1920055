// A statistics data file with the report templates stored, and helpers that
// read a statistics window's grid and controls as a user sees them.
#pragma once

#include "DataGrid.h"
#include "ReportTemplates.h"
#include "StatisticsFixture.h"
#include "StatisticsWindow.h"

#include <QAction>
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
