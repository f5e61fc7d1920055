// The counters of table PH: ids and document numbers taken inside the
// writer's transaction, and their repair at start-up.
#pragma once

#include <QtGlobal>

namespace kvl {

class Connection;

enum class NumberedRow { Partner, Goods, Staff, Shipment, Purchase, Settlement };

// Reads the counters of `kind`, advances them by one and returns the new row's
// id (for documents: PH.sfk + 1, with the number counter of its kind advanced
// too). Must run inside the caller's open transaction, so a failed save that
// rolls back leaves the counters as they were.
qint64 AllocateId(Connection &conn, NumberedRow kind);

// When PH's id counters are all 0 but the tables hold rows (an older or
// imported file), sets them to the largest ids. Silent on failure.
void RepairCounters(Connection &conn);

} // namespace kvl
