// Widening of packed integer vectors.
#include "PackedInts.h"

#include <algorithm>

namespace kvl {

void PackedInts::widen(int w)
{
    PackedInts wider;
    wider.m_width = w;
    wider.m_bytes.reserve(std::max(m_bytes.capacity() / size_t(m_width), size_t(m_size) + 1) * size_t(w));
    wider.m_bytes.resize(size_t(m_size) * size_t(w));
    for (qsizetype i = 0; i < m_size; ++i)
        wider.put(i, at(i));
    wider.m_size = m_size;
    *this = std::move(wider);
}

} // namespace kvl
