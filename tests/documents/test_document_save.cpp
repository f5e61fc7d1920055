// Saving shipments and purchases against a real data file: what lands in the
// file row by row, each refusal, the numbering, and a save that fails and is
// tried again.
#include "DocumentsFixture.h"
#include "DocumentSave.h"
#include "LineArithmetic.h"
#include "MessageRecorder.h"

#include <QtTest>

using namespace kvl;
using namespace kvl::test;

namespace {

constexpr qint64 U = 10000; // one unit in ten-thousandths

DocumentEntry entry(DocumentKind kind, const QString &number, qint64 partner = 1)
{
    DocumentEntry e;
    e.kind = kind;
    e.partnerId = partner;
    e.date = QDate(2026, 3, 4);
    e.number = number;
    e.remark = QStringLiteral(" 月结 ");
    return e;
}

struct Counters
{
    qint64 sfk, ysk, yfk, sk;
    bool operator==(const Counters &) const = default;
};

} // namespace

class TestDocumentSave : public QObject
{
    Q_OBJECT

    Counters counters(DocumentsData &d)
    {
        return {d.scalar("SELECT sfk FROM PH"), d.scalar("SELECT dh_ysk FROM PH"), d.scalar("SELECT dh_yfk FROM PH"),
                d.scalar("SELECT dh_sk FROM PH")};
    }

private slots:
    void newShipmentRowByRow()
    {
        DocumentsData d;
        d.conn().exec(QStringLiteral("UPDATE PH SET dh_ysk=0"));
        const Counters before = counters(d);
        d.startNew(DocumentKind::Shipment);
        QCOMPARE(d.dm().DataSfk.value("单号").toString(), QStringLiteral("CH00000001"));
        d.typeLine(1, 3 * U, 25000, 75000);
        d.typeLine(2, 2 * U, 10 * U, 20 * U);
        d.typeLine(3, 1 * U, 5 * U, 5 * U, false);
        MessageRecorder rec;
        DocumentEntry e = entry(DocumentKind::Shipment, QStringLiteral("CH00000001"));
        const DocumentSaveResult r = SaveDocument(d.dm().DataSfk, d.dm().DataKcmx, e);
        QCOMPARE(rec.texts(), QStringList());
        QCOMPARE(r.outcome, DocumentSaveResult::Saved);

        const qint64 id = before.sfk + 1;
        QCOMPARE(counters(d), (Counters{before.sfk + 1, 1, before.yfk, before.sk}));
        Statement st(d.conn(), QStringLiteral("SELECT 类别, 单号, dw_id, 应收款金额（出货）, 结帐、应付款金额（进货）, 结帐, "
                                              "备注, 制单日期, xszg_id FROM sfk WHERE id=?"));
        st.bind(1, Value::integer(id));
        QVERIFY(st.next());
        QCOMPARE(st.text(0), QStringLiteral("出货"));
        QCOMPARE(st.text(1), QStringLiteral("CH00000001"));
        QCOMPARE(st.int64(2), qint64(1));
        QCOMPARE(st.int64(3), qint64(7.5 * U + 20 * U + 5 * U));
        QCOMPARE(st.int64(4), qint64(0));
        QCOMPARE(st.int64(5), qint64(0));
        QCOMPARE(st.text(6), QStringLiteral("月结"));
        QVERIFY(st.text(7).startsWith(QStringLiteral("2026-03-04")));
        QVERIFY(st.isNull(8));
        Statement lines(d.conn(), QStringLiteral("SELECT kcsp_id, sl, dj, je FROM kcmx WHERE sf_id=? ORDER BY id"));
        lines.bind(1, Value::integer(id));
        const qint64 expected[3][4] = {{1, 3 * U, 25000, 75000}, {2, 2 * U, 10 * U, 20 * U}, {3, U, 5 * U, 5 * U}};
        for (const auto &row : expected) {
            QVERIFY(lines.next());
            for (int c = 0; c < 4; ++c)
                QCOMPARE(lines.int64(c), row[c]);
        }
        QVERIFY(!lines.next());
        QCOMPARE(d.dm().DataSfk.state(), Dataset::State::Browse);
        QCOMPARE(d.dm().DataSfk.value("id").toInt(), id);
    }

