// Settlements against a real data file: picking documents in memory, the net
// amount, the save in one transaction, and taking a document out again.
#include "DocumentsFixture.h"
#include "MessageRecorder.h"
#include "SettlementCandidates.h"
#include "SettlementLinks.h"
#include "SettlementSave.h"

#include <QtTest>

using namespace kvl;
using namespace kvl::test;

namespace {

constexpr qint64 U = 10000;

// Partner 9001 with two shipments (500, 80) and two purchases (120, 30), all open.
const char *kPartnerRows =
    "INSERT INTO 往来单位(id, 单位编号, 单位名称) VALUES (9001, 'JZ-01', '结帐测试商行');"
    "INSERT INTO sfk(id, 制单日期, 类别, 单号, dw_id, 应收款金额（出货）, 结帐、应付款金额（进货）, 结帐) VALUES"
    " (900001, '2026-01-01 00:00:00', '出货', 'CH900001', 9001, 5000000, 0, 0),"
    " (900002, '2026-01-02 00:00:00', '进货', 'JH900002', 9001, 0, 1200000, 0),"
    " (900003, '2026-01-03 00:00:00', '出货', 'CH900003', 9001, 800000, 0, 0),"
    " (900004, '2026-01-04 00:00:00', '进货', 'JH900004', 9001, 0, 300000, 0);";

} // namespace

class TestSettlementSave : public QObject
{
    Q_OBJECT

    void startNewSettlement(DocumentsData &d)
    {
        d.conn().exec(QString::fromUtf8(kPartnerRows));
        d.openPartner(9001);
        d.partner = 9001;
        d.startNew(DocumentKind::Settlement);
    }

    void pick(DocumentsData &d, qint64 id)
    {
        QVERIFY(d.dm().DataSfk_jz.locate("id", Value::integer(id)));
        LinkCandidate(d.dm().DataSfk_jz, d.dm().DataJzmx);
    }

    DocumentEntry entry(DocumentsData &d)
    {
        DocumentEntry e;
        e.kind = DocumentKind::Settlement;
        e.partnerId = 9001;
        e.date = QDate(2026, 2, 1);
        e.number = d.dm().DataSfk.value("单号").toString();
        e.staffName = QStringLiteral("员工");
        e.staffId = 3;
        return e;
    }

private slots:
    void netAmount_data()
    {
        QTest::addColumn<QList<qint64>>("picked");
        QTest::addColumn<qint64>("total");
        QTest::newRow("500 and 120") << QList<qint64>{900001, 900002} << 380 * U;
        QTest::newRow("purchases only") << QList<qint64>{900002, 900004} << -150 * U;
        QTest::newRow("all four") << QList<qint64>{900001, 900002, 900003, 900004} << 430 * U;
    }
    void netAmount()
    {
        QFETCH(QList<qint64>, picked);
        QFETCH(qint64, total);
        DocumentsData d;
        startNewSettlement(d);
        const qint64 sfk = d.scalar("SELECT sfk FROM PH"), sk = d.scalar("SELECT dh_sk FROM PH");
        for (qint64 id : picked)
            pick(d, id);
        QCOMPARE(SettlementTotal(d.dm().DataSfk_jz, d.dm().DataJzmx), total);
        MessageRecorder rec;
        QCOMPARE(SaveSettlement(d.dm().DataSfk, d.dm().DataJzmx, d.dm().DataSfk_jz, entry(d)).outcome,
                 DocumentSaveResult::Saved);
        QCOMPARE(rec.texts(), QStringList());
        const qint64 id = sfk + 1;
        QCOMPARE(d.scalar("SELECT sfk FROM PH"), id);
        QCOMPARE(d.scalar("SELECT dh_sk FROM PH"), sk + 1);
        const QString row = QStringLiteral("SELECT %1 FROM sfk WHERE id=%2");
        QCOMPARE(d.text(row.arg("类别").arg(id)), QStringLiteral("结帐"));
        QCOMPARE(d.text(row.arg("单号").arg(id)), ProposedNumber("结", sk));
        QCOMPARE(d.scalar(row.arg("结帐、应付款金额（进货）").arg(id)), total);
        QCOMPARE(d.scalar(row.arg("应收款金额（出货）").arg(id)), qint64(0));
        QCOMPARE(d.scalar(row.arg("dw_id").arg(id)), qint64(9001));
        QCOMPARE(d.scalar(row.arg("xszg_id").arg(id)), qint64(3));
        QCOMPARE(d.scalar(QStringLiteral("SELECT count(*) FROM jzmx WHERE sf_id=%1").arg(id)), qint64(picked.size()));
        for (qint64 doc : picked)
            QCOMPARE(d.scalar(QStringLiteral("SELECT sf_id FROM jzmx WHERE sfid_mx=%1").arg(doc)), id);
        // The stored 结帐 of the documents stays; the links alone settle them.
        QCOMPARE(d.scalar("SELECT count(*) FROM sfk WHERE id BETWEEN 900001 AND 900004 AND 结帐=0"), qint64(4));
    }

