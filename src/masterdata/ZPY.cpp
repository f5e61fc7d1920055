// GetPinyinCode and the two small symbol tables; the hanzi tables are generated into
// ZPYTables.cpp.
#include "ZPY.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace kvl {

const char *const SymbolDigits[kSymbolDigitCount] = {
    // 0xA1..0xAA: small roman numerals i to x
    "1", "2", "3", "4", "5", "6", "7", "8", "9", "10",
    // 0xAB..0xB0
    "", "", "", "", "", "",
    // 0xB1..0xC4: numbers with a full stop
    "1", "2", "3", "4", "5", "6", "7", "8", "9", "10",
    "11", "12", "13", "14", "15", "16", "17", "18", "19", "20",
    // 0xC5..0xD8: parenthesised numbers
    "1", "2", "3", "4", "5", "6", "7", "8", "9", "10",
    "11", "12", "13", "14", "15", "16", "17", "18", "19", "20",
    // 0xD9..0xE2: circled numbers
    "1", "2", "3", "4", "5", "6", "7", "8", "9", "10",
    // 0xE3, 0xE4
    "", "",
    // 0xE5..0xEE: parenthesised ideographic numbers
    "1", "2", "3", "4", "5", "6", "7", "8", "9", "10",
    // 0xEF, 0xF0
    "", "",
    // 0xF1..0xFC: capital roman numerals I to XII
    "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12",
    // 0xFD, 0xFE
    "", "",
};

const char *const GreekLetters[kGreekLetterCount] = {
    "a", "b", "g", "d", "e", "z", "e", "th", "i", "k", "l", "m",
    "n", "x", "o", "p", "r", "s", "t", "u", "ph", "kh", "ps", "o",
};

namespace {

constexpr unsigned char kLeadFirst = 0x81;
constexpr unsigned char kTrailFirst = 0x40;
constexpr unsigned char kTrailLast = 0xFE;

bool isAsciiLetterOrDigit(unsigned char b)
{
    return (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
}

void appendSingle(QByteArray &code, unsigned char c, unsigned options)
{
    if (isAsciiLetterOrDigit(c) || (options & pyKeepOther))
        code.append(char(c));
}

void appendMissing(QByteArray &code, unsigned options)
{
    if (options & pyMarkMissing)
        code.append('?');
}

void appendDouble(QByteArray &code, unsigned char c, unsigned char n, unsigned options)
{
    // Trail byte 0xFF is outside every row, so the symbol rows never index past their tables.
    if (n > kTrailLast) {
        appendMissing(code, options);
        return;
    }
    switch (c) {
    case 0xA2:
        if (n >= 0xA1)
            code.append(SymbolDigits[n - 0xA1]);
        else
            appendMissing(code, options);
        return;
    case 0xA3:
        // Full-width ASCII. The pairs below 0xA1 are not characters of the code page, so
        // they get no reading rather than an arbitrary byte.
        if (n >= 0xA1)
            appendSingle(code, static_cast<unsigned char>(n - 0x80), options);
        else
            appendMissing(code, options);
        return;
    case 0xA6:
        if (n >= 0xA1 && n <= 0xB8)
            code.append(GreekLetters[n - 0xA1]);
        else if (n >= 0xC1 && n <= 0xD8)
            code.append(GreekLetters[n - 0xC1]);
        else
            appendMissing(code, options);
        return;
    default:
        break;
    }
    if (c > 0xFE) {
        appendMissing(code, options);
        return;
    }
    const std::uint16_t syllable = PinyinIndex[(c - kLeadFirst) * kPinyinIndexColumns + (n - kTrailFirst)];
    if (syllable == 0) {
        appendMissing(code, options);
        return;
    }
    const char *text = PinyinSyllables[syllable - 1];
    if (options & pyFullSyllable)
        code.append(text);
    else
        code.append(text[0]);
}

// Each GBK character gives at most one output byte per input byte, except a whole syllable,
// which gives at most three (six letters for two bytes).
qsizetype codeCapacity(qsizetype gbkBytes, unsigned options)
{
    return (options & pyFullSyllable) ? gbkBytes * 3 : gbkBytes;
}

} // namespace

QByteArray GetPinyinCode(QByteArrayView gbkText, unsigned options)
{
    QByteArray code;
    code.reserve(codeCapacity(gbkText.size(), options));
    const auto *bytes = reinterpret_cast<const unsigned char *>(gbkText.data());
    const qsizetype size = gbkText.size();
    for (qsizetype i = 0; i < size;) {
        const unsigned char c = bytes[i];
        const unsigned char n = i + 1 < size ? bytes[i + 1] : 0;
        if (c < kLeadFirst || n < kTrailFirst) {
            appendSingle(code, c, options);
            i += 1;
        } else {
            appendDouble(code, c, n, options);
            i += 2;
        }
    }
    return code;
}

QString GetPinyinCode(QStringView text, unsigned options)
{
    // Character by character, so that one the code page cannot write is told apart from a
    // real question mark: the converter writes both as "?".
    QStringEncoder encoder("GBK", QStringConverter::Flag::Stateless);
    QByteArray code;
    code.reserve(codeCapacity(text.size() * 2, options));
    for (qsizetype i = 0; i < text.size();) {
        const QChar ch = text[i];
        if (ch.unicode() < 0x80) {
            appendSingle(code, static_cast<unsigned char>(ch.unicode()), options);
            ++i;
            continue;
        }
        const qsizetype units =
            ch.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
        char buffer[16];
        Q_ASSERT(encoder.requiredSpace(units) <= qsizetype(sizeof buffer));
        const qsizetype written = encoder.appendToBuffer(buffer, text.sliced(i, units)) - buffer;
        i += units;
        const auto b0 = static_cast<unsigned char>(buffer[0]);
        if (written == 2)
            appendDouble(code, b0, static_cast<unsigned char>(buffer[1]), options);
        else if (written == 1 && b0 != '?' && b0 < kLeadFirst)
            appendSingle(code, b0, options);
        else
            appendMissing(code, options);
    }
    QStringDecoder decoder("GBK");
    return decoder.decode(code);
}

} // namespace kvl
