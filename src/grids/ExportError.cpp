// The export's error object.
#include "ExportError.h"

namespace kvl {

ExportError::ExportError(const QString &message)
    : m_message(message), m_utf8(message.toStdString())
{
}

} // namespace kvl
