// The base queries of the shared datasets, in the engine's dialect: the wording
// and order of the program's statements, with the one string written in double
// quotes turned into a single-quoted literal (a double-quoted word that matches
// a column would otherwise name the column).
#pragma once

#include <QString>

namespace kvl::BaseQueries {

QString dataSfk();
QString dataSfkJz();
QString dataKcmx();
QString dataTJYsk();
// The documents of DataTJ_ysk with their balance; partner and staff names are
// the dataset's lookup fields.
QString dataTJYskDocuments();
QString dataTJSp();
// The goods lines of DataTJ_sp with their document, amounts and settlement number;
// the names of goods, partner and staff are the dataset's lookup fields. Only the
// lines of a document: every refresh bounds the document's dates.
QString dataTJSpLines();
// The names those lookups read: every row of the table, paused or not.
QString dataTJNamesDw();
QString dataTJNamesZg();
QString dataTJNamesSp();
QString dataSfkKcmx();
QString dataSfkJzmx();

} // namespace kvl::BaseQueries
