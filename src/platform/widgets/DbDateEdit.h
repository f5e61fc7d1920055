// Data-aware date edit: "yyyy/mm/dd" (or the field's format) while it rests, "yyyy-mm-dd"
// while it is edited; typed dates parsed when the user leaves the box.
#pragma once

#include "DbLineEdit.h"

namespace kvl {

class DbDateEdit : public DbLineEdit
{
    Q_OBJECT
public:
    explicit DbDateEdit(QWidget *parent = nullptr);

protected:
    bool parse(const QString &text, Value *out, QString *error) const override;
    QString editText(const Value &v) const override;
    QString defaultFormat() const override { return QStringLiteral("yyyy/mm/dd"); }
};

} // namespace kvl
