// Pinyin quick codes: the documented examples under every options word, the edges of the
// byte form, text the code page cannot write, and the tables checked against the program's
// own GBK converter pair by pair.
#include "ZPY.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QtTest>

#include <array>
#include <cstring>

using namespace kvl;
using namespace Qt::StringLiterals;

namespace {

QByteArray toGbk(const QString &text)
{
    QStringEncoder encoder("GBK");
    return encoder.encode(text);
}

// One text, and its code under the options words 0 to 7.
void addAllOptions(const char *name, const QString &text, const std::array<QString, 8> &codes)
{
    for (unsigned options = 0; options < 8; ++options)
        QTest::addRow("%s/%u", name, options) << text << options << codes[options];
}

// A text whose code does not depend on the options.
void addSameForAll(const char *name, const QString &text, const QString &code)
{
    addAllOptions(name, text, {code, code, code, code, code, code, code, code});
}

// Codes that differ only by initials (bit 1 clear) against whole syllables (bit 1 set).
void addInitialsOrSyllables(const char *name, const QString &text, const QString &initials,
                            const QString &syllables)
{
    addAllOptions(name, text,
                  {initials, syllables, initials, syllables, initials, syllables, initials,
                   syllables});
}

} // namespace

class TestZpy : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void examples_data();
    void examples();

    void edges_data();
    void edges();

    void byteForm_data();
    void byteForm();
    void byteFormAgreesWithText_data();
    void byteFormAgreesWithText();

    void syllableInventory();
    void indexCoversEveryGbkHanzi();
    void indexLeavesSymbolRowsEmpty();
};

void TestZpy::initTestCase()
{
    // Without a GBK converter every code would be wrong, so say so once and plainly.
    QVERIFY2(QStringEncoder("GBK").isValid(), "Qt has no GBK converter (built without ICU?)");
    QVERIFY(QStringDecoder("GBK").isValid());
}

void TestZpy::examples_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<unsigned>("options");
    QTest::addColumn<QString>("code");

    addInitialsOrSyllables("张三", u"张三"_s, "ZS", "ZhangSan");
    addInitialsOrSyllables("ABC有限公司", u"ABC有限公司"_s, "ABCYXGS", "ABCYouXianGongSi");
    addInitialsOrSyllables("abc公司", u"abc公司"_s, "abcGS", "abcGongSi");
    addAllOptions("ABC 公司", u"ABC 公司"_s,
                  {"ABCGS", "ABCGongSi", "ABCGS", "ABCGongSi", "ABC GS", "ABC GongSi", "ABC GS",
                   "ABC GongSi"});
    addAllOptions("（一）公司", u"（一）公司"_s,
                  {"YGS", "YiGongSi", "YGS", "YiGongSi", "(Y)GS", "(Yi)GongSi", "(Y)GS",
                   "(Yi)GongSi"});
    addInitialsOrSyllables("Ａ１号", u"Ａ１号"_s, "A1H", "A1Hao");
    addInitialsOrSyllables("①号", u"①号"_s, "1H", "1Hao");
    addInitialsOrSyllables("β射线", u"β射线"_s, "bSX", "bSheXian");
    addAllOptions("、。《》", u"、。《》"_s, {"", "", "????", "????", "", "", "????", "????"});
    addAllOptions("、。", u"、。"_s, {"", "", "??", "??", "", "", "??", "??"});
    addInitialsOrSyllables("吕女士", u"吕女士"_s, "LNS", "LvNvShi");
    addSameForAll("empty", QString(), QString());
    addInitialsOrSyllables("庄", u"庄"_s, "Z", "Zhuang");
    addAllOptions("ABC-1", u"ABC-1"_s,
                  {"ABC1", "ABC1", "ABC1", "ABC1", "ABC-1", "ABC-1", "ABC-1", "ABC-1"});
    // Symbols always give their whole entry, initials asked for or not.
    addSameForAll("⑩θ", u"⑩θ"_s, "10th");
    addInitialsOrSyllables("长行重乐单", u"长行重乐单"_s, "ZHZLD", "ZhangHangZhongLeDan");
    // A character of the Greek row that is no letter has no reading; the next one counts.
    addAllOptions("︵张", u"︵张"_s, {"Z", "Zhang", "?Z", "?Zhang", "Z", "Zhang", "?Z", "?Zhang"});
    addInitialsOrSyllables("公斤", u"公斤"_s, "GJ", "GongJin");
    addInitialsOrSyllables("千克", u"千克"_s, "QK", "QianKe");
}