    void refusals_data()
    {
        QTest::addColumn<QList<qint64>>("figures"); // goods, sl, dj, je per line; -1 = empty
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("field");
        const QList<qint64> good{1, 2 * U, 3 * U, 6 * U};
        QTest::newRow("only an empty line") << QList<qint64>{} << "请选择商品资料！" << 0 << "kcsp_spmc";
        QTest::newRow("second line without goods")
            << (good + QList<qint64>{0, U, U, U}) << "请选择商品资料！" << 1 << "kcsp_spmc";
        QTest::newRow("empty quantity") << QList<qint64>{1, -1, 3 * U, -1} << "数量要大于０，请录入正确的数量！" << 0
                                         << "sl";
        QTest::newRow("quantity 0") << QList<qint64>{1, 0, 3 * U, 0} << "数量要大于０，请录入正确的数量！" << 0 << "sl";
        QTest::newRow("price 0") << (good + QList<qint64>{2, U, 0, 0}) << "商品单价要大于０，请录入正确的单价！" << 1
                                 << "dj";
        QTest::newRow("total 0") << QList<qint64>{1, U, U, 0} << "合计金额要大于０，请录入正确的金额！" << 0 << "je";
        QTest::newRow("total over 100,000,000")
            << QList<qint64>{1, U, 100000000 * U + 100, 100000000 * U + 100}
            << "合计金额超出系统充许范围，请录入正确的数量和单价！" << 0 << "je";
        QTest::newRow("two lines over 100,000,000")
            << QList<qint64>{1, U, 60000000 * U, 60000000 * U, 2, U, 40000000 * U, 40000000 * U + 1}
            << "合计金额超出系统充许范围，请录入正确的数量和单价！" << 1 << "je";
    }
    void refusals()
    {
        QFETCH(QList<qint64>, figures);
        QFETCH(QString, message);
        QFETCH(int, line);
        QFETCH(QString, field);
        DocumentsData d;
        const Counters before = counters(d);
        const qint64 documents = d.scalar("SELECT count(*) FROM sfk");
        d.startNew(DocumentKind::Shipment);
        for (qsizetype i = 0; i + 3 < figures.size(); i += 4)
            d.typeLine(figures[i], figures[i + 1], figures[i + 2], figures[i + 3], i + 4 < figures.size());
        MessageRecorder rec;
        const DocumentSaveResult r =
            SaveDocument(d.dm().DataSfk, d.dm().DataKcmx, entry(DocumentKind::Shipment, QStringLiteral("CH1")));
        QCOMPARE(r.outcome, DocumentSaveResult::Refused);
        QCOMPARE(rec.texts(), QStringList{message});
        QCOMPARE(r.line, line);
        QCOMPARE(r.field, field);
        QCOMPARE(d.dm().DataKcmx.currentIndex(), line);
        QVERIFY(d.dm().DataKcmx.state() != Dataset::State::Browse);
        QCOMPARE(d.dm().DataSfk.state(), Dataset::State::Insert);
        QCOMPARE(counters(d), before);
        QCOMPARE(d.scalar("SELECT count(*) FROM sfk"), documents);
    }

    void totalOfExactlyHundredMillionPasses()
    {
        DocumentsData d;
        d.startNew(DocumentKind::Purchase);
        d.typeLine(1, 4 * U, 25000000 * U, 100000000 * U, false);
        MessageRecorder rec;
        QCOMPARE(SaveDocument(d.dm().DataSfk, d.dm().DataKcmx, entry(DocumentKind::Purchase, "JH9")).outcome,
                 DocumentSaveResult::Saved);
        QCOMPARE(d.scalar("SELECT 结帐、应付款金额（进货） FROM sfk WHERE 单号='JH9'"), 100000000 * U);
        QCOMPARE(d.scalar("SELECT 应收款金额（出货） FROM sfk WHERE 单号='JH9'"), qint64(0));
    }

