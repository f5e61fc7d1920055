// Schema of the data file (filled in next).
#include "Schema.h"

namespace kvl::Schema {

QString databasePassword() { return QStringLiteral("PlumHarbor7|XRZ"); }

} // namespace kvl::Schema
