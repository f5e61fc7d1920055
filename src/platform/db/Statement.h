// A prepared statement on a Connection: named (":name", matched without regard
// to case) and positional ("?") parameters, stepping, column values.
#pragma once

#include "Value.h"

#include <QString>

struct sqlite3_stmt;

namespace kvl {

class Connection;

class Statement
{
public:
    Statement(Connection &conn, const QString &sql);
    ~Statement();
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    // Binds every occurrence of the named parameter; the leading colon is optional.
    // Throws DbError when the statement has no such parameter.
    void bind(const QString &name, const Value &v);
    void bind(int position, const Value &v); // 1-based, in order of appearance
    bool hasParameter(const QString &name) const;
    int parameterCount() const;
    QString parameterName(int position) const; // without its leading colon

    bool next();  // true while a row is there; throws DbError on failure
    void exec();  // runs to the end
    // Runs an UPDATE or DELETE that must find its row; when the row is gone the
    // failure is the engine's "row cannot be written as it was read".
    void execOnRow();
    void reset(); // ready to run again with the bindings kept

    int columnCount() const;
    QString columnName(int col) const;
    QString columnTable(int col) const;  // originating table, empty for expressions
    QString columnOrigin(int col) const; // originating column, empty for expressions
    QString columnDeclType(int col) const;
    int columnEngineType(int col) const; // the engine's storage class of the current row's value
    bool isNull(int col) const;
    qint64 int64(int col) const;
    double real(int col) const;
    QString text(int col) const;
    QByteArray blob(int col) const;
    Value value(int col) const; // Integer, Float, Text, Bytes or Null as stored

    sqlite3_stmt *handle() const { return m_stmt; }
    const QString &sql() const { return m_sql; }

private:
    void bindAt(int index, const Value &v);

    Connection &m_conn;
    QString m_sql;
    sqlite3_stmt *m_stmt = nullptr;
    bool m_started = false;
    bool m_done = false;
};

} // namespace kvl
