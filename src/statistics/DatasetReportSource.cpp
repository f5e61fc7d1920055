// The dataset adapter of the report links.
#include "DatasetReportSource.h"

namespace kvl {

QStringList DatasetReportSource::fieldNames() const
{
    QStringList names;
    for (const FieldDef &f : m_ds.fields())
        names << f.name;
    return names;
}

void DatasetReportSource::first()
{
    m_walking = true;
    Dataset *master = m_ds.master();
    if (master) {
        if (!master->isActive())
            return;
        if (!m_ds.isActive())
            m_ds.open();
        else if (master->controlsDisabled())
            m_ds.requery();
    }
    if (m_ds.isActive())
        m_ds.first();
}

void DatasetReportSource::next()
{
    if (m_ds.isActive())
        m_ds.next();
}

bool DatasetReportSource::eof() const
{
    if (!m_ds.isActive())
        return true;
    return m_walking ? m_ds.eof() : m_ds.currentIndex() < 0;
}

Value DatasetReportSource::value(const QString &field) const
{
    if (eof() || m_ds.fieldIndex(field) < 0)
        return Value();
    return m_ds.value(field);
}

QString DatasetReportSource::displayFormat(const QString &field) const
{
    if (!m_ds.isActive() || m_ds.fieldIndex(field) < 0)
        return QString();
    return m_ds.field(field).displayFormat;
}

} // namespace kvl
