// Safe file replacement through a flushed temporary and one rename (POSIX).
#include "SafeFile.h"

#include "DbError.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace kvl {

namespace {

QString systemError(int err)
{
    return QString::fromLocal8Bit(std::strerror(err));
}

[[noreturn]] void fail(const QString &what, const QString &path, const QString &why)
{
    throw DbError(QStringLiteral("%1“%2”：%3").arg(what, QDir::toNativeSeparators(path), why));
}

// fsync by path: the data (or, for a folder, the names in it) reach the disk.
void syncPath(const QString &path, bool folder)
{
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), folder ? (O_RDONLY | O_DIRECTORY) : O_RDONLY);
    if (fd < 0)
        fail(QStringLiteral("不能打开"), path, systemError(errno));
    int rc;
    do {
        rc = ::fsync(fd);
    } while (rc != 0 && errno == EINTR);
    const int err = errno;
    ::close(fd);
    if (rc != 0)
        fail(QStringLiteral("不能写入磁盘"), path, systemError(err));
}

QString randomTag()
{
    static const char kAlphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    QString tag;
    for (int i = 0; i < 8; ++i)
        tag += QLatin1Char(kAlphabet[QRandomGenerator::global()->bounded(int(sizeof kAlphabet) - 1)]);
    return tag;
}

} // namespace

SafeFile::SafeFile(const QString &targetPath)
    : m_target(QFileInfo(targetPath).absoluteFilePath())
{
}

SafeFile::~SafeFile()
{
    discard();
}

void SafeFile::open()
{
    discard();
    const QFileInfo target(m_target);
    if (!target.dir().exists())
        fail(QStringLiteral("找不到文件夹"), target.absolutePath(), systemError(ENOENT));
    // A name of our own making that no other file has: NewOnly creates it exclusively.
    for (int attempt = 0; attempt < 16; ++attempt) {
        const QString name = QStringLiteral("~%1.%2.tmp").arg(target.fileName(), randomTag());
        m_file.setFileName(target.dir().filePath(name));
        if (m_file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            m_temp = m_file.fileName();
            return;
        }
        if (m_file.error() != QFileDevice::OpenError || !QFileInfo::exists(m_file.fileName()))
            break;
    }
    const QString why = m_file.errorString();
    m_file.setFileName(QString());
    fail(QStringLiteral("不能建立临时文件于"), target.absolutePath(), why);
}

QIODevice &SafeFile::device()
{
    return m_file;
}

void SafeFile::write(const char *data, qint64 size)
{
    if (!m_file.isOpen())
        fail(QStringLiteral("临时文件没有打开"), m_target, QString());
    while (size > 0) {
        const qint64 n = m_file.write(data, size);
        if (n <= 0)
            fail(QStringLiteral("不能写入"), m_temp, m_file.errorString());
        data += n;
        size -= n;
    }
}

void SafeFile::close()
{
    if (!m_file.isOpen())
        return;
    const bool flushed = m_file.flush();
    const QString why = m_file.errorString();
    int rc = flushed ? ::fsync(m_file.handle()) : -1;
    const int err = errno;
    m_file.close();
    if (!flushed)
        fail(QStringLiteral("不能写入"), m_temp, why);
    if (rc != 0)
        fail(QStringLiteral("不能写入磁盘"), m_temp, systemError(err));
}

void SafeFile::commit()
{
    if (m_temp.isEmpty())
        fail(QStringLiteral("临时文件没有打开"), m_target, QString());
    try {
        close();
        replace(m_temp, m_target);
    } catch (...) {
        discard();
        throw;
    }
    m_temp.clear();
    m_file.setFileName(QString());
}

void SafeFile::discard()
{
    if (m_file.isOpen())
        m_file.close();
    if (!m_temp.isEmpty())
        QFile::remove(m_temp);
    m_temp.clear();
    m_file.setFileName(QString());
}

void SafeFile::writeAll(const QString &targetPath, const QByteArray &bytes)
{
    SafeFile f(targetPath);
    f.open();
    f.write(bytes);
    f.commit();
}

void SafeFile::replace(const QString &sourcePath, const QString &targetPath)
{
    const QFileInfo source(sourcePath);
    const QFileInfo target(targetPath);
    // Only a rename inside one folder (one file system) is a single atomic step.
    if (source.absolutePath() != target.absolutePath())
        fail(QStringLiteral("不在同一文件夹"), targetPath, source.absoluteFilePath());
    syncPath(source.absoluteFilePath(), false);
    const QByteArray from = QFile::encodeName(source.absoluteFilePath());
    const QByteArray to = QFile::encodeName(target.absoluteFilePath());
    if (std::rename(from.constData(), to.constData()) != 0)
        fail(QStringLiteral("不能替换"), targetPath, systemError(errno));
    syncPath(target.absolutePath(), true);
}

} // namespace kvl
