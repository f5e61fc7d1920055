// The texts of backup, restore and compaction, as the maintenance dialog shows them.
#pragma once

#include <QString>

namespace kvl::MaintenanceTexts {

inline QString sameNameAsDataFile() { return QStringLiteral("您所录入的文件与系统默认数据库名称相同，请重新录入！"); }

inline QString backupDialogTitle() { return QStringLiteral("数据备份到哪个文件"); }
inline QString restoreDialogTitle() { return QStringLiteral("数据从哪个文件中恢复"); }
inline QString backupFilter() { return QStringLiteral("备份文件(*.kvl)|*.kvl"); }
inline QString backupSuffix() { return QStringLiteral("kvl"); }

inline QString backupProgress() { return QStringLiteral("正在备份，请稍候......"); }
inline QString backupDone() { return QStringLiteral("数据库备份成功！"); }
inline QString backupFailed() { return QStringLiteral("操作过程中出错，没有备份成功！"); }

inline QString restoreProgress() { return QStringLiteral("正在恢复，请稍候......"); }
inline QString restoreDone() { return QStringLiteral("恢复成功！"); }
inline QString restoreFailed() { return QStringLiteral("操作过程中出错，没有恢复成功！"); }

// Compaction: another computer's user holds the file, or any other failure.
inline QString lockedBy(const QString &machine)
{
    return QStringLiteral("数据库被［") + machine + QStringLiteral("］上的用户锁定，请稍后再试......");
}
inline QString openConflict(const QString &engineText) { return QStringLiteral("数据库打开冲突。") + engineText; }

} // namespace kvl::MaintenanceTexts
