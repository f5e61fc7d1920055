// The shared string table of a BIFF8 workbook: every distinct cell text once, in
// the order first seen, written as SST with CONTINUE records and its EXTSST index.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

namespace kvl {

class XlsStringTable
{
public:
    // The index of the text in the table, adding it when it is new.
    quint32 add(const QString &text);
    quint32 totalCount() const { return m_total; }
    quint32 uniqueCount() const { return quint32(m_strings.size()); }

    // SST, its CONTINUE records and EXTSST, for a table that starts at byte
    // 'streamOffset' of the workbook stream (EXTSST holds absolute positions).
    QByteArray records(qint64 streamOffset) const;

private:
    QHash<QString, quint32> m_index;
    QList<QString> m_strings;
    quint32 m_total = 0;
};

} // namespace kvl