    void pickedMarksFollowThePicker()
    {
        DocumentsData d;
        startNewSettlement(d);
        Dataset &c = d.dm().DataSfk_jz;
        pick(d, 900001);
        pick(d, 900003);
        c.setFiltered(true);
        QCOMPARE(c.recordCount(), 2);
        QVERIFY(!c.locate("id", Value::integer(900001)));
        c.setFiltered(false);
        d.dm().DataJzmx.first();
        UnlinkCurrent(c, d.dm().DataJzmx);
        QCOMPARE(d.dm().DataJzmx.recordCount(), 1);
        QCOMPARE(d.dm().DataJzmx.value("sfid_mx").toInt(), qint64(900003));
        c.setFiltered(true);
        QCOMPARE(c.recordCount(), 3);
        QVERIFY(c.locate("id", Value::integer(900001)));
        c.setFiltered(false);
    }

    void noLinksRefused()
    {
        DocumentsData d;
        startNewSettlement(d);
        const qint64 sfk = d.scalar("SELECT sfk FROM PH");
        d.dm().DataJzmx.append(); // the empty row the picker leaves
        MessageRecorder rec;
        const DocumentSaveResult r = SaveSettlement(d.dm().DataSfk, d.dm().DataJzmx, d.dm().DataSfk_jz, entry(d));
        QCOMPARE(r.outcome, DocumentSaveResult::Refused);
        QCOMPARE(rec.texts(), QStringList{QStringLiteral("请添加未结帐单据！")});
        QCOMPARE(r.field, QStringLiteral("sfk_zdrq"));
        QCOMPARE(d.scalar("SELECT sfk FROM PH"), sfk);
        QCOMPARE(d.dm().DataSfk.state(), Dataset::State::Insert);
    }

    // Editing a settlement: one document taken out, saved; it is open again and
    // the staff member chosen before shows again.
    void removeDocumentAndSave()
    {
        DocumentsData d;
        startNewSettlement(d);
        pick(d, 900001);
        pick(d, 900002);
        MessageRecorder rec;
        QCOMPARE(SaveSettlement(d.dm().DataSfk, d.dm().DataJzmx, d.dm().DataSfk_jz, entry(d)).outcome,
                 DocumentSaveResult::Saved);
        const qint64 id = d.dm().DataSfk.value("id").toInt();
        const qint64 sfk = d.scalar("SELECT sfk FROM PH"), sk = d.scalar("SELECT dh_sk FROM PH");

        d.openPartner(9001);
        QVERIFY(d.dm().DataSfk.locate("id", Value::integer(id)));
        QCOMPARE(d.dm().DataSfk.value("员工姓名").isNull(), false);
        d.startEdit(id);
        Dataset &l = d.dm().DataJzmx;
        QCOMPARE(l.recordCount(), 2);
        QVERIFY(l.locate("sfid_mx", Value::integer(900002)));
        UnlinkCurrent(d.dm().DataSfk_jz, l);
        d.dm().DataSfk.setValue("单号", d.dm().DataSfk.value("单号"));
        QCOMPARE(SaveSettlement(d.dm().DataSfk, l, d.dm().DataSfk_jz, entry(d)).outcome, DocumentSaveResult::Saved);
        QCOMPARE(d.scalar(QStringLiteral("SELECT count(*) FROM jzmx WHERE sf_id=%1").arg(id)), qint64(1));
        QCOMPARE(d.scalar("SELECT count(*) FROM jzmx WHERE sfid_mx=900002"), qint64(0));
        QCOMPARE(d.scalar(QStringLiteral("SELECT 结帐、应付款金额（进货） FROM sfk WHERE id=%1").arg(id)), 500 * U);
        QCOMPARE(d.scalar("SELECT sfk FROM PH"), sfk);
        QCOMPARE(d.scalar("SELECT dh_sk FROM PH"), sk);
        QCOMPARE(rec.texts(), QStringList());
    }
};

QTEST_MAIN(TestSettlementSave)
#include "test_settlement_save.moc"
