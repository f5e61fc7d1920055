// Small real data files for the maintenance tests: made through the connection's
// own gate, filled with partners of Chinese names and integer amounts, read back
// as one digest of their content; and a file size limit that acts as a full disk.
#pragma once

#include "Connection.h"
#include "Statement.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#include <csignal>
#include <sys/resource.h>

namespace kvl::testdata {

inline const QString kPassword = QStringLiteral("PlumHarbor7|XRZ");

inline QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(bytes);
}

// Rows first..first+count-1 of the partner table, of a few hundred bytes each.
inline void addPartners(Connection &conn, int first, int count)
{
    Transaction t(conn);
    Statement ins(conn, QStringLiteral("INSERT INTO 往来单位(id, 单位名称, 通信地址, 余额) VALUES(?, ?, ?, ?)"));
    for (int i = first; i < first + count; ++i) {
        ins.bind(1, Value::integer(i));
        ins.bind(2, Value(QStringLiteral("上海华东五金交电有限公司第%1分公司").arg(i)));
        ins.bind(3, Value(QStringLiteral("浙江省杭州市西湖区文三路%1号").arg(i).repeated(4)));
        ins.bind(4, Value::integer(qint64(i) * 12345));
        ins.exec();
        ins.reset();
    }
    t.commit();
}

// A data file with `partners` rows and a parameter row naming `company`.
inline void makeDataFile(const QString &path, int partners, const QString &company = QStringLiteral("杭州测试商行"),
                         const QString &password = kPassword)
{
    Connection::createDataFile(path, password);
    Connection conn;
    conn.connect(path, password);
    conn.exec(QStringLiteral(
        "CREATE TABLE 往来单位(id INTEGER PRIMARY KEY, 单位名称 TEXT NOT NULL, 通信地址 TEXT, 余额 INTEGER) STRICT;"
        "CREATE TABLE PH(UserName TEXT, dh_ysk INTEGER) STRICT;"));
    Statement ph(conn, QStringLiteral("INSERT INTO PH VALUES(?, 0)"));
    ph.bind(1, Value(company));
    ph.exec();
    addPartners(conn, 1, partners);
}

inline void deletePartners(const QString &path, const QString &where)
{
    Connection conn;
    conn.connect(path, kPassword);
    conn.exec(QStringLiteral("DELETE FROM 往来单位 WHERE ") + where);
}

// The content of the tables, independent of how the file lays it out.
inline QByteArray contentDigest(const QString &path)
{
    Connection conn;
    conn.connect(path, kPassword);
    QCryptographicHash h(QCryptographicHash::Sha256);
    for (const char *sql : {"SELECT id, 单位名称, 通信地址, 余额 FROM 往来单位 ORDER BY id", "SELECT UserName, dh_ysk FROM PH"}) {
        Statement st(conn, QString::fromUtf8(sql));
        while (st.next())
            for (int c = 0; c < st.columnCount(); ++c)
                h.addData(st.value(c).toString().toUtf8() + '\x1f');
    }
    return h.result();
}

// Files a crash or a failed step could leave beside the data file.
inline QStringList leftovers(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral("~*"), QStringLiteral("*-journal"), QStringLiteral("*.lock")},
                                  QDir::Files | QDir::Hidden);
}

// Lowers this process's file size limit for one scope: writes past it fail as on a full disk.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit lower = m_old;
        lower.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lower);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_old); }

private:
    rlimit m_old{};
};

} // namespace kvl::testdata
