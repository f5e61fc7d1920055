// Releasing and re-creating the one data module.
#include "DataModuleCycle.h"

#include "AppEvents.h"
#include "datakvl.h"

namespace kvl {

void DataModuleCycle::release()
{
    if (m_released)
        return;
    m_parent = DataModKvl ? DataModKvl->parent() : nullptr;
    delete DataModKvl; // its destructor clears DataModKvl
    DataModKvl = nullptr;
    m_released = true;
}

void DataModuleCycle::recreate()
{
    if (!m_released)
        return;
    m_released = false;
    new TDataModKvl(m_parent.data());
    emit AppEvents::instance()->dataModuleReplaced();
}

DataModuleCycle::~DataModuleCycle()
{
    recreate();
}

} // namespace kvl
