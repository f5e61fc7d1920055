// The statistics refresh.
#include "StatisticsRefresh.h"

#include "DatasetFreeze.h"
#include "NameSources.h"
#include "WaitCursor.h"
#include "datakvl.h"

namespace kvl {

namespace {

// Closes the dataset when the refresh is left before it has completed.
class ClosedUnlessDone
{
public:
    explicit ClosedUnlessDone(Dataset &ds) : m_ds(ds) {}
    ~ClosedUnlessDone()
    {
        if (!m_done)
            m_ds.close();
    }
    void done() { m_done = true; }
    ClosedUnlessDone(const ClosedUnlessDone &) = delete;
    ClosedUnlessDone &operator=(const ClosedUnlessDone &) = delete;

private:
    Dataset &m_ds;
    bool m_done = false;
};

} // namespace

void refreshStatistics(Dataset &ds, const StatisticsQuery &query)
{
    WaitCursor wait;
    DatasetFreeze freeze(ds);
    const QString sort = ds.sortText();
    ClosedUnlessDone closed(ds);
    ds.close();
    query.applyTo(ds);
    ds.open();
    if (!sort.isEmpty())
        ds.setSortText(sort);
    closed.done();
}

namespace {

// A statistics list whose names are looked up: the names made current first,
// under the same guards.
void refreshWithNames(Dataset &ds, const StatisticsQuery &query)
{
    WaitCursor wait;
    DatasetFreeze freeze(ds);
    {
        ClosedUnlessDone closed(ds);
        NameSources::ensureCurrent(*DataModKvl);
        closed.done();
    }
    refreshStatistics(ds, query);
}

} // namespace

void refreshUnsettled(const UnsettledFilter &filter)
{
    refreshWithNames(DataModKvl->DataTJ_ysk, filter.query());
}

void refreshGoodsStats(const GoodsStatsFilter &filter)
{
    refreshWithNames(DataModKvl->DataTJ_sp, filter.query());
}

} // namespace kvl
