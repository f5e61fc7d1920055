// The one transaction of a document save: counters for a new document, the
// header row, and the batch of its detail rows (goods lines or settlement links).
#pragma once

#include "DocumentSave.h"
#include "PhCounters.h"

#include <functional>

class QWidget;

namespace kvl {

class Dataset;

// `fill` writes the header's figures (told whether the document is new) after
// the id was allocated. On a database error everything is rolled back, the
// header and the details are put back as they were typed (a new header in
// insert state again, the detail changes pending again), the DbErrorText
// warning is shown and the result is Failed with the cursor for 单号.
DocumentSaveResult WriteDocument(Dataset &header, Dataset &details, NumberedRow numbered,
                                 const std::function<void(bool isNew)> &fill, QWidget *parent);

} // namespace kvl
