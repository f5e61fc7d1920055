// Recorded file-dialog requests and their queued answers.
#include "FileDialogAnswers.h"

#include <QFileInfo>

namespace kvl {

namespace {
FileDialogAnswers *g_active = nullptr;
}

FileDialogAnswers::FileDialogAnswers()
    : m_outer(g_active)
{
    g_active = this;
}

FileDialogAnswers::~FileDialogAnswers()
{
    g_active = m_outer;
}

FileDialogAnswers &FileDialogAnswers::choose(const QString &file, int filterIndex)
{
    FileDialogResult r;
    r.accepted = true;
    r.file = QFileInfo(file).absoluteFilePath();
    r.filterIndex = filterIndex;
    m_answers.append(r);
    return *this;
}

FileDialogAnswers &FileDialogAnswers::cancel()
{
    m_answers.append(FileDialogResult{});
    return *this;
}

int FileDialogAnswers::pending() const
{
    return int(m_answers.size());
}

const QList<FileDialogRequest> &FileDialogAnswers::requests() const
{
    return m_requests;
}

int FileDialogAnswers::unexpected() const
{
    return m_unexpected;
}

FileDialogAnswers *FileDialogAnswers::active()
{
    return g_active;
}

FileDialogResult FileDialogAnswers::answer(const FileDialogRequest &request)
{
    m_requests.append(request);
    if (m_answers.isEmpty()) {
        ++m_unexpected;
        return FileDialogResult{};
    }
    FileDialogResult r = m_answers.takeFirst();
    // As the real dialog does: a name typed without extension gets the default one.
    if (r.accepted && !request.defaultExt.isEmpty() && QFileInfo(r.file).suffix().isEmpty())
        r.file += QLatin1Char('.') + request.defaultExt;
    return r;
}

} // namespace kvl
