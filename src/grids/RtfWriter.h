// The rich-text export: a document with one table, the title row repeated on every
// page, non-ASCII text written as Unicode escapes.
#pragma once

#include "ExportWriter.h"

namespace kvl {

class RtfWriter : public ExportWriter
{
public:
    void write(const ExportTable &table, ExportSink &out, const ExportProgress &progress) override;
};

} // namespace kvl
