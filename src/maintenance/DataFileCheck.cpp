// The check of a data file before it takes the place of KVL.DTA.
#include "DataFileCheck.h"

#include "Connection.h"
#include "MaintenanceError.h"
#include "Statement.h"

namespace kvl {

void DataFileCheck::verify(const QString &path, const QString &password)
{
    Connection conn;
    try {
        conn.connect(path, password);
        QStringList problems;
        {
            Statement check(conn, QStringLiteral("PRAGMA integrity_check"));
            while (check.next())
                problems << check.text(0);
        }
        conn.disconnect();
        if (problems != QStringList{QStringLiteral("ok")})
            throw MaintenanceError(QString(), QStringLiteral("数据文件已损坏：%1").arg(problems.join(QLatin1Char(';'))));
    } catch (const DbError &e) {
        throw MaintenanceError(QString(), e.message());
    }
}

} // namespace kvl
