// Whether a file is a sound data file of this program: it opens through the
// password gate and the engine's integrity check finds nothing wrong.
#pragma once

#include <QString>

namespace kvl {

class DataFileCheck
{
public:
    // Throws MaintenanceError (detail only) when the file is not a data file of
    // this program, has another password, is held by someone, or is damaged.
    // Reads only: the file's bytes are the same afterwards.
    static void verify(const QString &path, const QString &password);
};

} // namespace kvl
