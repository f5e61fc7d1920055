// Placeholder until the editor's form is built: title only.
#include "yw_jch.h"

namespace kvl {

TFMyw_jch::TFMyw_jch(DocumentKind kind, bool isNew, qint64, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TFMyw_jch"));
    setProperty("kind", int(kind));
    setWindowTitle((isNew ? QStringLiteral("录入") : QStringLiteral("修改"))
                   + (kind == DocumentKind::Purchase ? QStringLiteral("进货（应付款）") : QStringLiteral("出货（应收款）")));
}

TFMyw_jch::~TFMyw_jch() = default;

void TFMyw_jch::setStaffName(const QString &) {}
void TFMyw_jch::setSettled(bool settled) { setProperty("settled", settled); }
bool TFMyw_jch::isSettled() const { return property("settled").toBool(); }
DocumentKind TFMyw_jch::kind() const { return DocumentKind(property("kind").toInt()); }

} // namespace kvl
