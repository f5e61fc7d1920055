// The report data links of the data module (RmSfk, RmKcmx, ...) as the registry the
// report engine reads, one dataset adapter per link.
#pragma once

#include "DatasetReportSource.h"
#include "ReportDataRegistry.h"

#include <memory>
#include <vector>

namespace kvl {

class TDataModKvl;

class ReportLinks
{
public:
    // Every link name the module offers; the module must outlive this object.
    explicit ReportLinks(const TDataModKvl &module);
    ReportLinks(const ReportLinks &) = delete;
    ReportLinks &operator=(const ReportLinks &) = delete;

    const ReportDataRegistry &registry() const { return m_registry; }

private:
    std::vector<std::unique_ptr<DatasetReportSource>> m_sources;
    ReportDataRegistry m_registry;
};

} // namespace kvl
