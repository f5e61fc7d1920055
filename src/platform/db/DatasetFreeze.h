// Scope guard that freezes the views bound to a dataset and resumes them on
// every way out, errors included.
#pragma once

#include "Dataset.h"

namespace kvl {

class DatasetFreeze
{
public:
    explicit DatasetFreeze(Dataset &ds) : m_ds(ds) { m_ds.disableControls(); }
    ~DatasetFreeze() { m_ds.enableControls(); }
    DatasetFreeze(const DatasetFreeze &) = delete;
    DatasetFreeze &operator=(const DatasetFreeze &) = delete;

private:
    Dataset &m_ds;
};

} // namespace kvl
