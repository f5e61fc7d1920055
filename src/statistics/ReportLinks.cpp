// Building the link registry from the data module.
#include "ReportLinks.h"

#include "datakvl.h"

namespace kvl {

ReportLinks::ReportLinks(const TDataModKvl &module)
{
    for (const QString &name : module.reportLinkNames()) {
        Dataset *ds = module.reportLink(name);
        if (!ds)
            continue;
        m_sources.push_back(std::make_unique<DatasetReportSource>(*ds));
        m_registry.add(name, m_sources.back().get());
    }
}

} // namespace kvl
