// The spreadsheet export: an Excel 97-2003 workbook (BIFF8 in a compound file),
// one worksheet named after the window, text in the shared string table, numbers
// as numbers. A worksheet holds at most 65,536 rows; longer tables go on over
// further worksheets, each starting with the title row again.
#pragma once

#include "ExportWriter.h"

namespace kvl {

class XlsWriter : public ExportWriter
{
public:
    static constexpr qint64 kMaxSheetRows = 65536;
    static constexpr qsizetype kMaxColumns = 256;
    static constexpr qsizetype kMaxCellChars = 32767;

    void write(const ExportTable &table, ExportSink &out, const ExportProgress &progress) override;

    // The name of worksheet 'number' (1, 2 ...) for a window title: at most 31
    // characters, none of []:*?/\, not empty; "title (2)" and so on after the first.
    static QString sheetName(const QString &title, int number);
};

} // namespace kvl
