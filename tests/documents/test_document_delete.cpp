// Deleting documents from the business window's list: refusals, the question,
// and lines or links going together with the document.
#include "DocumentDelete.h"
#include "DocumentsFixture.h"
#include "MessageRecorder.h"

#include <QtTest>

using namespace kvl;
using namespace kvl::test;

class TestDocumentDelete : public QObject
{
    Q_OBJECT

    qint64 settledDocument(DocumentsData &d)
    {
        return d.scalar("SELECT sfk.id FROM sfk JOIN jzmx ON jzmx.sfid_mx=sfk.id WHERE sfk.类别<>'结帐' ORDER BY sfk.id LIMIT 1");
    }

private slots:
    void openShipmentGoesWithItsLines()
    {
        DocumentsData d;
        const qint64 id = d.scalar("SELECT min(sfk.id) FROM sfk LEFT JOIN jzmx ON jzmx.sfid_mx=sfk.id "
                                   "WHERE jzmx.id IS NULL AND 类别<>'结帐' AND dw_id=1");
        QVERIFY(d.scalar(QStringLiteral("SELECT count(*) FROM kcmx WHERE sf_id=%1").arg(id)) > 0);
        const qint64 counter = d.scalar("SELECT dh_ysk FROM PH");
        QVERIFY(d.dm().DataSfk.locate("id", Value::integer(id)));
        const QString kind = d.dm().DataSfk.value("类别").toString(), number = d.dm().DataSfk.value("单号").toString();
        MessageRecorder rec;
        rec.queueAnswer(QMessageBox::Yes);
        QCOMPARE(DeleteCurrentDocument(d.dm().DataSfk), DeleteOutcome::Deleted);
        QCOMPARE(rec.texts(), QStringList{"删除" + kind + "单：" + number + "\n\n记录删除后不能恢复，删除吗？"});
        QCOMPARE(d.scalar(QStringLiteral("SELECT count(*) FROM sfk WHERE id=%1").arg(id)), qint64(0));
        QCOMPARE(d.scalar(QStringLiteral("SELECT count(*) FROM kcmx WHERE sf_id=%1").arg(id)), qint64(0));
        QCOMPARE(d.scalar("SELECT dh_ysk FROM PH"), counter);
        QVERIFY(!d.dm().DataSfk.locate("id", Value::integer(id)));
        QCOMPARE(d.dm().DataSfk.currentIndex(), d.dm().DataSfk.recordCount() - 1);
    }

    void declinedChangesNothing()
    {
        DocumentsData d;
        const qint64 documents = d.scalar("SELECT count(*) FROM sfk");
        MessageRecorder rec;
        rec.queueAnswer(QMessageBox::No);
        d.dm().DataSfk.first();
        while (!d.dm().DataSfk.value("结帐单号").toString().isEmpty()
               && d.dm().DataSfk.value("类别").toString() != "结帐")
            d.dm().DataSfk.next();
        QCOMPARE(DeleteCurrentDocument(d.dm().DataSfk), DeleteOutcome::Declined);
        QCOMPARE(d.scalar("SELECT count(*) FROM sfk"), documents);
    }

    void settledDocumentRefused()
    {
        DocumentsData d;
        const qint64 id = settledDocument(d);
        d.openPartner(d.scalar(QStringLiteral("SELECT dw_id FROM sfk WHERE id=%1").arg(id)));
        QVERIFY(d.dm().DataSfk.locate("id", Value::integer(id)));
        MessageRecorder rec;
        QCOMPARE(DeleteCurrentDocument(d.dm().DataSfk), DeleteOutcome::Refused);
        QCOMPARE(rec.texts(), QStringList{QStringLiteral("此单已经结帐，不能删除！")});
        QCOMPARE(d.scalar(QStringLiteral("SELECT count(*) FROM sfk WHERE id=%1").arg(id)), qint64(1));
    }

    void settlementReopensItsDocuments()
    {
        DocumentsData d;
        const qint64 doc = settledDocument(d);
        const qint64 settlement = d.scalar(QStringLiteral("SELECT sf_id FROM jzmx WHERE sfid_mx=%1").arg(doc));
        const qint64 links = d.scalar(QStringLiteral("SELECT count(*) FROM jzmx WHERE sf_id=%1").arg(settlement));
        d.openPartner(d.scalar(QStringLiteral("SELECT dw_id FROM sfk WHERE id=%1").arg(settlement)));
        QVERIFY(d.dm().DataSfk.locate("id", Value::integer(settlement)));
        MessageRecorder rec;
        rec.queueAnswer(QMessageBox::Yes);
        QCOMPARE(DeleteCurrentDocument(d.dm().DataSfk), DeleteOutcome::Deleted);
        QVERIFY(links > 0);
        QCOMPARE(d.scalar(QStringLiteral("SELECT count(*) FROM jzmx WHERE sf_id=%1").arg(settlement)), qint64(0));
        QVERIFY(d.dm().DataSfk.locate("id", Value::integer(doc)));
        QVERIFY(d.dm().DataSfk.value("结帐单号").isNull());
    }

    // The document row cannot go: its lines stay with it.
    void failureKeepsLinesWithTheDocument()
    {
        DocumentsData d;
        d.conn().exec(QStringLiteral("CREATE TRIGGER keep_sfk BEFORE DELETE ON sfk BEGIN SELECT RAISE(ABORT, '被锁定'); END"));
        const qint64 id = d.scalar("SELECT min(sfk.id) FROM sfk LEFT JOIN jzmx ON jzmx.sfid_mx=sfk.id "
                                   "WHERE jzmx.id IS NULL AND 类别<>'结帐' AND dw_id=1");
        const qint64 lines = d.scalar(QStringLiteral("SELECT count(*) FROM kcmx WHERE sf_id=%1").arg(id));
        QVERIFY(d.dm().DataSfk.locate("id", Value::integer(id)));
        MessageRecorder rec;
        rec.queueAnswer(QMessageBox::Yes);
        QCOMPARE(DeleteCurrentDocument(d.dm().DataSfk), DeleteOutcome::Failed);
        QCOMPARE(rec.texts().size(), 2);
        QCOMPARE(d.scalar(QStringLiteral("SELECT count(*) FROM kcmx WHERE sf_id=%1").arg(id)), lines);
        QCOMPARE(d.scalar(QStringLiteral("SELECT count(*) FROM sfk WHERE id=%1").arg(id)), qint64(1));
        QVERIFY(d.dm().DataSfk.locate("id", Value::integer(id)));
    }
};

QTEST_MAIN(TestDocumentDelete)
#include "test_document_delete.moc"
