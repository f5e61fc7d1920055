// Data-aware numeric edit for money and integer fields: typed text parsed as money
// (yuan sign, separators, full-width digits) or as an integer when the user leaves the box.
#pragma once

#include "DbLineEdit.h"

namespace kvl {

class DbNumericEdit : public DbLineEdit
{
    Q_OBJECT
public:
    explicit DbNumericEdit(QWidget *parent = nullptr);

protected:
    bool parse(const QString &text, Value *out, QString *error) const override;
};

} // namespace kvl
