// The report runner on real data files of the small sample with the shipped templates:
// the lookup by prefix and its message, the summary question, the grid's dataset given
// back on every path, the template write-back, and the link adapter over master/detail.
#include "DatasetReportSource.h"
#include "MessageRecorder.h"
#include "ModalHandlers.h"
#include "ReportLinks.h"
#include "ReportPreview.h"
#include "ReportRunnerFixture.h"
#include "ReportVariables.h"
#include "ReportWriteBack.h"
#include "RunReport.h"

#include <QDialog>
#include <QtTest>

#include <stdexcept>

using namespace kvl;
using namespace kvl::test;

namespace {

const QString kSummaryQuestion = QStringLiteral(
    "汇总表有两种格式  1、不带明细的汇总表\u30002、带明细的分类汇总表\n\n\u3000\u3000如果您选 1 请按［是(Y)］键，  选 2 请按［否(N)］键。");

ReportPreview *previewOf(QDialog &d)
{
    return qobject_cast<ReportPreview *>(&d);
}

QStringList allTexts(const ReportDocument &doc)
{
    QStringList out;
    for (int p = 0; p < doc.pages.size(); ++p)
        out << doc.pageTexts(p);
    return out;
}

// The grid's dataset as a user sees it: its order, its current row, its views.
struct GridState
{
    QString sort;
    Value id;
    bool frozen;
    bool operator==(const GridState &) const = default;
};

GridState stateOf(const Dataset &d)
{
    return {d.sortText(), d.value(QStringLiteral("id")), d.controlsDisabled()};
}

} // namespace

namespace QTest {
template <>
char *toString(const GridState &s)
{
    return qstrdup(qPrintable(QStringLiteral("sort \"%1\", id %2, %3").arg(s.sort, s.id.toString(),
                                                                          s.frozen ? "frozen" : "live")));
}
} // namespace QTest

class TestReportRunner : public QObject
{
    Q_OBJECT

private slots:
    void missingTemplate_data()
    {
        QTest::addColumn<QString>("asked");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("removeDetailList");
        QTest::newRow("未结帐明细表 without its row") << "未结帐明细表" << "未结帐明细表" << true;
        QTest::newRow("blanks around the name") << "  未结帐明细表 " << "未结帐明细表" << true;
        QTest::newRow("a name no row begins with") << "月度报表" << "月度报表" << false;
        QTest::newRow("a longer name than the row's") << "未结帐明细表（全部）" << "未结帐明细表（全部）" << false;
        // Every name begins with the empty text; finding the first template would print it.
        QTest::newRow("blank name") << "   " << "" << false;
    }
    void missingTemplate()
    {
        QFETCH(QString, asked);
        QFETCH(QString, shown);
        QFETCH(bool, removeDetailList);
        ReportRunnerFixture f([&](Connection &c) {
            if (removeDetailList)
                c.exec(QStringLiteral("DELETE FROM report WHERE Name='未结帐明细表'"));
        });
        Dataset &ysk = f.openUnsettled();
        ysk.setSortText(QStringLiteral("单号 DESC"));
        ysk.moveTo(4);
        const GridState before = stateOf(ysk);

        MessageRecorder rec;
        ModalHandlers dialogs;
        CurrentReportName = asked;
        RunReport(ysk, true, true, QStringLiteral("单位名称"));

        QCOMPARE(rec.texts(), QStringList{QStringLiteral("找不到［%1］的报表文件！").arg(shown)});
        QCOMPARE(rec.transcript().first().kind, MessageKind::Warning);
        QCOMPARE(rec.transcript().first().title, QStringLiteral("《Kavelo》应收应付款管理系统 3.6"));
        QVERIFY(dialogs.shown().isEmpty());
        QCOMPARE(stateOf(ysk), before);
        QCOMPARE(CurrentReportName, shown);
    }

