// What the business window's commands prepare before an editor opens: the
// header row of the list and the editor's detail datasets.
#pragma once

#include "DocumentKind.h"

#include <QtGlobal>

namespace kvl {

class Dataset;

// A new document of `kind` for the partner: a row appended to `list` with the
// proposed 单号; empty goods lines (starting with one blank line) or, for a
// settlement, the partner's open documents as candidates and empty links.
void StartNewDocument(DocumentKind kind, qint64 partnerId);

// The current document of DataSfk put into editing with its lines or links
// (and, for a settlement, its candidates).
void StartEditDocument(qint64 partnerId);

} // namespace kvl