void TestZpy::examples()
{
    QFETCH(QString, text);
    QFETCH(unsigned, options);
    QFETCH(QString, code);
    QCOMPARE(GetPinyinCode(text, options), code);
}

void TestZpy::edges_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<unsigned>("options");
    QTest::addColumn<QString>("code");

    // ASCII: letters and digits always stay, in their case; the rest only when kept.
    QTest::newRow("ascii dropped") << u"Hello, World! 2024"_s << 0u << u"HelloWorld2024"_s;
    QTest::newRow("ascii kept") << u"Hello, World! 2024"_s << 4u << u"Hello, World! 2024"_s;
    QTest::newRow("control kept") << u"A\tB"_s << 4u << u"A\tB"_s;
    QTest::newRow("question mark kept") << u"A?B"_s << 4u << u"A?B"_s;
    QTest::newRow("question mark dropped") << u"A?B"_s << 0u << u"AB"_s;

    // Punctuation and symbols of the rows without readings.
    const QString symbolRows = u"、あアБā─"_s; // lead bytes A1, A4, A5, A7, A8, A9
    QTest::newRow("symbol rows") << symbolRows << 4u << QString();
    QTest::newRow("symbol rows marked") << symbolRows << 6u << u"??????"_s;
    QTest::newRow("ideographic space") << u"张　三"_s << 4u << u"ZS"_s;
    QTest::newRow("ideographic zero") << u"〇"_s << 2u << u"?"_s;

    // Full-width forms become their ASCII characters.
    QTest::newRow("full-width kept") << u"ＡＢｃ（１２３）"_s << 4u << u"ABc(123)"_s;
    QTest::newRow("full-width dropped") << u"ＡＢｃ（１２３）"_s << 0u << u"ABc123"_s;
    QTest::newRow("numbered symbols") << u"ⅰⅫ㈠⒛⑴"_s << 0u << u"1121201"_s;

    // Characters the code page cannot write count as characters without a reading: one mark
    // each, a surrogate pair included, and never taken for a typed question mark.
    QTest::newRow("hangul") << u"한국"_s << 4u << QString();
    QTest::newRow("hangul marked") << u"한국"_s << 6u << u"??"_s;
    QTest::newRow("outside gbk between letters") << u"A한B"_s << 4u << u"AB"_s;
    QTest::newRow("outside gbk between letters marked") << u"A한B"_s << 6u << u"A?B"_s;
    QTest::newRow("supplementary hanzi") << u"𠀀公司"_s << 6u << u"?GS"_s;
    QTest::newRow("emoji") << u"😀A"_s << 7u << u"?A"_s;
    QTest::newRow("lone surrogate") << (QString(QChar(0xD800)) + u"A"_s) << 6u << u"?A"_s;
    // The euro sign is the single byte 0x80 of the code page: kept as such, never a letter.
    QTest::newRow("euro kept") << u"€5"_s << 4u << u"€5"_s;
    QTest::newRow("euro dropped") << u"€5"_s << 0u << u"5"_s;

    // Mixed text as partner and goods names are written.
    QTest::newRow("mixed name") << u"上海ABC-123贸易（集团）有限公司"_s << 4u
                                << u"SHABC-123MY(JT)YXGS"_s;
    QTest::newRow("mixed name syllables") << u"重庆长安No.1"_s << 1u << u"ZhongQingZhangAnNo1"_s;
    QTest::newRow("traditional hanzi") << u"臺灣銀行"_s << 4u << u"TWYH"_s;
    QTest::newRow("compatibility ideograph") << QString(QChar(0xF92C)) << 1u << u"Lang"_s;
    QTest::newRow("unit character") << u"瓱"_s << 1u << u"Hao"_s;
    QTest::newRow("hanzi without reading") << u"扽"_s << 6u << u"?"_s;
}

