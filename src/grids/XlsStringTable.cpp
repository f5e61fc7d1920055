// SST records: strings split across CONTINUE records as Excel expects (a string's
// header never split, each continued part led by its own option byte).
#include "XlsStringTable.h"

#include "BiffRecord.h"

namespace kvl {

using namespace biff;

quint32 XlsStringTable::add(const QString &text)
{
    ++m_total;
    auto it = m_index.constFind(text);
    if (it != m_index.constEnd())
        return it.value();
    const quint32 index = quint32(m_strings.size());
    m_index.insert(text, index);
    m_strings.append(text);
    return index;
}

QByteArray XlsStringTable::records(qint64 streamOffset) const
{
    QByteArray out;
    qsizetype recordStart = 0;
    auto begin = [&](quint16 id) {
        recordStart = out.size();
        put16(out, id);
        put16(out, 0);
    };
    auto end = [&] {
        const qsizetype length = out.size() - recordStart - 4;
        set16(out.data() + recordStart + 2, quint16(length));
    };
    auto room = [&] { return kMaxRecordBody - (out.size() - recordStart - 4); };

    const quint32 unique = uniqueCount();
    // Excel keeps at most 128 buckets in EXTSST, at least 8 strings each.
    const quint32 perBucket = qMax<quint32>(8, (unique + 127) / 128);
    QByteArray buckets;

    begin(kSst);
    put32(out, m_total);
    put32(out, unique);
    for (quint32 k = 0; k < unique; ++k) {
        const QString &s = m_strings.at(k);
        const bool compressed = fitsCompressed(s);
        const qsizetype charSize = compressed ? 1 : 2;
        if (room() < 3 + charSize) {
            end();
            begin(kContinue);
        }
        if (k % perBucket == 0) {
            put32(buckets, quint32(streamOffset + out.size()));
            put16(buckets, quint16(out.size() - recordStart));
            put16(buckets, 0);
        }
        put16(out, quint16(s.size()));
        put8(out, compressed ? 0x00 : 0x01);
        qsizetype done = 0;
        while (done < s.size()) {
            const qsizetype fit = room() / charSize;
            if (fit == 0) {
                end();
                begin(kContinue);
                put8(out, compressed ? 0x00 : 0x01);
                continue;
            }
            const qsizetype n = qMin(fit, s.size() - done);
            putChars(out, s.constData() + done, n, compressed);
            done += n;
        }
    }
    end();

    QByteArray ext;
    put16(ext, quint16(perBucket));
    ext.append(buckets);
    appendRecord(out, kExtSst, ext);
    return out;
}

} // namespace kvl
