// A small real data file for the dataset tests: the document tables shaped as
// the program's (STRICT, money as INTEGER ten-thousandths, booleans 0/1,
// date-times as text, widths as CHECKs) and a resolver presenting their types.
#pragma once

#include "Connection.h"
#include "FieldDef.h"

#include <QString>

namespace kvl::test {

extern const QString kPassword;

// The base query of the document list, with its joined and computed columns.
extern const QString kSfkQuery;

// Creates the file at `path`, connects `conn` and fills the tables:
// partners 1 "北京东方公司", 2 "上海南方商行", 3 "Abc Trading";
// staff 1 "张三"; goods 1 (a 20-character name), 2 "螺丝";
// sfk 1..6 (see the .cpp for their kinds, numbers, dates and amounts).
void createSample(Connection &conn, const QString &path);

// Presents money, boolean and date-time columns and the text widths of the tables above.
FieldResolver schemaResolver();

// Rows of a table, for checking what the file holds.
qint64 count(Connection &conn, const QString &sqlCount);

} // namespace kvl::test
