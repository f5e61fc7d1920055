// Updates of a widget switched off for the guard's lifetime.
#include "FrozenDisplay.h"

namespace kvl {

FrozenDisplay::FrozenDisplay(QWidget *widget)
    : m_widget(widget)
    , m_wasEnabled(widget && widget->updatesEnabled())
{
    if (m_widget)
        m_widget->setUpdatesEnabled(false);
}

FrozenDisplay::~FrozenDisplay()
{
    if (m_widget)
        m_widget->setUpdatesEnabled(m_wasEnabled);
}

} // namespace kvl