void TestZpy::edges()
{
    QFETCH(QString, text);
    QFETCH(unsigned, options);
    QFETCH(QString, code);
    QCOMPARE(GetPinyinCode(text, options), code);
}

void TestZpy::byteForm_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<unsigned>("options");
    QTest::addColumn<QByteArray>("code");

    // A lead byte standing last, or followed by a byte below 0x40, is a single byte.
    QTest::newRow("lead last kept") << QByteArray("A\xD5") << 4u << QByteArray("A\xD5");
    QTest::newRow("lead last dropped") << QByteArray("A\xD5") << 2u << QByteArray("A");
    QTest::newRow("lead before digit") << QByteArray("\xD5" "1\xD5\xC5") << 0u << QByteArray("1Z");
    // Trail 0x7F and byte 0xFF are pairs without a reading; both bytes are used up.
    QTest::newRow("trail 7F") << QByteArray("\xD5\x7F" "A") << 2u << QByteArray("?A");
    QTest::newRow("trail FF") << QByteArray("\xD5\xFF" "A") << 2u << QByteArray("?A");
    QTest::newRow("lead FF") << QByteArray("\xFF\x41" "B") << 6u << QByteArray("?B");
    QTest::newRow("lead FE") << QByteArray("\xFE\x50") << 2u << QByteArray("?");
    // The numbered-symbol row: low trails have no reading, the unused cells give nothing.
    QTest::newRow("symbol row low trail") << QByteArray("\xA2\x50") << 2u << QByteArray("?");
    QTest::newRow("symbol row empty cell") << QByteArray("\xA2\xAB\xA2\xFE") << 7u << QByteArray();
    QTest::newRow("symbol row trail FF") << QByteArray("\xA2\xFF") << 2u << QByteArray("?");
    QTest::newRow("symbol row last entry") << QByteArray("\xA2\xFC") << 0u << QByteArray("12");
    // The full-width row: only trails A1..FE stand for ASCII.
    QTest::newRow("full-width low trail") << QByteArray("\xA3\x41") << 6u << QByteArray("?");
    QTest::newRow("full-width trail FF") << QByteArray("\xA3\xFF") << 6u << QByteArray("?");
    QTest::newRow("full-width tilde") << QByteArray("\xA3\xFE") << 4u << QByteArray("~");
    QTest::newRow("full-width bang") << QByteArray("\xA3\xA1") << 4u << QByteArray("!");
    // The Greek row around its letters.
    QTest::newRow("greek first capital") << QByteArray("\xA6\xA1") << 0u << QByteArray("a");
    QTest::newRow("greek last small") << QByteArray("\xA6\xD8") << 0u << QByteArray("o");
    QTest::newRow("greek gap") << QByteArray("\xA6\xB9\xA6\xC0") << 2u << QByteArray("??");
    QTest::newRow("greek after letters") << QByteArray("\xA6\xD9\xD5\xC5") << 6u << QByteArray("?Z");
}

void TestZpy::byteForm()
{
    QFETCH(QByteArray, bytes);
    QFETCH(unsigned, options);
    QFETCH(QByteArray, code);
    QCOMPARE(GetPinyinCode(QByteArrayView(bytes), options), code);
}

void TestZpy::byteFormAgreesWithText_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("company") << u"上海ABC-123贸易（集团）有限公司"_s;
    QTest::newRow("symbols") << u"①Ⅻ⒛⑴㈩αΩ、。《》　～"_s;
    QTest::newRow("full-width") << u"ＡＢＣａｂｃ０９！＠（）"_s;
    QTest::newRow("traditional") << u"臺灣銀行長樂"_s;
}

