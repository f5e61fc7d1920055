// The web-page export: a UTF-8 page with one table, the titles as header cells and
// numbers right-aligned.
#pragma once

#include "ExportWriter.h"

namespace kvl {

class HtmlWriter : public ExportWriter
{
public:
    void write(const ExportTable &table, ExportSink &out, const ExportProgress &progress) override;
};

} // namespace kvl
