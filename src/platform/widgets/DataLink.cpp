// Field binding of the data-aware controls.
#include "DataLink.h"

#include "DbError.h"
#include "Messages.h"

#include <QWidget>

namespace kvl {

DataLink::DataLink(QWidget *control)
    : QObject(control)
    , m_control(control)
{
    setObjectName(QStringLiteral("kvlDataLink"));
}

DataLink *DataLink::of(const QWidget *control)
{
    return control ? control->findChild<DataLink *>(QStringLiteral("kvlDataLink"), Qt::FindDirectChildrenOnly)
                   : nullptr;
}

void DataLink::bind(Dataset *dataset, const QString &field)
{
    for (const auto &c : std::as_const(m_links))
        disconnect(c);
    m_links.clear();
    m_dataset = dataset;
    m_field = field;
    connectDataset();
    emit editableChanged();
    emit refresh(true);
}

void DataLink::connectDataset()
{
    if (!m_dataset)
        return;
    Dataset *d = m_dataset;
    auto moved = [this] {
        // edit() on an empty dataset appends a row; the text that asked for it stays.
        if (!m_writing)
            emit refresh(true);
    };
    auto reopened = [this] {
        emit editableChanged();
        emit refresh(true);
    };
    m_links << connect(d, &Dataset::reset, this, reopened) << connect(d, &Dataset::opened, this, reopened)
            << connect(d, &Dataset::currentChanged, this, moved)
            << connect(d, &Dataset::valuesChanged, this, [this] { emit refresh(false); })
            << connect(d, &Dataset::rowChanged, this, &DataLink::onRowChanged)
            << connect(d, &Dataset::stateChanged, this, [this] {
                   emit editableChanged();
                   // Cancel and post bring back the stored values; the edit state this
                   // control asked for changes nothing it shows.
                   if (!m_writing)
                       emit refresh(false);
               })
            << connect(d, &QObject::destroyed, this, reopened);
}

void DataLink::onRowChanged(int index)
{
    // Also while this control writes: the controls compare before they show, and a value
    // written for them (a pinyin code) must show.
    if (!m_dataset || index != m_dataset->currentIndex())
        return;
    emit refresh(false);
}

const FieldDef *DataLink::field() const
{
    if (!m_dataset || !m_dataset->isActive())
        return nullptr;
    const int i = m_dataset->fieldIndex(m_field);
    return i < 0 ? nullptr : &m_dataset->fields()[i];
}

Value DataLink::value() const
{
    if (!field() || m_dataset->currentIndex() < 0)
        return Value();
    return m_dataset->value(m_field);
}

bool DataLink::canModify() const
{
    const FieldDef *f = field();
    return f && !f->readOnly && !f->isLookup();
}

bool DataLink::editing() const
{
    return m_dataset && (m_dataset->state() == Dataset::State::Edit || m_dataset->state() == Dataset::State::Insert);
}

bool DataLink::startEdit()
{
    if (!canModify())
        return false;
    if (editing())
        return true;
    const bool outer = m_writing;
    m_writing = true;
    try {
        m_dataset->edit();
    } catch (const DbError &e) {
        m_writing = outer;
        Messages::warning(e.message(), m_control->window());
        return false;
    }
    m_writing = outer;
    return true;
}

bool DataLink::write(const Value &v)
{
    if (!startEdit())
        return false;
    m_writing = true;
    try {
        m_dataset->setValue(m_field, v);
    } catch (const DbError &e) {
        m_writing = false;
        Messages::warning(e.message(), m_control->window());
        return false;
    }
    m_writing = false;
    return true;
}

bool DataLink::updateRecord()
{
    return m_committer ? m_committer() : true;
}

bool DataLink::updateAll(QWidget *root)
{
    if (!root)
        return true;
    for (DataLink *link : root->findChildren<DataLink *>(QStringLiteral("kvlDataLink")))
        if (!link->updateRecord())
            return false;
    return true;
}

} // namespace kvl
