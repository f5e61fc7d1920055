// Little-endian building blocks of BIFF8 records, shared by the workbook writer
// and its string table.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstring>

namespace kvl::biff {

constexpr quint16 kBof = 0x0809;
constexpr quint16 kEof = 0x000A;
constexpr quint16 kCodepage = 0x0042;
constexpr quint16 kWindow1 = 0x003D;
constexpr quint16 kDateMode = 0x0022;
constexpr quint16 kPrecision = 0x000E;
constexpr quint16 kFont = 0x0031;
constexpr quint16 kFormat = 0x041E;
constexpr quint16 kXf = 0x00E0;
constexpr quint16 kStyle = 0x0293;
constexpr quint16 kBoundSheet = 0x0085;
constexpr quint16 kSst = 0x00FC;
constexpr quint16 kExtSst = 0x00FF;
constexpr quint16 kContinue = 0x003C;
constexpr quint16 kColInfo = 0x007D;
constexpr quint16 kDimensions = 0x0200;
constexpr quint16 kLabelSst = 0x00FD;
constexpr quint16 kNumber = 0x0203;
constexpr quint16 kWindow2 = 0x023E;

// The largest body of one record; longer data continues in CONTINUE records.
constexpr qsizetype kMaxRecordBody = 8224;

inline void put8(QByteArray &b, quint8 v) { b.append(char(v)); }
inline void put16(QByteArray &b, quint16 v) { b.append(char(v & 0xFF)).append(char(v >> 8)); }
inline void put32(QByteArray &b, quint32 v) { put16(b, quint16(v & 0xFFFF)); put16(b, quint16(v >> 16)); }

inline void set16(char *p, quint16 v) { p[0] = char(v & 0xFF); p[1] = char(v >> 8); }
inline void set32(char *p, quint32 v) { set16(p, quint16(v & 0xFFFF)); set16(p + 2, quint16(v >> 16)); }
inline void setDouble(char *p, double v)
{
    static_assert(sizeof(double) == 8);
    quint64 bits;
    std::memcpy(&bits, &v, 8);
    set32(p, quint32(bits & 0xFFFFFFFFu));
    set32(p + 4, quint32(bits >> 32));
}

// Characters 0-255 are stored one byte each ("compressed"), anything else as UTF-16.
inline bool fitsCompressed(const QString &s)
{
    for (const QChar c : s) {
        if (c.unicode() > 0xFF)
            return false;
    }
    return true;
}

inline void putChars(QByteArray &b, const QChar *chars, qsizetype count, bool compressed)
{
    for (qsizetype i = 0; i < count; ++i) {
        if (compressed)
            put8(b, quint8(chars[i].unicode()));
        else
            put16(b, chars[i].unicode());
    }
}

// An XLUnicodeString: 16-bit length (8-bit for short ones), option byte, characters.
inline void putUnicodeString(QByteArray &b, const QString &s, bool shortLength)
{
    const bool compressed = fitsCompressed(s);
    if (shortLength)
        put8(b, quint8(s.size()));
    else
        put16(b, quint16(s.size()));
    put8(b, compressed ? 0x00 : 0x01);
    putChars(b, s.constData(), s.size(), compressed);
}

inline void appendRecord(QByteArray &b, quint16 id, const QByteArray &body)
{
    put16(b, id);
    put16(b, quint16(body.size()));
    b.append(body);
}

} // namespace kvl::biff
