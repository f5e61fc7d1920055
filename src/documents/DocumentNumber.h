// The number proposed for a new document, and the limit every number must keep.
#pragma once

#include "DocumentKind.h"

#include <QString>

namespace kvl {

// Width of sfk.单号 in characters; a longer number is refused at save, never cut.
inline constexpr int kDocumentNumberLength = 10;

// Prefix, then counter + 1 filled on the left with zeros to eight digits
// (a value of nine or more digits is written in full).
QString ProposedNumber(const QString &prefix, qint64 counter);

// Reads the kind's counter from PH through the data module's QueAll.
QString ProposeDocumentNumber(DocumentKind kind);

// The refusal shown at save for a number that does not fit; empty when it fits.
QString DocumentNumberProblem(const QString &number);

} // namespace kvl
