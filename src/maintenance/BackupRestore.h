// Backup of the data file to a backup file and restore from one, both written so
// that a crash or a full disk at any moment leaves the old file or the new one.
//
// Contract with the caller: both run on a closed data file. The data module is
// released first, so no connection of this process holds KVL.DTA; a restore
// refuses to run while some connection (here or in another process) still does.
#pragma once

#include "Schema.h"

#include <QDate>
#include <QString>

namespace kvl {

class BackupRestore
{
public:
    // The name the save dialog offers: the day as eight digits, year first, and
    // the backup extension, e.g. "20040305.kvl".
    static QString defaultBackupFileName(const QDate &day);

    // True when the name the user chose (trimmed) is the data file itself, in any
    // letter case, also when written relatively or through a link.
    static bool namesDataFile(const QString &chosen, const QString &dataPath);

    // Writes a backup of the data file under `backupPath` (trimmed), creating or
    // replacing it; a file under that name is always a whole backup. Throws
    // MaintenanceError with the text "操作过程中出错，没有备份成功！", or the
    // same-name text when `backupPath` is the data file.
    static void backup(const QString &dataPath, const QString &backupPath);

    // Replaces the data file with the content of the backup file, only when that
    // content decodes completely and is a sound data file that opens with
    // `password`. Throws MaintenanceError with "操作过程中出错，没有恢复成功！"
    // (the data file unchanged), or the same-name text.
    static void restore(const QString &backupPath, const QString &dataPath,
                        const QString &password = Schema::databasePassword());

private:
    static void releaseOldFile(const QString &dataPath, const QString &password);
};

} // namespace kvl
