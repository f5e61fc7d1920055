// The formatter: display formats of money, numbers and dates, and the parsing
// of typed money and dates, at the int64 limits and at half-way cases.
#include "Formatter.h"

#include <QtTest>

#include <limits>

using namespace kvl;

class TestFormatter : public QObject
{
    Q_OBJECT

private slots:
    void money_data()
    {
        QTest::addColumn<qint64>("units");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("text");
        const qint64 max = std::numeric_limits<qint64>::max(), min = std::numeric_limits<qint64>::min();
        QTest::newRow("amount") << qint64(12345678900) << ",0.00;;#" << "1,234,567.89";
        QTest::newRow("zero shows empty") << qint64(0) << ",0.00;;#" << "";
        QTest::newRow("rounds to zero, shows empty") << qint64(-49) << ",0.00;;#" << "";
        QTest::newRow("negative with minus") << qint64(-1234500) << ",0.00;;#" << "-123.45";
        QTest::newRow("half rounds away from zero") << qint64(50) << ",0.00;;#" << "0.01";
        QTest::newRow("negative half rounds away") << qint64(-1250) << ",0.00;;#" << "-0.13";
        QTest::newRow("quantity one half") << qint64(5000) << "#.####" << ".5";
        QTest::newRow("quantity 1.2345") << qint64(12345) << "#.####" << "1.2345";
        QTest::newRow("whole quantity has no point") << qint64(30000) << "#.####" << "3";
        QTest::newRow("zero quantity") << qint64(0) << "#.####" << "";
        QTest::newRow("price two decimals at least") << qint64(25000) << ",0.00##" << "2.50";
        QTest::newRow("price up to four") << qint64(33333) << ",0.00##" << "3.3333";
        QTest::newRow("price thousands") << qint64(12345678912) << ",0.00##" << "1,234,567.8912";
        QTest::newRow("currency") << qint64(12345000) << Formatter::currencyFormat() << "¥1,234.50";
        QTest::newRow("currency negative") << qint64(-12345000) << Formatter::currencyFormat() << "¥-1,234.50";
        QTest::newRow("currency zero") << qint64(0) << Formatter::currencyFormat() << "¥0.00";
        QTest::newRow("int64 max") << max << ",0.00##" << "922,337,203,685,477.5807";
        QTest::newRow("int64 max rounded") << max << ",0.00;;#" << "922,337,203,685,477.58";
        QTest::newRow("int64 min") << min << ",0.00##" << "-922,337,203,685,477.5808";
        QTest::newRow("int64 min rounded up in magnitude") << min << "0" << "-922337203685478";
        QTest::newRow("own negative section") << qint64(-10000) << "0.00;(0.00)" << "(1.00)";
        QTest::newRow("zero section text") << qint64(0) << "0.00;-0.00;'无'" << "无";
        QTest::newRow("forced integer digits") << qint64(120000) << "0000" << "0012";
    }
    void money()
    {
        QFETCH(qint64, units);
        QFETCH(QString, format);
        QFETCH(QString, text);
        QCOMPARE(Formatter::formatMoney(units, format), text);
    }