    // The row order of table report decides which of two names sharing a beginning is found.
    void prefixSearch_data()
    {
        QTest::addColumn<bool>("longerFirst");
        QTest::addColumn<QString>("found");
        QTest::newRow("as stored, shorter name first") << false << "未结帐汇总表－往来单位";
        QTest::newRow("shorter name moved behind") << true << "未结帐汇总表－往来单位＋业务员";
    }
    void prefixSearch()
    {
        QFETCH(bool, longerFirst);
        QFETCH(QString, found);
        ReportRunnerFixture f([&](Connection &c) {
            if (!longerFirst)
                return;
            c.exec(QStringLiteral("INSERT INTO report (Name, Template) SELECT Name, Template FROM report "
                                  "WHERE Name='未结帐汇总表－往来单位'"));
            c.exec(QStringLiteral("DELETE FROM report WHERE Id=(SELECT min(Id) FROM report WHERE Name='未结帐汇总表－往来单位')"));
        });
        Dataset &ysk = f.openUnsettled();
        MessageRecorder rec;
        rec.queueAnswer(QMessageBox::Yes);
        ModalHandlers dialogs;
        QString shown;
        dialogs.enqueue([&](QDialog &d) {
            shown = previewOf(d)->reportTemplate().name;
            d.accept();
        });
        CurrentReportName = QStringLiteral("未结帐汇总表－往来单位");
        RunReport(ysk, true, true, QStringLiteral("单位名称"));
        QCOMPARE(shown, found);
        QCOMPARE(dialogs.unexpected(), 0);
        // The run leaves DataReport open on the row it found.
        QVERIFY(f.dm().DataReport.isActive());
        QCOMPARE(f.dm().DataReport.value(QStringLiteral("Name")).toString(), found);
    }

    void summaryQuestion_data()
    {
        QTest::addColumn<bool>("ask");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("showMX");
        QTest::newRow("是: the summary alone") << true << int(QMessageBox::Yes) << false;
        QTest::newRow("否: grouped with details") << true << int(QMessageBox::No) << true;
        QTest::newRow("no question: ShowMX kept") << false << 0 << false;
    }
    void summaryQuestion()
    {
        QFETCH(bool, ask);
        QFETCH(int, answer);
        QFETCH(bool, showMX);
        ReportRunnerFixture f;
        Dataset &ysk = f.openUnsettled();
        ReportVars.insert(QStringLiteral("ShowMX"), Value::boolean(!ask ? false : !showMX));
        MessageRecorder rec;
        if (ask)
            rec.queueAnswer(QMessageBox::StandardButton(answer));
        ModalHandlers dialogs;
        bool numbersPrinted = false;
        dialogs.enqueue([&](QDialog &d) {
            const QStringList texts = allTexts(previewOf(d)->document());
            numbersPrinted = texts.contains(ysk.valueAt(0, ysk.fieldIndex(QStringLiteral("单号"))).toString());
            d.accept();
        });
        CurrentReportName = QStringLiteral("未结帐汇总表－业务员");
        RunReport(ysk, true, ask, QStringLiteral("员工姓名"));

        QCOMPARE(ReportVars.value(QStringLiteral("ShowMX")), Value::boolean(showMX));
        QCOMPARE(numbersPrinted, showMX);
        if (ask) {
            QCOMPARE(rec.texts(), QStringList{kSummaryQuestion});
            QCOMPARE(rec.transcript().first().kind, MessageKind::Question);
            QCOMPARE(rec.transcript().first().buttons, MessageButtons::YesNo);
        } else {
            QVERIFY(rec.transcript().isEmpty());
        }
    }

    // Sort, current row and views come back however the preview ends.
    void datasetRestored_data()
    {
        QTest::addColumn<QString>("ending");
        QTest::newRow("preview closed") << "closed";
        QTest::newRow("error inside the preview") << "throws";
        QTest::newRow("damaged template") << "damaged";
        QTest::newRow("sort field unknown") << "badsort";
    }
    void datasetRestored()
    {
        QFETCH(QString, ending);
        const QString name = QStringLiteral("未结帐汇总表－往来单位＋业务员");
        ReportRunnerFixture f([&](Connection &c) {
            if (ending == QLatin1String("damaged"))
                c.exec(QStringLiteral("UPDATE report SET Template=X'7B2276657273696F6E223A' WHERE Name='%1'").arg(name));
        });
        Dataset &ysk = f.openUnsettled();
        ysk.setSortText(QStringLiteral("单号 DESC"));
        ysk.moveTo(5);
        const GridState before = stateOf(ysk);
        QVERIFY(before.id.toInt() > 0);

        MessageRecorder rec;
        rec.queueAnswer(QMessageBox::No);
        ModalHandlers dialogs;
        GridState during;
        dialogs.enqueue([&](QDialog &d) {
            during = stateOf(ysk);
            d.accept();
            if (ending == QLatin1String("throws"))
                throw std::runtime_error("printer gone");
        });
        CurrentReportName = name;
        const QString sort = ending == QLatin1String("badsort") ? QStringLiteral("单位名称,没有的字段")
                                                                  : QStringLiteral("单位名称,员工姓名");
        bool thrown = false;
        try {
            RunReport(ysk, true, true, sort);
        } catch (const std::exception &) {
            thrown = true;
        }
        QCOMPARE(thrown, ending == QLatin1String("throws") || ending == QLatin1String("badsort"));
        QCOMPARE(stateOf(ysk), before);
        if (ending == QLatin1String("closed") || ending == QLatin1String("throws")) {
            // While printing, the rows stood in the order of the summary's groups, frozen.
            QCOMPARE(during.sort, QStringLiteral("单位名称,员工姓名"));
            QVERIFY(during.frozen);
        }
        if (ending == QLatin1String("damaged")) {
            QVERIFY(dialogs.shown().isEmpty());
            QCOMPARE(rec.texts().size(), 2);
            QVERIFY2(rec.texts().last().startsWith(QStringLiteral("报表［%1］的报表文件已损坏，无法打印").arg(name)),
                     qPrintable(rec.texts().last()));
            QCOMPARE(rec.transcript().last().kind, MessageKind::Warning);
        }
    }

