// The report variables the whole program sets (such as "公司名称"), which every printed
// report receives.
#pragma once

#include "Value.h"

#include <QHash>
#include <QString>

namespace kvl {

// Same type as the report engine's variable table, so it can be handed over as it stands.
inline QHash<QString, Value> ProgramReportVariables;

} // namespace kvl
