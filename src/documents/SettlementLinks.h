// The links of a settlement being edited, and the picked marks they keep on
// the candidate documents (in memory only; the file learns of them at save).
#pragma once

#include <QtGlobal>

namespace kvl {

class Dataset;

// Adds a link to the candidate `candidates` stands on and marks it picked.
void LinkCandidate(Dataset &candidates, Dataset &links);

// Removes the current link and offers its document in the picker again.
void UnlinkCurrent(Dataset &candidates, Dataset &links);

// Sum of the linked documents' balances: shipments count positive, purchases negative.
qint64 SettlementTotal(Dataset &candidates, Dataset &links);

} // namespace kvl