    void blankLastLineDroppedSilently()
    {
        DocumentsData d;
        d.startNew(DocumentKind::Shipment);
        d.typeLine(1, U, U, U, true);
        d.dm().DataKcmx.setValue("备注", Value(QString()));
        d.dm().DataKcmx.post();
        MessageRecorder rec;
        QCOMPARE(SaveDocument(d.dm().DataSfk, d.dm().DataKcmx, entry(DocumentKind::Shipment, "CH7")).outcome,
                 DocumentSaveResult::Saved);
        QCOMPARE(rec.texts(), QStringList());
        QCOMPARE(d.scalar("SELECT count(*) FROM kcmx WHERE sf_id=(SELECT id FROM sfk WHERE 单号='CH7')"), qint64(1));
    }

    void cancelledPurchaseProposesSameNumber()
    {
        DocumentsData d;
        const Counters before = counters(d);
        d.startNew(DocumentKind::Purchase);
        const QString first = d.dm().DataSfk.value("单号").toString();
        QCOMPARE(first, ProposedNumber("JH", before.yfk));
        d.dm().DataSfk.cancel();
        d.dm().DataKcmx.close();
        QCOMPARE(counters(d), before);
        d.startNew(DocumentKind::Purchase);
        QCOMPARE(d.dm().DataSfk.value("单号").toString(), first);
    }

    void changedNumberStillAdvancesCounter()
    {
        DocumentsData d;
        const Counters before = counters(d);
        d.startNew(DocumentKind::Purchase);
        d.typeLine(4, U, 2 * U, 2 * U, false);
        MessageRecorder rec;
        QCOMPARE(SaveDocument(d.dm().DataSfk, d.dm().DataKcmx, entry(DocumentKind::Purchase, " JH-A ")).outcome,
                 DocumentSaveResult::Saved);
        QCOMPARE(d.text("SELECT 类别 FROM sfk WHERE 单号='JH-A'"), QStringLiteral("进货"));
        QCOMPARE(counters(d), (Counters{before.sfk + 1, before.ysk, before.yfk + 1, before.sk}));
    }

    void editingChangesNoCounter()
    {
        DocumentsData d;
        const qint64 id = d.scalar("SELECT min(id) FROM sfk WHERE dw_id=1 AND 类别='出货'");
        const Counters before = counters(d);
        const QString number = d.text(QStringLiteral("SELECT 单号 FROM sfk WHERE id=%1").arg(id));
        d.startEdit(id);
        d.dm().DataKcmx.last();
        d.dm().DataKcmx.edit();
        d.dm().DataKcmx.setValue("je", Value::money(12345 * U));
        d.dm().DataKcmx.setValue("dj", Value::money(12345 * U));
        d.dm().DataKcmx.setValue("sl", Value::money(U));
        d.dm().DataKcmx.post();
        d.dm().DataSfk.setValue("单号", number);
        MessageRecorder rec;
        QCOMPARE(SaveDocument(d.dm().DataSfk, d.dm().DataKcmx, entry(DocumentKind::Shipment, number)).outcome,
                 DocumentSaveResult::Saved);
        QCOMPARE(counters(d), before);
        QCOMPARE(d.scalar(QStringLiteral("SELECT count(*) FROM kcmx WHERE sf_id=%1 AND je=%2").arg(id).arg(12345 * U)), qint64(1));
        QCOMPARE(d.scalar(QStringLiteral("SELECT 应收款金额（出货） FROM sfk WHERE id=%1").arg(id)),
                 d.scalar(QStringLiteral("SELECT sum(je) FROM kcmx WHERE sf_id=%1").arg(id)));
    }

