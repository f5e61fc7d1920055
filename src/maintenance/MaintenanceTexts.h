// The texts of the maintenance dialog: parameters, backup, restore, compaction,
// tidy, rebuild and import, as the user sees them.
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

// Parameters.
inline QString passwordMissing() { return QStringLiteral("请录入系统密码！"); }
inline QString passwordsDiffer() { return QStringLiteral("录入的密码不一样，请重新录入！"); }

// Tidy and rebuild.
inline QString tidyQuestion() { return QStringLiteral("您确定要进行数据整理吗？"); }
inline QString tidyProgress() { return QStringLiteral("正在整理，请稍候......"); }
inline QString tidyDone() { return QStringLiteral("数据库整理完毕！"); }
inline QString tidyContext() { return QStringLiteral("数据整理"); }
inline QString rebuildQuestion()
{
    return QStringLiteral("【系统重建】将删除所有已经录入的资料。重建之前请备份您的数据库！\r\r您确定要进行【系统重建】吗？");
}
inline QString rebuildProgress() { return QStringLiteral("正在重建，请稍候......"); }
inline QString rebuildDone() { return QStringLiteral("【系统重建】完成！"); }
inline QString rebuildContext() { return QStringLiteral("系统重建"); }

// Import from an older data file.
inline QString importNeedsEmptyFile()
{
    return QStringLiteral("当前数据库中有数据，进行【系统重建】后才能导入老版本的数据。");
}
inline QString importDialogTitle() { return QStringLiteral("请选择老版本数据库文件"); }
inline QString importFilter() { return QStringLiteral("数据库文件(*.dta)|*.dta"); }
inline QString importSuffix() { return QStringLiteral("dta"); }
inline QString importCannotConnect() { return QStringLiteral("不能连接您选定的这个数据库！"); }
inline QString importProgress() { return QStringLiteral("正在导入老版本数据，请稍候......"); }
inline QString importDocumentsProgress() { return QStringLiteral("正在导入【业务】数据......"); }
inline QString importLinesProgress() { return QStringLiteral("正在导入【业务明细】数据......"); }
inline QString importSettlementsProgress() { return QStringLiteral("正在导入【结帐明细】数据......"); }
inline QString importDone() { return QStringLiteral("老版本的数据已经全部成功导入。"); }
inline QString importFailed() { return QStringLiteral("导入不成功，请稍后再试 或 咨询我们。"); }

} // namespace kvl::MaintenanceTexts
