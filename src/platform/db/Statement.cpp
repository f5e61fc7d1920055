// Prepared statements with parameter binding and column access.
#include "Statement.h"

#include "Connection.h"
#include "DbError.h"

#include <sqlite3.h>

namespace kvl {

Statement::Statement(Connection &conn, const QString &sql) : m_conn(conn), m_sql(sql)
{
    m_stmt = m_conn.acquire(sql);
}

Statement::~Statement()
{
    if (m_stmt)
        m_conn.release(m_sql, m_stmt);
}

static bool nameMatches(const char *paramName, const QString &wanted)
{
    if (!paramName)
        return false;
    const QString n = QString::fromUtf8(paramName + 1); // skip ':', '@' or '$'
    return n.compare(wanted, Qt::CaseInsensitive) == 0;
}

static QString stripColon(const QString &name)
{
    return name.startsWith(QLatin1Char(':')) ? name.mid(1) : name;
}

bool Statement::hasParameter(const QString &name) const
{
    const QString wanted = stripColon(name);
    const int n = sqlite3_bind_parameter_count(m_stmt);
    for (int i = 1; i <= n; ++i)
        if (nameMatches(sqlite3_bind_parameter_name(m_stmt, i), wanted))
            return true;
    return false;
}

void Statement::bind(const QString &name, const Value &v)
{
    const QString wanted = stripColon(name);
    const int n = sqlite3_bind_parameter_count(m_stmt);
    bool found = false;
    for (int i = 1; i <= n; ++i) {
        if (nameMatches(sqlite3_bind_parameter_name(m_stmt, i), wanted)) {
            bindAt(i, v);
            found = true;
        }
    }
    if (!found)
        throw DbError(QStringLiteral("参数 %1 不存在").arg(wanted));
}

void Statement::bind(int position, const Value &v)
{
    if (position < 1 || position > sqlite3_bind_parameter_count(m_stmt))
        throw DbError(QStringLiteral("参数位置 %1 超出范围").arg(position));
    bindAt(position, v);
}

int Statement::parameterCount() const { return sqlite3_bind_parameter_count(m_stmt); }

QString Statement::parameterName(int position) const
{
    const char *n = sqlite3_bind_parameter_name(m_stmt, position);
    return n ? QString::fromUtf8(n + 1) : QString();
}

void Statement::bindAt(int index, const Value &v)
{
    if (m_started)
        reset();
    int rc = SQLITE_OK;
    switch (v.type()) {
    case ValueType::Null:
        rc = sqlite3_bind_null(m_stmt, index);
        break;
    case ValueType::Integer:
    case ValueType::Boolean:
        rc = sqlite3_bind_int64(m_stmt, index, v.toInt());
        break;
    case ValueType::Money:
        rc = sqlite3_bind_int64(m_stmt, index, v.moneyUnits());
        break;
    case ValueType::Float:
        rc = sqlite3_bind_double(m_stmt, index, v.toDouble());
        break;
    case ValueType::DateTime: {
        const QByteArray t = Value::dateTimeText(v.dateTimeSecs()).toUtf8();
        rc = sqlite3_bind_text(m_stmt, index, t.constData(), int(t.size()), SQLITE_TRANSIENT);
        break;
    }
    case ValueType::Text: {
        const QByteArray t = v.toString().toUtf8();
        rc = sqlite3_bind_text(m_stmt, index, t.constData(), int(t.size()), SQLITE_TRANSIENT);
        break;
    }
    case ValueType::Bytes: {
        const QByteArray b = v.toBytes();
        rc = sqlite3_bind_blob(m_stmt, index, b.constData(), int(b.size()), SQLITE_TRANSIENT);
        break;
    }
    }
    if (rc != SQLITE_OK)
        m_conn.fail(rc, m_sql);
}

bool Statement::next()
{
    if (m_done)
        return false;
    if (!m_started) {
        m_conn.clearErrors();
        m_started = true;
    }
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    m_done = true;
    if (rc == SQLITE_DONE)
        return false;
    // Reset first so the statement does not keep a half-run transaction alive.
    sqlite3_reset(m_stmt);
    m_conn.fail(rc, m_sql);
}

void Statement::exec()
{
    while (next()) {
    }
}

void Statement::execOnRow()
{
    exec();
    if (sqlite3_changes(m_conn.handle()) == 0)
        m_conn.failWith(NativeError::RowChanged,
                        QStringLiteral("该记录已被其他用户删除或更改，不能按读出时的内容写入。"));
}

void Statement::reset()
{
    sqlite3_reset(m_stmt);
    m_started = false;
    m_done = false;
}

int Statement::columnCount() const { return sqlite3_column_count(m_stmt); }

QString Statement::columnName(int col) const { return QString::fromUtf8(sqlite3_column_name(m_stmt, col)); }

QString Statement::columnTable(int col) const
{
    const char *t = sqlite3_column_table_name(m_stmt, col);
    return t ? QString::fromUtf8(t) : QString();
}

QString Statement::columnOrigin(int col) const
{
    const char *t = sqlite3_column_origin_name(m_stmt, col);
    return t ? QString::fromUtf8(t) : QString();
}

QString Statement::columnDeclType(int col) const
{
    const char *t = sqlite3_column_decltype(m_stmt, col);
    return t ? QString::fromUtf8(t) : QString();
}

int Statement::columnEngineType(int col) const { return sqlite3_column_type(m_stmt, col); }

bool Statement::isNull(int col) const { return sqlite3_column_type(m_stmt, col) == SQLITE_NULL; }

qint64 Statement::int64(int col) const { return sqlite3_column_int64(m_stmt, col); }

double Statement::real(int col) const { return sqlite3_column_double(m_stmt, col); }

QString Statement::text(int col) const
{
    const auto *p = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, col));
    return p ? QString::fromUtf8(p, sqlite3_column_bytes(m_stmt, col)) : QString();
}

QByteArray Statement::blob(int col) const
{
    const void *p = sqlite3_column_blob(m_stmt, col);
    const int n = sqlite3_column_bytes(m_stmt, col);
    return p ? QByteArray(static_cast<const char *>(p), n) : QByteArray();
}

Value Statement::value(int col) const
{
    switch (sqlite3_column_type(m_stmt, col)) {
    case SQLITE_INTEGER:
        return Value::integer(int64(col));
    case SQLITE_FLOAT:
        return Value::real(real(col));
    case SQLITE_TEXT:
        return Value(text(col));
    case SQLITE_BLOB:
        return Value::bytes(blob(col));
    default:
        return Value();
    }
}

} // namespace kvl
