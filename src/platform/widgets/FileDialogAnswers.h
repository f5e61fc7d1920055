// Test seam of the file dialogs: while alive, requests are recorded and answered from a queue.
#pragma once

#include "FileDialogs.h"

#include <QList>

namespace kvl {

class FileDialogAnswers
{
public:
    FileDialogAnswers();
    ~FileDialogAnswers();
    FileDialogAnswers(const FileDialogAnswers &) = delete;
    FileDialogAnswers &operator=(const FileDialogAnswers &) = delete;

    // The next dialog chooses `file` (made absolute) with the given filter entry.
    FileDialogAnswers &choose(const QString &file, int filterIndex = 1);
    // The next dialog is cancelled. With nothing queued a dialog is cancelled too, and counted.
    FileDialogAnswers &cancel();
    int pending() const;

    const QList<FileDialogRequest> &requests() const;
    int unexpected() const;

    static FileDialogAnswers *active();
    FileDialogResult answer(const FileDialogRequest &request);

private:
    FileDialogAnswers *m_outer;
    QList<FileDialogResult> m_answers;
    QList<FileDialogRequest> m_requests;
    int m_unexpected = 0;
};

} // namespace kvl
