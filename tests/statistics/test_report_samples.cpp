// Every shipped template printed through RunReport from the real shared datasets of a
// small sample, loaded as the printing windows load them. Each must show all its rows,
// keep to the sheet, number its pages and, for the documents, state the total in
// capital numerals. The PDFs stay in the build folder (report-samples/) for a look.
#include "ChineseAmount.h"
#include "MessageRecorder.h"
#include "ModalHandlers.h"
#include "ReportPreview.h"
#include "ReportRunnerFixture.h"
#include "ReportVariables.h"
#include "RunReport.h"

#include <QDialog>
#include <QSet>
#include <QtTest>

using namespace kvl;
using namespace kvl::test;

namespace {

enum class Source { Shipment, Purchase, Settlement, PartnerList, PartnerGoods, Unsettled, GoodsLines };

struct Case
{
    const char *name;
    Source source;
    bool freeze;
    const char *sort;
};

const Case kCases[] = {
    {"出货（应收款）单", Source::Shipment, true, ""},
    {"进货（应付款）单", Source::Purchase, true, ""},
    {"结帐单", Source::Settlement, true, ""},
    {"往来单位业务明细表", Source::PartnerList, true, ""},
    {"往来单位商品明细表", Source::PartnerGoods, false, ""},
    {"未结帐明细表", Source::Unsettled, true, ""},
    {"未结帐汇总表－往来单位", Source::Unsettled, true, "单位名称"},
    {"未结帐汇总表－类别", Source::Unsettled, true, "类别"},
    {"未结帐汇总表－业务员", Source::Unsettled, true, "员工姓名"},
    {"未结帐汇总表－往来单位＋业务员", Source::Unsettled, true, "单位名称,员工姓名"},
    {"未结帐汇总表－往来单位＋类别", Source::Unsettled, true, "单位名称,类别"},
    {"未结帐汇总表－业务员＋往来单位", Source::Unsettled, true, "员工姓名,单位名称"},
    {"未结帐汇总表－业务员＋类别", Source::Unsettled, true, "员工姓名,类别"},
    {"进出商品明细表", Source::GoodsLines, true, ""},
    {"进出商品汇总表－往来单位", Source::GoodsLines, true, "单位名称"},
    {"进出商品汇总表－单号", Source::GoodsLines, true, "单号"},
    {"进出商品汇总表－商品", Source::GoodsLines, true, "商品名称"},
    {"进出商品汇总表－业务员", Source::GoodsLines, true, "员工姓名"},
};

QStringList allTexts(const ReportDocument &doc)
{
    QStringList out;
    for (int p = 0; p < doc.pages.size(); ++p)
        out << doc.pageTexts(p);
    return out;
}

} // namespace

class TestReportSamples : public QObject
{
    Q_OBJECT

    // The dataset the window prints from, loaded as that window loads it.
    Dataset &load(ReportRunnerFixture &f, Source source)
    {
        switch (source) {
        case Source::Shipment:
            return f.openDocumentLines(QStringLiteral("出货"));
        case Source::Purchase:
            return f.openDocumentLines(QStringLiteral("进货"));
        case Source::Settlement:
            return f.openSettlementLinks();
        case Source::PartnerList:
        case Source::PartnerGoods: {
            Dataset &sfk = f.openPartnerDocuments(f.busiestPartner());
            sfk.last();
            // The detail grid shows the current document's lines or settled documents.
            if (sfk.value(QStringLiteral("类别")).toString() == QStringLiteral("结帐"))
                f.dm().DataSfk_jzmx.open();
            else
                f.dm().DataSfk_kcmx.open();
            ReportVars.insert(QStringLiteral("起始日期"), ReportDayCount(QDate(QDate::currentDate().year(), 1, 1)));
            return sfk;
        }
        case Source::Unsettled:
            return f.openUnsettled();
        case Source::GoodsLines:
            ReportVars.insert(QStringLiteral("单位名"), Value(QStringLiteral("全部往来单位")));
            ReportVars.insert(QStringLiteral("起始日期"), ReportDayCount(QDate::currentDate().addYears(-1)));
            ReportVars.insert(QStringLiteral("截止日期"), ReportDayCount(QDate::currentDate()));
            return f.openGoodsLines();
        }
        Q_UNREACHABLE();
    }

private slots:
    void initTestCase()
    {
        QDir(QStringLiteral(KVL_BINARY_DIR "/report-samples")).removeRecursively();
        QVERIFY(QDir().mkpath(QStringLiteral(KVL_BINARY_DIR "/report-samples")));
    }

