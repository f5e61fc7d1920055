// The connection to one data file: password gate, exclusive use for the whole
// connection, transactions, prepared statements and the engine's error list.
#pragma once

#include "DbError.h"

#include <QHash>
#include <QList>
#include <QString>

struct sqlite3;
struct sqlite3_stmt;

namespace kvl {

class Connection
{
public:
    // The mark every data file of the program carries in the engine's header.
    static constexpr qint32 kApplicationId = 0x4B564C36; // "KVL6"
    static constexpr int kFormatVersion = 1;

    Connection() = default;
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    // Writes a new, empty, marked data file whose gate accepts `password`.
    // Refuses when the file exists. The caller fills it after connecting.
    static void createDataFile(const QString &path, const QString &password);

    // Opens the file for this connection's exclusive use. Throws DbError with
    // the error list set: missing or foreign file, wrong password, or the file
    // held by another opener (then the holder's host name is in the message).
    void connect(const QString &path, const QString &password);
    void disconnect();
    bool isConnected() const { return m_db != nullptr; }
    const QString &path() const { return m_path; }

    void beginTransaction();
    void commit();
    void rollback();                  // a no-op when no transaction is open
    bool inTransaction() const;

    // Runs statements without parameters or results (a script of several is fine).
    void exec(const QString &sql);
    qint64 lastInsertId() const;
    int changes() const;

    // The engine's errors of the last failed statement, in order.
    const QList<EngineError> &errors() const { return m_errors; }
    void clearErrors() { m_errors.clear(); }

    // Builds the error list from the engine's state after a failure, stores it,
    // and throws. `context` is prefixed to nothing; it only helps debugging.
    [[noreturn]] void fail(int rc, const QString &sqlForDebug = QString());
    // For the data layer: records an error of its own making and throws it.
    [[noreturn]] void failWith(qint32 native, const QString &description);

    // The host name written into the side file by whoever holds `path`.
    static QString lockHolder(const QString &path);
    static QString lockFilePath(const QString &path);

    sqlite3 *handle() const { return m_db; }

    // Statement cache used by Statement: an idle prepared statement of this text or a new one.
    sqlite3_stmt *acquire(const QString &sql);
    void release(const QString &sql, sqlite3_stmt *stmt);

private:
    void applyKey(const QString &password); // the one place an encrypting engine would take a key
    void checkGate(const QString &password);
    void closeHandle();
    void writeLockFile();
    void removeLockFile();

    sqlite3 *m_db = nullptr;
    QString m_path;
    bool m_ownsLockFile = false;
    QList<EngineError> m_errors;
    QMultiHash<QString, sqlite3_stmt *> m_idle;
};

// Scope guard of one transaction: commits on commit(), rolls back when left otherwise.
class Transaction
{
public:
    explicit Transaction(Connection &c) : m_conn(c) { m_conn.beginTransaction(); }
    ~Transaction()
    {
        if (!m_done) {
            try { m_conn.rollback(); } catch (...) {}
        }
    }
    void commit() { m_conn.commit(); m_done = true; }
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

private:
    Connection &m_conn;
    bool m_done = false;
};

} // namespace kvl
