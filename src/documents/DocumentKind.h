// The three kinds of business document and what each one is called and counted by.
#pragma once

#include "PhCounters.h"

#include <QString>

namespace kvl {

enum class DocumentKind { Shipment, Purchase, Settlement };

// Value of sfk.类别 for the kind.
QString DocumentKindName(DocumentKind kind);
// Prefix of the proposed 单号.
QString DocumentNumberPrefix(DocumentKind kind);
// The PH column holding the last number used for the kind.
QString DocumentCounterColumn(DocumentKind kind);
NumberedRow DocumentNumberedRow(DocumentKind kind);

} // namespace kvl
