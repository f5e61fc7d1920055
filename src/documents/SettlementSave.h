// Saving a settlement: its header and links in one transaction.
#pragma once

#include "DocumentSave.h"

namespace kvl {

// `header` stands on the settlement (Insert for a new one), `links` holds its
// links in batch mode, `candidates` the documents they point at. The header
// takes the date, number, remark, partner and the chosen staff member of
// `entry`; the net amount goes to 结帐、应付款金额（进货）. Shows its warning itself;
// a refusal or failure leaves the datasets as typed.
DocumentSaveResult SaveSettlement(Dataset &header, Dataset &links, Dataset &candidates, const DocumentEntry &entry,
                                  QWidget *parent = nullptr);

} // namespace kvl
