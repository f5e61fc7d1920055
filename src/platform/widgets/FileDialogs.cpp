// Open and save dialogs with the program's filter notation, default extension and filter index.
#include "FileDialogs.h"

#include "FileDialogAnswers.h"
#include "ModalRunner.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

namespace kvl {

QStringList FileDialogs::qtFilters(const QString &filter)
{
    QStringList out;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString caption = parts.at(i).trimmed();
        // The caption usually repeats its patterns in parentheses; Qt reads them from there.
        static const QRegularExpression trailing(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
        caption.remove(trailing);
        QStringList patterns;
        for (const QString &p : parts.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            for (const QString &v : {p.trimmed().toLower(), p.trimmed().toUpper()}) {
                if (!patterns.contains(v))
                    patterns.append(v);
            }
        }
        out.append(caption + QStringLiteral(" (") + patterns.join(QLatin1Char(' '))
                   + QLatin1Char(')'));
    }
    return out;
}

FileDialogResult FileDialogs::run(const FileDialogRequest &request)
{
    if (FileDialogAnswers *answers = FileDialogAnswers::active())
        return answers->answer(request);

    QFileDialog dialog(request.parent ? request.parent : QApplication::activeWindow(),
                       request.title);
    dialog.setObjectName(request.mode == FileDialogRequest::Mode::Open
                             ? QStringLiteral("OpenDialog")
                             : QStringLiteral("SaveDialog"));
    const bool save = request.mode == FileDialogRequest::Mode::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QStringList filters = qtFilters(request.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const int index = qBound(1, request.filterIndex, int(filters.size()));
        dialog.selectNameFilter(filters.at(index - 1));
    }
    if (!request.initialDir.isEmpty())
        dialog.setDirectory(request.initialDir);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (!request.defaultExt.isEmpty())
        dialog.setDefaultSuffix(request.defaultExt);

    FileDialogResult result;
    if (ModalRunner::exec(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return result;
    result.accepted = true;
    result.file = QFileInfo(dialog.selectedFiles().constFirst()).absoluteFilePath();
    result.filterIndex = int(filters.indexOf(dialog.selectedNameFilter())) + 1;
    return result;
}

FileDialogResult FileDialogs::open(const QString &title, const QString &filter,
                                   const QString &initialDir, QWidget *parent)
{
    FileDialogRequest r;
    r.mode = FileDialogRequest::Mode::Open;
    r.title = title;
    r.filter = filter;
    r.initialDir = initialDir;
    r.parent = parent;
    return run(r);
}

FileDialogResult FileDialogs::save(const QString &title, const QString &filter,
                                   const QString &fileName, const QString &initialDir,
                                   const QString &defaultExt, QWidget *parent)
{
    FileDialogRequest r;
    r.mode = FileDialogRequest::Mode::Save;
    r.title = title;
    r.filter = filter;
    r.fileName = fileName;
    r.initialDir = initialDir;
    r.defaultExt = defaultExt;
    r.parent = parent;
    return run(r);
}

} // namespace kvl
