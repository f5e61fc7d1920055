// The data layer's error object.
#include "DbError.h"

namespace kvl {

DbError::DbError(const QString &message, const QList<EngineError> &errors)
    : m_message(message), m_errors(errors), m_utf8(message.toStdString())
{
}

} // namespace kvl
