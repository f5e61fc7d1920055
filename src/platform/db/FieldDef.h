// The description of one dataset field: what the caller may set (caption,
// type, size, formats, flags, lookup) and what the dataset fills in from the
// result column it presents (origin table and column).
#pragma once

#include "Value.h"

#include <QString>

#include <functional>

namespace kvl {

class Dataset;

// A lookup field shows `resultField` of the row of `dataset` whose
// `lookupKeyField` equals this dataset's `keyField`.
struct LookupDef
{
    QString keyField;
    Dataset *dataset = nullptr;
    QString lookupKeyField;
    QString resultField;
};

struct FieldDef
{
    QString name;
    QString label;                     // caption; empty shows the name
    ValueType type = ValueType::Null;  // Null: from the result column
    int size = -1;                     // text: characters; lookup: GBK bytes; -1: from the column
    QString displayFormat;             // numeric or date format; empty: the type's plain form
    bool currency = false;             // money shown with the currency format
    int displayWidth = 0;              // characters; 0: the view decides
    bool visible = true;
    bool readOnly = false;
    bool required = false;             // checked at post (data fields only, as the grid editors expect)
    LookupDef lookup;

    // Filled in by the dataset when it opens.
    int column = -1;                   // result column; -1 for a lookup
    QString originTable;               // table the column comes from; empty for expressions
    QString originColumn;
    QString declType;

    bool isLookup() const { return lookup.dataset != nullptr; }
    QString caption() const { return label.isEmpty() ? name : label; }
    bool isNumeric() const
    {
        return type == ValueType::Integer || type == ValueType::Money || type == ValueType::Float;
    }
};

// Gives a result column its defaults (type, size, caption, format) before the
// caller's own definitions apply; the data module knows the schema and sets one.
using FieldResolver = std::function<void(FieldDef &field)>;

} // namespace kvl
