// Proposed document numbers and the line arithmetic, without a data file.
#include "DocumentNumber.h"
#include "LineArithmetic.h"

#include <QtTest>

using namespace kvl;

class TestDocumentNumbers : public QObject
{
    Q_OBJECT
private slots:
    void proposal_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<qint64>("counter");
        QTest::addColumn<QString>("number");
        QTest::addColumn<bool>("fits");
        QTest::newRow("first shipment") << "CH" << qint64(0) << "CH00000001" << true;
        QTest::newRow("counter 11") << "JH" << qint64(11) << "JH00000012" << true;
        QTest::newRow("eight digits") << "CH" << qint64(99999998) << "CH99999999" << true;
        QTest::newRow("nine digits, no zeros") << "结" << qint64(123456789) << "结123456790" << true;
        QTest::newRow("past the range of CH") << "CH" << qint64(99999999) << "CH100000000" << false;
        QTest::newRow("past the range of 结") << "结" << qint64(999999999) << "结1000000000" << false;
    }
    void proposal()
    {
        QFETCH(QString, prefix);
        QFETCH(qint64, counter);
        QFETCH(QString, number);
        QFETCH(bool, fits);
        QCOMPARE(ProposedNumber(prefix, counter), number);
        QCOMPARE(DocumentNumberProblem(number).isEmpty(), fits);
    }

    void units_data()
    {
        QTest::addColumn<qint64>("a");
        QTest::addColumn<qint64>("b");
        QTest::addColumn<qint64>("product");
        QTest::addColumn<qint64>("quotient");
        QTest::newRow("3 x 2.5") << qint64(30000) << qint64(25000) << qint64(75000) << qint64(12000);
        QTest::newRow("10 / 3") << qint64(100000) << qint64(30000) << qint64(300000) << qint64(33333);
        QTest::newRow("rounds half up") << qint64(5) << qint64(5000) << qint64(3) << qint64(10);
        QTest::newRow("negative rounds away") << qint64(-5) << qint64(5000) << qint64(-3) << qint64(-10);
        QTest::newRow("2 / 3") << qint64(20000) << qint64(30000) << qint64(60000) << qint64(6667);
    }
    void units()
    {
        QFETCH(qint64, a);
        QFETCH(qint64, b);
        QFETCH(qint64, product);
        QFETCH(qint64, quotient);
        QCOMPARE(MultiplyUnits(a, b).value(), product);
        QCOMPARE(DivideUnits(a, b).value(), quotient);
    }

    void outOfRange()
    {
        QVERIFY(!MultiplyUnits(std::numeric_limits<qint64>::max(), 20000).has_value());
        QVERIFY(!DivideUnits(std::numeric_limits<qint64>::max(), 1).has_value());
        QVERIFY(!DivideUnits(1, 0).has_value());
    }
};

QTEST_MAIN(TestDocumentNumbers)
#include "test_document_numbers.moc"
