// Deleting the current document of the business window's list.
#pragma once

class QWidget;

namespace kvl {

class Dataset;

enum class DeleteOutcome { Nothing, Refused, Declined, Deleted, Failed };

// Refuses a settled shipment or purchase, asks, then removes the document's
// goods lines or settlement links and its sfk row in one transaction (a
// settlement's documents are open again), reloads the list keeping its sort
// and moves to its last row. A database error rolls everything back and shows
// its message.
DeleteOutcome DeleteCurrentDocument(Dataset &list, QWidget *parent = nullptr);

// Reopens the list with its query and parameters, keeping its sort.
void ReloadDocumentList(Dataset &list);

} // namespace kvl
