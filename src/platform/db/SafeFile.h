// Replacement of a file that never leaves it half written: the new content goes
// to a temporary beside the target, is flushed to disk, renamed over the target
// in one step, and the folder is flushed so the rename itself survives a power cut.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace kvl {

class SafeFile
{
public:
    // Nothing happens on disk until open().
    explicit SafeFile(const QString &targetPath);
    // An uncommitted temporary is removed; the target is then as it was.
    ~SafeFile();
    SafeFile(const SafeFile &) = delete;
    SafeFile &operator=(const SafeFile &) = delete;

    // Creates the temporary, a new file of a unique name in the target's folder.
    // Throws DbError when the folder is missing or cannot be written.
    void open();
    // The open temporary, for writers that take a device.
    QIODevice &device();
    // Writes all bytes or throws DbError (a full disk, a size limit).
    void write(const char *data, qint64 size);
    void write(const QByteArray &bytes) { write(bytes.constData(), bytes.size()); }

    // Flushes the temporary to disk and closes it. The content is then complete
    // under temporaryPath(), so a caller can check it before commit().
    void close();
    // Flushes the temporary (also when someone else wrote it by its path), renames
    // it over the target and flushes the folder. Throws DbError; on failure the
    // temporary is removed and the target is whole with its old content.
    void commit();
    // Removes the temporary; the target stays as it was.
    void discard();

    const QString &targetPath() const { return m_target; }
    const QString &temporaryPath() const { return m_temp; }

    // Writes `bytes` as the new content of `targetPath` in the same safe way.
    static void writeAll(const QString &targetPath, const QByteArray &bytes);
    // Puts `sourcePath` in the place of `targetPath`, both in the same folder:
    // flushes the source, renames it over the target, flushes the folder.
    // Throws DbError; the source is kept on failure, the target stays whole.
    static void replace(const QString &sourcePath, const QString &targetPath);

private:
    QString m_target;
    QString m_temp;
    QFile m_file;
};

} // namespace kvl
