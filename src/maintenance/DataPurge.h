// The bulk changes of tidy and rebuild: removal of settled business and the
// emptying of every business and master-data table, each in one transaction.
#pragma once

#include <QDate>

namespace kvl {

class Connection;

class DataPurge
{
public:
    // Removes every settled shipment and purchase, every settlement, their goods
    // lines and all settlement links; clears 结帐 on what remains.
    static void purgeAllSettled(Connection &conn);

    // Removes the settlements dated on or before `day`, the documents they settled
    // and those documents' goods lines and links; clears 结帐 on what remains.
    static void purgeSettledUpTo(Connection &conn, const QDate &day);

    // Empties business, master data, code tables and saved grid layouts and sets
    // the seven counters to 0. Keeps the password, company name, picture and the
    // report templates.
    static void rebuild(Connection &conn);
};

} // namespace kvl
