// The data-file connection: gate, exclusive lock, side file, transactions,
// statement cache and the mapping of engine conditions onto native numbers.
#include "Connection.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QSysInfo>

#include <sqlite3.h>

namespace kvl {

namespace {

const char kMissingTag[] = "KVL-MISSING:";
const char kReferencedTag[] = "KVL-REFERENCED:";

QByteArray verifier(const QByteArray &salt, const QString &password)
{
    QCryptographicHash h(QCryptographicHash::Sha256);
    h.addData(salt);
    h.addData(password.toUtf8());
    return h.result();
}

// Runs one statement on a raw handle; returns the engine's result code.
int rawExec(sqlite3 *db, const char *sql)
{
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
}

} // namespace

Connection::~Connection()
{
    disconnect();
}

QString Connection::lockFilePath(const QString &path)
{
    return path + QStringLiteral(".lock");
}

QString Connection::lockHolder(const QString &path)
{
    QFile f(lockFilePath(path));
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(f.readAll()).trimmed();
}

void Connection::createDataFile(const QString &path, const QString &password)
{
    if (QFileInfo::exists(path))
        throw DbError(QStringLiteral("文件已存在：%1").arg(path));
    sqlite3 *db = nullptr;
    int rc = sqlite3_open_v2(path.toUtf8().constData(), &db,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    auto bail = [&](const QString &what) {
        const QString msg = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString();
        sqlite3_close_v2(db);
        QFile::remove(path);
        throw DbError(what + QStringLiteral("：") + msg);
    };
    if (rc != SQLITE_OK)
        bail(QStringLiteral("不能建立数据文件"));
    const QByteArray setup = QStringLiteral(
        "PRAGMA application_id=%1; PRAGMA user_version=%2; "
        "CREATE TABLE kvl_gate(salt BLOB NOT NULL, verifier BLOB NOT NULL) STRICT;")
        .arg(kApplicationId).arg(kFormatVersion).toUtf8();
    if (rawExec(db, setup.constData()) != SQLITE_OK)
        bail(QStringLiteral("不能建立数据文件"));
    QByteArray salt(16, '\0');
    for (char &c : salt)
        c = char(QRandomGenerator::system()->bounded(256));
    const QByteArray ver = verifier(salt, password);
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO kvl_gate(salt, verifier) VALUES(?, ?)", -1, &st, nullptr);
    sqlite3_bind_blob(st, 1, salt.constData(), int(salt.size()), SQLITE_TRANSIENT);
    sqlite3_bind_blob(st, 2, ver.constData(), int(ver.size()), SQLITE_TRANSIENT);
    rc = sqlite3_step(st);
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE)
        bail(QStringLiteral("不能建立数据文件"));
    sqlite3_close_v2(db);
}

void Connection::applyKey(const QString &password)
{
    // The engine here does not encrypt; the gate table carries the password check.
    // An encrypting build of the engine would take the key at this point.
    Q_UNUSED(password);
}

void Connection::connect(const QString &path, const QString &password)
{
    disconnect();
    m_errors.clear();
    if (!QFileInfo(path).isFile())
        failWith(NativeError::NotDataFile, QStringLiteral("找不到文件“%1”。").arg(path));

    // One thread uses a connection: the engine need not lock around every call,
    // which fetching a large result makes a great many of.
    int rc = sqlite3_open_v2(path.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const QString msg = QString::fromUtf8(m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(rc));
        closeHandle();
        failWith(rc, msg);
    }
    m_path = path;
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_timeout(m_db, 0);
    applyKey(password);

    // Exclusive for the connection's whole life: the lock taken here is never released.
    rc = rawExec(m_db, "PRAGMA locking_mode=EXCLUSIVE");
    if (rc == SQLITE_OK)
        rc = rawExec(m_db, "BEGIN EXCLUSIVE");
    if ((rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED) {
        QString host = lockHolder(path);
        if (host.isEmpty())
            host = QStringLiteral("未知");
        closeHandle();
        failWith(NativeError::Locked,
                 QStringLiteral("文件已在使用中。数据库已被机器 '%1' 上的用户 'Admin' 以独占方式打开。").arg(host));
    }
    if (rc != SQLITE_OK) {
        const int code = rc;
        closeHandle();
        if ((code & 0xff) == SQLITE_NOTADB)
            failWith(NativeError::NotDataFile, QStringLiteral("不可识别的数据库格式“%1”。").arg(path));
        failWith(code, QStringLiteral("不能打开数据文件“%1”。").arg(path));
    }
    try {
        checkGate(password);
    } catch (...) {
        rawExec(m_db, "ROLLBACK");
        closeHandle();
        throw;
    }
    rawExec(m_db, "COMMIT");
    rawExec(m_db, "PRAGMA synchronous=FULL");
    rawExec(m_db, "PRAGMA journal_mode=DELETE");
    rawExec(m_db, "PRAGMA foreign_keys=OFF");
    // Held exclusively, the file's pages stay valid in the engine's cache between
    // statements; a cache that holds years of documents and lines lets a repeated
    // statistics query read them from memory instead of the file each time.
    rawExec(m_db, "PRAGMA cache_size=-131072");
    writeLockFile();
}

void Connection::checkGate(const QString &password)
{
    auto notOurs = [&] {
        failWith(NativeError::NotDataFile, QStringLiteral("不可识别的数据库格式“%1”。").arg(m_path));
    };
    sqlite3_stmt *st = nullptr;
    int rc = sqlite3_prepare_v2(m_db, "PRAGMA application_id", -1, &st, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(st);
        notOurs();
    }
    rc = sqlite3_step(st);
    const qint64 appId = rc == SQLITE_ROW ? sqlite3_column_int64(st, 0) : 0;
    sqlite3_finalize(st);
    if (rc != SQLITE_ROW || appId != kApplicationId)
        notOurs();

    rc = sqlite3_prepare_v2(m_db, "SELECT salt, verifier FROM kvl_gate", -1, &st, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(st);
        notOurs();
    }
    bool ok = false;
    if (sqlite3_step(st) == SQLITE_ROW) {
        const QByteArray salt(static_cast<const char *>(sqlite3_column_blob(st, 0)), sqlite3_column_bytes(st, 0));
        const QByteArray stored(static_cast<const char *>(sqlite3_column_blob(st, 1)), sqlite3_column_bytes(st, 1));
        ok = stored == verifier(salt, password);
    }
    sqlite3_finalize(st);
    if (!ok)
        failWith(NativeError::BadPassword, QStringLiteral("密码无效。"));
}

void Connection::writeLockFile()
{
    QSaveFile f(lockFilePath(m_path));
    if (f.open(QIODevice::WriteOnly)) {
        f.write(QSysInfo::machineHostName().toUtf8());
        m_ownsLockFile = f.commit();
    }
}

void Connection::removeLockFile()
{
    if (m_ownsLockFile)
        QFile::remove(lockFilePath(m_path));
    m_ownsLockFile = false;
}

void Connection::closeHandle()
{
    for (sqlite3_stmt *st : std::as_const(m_idle))
        sqlite3_finalize(st);
    m_idle.clear();
    if (m_db)
        sqlite3_close_v2(m_db);
    m_db = nullptr;
}

void Connection::disconnect()
{
    if (!m_db)
        return;
    if (!sqlite3_get_autocommit(m_db))
        rawExec(m_db, "ROLLBACK");
    closeHandle();
    // In exclusive mode the engine may keep an emptied journal beside the file.
    const QString journal = m_path + QStringLiteral("-journal");
    if (QFileInfo(journal).size() == 0)
        QFile::remove(journal);
    removeLockFile();
    m_path.clear();
}

bool Connection::inTransaction() const
{
    return m_db && !sqlite3_get_autocommit(m_db);
}

void Connection::beginTransaction()
{
    if (!m_db)
        failWith(NativeError::NotDataFile, QStringLiteral("没有连接数据库。"));
    if (inTransaction())
        failWith(1, QStringLiteral("已有一个事务正在进行。"));
    exec(QStringLiteral("BEGIN"));
}

void Connection::commit()
{
    exec(QStringLiteral("COMMIT"));
}

void Connection::rollback()
{
    // Keeps the error list: callers roll back first and read the errors afterwards.
    if (inTransaction())
        rawExec(m_db, "ROLLBACK");
}

void Connection::exec(const QString &sql)
{
    if (!m_db)
        failWith(NativeError::NotDataFile, QStringLiteral("没有连接数据库。"));
    m_errors.clear();
    const int rc = rawExec(m_db, sql.toUtf8().constData());
    if (rc != SQLITE_OK)
        fail(rc, sql);
}

qint64 Connection::lastInsertId() const { return m_db ? sqlite3_last_insert_rowid(m_db) : 0; }

int Connection::changes() const { return m_db ? sqlite3_changes(m_db) : 0; }

void Connection::fail(int rc, const QString &sqlForDebug)
{
    Q_UNUSED(sqlForDebug);
    const int ext = m_db ? sqlite3_extended_errcode(m_db) : rc;
    QString msg = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString::fromUtf8(sqlite3_errstr(rc));
    const int primary = ext & 0xff;
    qint32 native = ext;
    if (msg.startsWith(QLatin1String(kMissingTag))) {
        native = NativeError::MissingMaster;
        msg = msg.mid(int(sizeof kMissingTag) - 1);
    } else if (msg.startsWith(QLatin1String(kReferencedTag))) {
        native = NativeError::Referenced;
        msg = msg.mid(int(sizeof kReferencedTag) - 1);
    } else if (ext == SQLITE_CONSTRAINT_PRIMARYKEY || ext == SQLITE_CONSTRAINT_UNIQUE
               || ext == SQLITE_CONSTRAINT_ROWID) {
        native = NativeError::Collision;
        msg = QStringLiteral("不能新建记录：已有相同关键字的记录（%1）。").arg(msg);
    } else if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED) {
        native = NativeError::Busy;
        msg = QStringLiteral("数据库引擎忙（%1）。").arg(msg);
    }
    failWith(native, msg);
}

void Connection::failWith(qint32 native, const QString &description)
{
    m_errors = {EngineError{native, description}};
    throw DbError(description, m_errors);
}

sqlite3_stmt *Connection::acquire(const QString &sql)
{
    if (!m_db)
        failWith(NativeError::NotDataFile, QStringLiteral("没有连接数据库。"));
    auto it = m_idle.find(sql);
    if (it != m_idle.end()) {
        sqlite3_stmt *st = it.value();
        m_idle.erase(it);
        return st;
    }
    const QByteArray utf8 = sql.toUtf8();
    sqlite3_stmt *st = nullptr;
    const char *tail = nullptr;
    m_errors.clear();
    const int rc = sqlite3_prepare_v3(m_db, utf8.constData(), int(utf8.size()), SQLITE_PREPARE_PERSISTENT, &st, &tail);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(st);
        fail(rc, sql);
    }
    if (!st)
        failWith(SQLITE_MISUSE, QStringLiteral("空的SQL语句。"));
    if (tail && QByteArray(tail).trimmed().size() > 0 && QByteArray(tail).trimmed() != ";") {
        sqlite3_finalize(st);
        failWith(SQLITE_MISUSE, QStringLiteral("一次只能执行一条SQL语句。"));
    }
    return st;
}

void Connection::release(const QString &sql, sqlite3_stmt *stmt)
{
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    if (m_db && m_idle.count(sql) < 2)
        m_idle.insert(sql, stmt);
    else
        sqlite3_finalize(stmt);
}

} // namespace kvl
