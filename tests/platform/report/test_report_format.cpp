// Number and date formats of printed values, and amounts in Chinese capital numerals.
#include "ChineseAmount.h"
#include "ReportFormatter.h"

#include <QTest>

using namespace kvl;

Q_DECLARE_METATYPE(kvl::Value)

class TestReportFormat : public QObject
{
    Q_OBJECT

private slots:
    void numbers_data()
    {
        QTest::addColumn<Value>("value");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("expected");
        auto m = [](qint64 units) { return Value::money(units); };
        QTest::newRow("thousands") << m(12345678900) << ",0.00;;#" << "1,234,567.89";
        QTest::newRow("zero is blank") << m(0) << ",0.00;;#" << "";
        QTest::newRow("negative keeps sign") << m(-12345600) << ",0.00;;#" << "-1,234.56";
        QTest::newRow("half rounds away from zero") << m(12345) << ",0.00;;#" << "1.23";
        QTest::newRow("half up") << m(12350) << ",0.00;;#" << "1.24";
        QTest::newRow("negative half") << m(-12350) << ",0.00;;#" << "-1.24";
        QTest::newRow("rounds to zero: zero section") << m(-40) << ",0.00;;#" << "";
        QTest::newRow("carry into thousands") << m(9999999950) << ",0.00" << "1,000,000.00";
        QTest::newRow("quantity whole") << m(30000) << "#.####" << "3";
        QTest::newRow("quantity fraction") << m(25000) << "#.####" << "2.5";
        QTest::newRow("quantity below one") << m(5000) << "#.####" << ".5";
        QTest::newRow("quantity zero") << m(0) << "#.####" << "";
        QTest::newRow("price two places") << m(125000) << ",0.00##" << "12.50";
        QTest::newRow("price four places") << m(123456) << ",0.00##" << "12.3456";
        QTest::newRow("price three places") << m(123450) << ",0.00##" << "12.345";
        QTest::newRow("int64 max") << m(std::numeric_limits<qint64>::max()) << ",0.00"
                                   << "922,337,203,685,477.58";
        QTest::newRow("int64 min") << m(std::numeric_limits<qint64>::min()) << ",0.00"
                                   << "-922,337,203,685,477.58";
        QTest::newRow("integer") << Value::integer(1234567) << ",0" << "1,234,567";
        QTest::newRow("float") << Value::real(0.125) << "0.00" << "0.13";
        QTest::newRow("text number") << Value("1234.5") << ",0.00" << "1,234.50";
        QTest::newRow("text stays text") << Value("甲") << ",0.00" << "甲";
        QTest::newRow("null") << Value() << ",0.00" << "";
        QTest::newRow("literal prefix") << m(10000) << "\"¥\",0.00" << "¥1.00";
        QTest::newRow("negative section") << m(-10000) << "0.00;(0.00)" << "(1.00)";
        QTest::newRow("no format") << m(12500) << "" << "1.25";
    }
    void numbers()
    {
        QFETCH(Value, value);
        QFETCH(QString, format);
        QFETCH(QString, expected);
        QCOMPARE(ReportFormatter::format(value, format), expected);
    }

    void dates_data()
    {
        QTest::addColumn<Value>("value");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("expected");
        const Value dt = Value::dateTime(QDateTime(QDate(2026, 3, 7), QTime(14, 5, 9)));
        QTest::newRow("slashes") << dt << "yyyy/mm/dd" << "2026/03/07";
        QTest::newRow("dashes") << dt << "yyyy-mm-dd" << "2026-03-07";
        QTest::newRow("minutes after hour") << dt << "yyyy-mm-dd hh:mm" << "2026-03-07 14:05";
        QTest::newRow("chinese") << dt << "yyyy年m月d日" << "2026年3月7日";
        // The program hands dates to reports as floating-point day counts.
        QTest::newRow("day count") << Value::real(46088.0) << "yyyy/mm/dd" << "2026/03/07";
        QTest::newRow("null") << Value() << "yyyy/mm/dd" << "";
        QTest::newRow("text that is no date") << Value("全部往来单位") << "yyyy/mm/dd" << "全部往来单位";
        QTest::newRow("date as text") << Value("2026-03-07") << "yyyy/mm/dd" << "2026/03/07";
        QTest::newRow("plain midnight") << Value::dateTime(QDateTime(QDate(2026, 1, 2), QTime(0, 0))) << "" << "2026-01-02";
    }
    void dates()
    {
        QFETCH(Value, value);
        QFETCH(QString, format);
        QFETCH(QString, expected);
        QCOMPARE(ReportFormatter::format(value, format), expected);
    }

    void capitalAmounts_data()
    {
        QTest::addColumn<qint64>("yuanTimes100");
        QTest::addColumn<QString>("expected");
        QTest::newRow("0.00") << qint64(0) << "零元整";
        QTest::newRow("0.05") << qint64(5) << "伍分";
        QTest::newRow("0.50") << qint64(50) << "伍角整";
        QTest::newRow("0.56") << qint64(56) << "伍角陆分";
        QTest::newRow("10.00") << qint64(1000) << "壹拾元整";
        QTest::newRow("15.00") << qint64(1500) << "壹拾伍元整";
        QTest::newRow("105.00") << qint64(10500) << "壹佰零伍元整";
        QTest::newRow("1,234.56") << qint64(123456) << "壹仟贰佰叁拾肆元伍角陆分";
        QTest::newRow("1,234.50") << qint64(123450) << "壹仟贰佰叁拾肆元伍角整";
        QTest::newRow("10,005.07") << qint64(1000507) << "壹万零伍元零柒分";
        QTest::newRow("1,000,000.00") << qint64(100000000) << "壹佰万元整";
        QTest::newRow("100,000,000.00") << qint64(10000000000) << "壹亿元整";
        QTest::newRow("100,005,000.00") << qint64(10000500000) << "壹亿零伍仟元整";
        QTest::newRow("110,000,000.00") << qint64(11000000000) << "壹亿壹仟万元整";
        QTest::newRow("1,000,000,000,000.00") << qint64(100000000000000) << "壹万亿元整";
        QTest::newRow("-1,234.56") << qint64(-123456) << "负壹仟贰佰叁拾肆元伍角陆分";
    }
    void capitalAmounts()
    {
        QFETCH(qint64, yuanTimes100);
        QFETCH(QString, expected);
        QCOMPARE(chineseCapitalAmount(yuanTimes100 * 100), expected);
    }

    // Ten-thousandths below a fen round half away from zero before the numerals are read.
    void capitalRounding()
    {
        QCOMPARE(chineseCapitalAmount(1234549), QStringLiteral("壹佰贰拾叁元肆角伍分"));
        QCOMPARE(chineseCapitalAmount(1234550), QStringLiteral("壹佰贰拾叁元肆角陆分"));
        QCOMPARE(chineseCapitalAmount(-49), QStringLiteral("零元整"));
        QCOMPARE(chineseCapitalAmount(std::numeric_limits<qint64>::min()),
                 QStringLiteral("负玖佰贰拾贰万叁仟叁佰柒拾贰亿零叁佰陆拾捌万伍仟肆佰柒拾柒元伍角捌分"));
    }
};

QTEST_MAIN(TestReportFormat)
#include "test_report_format.moc"
