// The tables, rules, links and indexes of the program's data file.
#pragma once

#include "Value.h"

#include <QString>
#include <optional>

namespace kvl {

class Connection;

namespace Schema {

// The database password every installation's data file carries.
QString databasePassword();

// What the schema says of one stored column: its type as the program sees it
// (money, boolean and date-time are stored as integers and text), its width in
// characters for texts, and the caption and display format its fields carry.
struct ColumnInfo
{
    ValueType type = ValueType::Null;
    int width = 0;
    QString caption;
    QString displayFormat;
    bool currency = false;
};

std::optional<ColumnInfo> column(const QString &table, const QString &column);

// The computed columns of the shared queries that hold money.
bool isComputedMoney(const QString &name);

// Creates every table, check rule, enforced link and index on an empty data file.
void create(Connection &conn);

// Writes a new data file at `path` with all tables and the one PH row
// (counters 0, the company name, empty password and picture).
void createDataFile(const QString &path, const QString &companyName);

} // namespace Schema
} // namespace kvl
