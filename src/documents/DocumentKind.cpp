// Names, prefixes and counters of the document kinds.
#include "DocumentKind.h"

namespace kvl {

QString DocumentKindName(DocumentKind kind)
{
    switch (kind) {
    case DocumentKind::Shipment: return QStringLiteral("出货");
    case DocumentKind::Purchase: return QStringLiteral("进货");
    case DocumentKind::Settlement: break;
    }
    return QStringLiteral("结帐");
}

QString DocumentNumberPrefix(DocumentKind kind)
{
    switch (kind) {
    case DocumentKind::Shipment: return QStringLiteral("CH");
    case DocumentKind::Purchase: return QStringLiteral("JH");
    case DocumentKind::Settlement: break;
    }
    return QStringLiteral("结");
}

QString DocumentCounterColumn(DocumentKind kind)
{
    switch (kind) {
    case DocumentKind::Shipment: return QStringLiteral("dh_ysk");
    case DocumentKind::Purchase: return QStringLiteral("dh_yfk");
    case DocumentKind::Settlement: break;
    }
    return QStringLiteral("dh_sk");
}

NumberedRow DocumentNumberedRow(DocumentKind kind)
{
    switch (kind) {
    case DocumentKind::Shipment: return NumberedRow::Shipment;
    case DocumentKind::Purchase: return NumberedRow::Purchase;
    case DocumentKind::Settlement: break;
    }
    return NumberedRow::Settlement;
}

} // namespace kvl
