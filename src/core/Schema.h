// The tables, rules, links and indexes of the program's data file.
#pragma once

#include <QString>

namespace kvl {

class Connection;

namespace Schema {

// The database password every installation's data file carries.
QString databasePassword();

// Creates every table, check rule, enforced link and index on an empty data file.
void create(Connection &conn);

// Writes a new data file at `path` with all tables and the one PH row
// (counters 0, the company name, empty password and picture).
void createDataFile(const QString &path, const QString &companyName);

} // namespace Schema
} // namespace kvl