    void dates_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("text");
        QTest::newRow("slashes") << "yyyy/mm/dd" << "2024/03/05";
        QTest::newRow("dashes") << "yyyy-mm-dd" << "2024-03-05";
        QTest::newRow("time, mm after hh is minutes") << "yyyy-mm-dd hh:mm:ss" << "2024-03-05 07:08:09";
        QTest::newRow("short parts") << "yy/m/d" << "24/3/5";
    }
    void dates()
    {
        QFETCH(QString, format);
        QFETCH(QString, text);
        const qint64 secs = QDateTime(QDate(2024, 3, 5), QTime(7, 8, 9), Qt::UTC).toSecsSinceEpoch();
        QCOMPARE(Formatter::formatDateTime(secs, format), text);
    }

    void parseMoney_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<qint64>("units");
        QTest::addColumn<QString>("error");
        QTest::newRow("plain") << "1234.5" << true << qint64(12345000) << "";
        QTest::newRow("thousands") << "1,234,567.89" << true << qint64(12345678900) << "";
        QTest::newRow("four decimals") << "0.0001" << true << qint64(1) << "";
        QTest::newRow("fifth decimal half rounds up") << "2.00005" << true << qint64(20001) << "";
        QTest::newRow("fifth decimal below half") << "2.000049" << true << qint64(20000) << "";
        QTest::newRow("negative half rounds away") << "-2.00005" << true << qint64(-20001) << "";
        QTest::newRow("full-width digits") << "１２.５" << true << qint64(125000) << "";
        QTest::newRow("yuan sign and blanks") << " ¥1,000 " << true << qint64(10000000) << "";
        QTest::newRow("no leading digit") << ".5" << true << qint64(5000) << "";
        QTest::newRow("int64 max") << "922337203685477.5807" << true << std::numeric_limits<qint64>::max() << "";
        QTest::newRow("int64 min") << "-922337203685477.5808" << true << std::numeric_limits<qint64>::min() << "";
        QTest::newRow("above max") << "922337203685477.5808" << false << qint64(0)
                                   << "金额“922337203685477.5808”超出允许的范围。";
        QTest::newRow("rounding past max") << "922337203685477.58075" << false << qint64(0)
                                           << "金额“922337203685477.58075”超出允许的范围。";
        QTest::newRow("far too large") << "99999999999999999999999" << false << qint64(0)
                                       << "金额“99999999999999999999999”超出允许的范围。";
        QTest::newRow("letters") << "12元" << false << qint64(0) << "“12元”不是有效的金额。";
        QTest::newRow("bad grouping") << "12,34.5" << false << qint64(0) << "“12,34.5”不是有效的金额。";
        QTest::newRow("two points") << "1.2.3" << false << qint64(0) << "“1.2.3”不是有效的金额。";
        QTest::newRow("sign only") << "-" << false << qint64(0) << "“-”不是有效的金额。";
    }
    void parseMoney()
    {
        QFETCH(QString, typed);
        QFETCH(bool, ok);
        QFETCH(qint64, units);
        QFETCH(QString, error);
        qint64 got = 0;
        QString why;
        QCOMPARE(Formatter::parseMoney(typed, &got, &why), ok);
        if (ok)
            QCOMPARE(got, units);
        else
            QCOMPARE(why, error);
    }

    void parseDate_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QDateTime>("expected"); // invalid: refused
        const QDateTime d(QDate(2024, 2, 29), QTime(0, 0), Qt::UTC);
        QTest::newRow("slashes") << "2024/02/29" << d;
        QTest::newRow("dashes") << "2024-02-29" << d;
        QTest::newRow("dots") << "2024.02.29" << d;
        QTest::newRow("single digits") << "2024/2/29" << d;
        QTest::newRow("with time") << "2024-02-29 13:45" << QDateTime(QDate(2024, 2, 29), QTime(13, 45), Qt::UTC);
        QTest::newRow("no such day") << "2023/02/29" << QDateTime();
        QTest::newRow("two-digit year") << "24/02/29" << QDateTime();
        QTest::newRow("mixed separators") << "2024/02-29" << QDateTime();
        QTest::newRow("words") << "明天" << QDateTime();
    }
    void parseDate()
    {
        QFETCH(QString, typed);
        QFETCH(QDateTime, expected);
        qint64 secs = 0;
        QString why;
        const bool ok = Formatter::parseDate(typed, &secs, &why);
        QCOMPARE(ok, expected.isValid());
        if (ok)
            QCOMPARE(secs, expected.toSecsSinceEpoch());
        else
            QCOMPARE(why, QStringLiteral("“%1”不是有效的日期。").arg(typed));
    }
};

QTEST_GUILESS_MAIN(TestFormatter)
#include "test_formatter.moc"
