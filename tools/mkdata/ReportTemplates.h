// The eighteen report templates of reports/*.json, built into the program's tools, and
// their storing into a data file's table report.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace kvl {

class Connection;

namespace ReportTemplates {

struct Entry
{
    QString name;      // the template's "name", the name the windows ask for
    QByteArray bytes;  // the JSON file as it stands
};

// In file-name order, which keeps a name before the longer names beginning with it
// (未结帐汇总表－往来单位 before 未结帐汇总表－往来单位＋业务员), as the prefix search needs.
QList<Entry> all();

// Appends every template to table report, in that order, in one transaction.
void store(Connection &conn);

} // namespace ReportTemplates
} // namespace kvl
