// Compaction of a closed data file: a compacted copy beside it takes its place
// in one rename, so a failure at any moment leaves the old file whole.
#pragma once

#include "Schema.h"

#include <QString>

namespace kvl {

struct CompactResult
{
    bool replaced = false; // the compacted copy now is the file at the path
    QString message;       // the warning to show; empty when there is none to show
    QString detail;        // what went wrong, for a closer look
};

// Called only while the data module is released: the file must not be open.
// A file held by another user gives "数据库被［machine］上的用户锁定，请稍后再试......",
// any other failure of opening or compacting "数据库打开冲突。" and the engine's
// text. A failure of the final replacement leaves the old file and shows nothing,
// as the copy back always did.
CompactResult CompactDataFile(const QString &path, const QString &password = Schema::databasePassword());

} // namespace kvl
