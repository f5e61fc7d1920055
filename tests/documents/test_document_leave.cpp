// Closing the document editor without 保存: the questions, and what each answer
// leaves in the datasets and the data file.
#include "DocumentLeave.h"
#include "DocumentsFixture.h"
#include "MessageRecorder.h"

#include <QtTest>

using namespace kvl;
using namespace kvl::test;

class TestDocumentLeave : public QObject
{
    Q_OBJECT

    static constexpr qint64 U = 10000;

    // An existing shipment of partner 1 with one line's amount changed and the line posted.
    qint64 editWithChangedLine(DocumentsData &d)
    {
        const qint64 id = d.scalar("SELECT min(id) FROM sfk WHERE dw_id=1 AND 类别='出货' AND 结帐=0");
        d.startEdit(id);
        Dataset &l = d.dm().DataKcmx;
        l.first();
        l.edit();
        l.setValue("sl", Value::money(777 * U));
        l.post();
        d.dm().DataSfk.setValue("单号", d.dm().DataSfk.value("单号").toString().trimmed());
        return id;
    }

    std::function<DocumentSaveResult()> saver(DocumentsData &d, int *calls)
    {
        return [&d, calls] {
            ++*calls;
            DocumentEntry e;
            e.number = d.dm().DataSfk.value("单号").toString();
            e.staffName = QStringLiteral("有人");
            return SaveDocument(d.dm().DataSfk, d.dm().DataKcmx, e);
        };
    }

private slots:
    void newDocument_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("leaves");
        QTest::newRow("No keeps the editor") << int(QMessageBox::No) << false;
        QTest::newRow("Yes discards") << int(QMessageBox::Yes) << true;
    }
    void newDocument()
    {
        QFETCH(int, answer);
        QFETCH(bool, leaves);
        DocumentsData d;
        const int rows = d.dm().DataSfk.recordCount();
        const qint64 sfk = d.scalar("SELECT sfk FROM PH");
        d.startNew(DocumentKind::Shipment);
        d.typeLine(1, U, U, U, false);
        MessageRecorder rec;
        rec.queueAnswer(QMessageBox::StandardButton(answer));
        int saves = 0;
        QCOMPARE(CanLeaveDocument(d.dm().DataSfk, d.dm().DataKcmx, false, saver(d, &saves)), leaves);
        QCOMPARE(rec.texts(), QStringList{QStringLiteral("正在添加记录，确定放弃吗？")});
        QCOMPARE(saves, 0);
        QCOMPARE(d.dm().DataSfk.state(), leaves ? Dataset::State::Browse : Dataset::State::Insert);
        QCOMPARE(d.dm().DataSfk.recordCount(), leaves ? rows : rows + 1);
        QCOMPARE(d.dm().DataKcmx.isActive(), !leaves);
        QCOMPARE(d.scalar("SELECT sfk FROM PH"), sfk);
    }

    void changedDocument_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("leaves");
        QTest::addColumn<int>("saves");
        QTest::addColumn<qint64>("storedQuantity"); // -1: as it was
        QTest::newRow("Cancel keeps the editor") << int(QMessageBox::Cancel) << false << 0 << qint64(-1);
        QTest::newRow("No drops the changes") << int(QMessageBox::No) << true << 0 << qint64(-1);
        QTest::newRow("Yes saves") << int(QMessageBox::Yes) << true << 1 << 777 * U;
    }
    void changedDocument()
    {
        QFETCH(int, answer);
        QFETCH(bool, leaves);
        QFETCH(int, saves);
        QFETCH(qint64, storedQuantity);
        DocumentsData d;
        const qint64 id = d.scalar("SELECT min(id) FROM sfk WHERE dw_id=1 AND 类别='出货' AND 结帐=0");
        const QString firstLine = QStringLiteral("SELECT sl FROM kcmx WHERE sf_id=%1 ORDER BY id LIMIT 1").arg(id);
        const qint64 before = d.scalar(firstLine);
        editWithChangedLine(d);
        MessageRecorder rec;
        rec.queueAnswer(QMessageBox::StandardButton(answer));
        int calls = 0;
        QCOMPARE(CanLeaveDocument(d.dm().DataSfk, d.dm().DataKcmx, false, saver(d, &calls)), leaves);
        QCOMPARE(rec.texts(), QStringList{QStringLiteral("当前数据已经更改，保存吗？")});
        QCOMPARE(calls, saves);
        QCOMPARE(d.scalar(firstLine), storedQuantity < 0 ? before : storedQuantity);
        QCOMPARE(d.dm().DataKcmx.isActive(), !leaves);
    }

    void settledDocumentDropsWithoutQuestion()
    {
        DocumentsData d;
        const qint64 id = d.scalar("SELECT min(id) FROM sfk WHERE dw_id=1 AND 类别='出货'");
        const QString firstLine = QStringLiteral("SELECT sl FROM kcmx WHERE sf_id=%1 ORDER BY id LIMIT 1").arg(id);
        const qint64 before = d.scalar(firstLine);
        editWithChangedLine(d);
        MessageRecorder rec;
        int calls = 0;
        QVERIFY(CanLeaveDocument(d.dm().DataSfk, d.dm().DataKcmx, true, saver(d, &calls)));
        QCOMPARE(rec.texts(), QStringList());
        QCOMPARE(calls, 0);
        QCOMPARE(d.scalar(firstLine), before);
    }

    void unchangedDocumentLeavesQuietly()
    {
        DocumentsData d;
        d.startEdit(d.scalar("SELECT min(id) FROM sfk WHERE dw_id=1"));
        MessageRecorder rec;
        int calls = 0;
        QVERIFY(CanLeaveDocument(d.dm().DataSfk, d.dm().DataKcmx, false, saver(d, &calls)));
        QCOMPARE(rec.texts(), QStringList());
        QCOMPARE(d.dm().DataSfk.state(), Dataset::State::Browse);
    }
};

QTEST_MAIN(TestDocumentLeave)
#include "test_document_leave.moc"