    void freezeOnRequest_data()
    {
        QTest::addColumn<bool>("freeze");
        QTest::addColumn<bool>("callerFroze");
        QTest::newRow("frozen while printing") << true << false;
        QTest::newRow("live while printing") << false << false;
        QTest::newRow("the caller's own freeze stays") << true << true;
    }
    void freezeOnRequest()
    {
        QFETCH(bool, freeze);
        QFETCH(bool, callerFroze);
        ReportRunnerFixture f;
        Dataset &ysk = f.openUnsettled();
        if (callerFroze)
            ysk.disableControls();
        ModalHandlers dialogs;
        bool frozenInside = false;
        dialogs.enqueue([&](QDialog &d) {
            frozenInside = ysk.controlsDisabled();
            d.accept();
        });
        CurrentReportName = QStringLiteral("未结帐明细表");
        RunReport(ysk, freeze, false, QString());
        QCOMPARE(frozenInside, freeze || callerFroze);
        QCOMPARE(ysk.controlsDisabled(), callerFroze);
        if (callerFroze) {
            ysk.enableControls();
            QVERIFY(!ysk.controlsDisabled());
        }
    }

    void emptyListIsNotShown()
    {
        ReportRunnerFixture f;
        Dataset &ysk = f.openUnsettled();
        ysk.setFilterText(QStringLiteral("类别='没有'"));
        ysk.setFiltered(true);
        MessageRecorder rec;
        ModalHandlers dialogs;
        CurrentReportName = QStringLiteral("未结帐明细表");
        RunReport(ysk, true, false, QString());
        QVERIFY(dialogs.shown().isEmpty());
        QCOMPARE(rec.texts(), QStringList{QStringLiteral("报表［未结帐明细表］没有可以打印的数据！")});
        QVERIFY(!ysk.controlsDisabled());
    }

    // Confirmed margins of 结帐单 go into its row; the next run starts with them.
    void pageSetupWrittenBack()
    {
        ReportRunnerFixture f;
        Dataset &links = f.openSettlementLinks();
        QVERIFY(links.recordCount() > 0);
        MessageRecorder rec;
        ModalHandlers dialogs;
        QByteArray changed;
        dialogs.enqueue([&](QDialog &d) {
            ReportPreview *p = previewOf(d);
            ReportPageSetup s = p->reportTemplate().page;
            s.margins.left = 24;
            s.margins.top = 18;
            p->applyPageSetup(s);
            changed = p->reportTemplate().toJson();
            d.accept();
        });
        CurrentReportName = QStringLiteral("结帐单");
        RunReport(links, true, false, QString());
        QVERIFY(rec.transcript().isEmpty());
        QVERIFY(!changed.isEmpty());
        QCOMPARE(f.storedTemplate(QStringLiteral("结帐单")), changed);
        QVERIFY(!f.dm().DataReport.isActive());
        // The others stay as shipped.
        for (const ReportTemplates::Entry &e : ReportTemplates::all())
            if (e.name != QStringLiteral("结帐单"))
                QCOMPARE(f.storedTemplate(e.name), e.bytes);

        ReportMargins next;
        dialogs.enqueue([&](QDialog &d) {
            next = previewOf(d)->reportTemplate().page.margins;
            d.accept();
        });
        RunReport(links, true, false, QString());
        QCOMPARE(next.left, 24.0);
        QCOMPARE(next.top, 18.0);
    }

