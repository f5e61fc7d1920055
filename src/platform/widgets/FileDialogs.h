// The one way the program asks for a file to open or save; FileDialogAnswers is its seam.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace kvl {

struct FileDialogRequest
{
    enum class Mode { Open, Save };
    Mode mode = Mode::Open;
    QString title;
    // Entries as the program writes them: "备份文件(*.kvl)|*.kvl|..." (caption|patterns pairs).
    QString filter;
    int filterIndex = 1;          // 1-based entry chosen when the dialog opens
    QString initialDir;           // empty: the dialog's own default
    QString fileName;             // proposed name, in initialDir
    QString defaultExt;           // added when the user types a name without one
    QWidget *parent = nullptr;
};

struct FileDialogResult
{
    bool accepted = false;
    QString file;                 // absolute path when accepted
    int filterIndex = 0;          // 1-based entry the user left chosen
};

class FileDialogs
{
public:
    static FileDialogResult run(const FileDialogRequest &request);

    static FileDialogResult open(const QString &title, const QString &filter,
                                 const QString &initialDir = {}, QWidget *parent = nullptr);
    static FileDialogResult save(const QString &title, const QString &filter,
                                 const QString &fileName = {}, const QString &initialDir = {},
                                 const QString &defaultExt = {}, QWidget *parent = nullptr);

    // "Excel表格 (*.xls)|*.XLS" becomes "Excel表格 (*.xls *.XLS)": the patterns in both letter
    // cases, because file names on Linux are case-sensitive and files come from Windows.
    static QStringList qtFilters(const QString &filter);
};

} // namespace kvl
