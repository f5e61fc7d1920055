// Interning of column texts and their collation ranks.
#include "StringPool.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>
#include <cstring>
#include <numeric>

namespace kvl {

StringPool::StringPool()
{
    m_offsets = {0, 0}; // entry 0: NULL, empty span
    m_hashes = {0};
    m_slots.assign(64, 0);
}

quint32 StringPool::hashOf(const char *p, qsizetype len)
{
    // Eight bytes a step with a multiply-rotate mix: column texts are short, and
    // hashing them is a large part of fetching a result.
    quint64 h = quint64(len) * 0x9E3779B97F4A7C15ull;
    qsizetype i = 0;
    for (; i + 8 <= len; i += 8) {
        quint64 w;
        std::memcpy(&w, p + i, 8);
        h = ((h << 5) | (h >> 59)) ^ w;
        h *= 0x517CC1B727220A95ull;
    }
    if (i < len) {
        quint64 w = 0;
        std::memcpy(&w, p + i, size_t(len - i));
        h = ((h << 5) | (h >> 59)) ^ w;
        h *= 0x517CC1B727220A95ull;
    }
    h ^= h >> 29;
    return quint32(h >> 32) | 1u; // never 0, so an empty slot is never mistaken for an entry
}

quint32 StringPool::find(const char *utf8, qsizetype len) const
{
    const quint32 h = hashOf(utf8, len);
    const size_t mask = m_slots.size() - 1;
    for (size_t s = h & mask;; s = (s + 1) & mask) {
        const quint64 slot = m_slots[s];
        if (slot == 0)
            return kAbsent;
        const quint32 e = quint32(slot);
        if (quint32(slot >> 32) == h) {
            const QByteArrayView b = bytes(e);
            if (b.size() == len && std::memcmp(b.data(), utf8, size_t(len)) == 0)
                return e;
        }
    }
}

quint32 StringPool::find(const QString &text) const
{
    if (text.isNull())
        return kNull;
    const QByteArray u = text.toUtf8();
    return find(u.constData(), u.size());
}

quint32 StringPool::intern(const char *utf8, qsizetype len)
{
    // A column often repeats the text of the row before (the document's fields on
    // each of its lines): that is found without hashing.
    if (m_last != kNull) {
        const QByteArrayView b = bytes(m_last);
        if (b.size() == len && (len == 0 || std::memcmp(b.data(), utf8, size_t(len)) == 0))
            return m_last;
    }
    m_last = internHashed(utf8, len);
    return m_last;
}

quint32 StringPool::internHashed(const char *utf8, qsizetype len)
{
    const quint32 h = hashOf(utf8, len);
    const size_t mask = m_slots.size() - 1;
    size_t s = h & mask;
    for (;; s = (s + 1) & mask) {
        const quint64 slot = m_slots[s];
        if (slot == 0)
            break;
        const quint32 e = quint32(slot);
        if (quint32(slot >> 32) == h) {
            const QByteArrayView b = bytes(e);
            if (b.size() == len && std::memcmp(b.data(), utf8, size_t(len)) == 0)
                return e;
        }
    }
    const quint32 index = size();
    m_arena.insert(m_arena.end(), utf8, utf8 + len);
    m_offsets.push_back(quint32(m_arena.size()));
    m_hashes.push_back(h);
    m_slots[s] = quint64(h) << 32 | index;
    if (size_t(size()) * 2 > m_slots.size())
        grow();
    return index;
}

quint32 StringPool::intern(const QString &text)
{
    if (text.isNull())
        return kNull;
    const QByteArray u = text.toUtf8();
    return intern(u.constData(), u.size());
}

void StringPool::grow()
{
    std::vector<quint64> table(m_slots.size() * 2, 0);
    const size_t mask = table.size() - 1;
    for (quint32 e = 1; e < size(); ++e) {
        size_t s = m_hashes[e] & mask;
        while (table[s] != 0)
            s = (s + 1) & mask;
        table[s] = quint64(m_hashes[e]) << 32 | e;
    }
    m_slots.swap(table);
}

QString StringPool::text(quint32 index) const
{
    if (index == kNull)
        return QString();
    const QByteArrayView b = bytes(index);
    return QString::fromUtf8(b.data(), b.size());
}

const std::vector<quint32> &StringPool::ranks() const
{
    if (m_ranks.size() == size())
        return m_ranks;
    QCollator collator{QLocale(QLocale::Chinese, QLocale::China)};
    const quint32 n = size();
    std::vector<QCollatorSortKey> keys;
    keys.reserve(n);
    keys.push_back(collator.sortKey(QString()));
    for (quint32 e = 1; e < n; ++e)
        keys.push_back(collator.sortKey(text(e)));
    std::vector<quint32> order(n - 1);
    std::iota(order.begin(), order.end(), 1u);
    std::sort(order.begin(), order.end(), [&](quint32 a, quint32 b) {
        const int c = keys[a].compare(keys[b]);
        if (c != 0)
            return c < 0;
        // Texts the collation calls equal (case variants) still get a fixed order.
        return std::lexicographical_compare(bytes(a).begin(), bytes(a).end(), bytes(b).begin(), bytes(b).end());
    });
    m_ranks.assign(n, 0);
    quint32 rank = 1;
    for (size_t i = 0; i < order.size(); ++i) {
        if (i > 0 && bytes(order[i]) != bytes(order[i - 1]))
            ++rank;
        m_ranks[order[i]] = rank;
    }
    return m_ranks;
}

size_t StringPool::memoryBytes() const
{
    return m_arena.capacity() + (m_offsets.capacity() + m_hashes.capacity() + m_ranks.capacity()) * sizeof(quint32)
           + m_slots.capacity() * sizeof(quint64);
}

} // namespace kvl