    void emptyStaffBoxClearsStaff()
    {
        DocumentsData d;
        const qint64 id = d.scalar("SELECT min(id) FROM sfk WHERE dw_id=1 AND 类别='出货' AND xszg_id IS NOT NULL");
        QVERIFY(id > 0);
        d.startEdit(id);
        d.dm().DataSfk.setValue("备注", Value(QStringLiteral("x")));
        DocumentEntry e = entry(DocumentKind::Shipment, d.dm().DataSfk.value("单号").toString());
        e.staffName = QStringLiteral("  ");
        MessageRecorder rec;
        QCOMPARE(SaveDocument(d.dm().DataSfk, d.dm().DataKcmx, e).outcome, DocumentSaveResult::Saved);
        QCOMPARE(d.scalar(QStringLiteral("SELECT xszg_id FROM sfk WHERE id=%1").arg(id)), qint64(-1));
    }

    void tooLongNumberRefused_data()
    {
        QTest::addColumn<QString>("number");
        QTest::newRow("typed") << "CH-2026-0001";
        QTest::newRow("proposal past the range") << "CH100000000";
    }
    void tooLongNumberRefused()
    {
        QFETCH(QString, number);
        DocumentsData d;
        const Counters before = counters(d);
        d.startNew(DocumentKind::Shipment);
        d.typeLine(1, U, U, U, false);
        MessageRecorder rec;
        const DocumentSaveResult r =
            SaveDocument(d.dm().DataSfk, d.dm().DataKcmx, entry(DocumentKind::Shipment, number));
        QCOMPARE(r.outcome, DocumentSaveResult::Refused);
        QCOMPARE(r.field, QStringLiteral("单号"));
        QCOMPARE(rec.texts().size(), 1);
        QVERIFY(rec.texts().first().contains(number));
        QCOMPARE(counters(d), before);
        QCOMPARE(d.dm().DataSfk.state(), Dataset::State::Insert);
        QCOMPARE(d.dm().DataKcmx.recordCount(), 1);
        // Shortened, the same document saves.
        QCOMPARE(SaveDocument(d.dm().DataSfk, d.dm().DataKcmx, entry(DocumentKind::Shipment, "CH-A")).outcome,
                 DocumentSaveResult::Saved);
    }

    // A database error after the header was written: the rollback leaves the
    // editor's datasets as typed, and the second 保存 stores the document once.
    void failedThenRetried_data()
    {
        QTest::addColumn<QString>("trigger");
        QTest::newRow("lines refused") << "CREATE TRIGGER fail_lines BEFORE INSERT ON kcmx WHEN EXISTS(SELECT 1 FROM "
                                          "fail_once) BEGIN SELECT RAISE(ABORT, '磁盘已满'); END";
        QTest::newRow("header refused") << "CREATE TRIGGER fail_header BEFORE INSERT ON sfk WHEN EXISTS(SELECT 1 FROM "
                                           "fail_once) BEGIN SELECT RAISE(ABORT, '磁盘已满'); END";
    }
    void failedThenRetried()
    {
        QFETCH(QString, trigger);
        DocumentsData d;
        d.conn().exec(QStringLiteral("CREATE TABLE fail_once(x INTEGER)"));
        d.conn().exec(QStringLiteral("INSERT INTO fail_once VALUES (1)"));
        d.conn().exec(trigger);
        const Counters before = counters(d);
        const qint64 documents = d.scalar("SELECT count(*) FROM sfk");
        const qint64 lineRows = d.scalar("SELECT count(*) FROM kcmx");
        d.startNew(DocumentKind::Shipment);
        d.typeLine(1, 2 * U, 3 * U, 6 * U);
        d.typeLine(2, U, 4 * U, 4 * U, false);
        MessageRecorder rec;
        const DocumentEntry e = entry(DocumentKind::Shipment, QStringLiteral("CH55"));
        const DocumentSaveResult failed = SaveDocument(d.dm().DataSfk, d.dm().DataKcmx, e);
        QCOMPARE(failed.outcome, DocumentSaveResult::Failed);
        QCOMPARE(failed.field, QStringLiteral("单号"));
        QCOMPARE(rec.texts().size(), 1);
        QCOMPARE(counters(d), before);
        QCOMPARE(d.scalar("SELECT count(*) FROM sfk"), documents);
        QCOMPARE(d.scalar("SELECT count(*) FROM kcmx"), lineRows);
        QCOMPARE(d.dm().DataSfk.state(), Dataset::State::Insert);
        QVERIFY(d.dm().DataSfk.value("id").isNull());
        QCOMPARE(d.dm().DataSfk.value("单号").toString(), QStringLiteral("CH55"));
        QCOMPARE(d.dm().DataKcmx.recordCount(), 2);

        d.conn().exec(QStringLiteral("DELETE FROM fail_once"));
        rec.clear();
        QCOMPARE(SaveDocument(d.dm().DataSfk, d.dm().DataKcmx, e).outcome, DocumentSaveResult::Saved);
        QCOMPARE(rec.texts(), QStringList());
        QCOMPARE(counters(d), (Counters{before.sfk + 1, before.ysk + 1, before.yfk, before.sk}));
        QCOMPARE(d.scalar("SELECT count(*) FROM sfk WHERE 单号='CH55'"), qint64(1));
        QCOMPARE(d.scalar("SELECT id FROM sfk WHERE 单号='CH55'"), before.sfk + 1);
        QCOMPARE(d.scalar(QStringLiteral("SELECT count(*) FROM kcmx WHERE sf_id=%1").arg(before.sfk + 1)), qint64(2));
        QCOMPARE(d.scalar("SELECT count(*) FROM kcmx"), lineRows + 2);
        QCOMPARE(d.scalar("SELECT 应收款金额（出货） FROM sfk WHERE 单号='CH55'"), 10 * U);
    }

