// Check box binding.
#include "DbCheckBox.h"

namespace kvl {

DbCheckBox::DbCheckBox(const QString &text, QWidget *parent)
    : QCheckBox(text, parent)
    , m_link(new DataLink(this))
{
    connect(m_link, &DataLink::refresh, this, [this] { showValue(); });
}

void DbCheckBox::bind(Dataset *dataset, const QString &field)
{
    m_link->bind(dataset, field);
}

void DbCheckBox::showValue()
{
    const Value v = m_link->value();
    setChecked(!v.isNull() && v.toBool());
}

void DbCheckBox::nextCheckState()
{
    // A read-only field or a refusal of the dataset leaves the box as the record has it.
    if (m_link->canModify())
        m_link->write(Value::boolean(!isChecked()));
    showValue();
}

} // namespace kvl
