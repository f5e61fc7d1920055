// Placeholder until the editor's form is built: title only.
#include "yw_jz.h"

namespace kvl {

TFMyw_jz::TFMyw_jz(bool isNew, qint64, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TFMyw_jz"));
    setWindowTitle(isNew ? QStringLiteral("结帐录入") : QStringLiteral("修改结帐"));
}

TFMyw_jz::~TFMyw_jz() = default;

void TFMyw_jz::setStaffName(const QString &) {}

} // namespace kvl
