// Compaction through the engine's VACUUM INTO, checked and swapped in by rename.
#include "CompactDataFile.h"

#include "Connection.h"
#include "DataFileCheck.h"
#include "MaintenanceError.h"
#include "MaintenanceTexts.h"
#include "SafeFile.h"
#include "Statement.h"

namespace kvl {

namespace {

// The holder's computer as the engine names it: between "器 '" and "' 上".
QString machineIn(const QString &engineText, const QString &path)
{
    const int from = engineText.indexOf(QStringLiteral("器 '"));
    const int to = engineText.indexOf(QStringLiteral("' 上"));
    if (from >= 0 && to > from + 3)
        return engineText.mid(from + 3, to - from - 3);
    const QString holder = Connection::lockHolder(path);
    return holder.isEmpty() ? QStringLiteral("未知") : holder;
}

} // namespace

CompactResult CompactDataFile(const QString &path, const QString &password)
{
    CompactResult result;
    Connection source;
    try {
        source.connect(path, password);
    } catch (const DbError &e) {
        result.detail = e.message();
        result.message = e.firstNative() == NativeError::Locked
            ? MaintenanceTexts::lockedBy(machineIn(e.message(), path))
            : MaintenanceTexts::openConflict(e.message());
        return result;
    }

    SafeFile copy(path);
    try {
        // The engine writes into an empty file it is given, so the unique name
        // reserved by the temporary is the one it fills.
        copy.open();
        copy.close();
        {
            Statement vacuum(source, QStringLiteral("VACUUM INTO ?"));
            vacuum.bind(1, Value(copy.temporaryPath()));
            vacuum.exec();
        }
        source.disconnect();
        DataFileCheck::verify(copy.temporaryPath(), password);
    } catch (const DbError &e) {
        result.detail = e.message();
    } catch (const MaintenanceError &e) {
        result.detail = e.detail();
    }
    if (!result.detail.isEmpty()) {
        result.message = MaintenanceTexts::openConflict(result.detail);
        return result;
    }

    try {
        copy.commit();
        result.replaced = true;
    } catch (const DbError &e) {
        result.detail = e.message();
    }
    return result;
}

} // namespace kvl