    void lineArithmetic_data()
    {
        QTest::addColumn<qint64>("sl");
        QTest::addColumn<qint64>("dj");
        QTest::addColumn<qint64>("je");
        QTest::addColumn<QString>("left");
        QTest::addColumn<qint64>("djAfter");
        QTest::addColumn<qint64>("jeAfter");
        QTest::newRow("price left: 3 x 2.5") << 3 * U << 25000ll << -1ll << "dj" << 25000ll << 75000ll;
        QTest::newRow("quantity left") << 3 * U << 25000ll << 1ll << "sl" << 25000ll << 75000ll;
        QTest::newRow("amount 9 over 3") << 3 * U << 25000ll << 9 * U << "je" << 3 * U << 9 * U;
        QTest::newRow("amount over quantity 0") << 0ll << 25000ll << 9 * U << "je" << 25000ll << 9 * U;
        QTest::newRow("amount 10 over 3") << 3 * U << -1ll << 10 * U << "je" << 33333ll << 10 * U;
        QTest::newRow("remark left changes nothing") << 3 * U << 25000ll << U << "备注" << 25000ll << U;
    }
    void lineArithmetic()
    {
        QFETCH(qint64, sl);
        QFETCH(qint64, dj);
        QFETCH(qint64, je);
        QFETCH(QString, left);
        QFETCH(qint64, djAfter);
        QFETCH(qint64, jeAfter);
        DocumentsData d;
        d.startNew(DocumentKind::Shipment);
        Dataset &l = d.dm().DataKcmx;
        l.setValue("kcsp_id", Value::integer(1));
        l.setValue("sl", Value::money(sl));
        if (dj >= 0)
            l.setValue("dj", Value::money(dj));
        if (je >= 0)
            l.setValue("je", Value::money(je));
        QCOMPARE(ApplyLineArithmetic(l, LineColumnOf(left)), QString());
        QCOMPARE(l.value("dj").moneyUnits(), djAfter);
        QCOMPARE(l.value("je").moneyUnits(), jeAfter);
    }

    void arithmeticLeavesLinesWithoutGoods()
    {
        DocumentsData d;
        d.startNew(DocumentKind::Shipment);
        Dataset &l = d.dm().DataKcmx;
        l.setValue("sl", Value::money(3 * U));
        l.setValue("dj", Value::money(U));
        QCOMPARE(ApplyLineArithmetic(l, LineColumn::Price), QString());
        QVERIFY(l.value("je").isNull());
    }
};

QTEST_MAIN(TestDocumentSave)
#include "test_document_save.moc"
