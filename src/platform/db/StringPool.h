// The distinct texts of one column, each held once as UTF-8; rows refer to
// them by index. Index 0 stands for NULL, so a text column needs no null bitmap.
#pragma once

#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <vector>

namespace kvl {

class StringPool
{
public:
    static constexpr quint32 kNull = 0;
    static constexpr quint32 kAbsent = 0xFFFFFFFFu;

    StringPool();

    // The index of the text, adding it when new.
    quint32 intern(const char *utf8, qsizetype len);
    quint32 intern(const QString &text);
    // The index of the text, or kAbsent when the pool does not hold it.
    quint32 find(const char *utf8, qsizetype len) const;
    quint32 find(const QString &text) const;

    // Entries, NULL included.
    quint32 size() const { return quint32(m_offsets.size() - 1); }
    QByteArrayView bytes(quint32 index) const
    {
        return QByteArrayView(m_arena.data() + m_offsets[index], qsizetype(m_offsets[index + 1] - m_offsets[index]));
    }
    QString text(quint32 index) const;

    // Collation ranks of every entry in the order a Chinese desktop sorts text
    // (pinyin for Chinese characters); equal texts share a rank, NULL ranks lowest.
    // Computed once and kept until the pool grows.
    const std::vector<quint32> &ranks() const;

    size_t memoryBytes() const;
    size_t textBytes() const { return m_arena.size(); }

private:
    static quint32 hashOf(const char *p, qsizetype len);
    quint32 internHashed(const char *utf8, qsizetype len);
    void grow();

    std::vector<char> m_arena;
    std::vector<quint32> m_offsets; // entry i spans [m_offsets[i], m_offsets[i + 1])
    std::vector<quint32> m_hashes;  // per entry, for growing the table
    std::vector<quint64> m_slots;   // open addressing: hash << 32 | entry index; 0 empty
    mutable std::vector<quint32> m_ranks;
    quint32 m_last = kNull; // the entry the last intern() gave
};

} // namespace kvl
