// The in-memory sort text ("单号, 制单日期 DESC "): its parts, and the stable
// ordering of a vector of row numbers by per-row keys.
#pragma once

#include <QList>
#include <QString>

#include <vector>

namespace kvl {

class SortOrder
{
public:
    struct Part
    {
        QString field;
        bool descending = false;
    };

    // Field names separated by commas, each optionally followed by DESC or ASC;
    // blanks around the parts are ignored. Throws DbError on an empty part.
    static QList<Part> parse(const QString &text);

    // One key per row position for each part, compared as signed integers.
    struct Keys
    {
        std::vector<qint64> values;
        bool descending = false;
    };
    // Reorders `rows` stably so that their keys ascend (or descend, per part).
    static void sort(std::vector<quint32> &rows, const std::vector<Keys> &keys);
};

} // namespace kvl
