// The maintenance error.
#include "MaintenanceError.h"

namespace kvl {

MaintenanceError::MaintenanceError(const QString &message, const QString &detail)
    : m_message(message)
    , m_detail(detail)
    , m_utf8((message.isEmpty() ? detail : message + QStringLiteral("（") + detail + QStringLiteral("）")).toStdString())
{
}

} // namespace kvl
