// Pinyin initials of Chinese text: the quick codes (拼音简码) that pickers find records by.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <cstdint>

namespace kvl {

// Bits of the options word; every window passes pyKeepOther alone.
enum PinyinOption : unsigned {
    pyFullSyllable = 1, // Zhang instead of Z
    pyMarkMissing = 2,  // "?" for a double-byte character without a reading
    pyKeepOther = 4,    // keep what is neither a letter nor a digit
};

inline constexpr int kPinyinSyllableCount = 405;
inline constexpr int kPinyinIndexRows = 126;    // lead bytes 0x81..0xFE
inline constexpr int kPinyinIndexColumns = 191; // trail bytes 0x40..0xFE
inline constexpr int kSymbolDigitCount = 94;    // lead 0xA2, trail 0xA1..0xFE
inline constexpr int kGreekLetterCount = 24;

// Syllable number n (1..405) is PinyinSyllables[n - 1]; 0 in PinyinIndex means no reading.
extern const char *const PinyinSyllables[kPinyinSyllableCount];
// Cell (lead - 0x81) * 191 + (trail - 0x40) holds the syllable number of that GBK pair.
extern const std::uint16_t PinyinIndex[kPinyinIndexRows * kPinyinIndexColumns];
extern const char *const SymbolDigits[kSymbolDigitCount];
extern const char *const GreekLetters[kGreekLetterCount];

// The code of a text in the GBK code page. Never fails; an empty text gives an empty code.
QByteArray GetPinyinCode(QByteArrayView gbkText, unsigned options);

// The same for text as the program holds it; a character that GBK cannot write counts as
// a double-byte character without a reading.
QString GetPinyinCode(QStringView text, unsigned options);

} // namespace kvl