    void prints_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("answer");
        for (int i = 0; i < int(std::size(kCases)); ++i) {
            const QString name = QString::fromUtf8(kCases[i].name);
            if (*kCases[i].sort) {
                QTest::newRow(qPrintable(name + QStringLiteral(" 不带明细"))) << i << int(QMessageBox::Yes);
                QTest::newRow(qPrintable(name + QStringLiteral(" 带明细"))) << i << int(QMessageBox::No);
            } else {
                QTest::newRow(qPrintable(name)) << i << 0;
            }
        }
    }
    void prints()
    {
        QFETCH(int, index);
        QFETCH(int, answer);
        const Case &c = kCases[index];
        const QString name = QString::fromUtf8(c.name);
        const QString sort = QString::fromUtf8(c.sort);
        ReportRunnerFixture f;
        Dataset &data = load(f, c.source);
        QVERIFY(data.recordCount() > 0);

        MessageRecorder rec;
        if (answer)
            rec.queueAnswer(QMessageBox::StandardButton(answer));
        ModalHandlers dialogs;
        ReportDocument doc;
        ReportPageSetup page;
        dialogs.enqueue([&](QDialog &d) {
            auto *p = qobject_cast<ReportPreview *>(&d);
            doc = p->document();
            page = p->reportTemplate().page;
            const QString file = QStringLiteral(KVL_BINARY_DIR "/report-samples/%1.pdf").arg(QString::fromUtf8(QTest::currentDataTag()));
            QVERIFY(p->writePdf(file));
            d.accept();
        });
        CurrentReportName = name;
        RunReport(data, c.freeze, !sort.isEmpty(), sort);
        QCOMPARE(dialogs.shown().size(), 1);
        QCOMPARE(rec.texts().size(), answer ? 1 : 0);

        QCOMPARE(doc.masterRows, data.recordCount());
        const QStringList texts = allTexts(doc);
        QVERIFY(texts.contains(QStringLiteral("宏达商贸有限公司")));
        QVERIFY(texts.contains(name));
        for (int p = 0; p < doc.pages.size(); ++p) {
            QVERIFY(doc.pageTexts(p).contains(QStringLiteral("第 %1 页  共 %2 页").arg(p + 1).arg(doc.pages.size())));
            for (const ReportTextItem &t : doc.pages[p].texts) {
                QVERIFY2(t.rect.left() >= page.margins.left - 0.01 && t.rect.right() <= doc.pageWidth - page.margins.right + 0.01,
                         qPrintable(t.text()));
                QVERIFY2(t.rect.bottom() <= doc.pageHeight - page.margins.bottom + 0.01, qPrintable(t.text()));
                // A cell that shows nothing but the part of a value is worse than an empty one.
                QVERIFY2(!t.text().contains(QChar(0xFFFD)), qPrintable(t.text()));
            }
        }

        if (c.source == Source::Shipment || c.source == Source::Purchase || c.source == Source::Settlement) {
            // The heading names the document the window shows; the total stands in capitals.
            const Dataset &sfk = f.dm().DataSfk;
            QVERIFY(texts.contains(QStringLiteral("单号：") + sfk.value(QStringLiteral("单号")).toString()));
            const QString amountField = c.source == Source::Settlement ? QStringLiteral("sfk_je_jy") : QStringLiteral("je");
            qint64 total = 0;
            for (int r = 0; r < data.recordCount(); ++r)
                total += data.valueAt(r, data.fieldIndex(amountField)).moneyUnits();
            QVERIFY(total != 0);
            const QString capital = chineseCapitalAmount(total);
            QVERIFY2(std::any_of(texts.cbegin(), texts.cend(), [&](const QString &t) { return t.endsWith(QStringLiteral("（大写）：") + capital); }),
                     qPrintable(capital));
        }
        if (c.source == Source::PartnerGoods) {
            // Every line of every shipment and purchase of the partner prints under its document.
            const qint64 lines = f.scalar(QStringLiteral("SELECT count(*) FROM kcmx k JOIN sfk s ON s.id=k.sf_id WHERE s.dw_id=%1")
                                              .arg(f.busiestPartner()));
            QVERIFY(lines > 0);
            QSet<QString> goods;
            const Dataset &kcsp = f.dm().DataKcsp;
            for (int r = 0; r < kcsp.recordCount(); ++r)
                goods.insert(kcsp.valueAt(r, kcsp.fieldIndex(QStringLiteral("商品名称"))).toString());
            const int goodsNames = int(std::count_if(texts.cbegin(), texts.cend(), [&](const QString &t) { return goods.contains(t); }));
            QCOMPARE(goodsNames, int(lines));
        }
        if (!sort.isEmpty()) {
            // One subtotal per innermost group, in the order the sort gave the rows.
            QSet<QString> groups;
            const QStringList fields = sort.split(QLatin1Char(','));
            for (int r = 0; r < data.recordCount(); ++r) {
                QStringList key;
                for (const QString &fld : fields)
                    key << data.valueAt(r, data.fieldIndex(fld)).toString();
                groups.insert(key.join(QLatin1Char('|')));
            }
            QCOMPARE(int(std::count_if(texts.cbegin(), texts.cend(), [](const QString &t) { return t.endsWith(QStringLiteral("小计")); })),
                     int(groups.size()));
        }
    }
};

QTEST_MAIN(TestReportSamples)
#include "test_report_samples.moc"
