// Data-aware text edit: the field's text, at most as many characters as the field holds,
// written into the record on every key.
#pragma once

#include "DbLineEdit.h"

namespace kvl {

class DbEdit : public DbLineEdit
{
    Q_OBJECT
public:
    explicit DbEdit(QWidget *parent = nullptr);

protected:
    bool parse(const QString &text, Value *out, QString *error) const override;
    bool writesWhileTyping() const override { return true; }
    void prepareFor(const Value &v) override;
};

} // namespace kvl
