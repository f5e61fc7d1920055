// Prepares a report: walks the master sources in their current order, follows the
// details, forms groups, evaluates texts and aggregates and breaks the result into pages.
#pragma once

#include "ReportDataRegistry.h"
#include "ReportDocument.h"
#include "ReportTemplate.h"

namespace kvl {

class ReportEngine
{
public:
    // Lays out the whole report. Sources are left positioned past their last row;
    // the caller restores them (the report runner keeps a bookmark).
    static ReportDocument prepare(const ReportTemplate &tpl, const ReportDataRegistry &data,
                                  const ReportVariables &variables);

    // The text the page counter shows before the number of pages is known.
    static QString totalPagesMarker();
};

} // namespace kvl
