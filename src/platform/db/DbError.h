// The error the data layer throws: the engine's message and its error list.
#pragma once

#include <QList>
#include <QString>
#include <exception>
#include <string>

namespace kvl {

// One entry of the engine's error list after a failed statement.
struct EngineError
{
    qint32 native = 0;
    QString description;
    bool operator==(const EngineError &o) const { return native == o.native && description == o.description; }
};

// The program's native error numbers; each stands for one class of engine condition.
namespace NativeError {
constexpr qint32 RowChanged = 32;                  // the edited row is no longer there as it was read
constexpr qint32 MissingMaster = -535037517;       // E01BF9B3: a link names a missing master row
constexpr qint32 Referenced = -534971980;          // E01CF9B4: documents still name the row being deleted
constexpr qint32 Locked = -534381846;              // E025FAEA: the file is held by a user on some computer
constexpr qint32 Busy = -105514571;                // F9B5F9B5: the engine is busy
constexpr qint32 BusyAlt = -72156238;              // FBB2FBB2
constexpr qint32 Collision = -105121349;           // F9BBF9BB: a new row collides with another
constexpr qint32 NotDataFile = -1;                 // not a data file of this program
constexpr qint32 BadPassword = -2;                 // the database password does not match
}

class DbError : public std::exception
{
public:
    DbError(const QString &message, const QList<EngineError> &errors = {});
    const char *what() const noexcept override { return m_utf8.c_str(); }
    const QString &message() const { return m_message; }
    const QList<EngineError> &errors() const { return m_errors; }
    qint32 firstNative() const { return m_errors.isEmpty() ? 0 : m_errors.first().native; }

private:
    QString m_message;
    QList<EngineError> m_errors;
    std::string m_utf8;
};

} // namespace kvl