void TestZpy::byteFormAgreesWithText()
{
    QFETCH(QString, text);
    const QByteArray gbk = toGbk(text);
    for (unsigned options = 0; options < 8; ++options)
        QCOMPARE(GetPinyinCode(text, options).toLatin1(), GetPinyinCode(QByteArrayView(gbk), options));
}

void TestZpy::syllableInventory()
{
    QSet<QByteArray> seen;
    for (int i = 0; i < kPinyinSyllableCount; ++i) {
        const QByteArray syllable(PinyinSyllables[i]);
        QVERIFY2(!syllable.isEmpty() && syllable.size() <= 6, syllable.constData());
        QVERIFY2(syllable[0] >= 'A' && syllable[0] <= 'Z', syllable.constData());
        for (qsizetype k = 1; k < syllable.size(); ++k)
            QVERIFY2(syllable[k] >= 'a' && syllable[k] <= 'z', syllable.constData());
        if (i > 0)
            QVERIFY2(std::strcmp(PinyinSyllables[i - 1], PinyinSyllables[i]) < 0, syllable.constData());
        seen.insert(syllable);
    }
    QCOMPARE(QByteArray(PinyinSyllables[0]), QByteArray("A"));
    QCOMPARE(QByteArray(PinyinSyllables[kPinyinSyllableCount - 1]), QByteArray("Zuo"));
    for (const char *wanted : {"Lv", "Nv", "Jv", "Qv", "Xv", "Ju", "Qu", "Xu", "Lue", "Nue", "Ei",
                               "M", "N", "Zhuang", "Chuang", "Shuang"})
        QVERIFY2(seen.contains(wanted), wanted);
    QVERIFY(!seen.contains("Lve"));
    QVERIFY(!seen.contains("Nve"));
}

void TestZpy::indexCoversEveryGbkHanzi()
{
    // The hanzi the data gives no reading for; every other one must have a syllable.
    const QString withoutReading = u"扥扽鞥覅黁囖桛烪"_s;
    int hanzi = 0;
    for (int lead = 0x81; lead <= 0xFD; ++lead) {
        if (lead >= 0xA1 && lead <= 0xA9)
            continue;
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            const char pair[2] = {char(lead), char(trail)};
            QStringDecoder decoder("GBK");
            const QString ch = decoder.decode(QByteArrayView(pair, 2));
            const std::uint16_t cell = PinyinIndex[(lead - 0x81) * kPinyinIndexColumns + (trail - 0x40)];
            const char32_t cp = ch.size() == 1 ? ch[0].unicode() : 0;
            const bool unified = cp >= 0x4E00 && cp <= 0x9FA5;
            const bool compatibility = cp >= 0xF900 && cp <= 0xFAFF;
            const QByteArray where = QByteArray::number(lead, 16) + QByteArray::number(trail, 16)
                                     + ' ' + ch.toUtf8();
            QVERIFY2(cell <= kPinyinSyllableCount, where.constData());
            if (cell != 0)
                QVERIFY2(unified || compatibility, where.constData());
            else if (unified || compatibility)
                QVERIFY2(withoutReading.contains(ch), where.constData());
            hanzi += unified ? 1 : 0;
        }
    }
    // GBK holds the whole unified block 4E00..9FA5.
    QCOMPARE(hanzi, 0x9FA5 - 0x4E00 + 1);
}

void TestZpy::indexLeavesSymbolRowsEmpty()
{
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            const bool empty = (lead >= 0xA1 && lead <= 0xA9) || lead == 0xFE || trail == 0x7F;
            if (empty)
                QCOMPARE(PinyinIndex[(lead - 0x81) * kPinyinIndexColumns + (trail - 0x40)], std::uint16_t(0));
        }
    }
}

QTEST_GUILESS_MAIN(TestZpy)
#include "test_zpy.moc"
