// The text a user sees for a caught database error.
#pragma once

#include "DbError.h"

#include <QString>

namespace kvl {

// `message` is the caught exception's text, `context` the caller's word
// ("基础资料", "业务", "数据整理", "系统重建", "选列"); `errors` the engine's
// error list of the main connection after the failure.
QString DbErrorText(const QString &message, const QString &context, const QList<EngineError> &errors);

// The same, reading the error list of the data module's main connection.
QString DbErrorText(const QString &message, const QString &context);

} // namespace kvl
