// Older data files for the import benchmark and fault test: the program's own
// tables filled by the sample generator at a chosen size, and a digest of the
// ten tables an import copies, so a copy can be told from the original.
#pragma once

#include "Connection.h"
#include "SampleData.h"
#include "Schema.h"
#include "Statement.h"

#include <QCryptographicHash>

namespace kvl::bench {

// The large sample scaled: 1 is 3,000 partners, 300,000 documents, 1,000,000 lines.
inline SampleData::Shape importShape(double scale)
{
    SampleData::Shape s = SampleData::large();
    s.partners = qMax(12, int(s.partners * scale));
    s.goods = qMax(12, int(s.goods * scale));
    s.staff = qMax(12, int(s.staff * scale));
    s.documents = qMax(40, int(s.documents * scale));
    s.lines = qMax(s.documents, int(s.lines * scale));
    s.busyPartnerDocs = int(s.busyPartnerDocs * scale);
    s.lastDay = QDate(2026, 6, 30);
    return s;
}

inline void writeOlderFile(const QString &path, const SampleData::Shape &shape)
{
    Schema::createDataFile(path, QStringLiteral("老版本商行"));
    Connection c;
    c.connect(path, Schema::databasePassword());
    SampleData::write(c, shape);
    c.exec(QStringLiteral("UPDATE PH SET pass='jiu'"));
}

inline QByteArray importedDigest(const QString &path)
{
    static const char *const queries[] = {
        "SELECT * FROM 公司员工 ORDER BY id", "SELECT * FROM 计量单位 ORDER BY 2, 1", "SELECT * FROM 商品产地 ORDER BY 2, 1",
        "SELECT * FROM 商品类别 ORDER BY 2, 1", "SELECT * FROM 商品资料 ORDER BY id", "SELECT * FROM 往来单位 ORDER BY id",
        "SELECT * FROM sfk ORDER BY id", "SELECT * FROM kcmx ORDER BY id", "SELECT * FROM jzmx ORDER BY id",
        "SELECT dw, zg, sp, sfk, dh_ysk, dh_yfk, dh_sk, UserName, pass FROM PH"};
    Connection c;
    c.connect(path, Schema::databasePassword());
    QCryptographicHash h(QCryptographicHash::Sha256);
    for (const char *sql : queries) {
        Statement st(c, QString::fromUtf8(sql));
        while (st.next())
            for (int i = 0; i < st.columnCount(); ++i)
                h.addData(st.value(i).toString().toUtf8() + '\x1f');
        h.addData("\x1e");
    }
    return h.result();
}

} // namespace kvl::bench
