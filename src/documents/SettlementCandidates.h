// The documents a settlement may hold, as the settlement editor is given them.
#pragma once

#include <QtGlobal>

namespace kvl {

class Dataset;

// A new settlement (settlementId 0): the partner's open shipments and purchases.
// An existing one: those plus the documents it already holds. Filter text set
// (the picker's view), filtering off.
void PrepareSettlementCandidates(Dataset &candidates, qint64 partnerId, qint64 settlementId = 0);

} // namespace kvl