    void writeBackRefusals()
    {
        ReportRunnerFixture f;
        MessageRecorder rec;
        CurrentReportName = QStringLiteral("不存在的报表");
        RMReport1SaveReportSetting(QByteArrayLiteral("{}"));
        QCOMPARE(rec.texts(), QStringList{QStringLiteral("找不到［不存在的报表］的报表文件！")});

        // The row went away behind the open DataReport: the engine's refusal, nothing written.
        rec.clear();
        f.dm().DataReport.open();
        f.dm().ConKVL.exec(QStringLiteral("DELETE FROM report WHERE Name='结帐单'"));
        CurrentReportName = QStringLiteral("结帐单");
        RMReport1SaveReportSetting(QByteArrayLiteral("{\"version\":1}"));
        QCOMPARE(rec.texts(), QStringList{QStringLiteral("该记录已被其他用户删除或更改，不能按读出时的内容写入。\n\n请取消修改，并重新查询相关数据。")});
        QCOMPARE(f.dm().DataReport.state(), Dataset::State::Browse);
        QCOMPARE(f.scalar(QStringLiteral("SELECT count(*) FROM report")), 17);
        for (const ReportTemplates::Entry &e : ReportTemplates::all())
            if (e.name != QStringLiteral("结帐单"))
                QCOMPARE(f.storedTemplate(e.name), e.bytes);
    }

    // The goods lines of each document through RmSfk and its detail RmSfk_kcmx, in the
    // list's sort and filter, whether or not the list is frozen or its detail open.
    void adapterWalksMasterDetail_data()
    {
        QTest::addColumn<bool>("frozen");
        QTest::addColumn<bool>("detailOpen");
        QTest::newRow("live list, detail open") << false << true;
        QTest::newRow("frozen list") << true << true;
        QTest::newRow("detail left closed") << false << false;
    }
    void adapterWalksMasterDetail()
    {
        QFETCH(bool, frozen);
        QFETCH(bool, detailOpen);
        ReportRunnerFixture f;
        Dataset &sfk = f.openPartnerDocuments(f.busiestPartner());
        sfk.setSortText(QStringLiteral("单号 DESC"));
        sfk.setFilterText(QStringLiteral("类别<>'结帐'"));
        sfk.setFiltered(true);
        if (detailOpen)
            f.dm().DataSfk_kcmx.open();
        if (frozen)
            sfk.disableControls();

        const ReportLinks links(f.dm());
        ReportDataSource *master = links.registry().source(QStringLiteral("RmSfk"));
        ReportDataSource *detail = links.registry().source(QStringLiteral("RmSfk_kcmx"));
        QVERIFY(master && detail);
        QCOMPARE(master->fieldNames().first(), QStringLiteral("id"));
        QCOMPARE(master->displayFormat(QStringLiteral("应收款余额")), QStringLiteral(",0.00;;#"));
        int row = 0;
        for (master->first(); !master->eof(); master->next(), ++row) {
            const qint64 id = master->value(QStringLiteral("id")).toInt();
            QCOMPARE(id, sfk.valueAt(row, sfk.fieldIndex(QStringLiteral("id"))).toInt());
            QVERIFY(master->value(QStringLiteral("类别")).toString() != QStringLiteral("结帐"));
            qint64 sum = 0, lines = 0;
            for (detail->first(); !detail->eof(); detail->next(), ++lines)
                sum += detail->value(QStringLiteral("je")).moneyUnits();
            QCOMPARE(lines, f.scalar(QStringLiteral("SELECT count(*) FROM kcmx WHERE sf_id=%1").arg(id)));
            QCOMPARE(sum, f.scalar(QStringLiteral("SELECT sum(je) FROM kcmx WHERE sf_id=%1").arg(id)));
        }
        QCOMPARE(row, sfk.recordCount());
        QVERIFY(row > 2);
        QVERIFY(master->value(QStringLiteral("id")).isNull());
        if (frozen)
            sfk.enableControls();
    }

    // A heading reads the row the window stands on, even after a move to the last row.
    void headingReadsCurrentRow()
    {
        ReportRunnerFixture f;
        Dataset &sfk = f.openPartnerDocuments(f.busiestPartner());
        sfk.last();
        QVERIFY(sfk.eof());
        const ReportLinks links(f.dm());
        ReportDataSource *heading = links.registry().source(QStringLiteral("RmSfk"));
        QVERIFY(!heading->eof());
        QCOMPARE(heading->value(QStringLiteral("单号")), sfk.value(QStringLiteral("单号")));
        QVERIFY(heading->value(QStringLiteral("没有的字段")).isNull());
        // A closed dataset has no rows to give.
        ReportDataSource *goods = links.registry().source(QStringLiteral("RmTJ_sp"));
        QVERIFY(goods->eof());
        goods->first();
        QVERIFY(goods->eof());
        QVERIFY(goods->value(QStringLiteral("单号")).isNull());
    }
};

QTEST_MAIN(TestReportRunner)
#include "test_report_runner.moc"
