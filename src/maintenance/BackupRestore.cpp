// Backup and restore of the data file through the backup format and safe replacement.
#include "BackupRestore.h"

#include "BackupCodec.h"
#include "Connection.h"
#include "DataFileCheck.h"
#include "MaintenanceError.h"
#include "MaintenanceTexts.h"
#include "SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kvl {

namespace {

QString normalised(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath()).toUpper();
}

// Runs `work`, turning whatever it throws into the operation's one message.
template<typename Work>
void asOperation(const QString &message, Work work)
{
    try {
        work();
    } catch (const MaintenanceError &e) {
        throw MaintenanceError(message, e.detail());
    } catch (const DbError &e) {
        throw MaintenanceError(message, e.message());
    } catch (const std::exception &e) {
        throw MaintenanceError(message, QString::fromLocal8Bit(e.what()));
    }
}

} // namespace

QString BackupRestore::defaultBackupFileName(const QDate &day)
{
    return day.toString(QStringLiteral("yyyyMMdd")) + QLatin1Char('.') + MaintenanceTexts::backupSuffix();
}

bool BackupRestore::namesDataFile(const QString &chosen, const QString &dataPath)
{
    const QString name = chosen.trimmed();
    if (name.isEmpty())
        return false;
    if (normalised(name) == normalised(dataPath))
        return true;
    const QString canonical = QFileInfo(name).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(dataPath).canonicalFilePath();
}

void BackupRestore::backup(const QString &dataPath, const QString &backupPath)
{
    if (namesDataFile(backupPath, dataPath))
        throw MaintenanceError(MaintenanceTexts::sameNameAsDataFile(), backupPath);
    asOperation(MaintenanceTexts::backupFailed(), [&] {
        QFile data(dataPath);
        if (!data.open(QIODevice::ReadOnly))
            throw MaintenanceError(QString(), data.errorString());
        SafeFile out(backupPath.trimmed());
        out.open();
        BackupCodec::encode(data, data.size(), out.device());
        out.commit();
    });
}

void BackupRestore::restore(const QString &backupPath, const QString &dataPath, const QString &password)
{
    if (namesDataFile(backupPath, dataPath))
        throw MaintenanceError(MaintenanceTexts::sameNameAsDataFile(), backupPath);
    asOperation(MaintenanceTexts::restoreFailed(), [&] {
        QFile in(backupPath.trimmed());
        if (!in.open(QIODevice::ReadOnly))
            throw MaintenanceError(QString(), in.errorString());
        // Decoded next to the data file, so the final step is one rename.
        SafeFile out(dataPath);
        out.open();
        BackupCodec::decode(in, out.device());
        out.close();
        DataFileCheck::verify(out.temporaryPath(), password);
        releaseOldFile(dataPath, password);
        out.commit();
    });
}

void BackupRestore::releaseOldFile(const QString &dataPath, const QString &password)
{
    // The engine would play a journal left beside KVL.DTA back into whatever
    // file bears that name next, so none may survive the rename. Opening the old
    // file first lets the engine roll back a journal of an interrupted write
    // (keeping the old file sound up to the rename) and tells whether someone
    // still holds the file, in which case replacing it is not ours to do.
    if (QFileInfo::exists(dataPath)) {
        Connection probe;
        try {
            probe.connect(dataPath, password);
            probe.disconnect();
        } catch (const DbError &e) {
            if (e.firstNative() == NativeError::Locked)
                throw;
            // Any other refusal: the old file is unusable and about to be replaced.
        }
    }
    const QString journal = dataPath + QStringLiteral("-journal");
    if (QFileInfo::exists(journal) && !QFile::remove(journal))
        throw MaintenanceError(QString(), QStringLiteral("不能删除“%1”").arg(journal));
}

} // namespace kvl
