// A vector of signed integers that stores each element in the narrowest width
// (1, 2, 4 or 8 bytes) that every element so far fits, widening on demand.
#pragma once

#include <QtGlobal>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace kvl {

class PackedInts
{
public:
    int width() const { return m_width; }
    qsizetype size() const { return m_size; }
    void reserve(qsizetype n) { m_bytes.reserve(size_t(n) * size_t(m_width)); }

    qint64 at(qsizetype i) const
    {
        const char *p = m_bytes.data() + size_t(i) * size_t(m_width);
        switch (m_width) {
        case 1: return qint64(*reinterpret_cast<const int8_t *>(p));
        case 2: { int16_t v; std::memcpy(&v, p, 2); return v; }
        case 4: { int32_t v; std::memcpy(&v, p, 4); return v; }
        default: { int64_t v; std::memcpy(&v, p, 8); return v; }
        }
    }

    void append(qint64 v)
    {
        const int need = widthFor(v);
        if (need > m_width)
            widen(need);
        // The bytes grow in doubling steps; those past m_size are spare room.
        const size_t end = size_t(m_size + 1) * size_t(m_width);
        if (end > m_bytes.size())
            m_bytes.resize(std::max({end, m_bytes.size() * 2, size_t(64)}));
        put(m_size++, v);
    }

    void set(qsizetype i, qint64 v)
    {
        const int need = widthFor(v);
        if (need > m_width)
            widen(need);
        put(i, v);
    }

    void shrinkToFit()
    {
        m_bytes.resize(size_t(m_size) * size_t(m_width));
        m_bytes.shrink_to_fit();
    }
    size_t memoryBytes() const { return m_bytes.capacity(); }

    static int widthFor(qint64 v)
    {
        if (v >= INT8_MIN && v <= INT8_MAX)
            return 1;
        if (v >= INT16_MIN && v <= INT16_MAX)
            return 2;
        if (v >= INT32_MIN && v <= INT32_MAX)
            return 4;
        return 8;
    }

private:
    void put(qsizetype i, qint64 v)
    {
        char *p = m_bytes.data() + size_t(i) * size_t(m_width);
        switch (m_width) {
        case 1: { int8_t x = int8_t(v); std::memcpy(p, &x, 1); break; }
        case 2: { int16_t x = int16_t(v); std::memcpy(p, &x, 2); break; }
        case 4: { int32_t x = int32_t(v); std::memcpy(p, &x, 4); break; }
        default: { int64_t x = v; std::memcpy(p, &x, 8); break; }
        }
    }
    void widen(int w);

    std::vector<char> m_bytes;
    qsizetype m_size = 0;
    int m_width = 1;
};

} // namespace kvl
