// Report layout from in-memory sources: documents across pages, grouped summaries with
// and without details, aggregates, master/detail, and templates naming what is not there.
#include "ReportEngine.h"
#include "ReportFixtures.h"
#include "ReportFormatter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace kvl;
using namespace kvl::test;

namespace {

ReportDocument prepare(const QByteArray &json, const ReportDataRegistry &reg, const ReportVariables &vars)
{
    return ReportEngine::prepare(ReportTemplate::fromJson(json, QStringLiteral("测试")), reg, vars);
}

QString money(qint64 units)
{
    return ReportFormatter::format(Value::money(units), QStringLiteral(",0.00;;#"));
}

// The texts of the text items whose boxes lie on one printed row, left to right.
QStringList rowAt(const ReportPage &page, double y)
{
    QList<const ReportTextItem *> items;
    for (const ReportTextItem &t : page.texts)
        if (t.rect.top() <= y && t.rect.bottom() >= y)
            items << &t;
    std::sort(items.begin(), items.end(), [](auto a, auto b) { return a->rect.left() < b->rect.left(); });
    QStringList out;
    for (auto *t : items)
        out << t->text();
    return out;
}

// A plain-text picture of a layout: one line per item, millimetres to a tenth.
QString dump(const ReportDocument &doc)
{
    QString out;
    auto mm = [](double v) { return QString::number(v, 'f', 1); };
    out += QStringLiteral("sheet %1 x %2, %3 pages\n").arg(mm(doc.pageWidth), mm(doc.pageHeight)).arg(doc.pages.size());
    for (int p = 0; p < doc.pages.size(); ++p) {
        out += QStringLiteral("page %1\n").arg(p + 1);
        for (const ReportTextItem &t : doc.pages[p].texts)
            out += QStringLiteral("text %1 %2 %3 %4 %5pt%6 align %7 lines %8 | %9\n")
                       .arg(mm(t.rect.x()), mm(t.rect.y()), mm(t.rect.width()), mm(t.rect.height()),
                            QString::number(t.pointSize), t.bold ? QStringLiteral(" bold") : QString())
                       .arg(int(t.alignment))
                       .arg(t.lines.size())
                       .arg(t.lines.join(QStringLiteral(" / ")));
        for (const ReportLineItem &l : doc.pages[p].lines)
            out += QStringLiteral("line %1 %2 %3 %4 %5\n")
                       .arg(mm(l.line.x1()), mm(l.line.y1()), mm(l.line.x2()), mm(l.line.y2()), mm(l.width));
    }
    return out;
}

} // namespace

class TestReportEngine : public QObject
{
    Q_OBJECT

private slots:
    void shortDocumentIsOnePage()
    {
        DocumentData d(3);
        const ReportDocument doc = prepare(documentTemplate(), d.registry, d.variables);
        QCOMPARE(doc.pages.size(), 1);
        QCOMPARE(doc.masterRows, 3);
        QCOMPARE(doc.pageWidth, 210.0); // A5 landscape
        QCOMPARE(doc.pageHeight, 148.0);
        const QStringList texts = doc.pageTexts(0);
        QVERIFY(texts.contains(QStringLiteral("宏达商贸有限公司")));
        QVERIFY(texts.contains(QStringLiteral("往来单位：东方五金交电有限公司")));
        QVERIFY(texts.contains(QStringLiteral("单号：CH00000012")));
        QVERIFY(texts.contains(QStringLiteral("日期：2026/03/07")));
        QVERIFY(texts.contains(QStringLiteral("经手人：李明")));
        QVERIFY(texts.contains(QStringLiteral("共 3 行")));
        QVERIFY(texts.contains(QStringLiteral("第 1 页 共 1 页")));
        // Lines 1..3: 1 × 125.00, 2 × 125.33, 3 × 125.66.
        const qint64 total = 1250000 + 2 * 1253300 + 3 * 1256600;
        QCOMPARE(d.total, total);
        QVERIFY(texts.contains(money(total)));
        QVERIFY(texts.contains(QStringLiteral("合计（大写）：") + QStringLiteral("柒佰伍拾贰元陆角肆分")));
        // Quantities and prices in their own formats.
        const ReportTextItem *second = nullptr;
        for (const ReportTextItem &t : doc.pages[0].texts)
            if (t.text() == QLatin1String("2") && t.rect.left() < 30)
                second = &t;
        QVERIFY(second);
        QCOMPARE(rowAt(doc.pages[0], second->rect.center().y()),
                 (QStringList{"2", "不锈钢合页 2 号", "副", "2", "125.33", "250.66"}));
    }

    void longDocumentBreaksPages()
    {
        DocumentData d(80);
        const ReportDocument doc = prepare(documentTemplate(), d.registry, d.variables);
        QVERIFY(doc.pages.size() >= 4);
        const int n = int(doc.pages.size());
        const double footerTop = 148 - 8 - 6;
        int nextLine = 1;
        for (int p = 0; p < n; ++p) {
            const ReportPage &page = doc.pages[p];
            const QStringList texts = doc.pageTexts(p);
            QVERIFY2(texts.contains(QStringLiteral("第 %1 页 共 %2 页").arg(p + 1).arg(n)), qPrintable(texts.join('|')));
            // The title only once; the column header on every page.
            QCOMPARE(texts.contains(QStringLiteral("宏达商贸有限公司")), p == 0);
            QCOMPARE(texts.count(QStringLiteral("商品名称")), 1);
            for (const ReportTextItem &t : page.texts) {
                if (t.text().startsWith(QStringLiteral("第 ")))
                    continue;
                QVERIFY2(t.rect.bottom() <= footerTop + 0.01, qPrintable(t.text()));
            }
            // Line numbers follow each other across the page break, none lost or doubled.
            QList<std::pair<double, int>> numbers;
            for (const ReportTextItem &t : page.texts) {
                bool ok = false;
                const int v = t.text().toInt(&ok);
                if (ok && t.rect.left() < 20)
                    numbers << std::make_pair(t.rect.top(), v);
            }
            std::sort(numbers.begin(), numbers.end());
            for (const auto &num : numbers)
                QCOMPARE(num.second, nextLine++);
        }
        QCOMPARE(nextLine, 81);
        QVERIFY(doc.pageTexts(n - 1).contains(money(d.total)));
        QVERIFY(doc.pageTexts(n - 1).contains(QStringLiteral("共 80 行")));
    }

    // The whole layout of a two-page document against the picture kept beside this test.
    void documentLayoutMatchesGolden()
    {
        DocumentData d(30);
        const QString actual = dump(prepare(documentTemplate(), d.registry, d.variables));
        QFile golden(QStringLiteral(KVL_SOURCE_DIR "/tests/platform/report/golden/document-30.txt"));
        const QString written = QStringLiteral(KVL_BINARY_DIR "/golden-actual/document-30.txt");
        QDir().mkpath(QFileInfo(written).path());
        QFile out(written);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(actual.toUtf8());
        out.close();
        QVERIFY2(golden.open(QIODevice::ReadOnly), qPrintable(QStringLiteral("no golden file; this run's layout is in ") + written));
        const QStringList want = QString::fromUtf8(golden.readAll()).split('\n');
        const QStringList got = actual.split('\n');
        for (int i = 0; i < std::min(want.size(), got.size()); ++i)
            QVERIFY2(want[i] == got[i], qPrintable(QStringLiteral("line %1 differs; this run's layout is in %2\nwant %3\ngot  %4")
                                                      .arg(i + 1).arg(written, want[i], got[i])));
        QCOMPARE(got.size(), want.size());
    }

    // A page footer's sum covers the rows printed on that page, including a row that
    // did not fit on the page before.
    void pageSumsCoverTheirPage()
    {
        DocumentData d(80);
        ReportTemplate tpl = ReportTemplate::fromJson(documentTemplate(), QStringLiteral("x"));
        ReportObject pageSum;
        pageSum.rect = QRectF(120, 0, 70, 6);
        pageSum.text = QStringLiteral("本页小计 [SUM(RmKcmx.je)]");
        pageSum.format = QStringLiteral(",0.00");
        tpl.bands.last().objects << pageSum;
        tpl.bands.last().objects.first().rect.setWidth(100);
        const ReportDocument doc = ReportEngine::prepare(tpl, d.registry, d.variables);
        QVERIFY(doc.pages.size() > 2);
        qint64 all = 0;
        for (int p = 0; p < doc.pages.size(); ++p) {
            qint64 onPage = 0;
            for (const ReportTextItem &t : doc.pages[p].texts) {
                bool ok = false;
                const int line = t.text().toInt(&ok);
                if (ok && t.rect.left() < 20)
                    onPage += d.lines.row(line - 1)[4].moneyUnits();
            }
            all += onPage;
            QVERIFY2(doc.pageTexts(p).contains(QStringLiteral("本页小计 ") +
                                               ReportFormatter::format(Value::money(onPage), QStringLiteral(",0.00"))),
                     qPrintable(doc.pageTexts(p).join('|')));
        }
        QCOMPARE(all, d.total);
    }

    void groupedSummary_data()
    {
        QTest::addColumn<bool>("showDetails");
        QTest::newRow("without details") << false;
        QTest::newRow("with details") << true;
    }
    void groupedSummary()
    {
        QFETCH(bool, showDetails);
        UnsettledData d;
        d.variables.insert(QStringLiteral("ShowMX"), Value::boolean(showDetails));
        const ReportDocument doc = prepare(summaryTemplate(), d.registry, d.variables);
        QCOMPARE(doc.pages.size(), 1);
        const ReportPage &page = doc.pages[0];
        const QStringList texts = doc.pageTexts(0);

        // Per-partner sums and counts computed from the rows themselves.
        QMap<QString, std::pair<qint64, qint64>> sums;
        QMap<QString, int> counts;
        qint64 grand = 0, grandBalance = 0;
        for (int i = 0; i < d.rows.rowCount(); ++i) {
            const QString partner = d.rows.row(i)[0].toString();
            sums[partner].first += d.rows.row(i)[3].moneyUnits();
            sums[partner].second += d.rows.row(i)[4].moneyUnits();
            counts[partner] += 1;
            grand += d.rows.row(i)[3].moneyUnits();
            grandBalance += d.rows.row(i)[4].moneyUnits();
        }
        QCOMPARE(sums.size(), 3);
        for (auto it = sums.cbegin(); it != sums.cend(); ++it) {
            const ReportTextItem *label = nullptr;
            for (const ReportTextItem &t : page.texts)
                if (t.text() == it.key() + QStringLiteral(" 小计"))
                    label = &t;
            QVERIFY2(label, qPrintable(it.key()));
            QCOMPARE(rowAt(page, label->rect.center().y()),
                     (QStringList{it.key() + QStringLiteral(" 小计"), QStringLiteral("%1 张").arg(counts[it.key()]),
                                  money(it.value().first), money(it.value().second)}));
        }
        QVERIFY(texts.contains(money(grand)));
        QVERIFY(texts.contains(money(grandBalance)));

        // Details: every document number and a heading per partner, or none of them.
        for (int i = 0; i < d.rows.rowCount(); ++i)
            QCOMPARE(texts.contains(d.rows.row(i)[1].toString()), showDetails);
        QCOMPARE(texts.count(QStringLiteral("乙方建材")), showDetails ? 1 : 0);
    }

    // Groups follow the rows' order: a partner that comes back after another forms a new group.
    void groupsFollowRowOrder()
    {
        UnsettledData d;
        d.rows.addRow({Value("甲方贸易"), Value("CH99"), Value("出货"), Value::money(10000), Value::money(10000), Value()});
        d.variables.insert(QStringLiteral("ShowMX"), Value::boolean(false));
        const ReportDocument doc = prepare(summaryTemplate(), d.registry, d.variables);
        QCOMPARE(doc.pageTexts(0).count(QStringLiteral("甲方贸易 小计")), 2);
        QVERIFY(doc.pageTexts(0).contains(QStringLiteral("1 张")));
    }

    // A group that runs onto the next page has its heading again under the column titles.
    void runningGroupRepeatsItsHeading()
    {
        UnsettledData d;
        for (int i = 0; i < 60; ++i)
            d.rows.addRow({Value("丙方电器"), Value(QStringLiteral("JH%1").arg(i)), Value("进货"), Value::money(10000),
                           Value::money(-10000), Value()});
        d.variables.insert(QStringLiteral("ShowMX"), Value::boolean(true));
        const ReportDocument doc = prepare(summaryTemplate(), d.registry, d.variables);
        QCOMPARE(doc.pages.size(), 2);
        const QStringList second = doc.pageTexts(1);
        QCOMPARE(second.mid(0, 5), (QStringList{"往来单位", "单号", "出货（应收款）金额", "应收款余额", "丙方电器"}));
        QCOMPARE(second.count(QStringLiteral("丙方电器 小计")), 1);
        // Without details the group lines alone fit one page; nothing repeats.
        d.variables.insert(QStringLiteral("ShowMX"), Value::boolean(false));
        QCOMPARE(prepare(summaryTemplate(), d.registry, d.variables).pages.size(), 1);
    }

    void masterWithDetails()
    {
        TableSource docs{{"id", "单号"}};
        docs.addRow({Value::integer(1), Value("CH01")});
        docs.addRow({Value::integer(2), Value("CH02")});
        docs.addRow({Value::integer(3), Value("CH03")});
        TableSource lines{{"sf_id", "商品名称", "je"}};
        lines.follow(&docs, QStringLiteral("id"), QStringLiteral("sf_id"));
        lines.addRow({Value::integer(1), Value("螺丝"), Value::money(15000)});
        lines.addRow({Value::integer(1), Value("螺母"), Value::money(25000)});
        lines.addRow({Value::integer(3), Value("垫片"), Value::money(7000)});
        ReportDataRegistry reg;
        reg.add(QStringLiteral("RmSfk"), &docs);
        reg.add(QStringLiteral("RmSfk_kcmx"), &lines);
        const QByteArray json = masterDetailTemplate();
        const ReportDocument doc = prepare(json, reg, {});
        QCOMPARE(doc.pageTexts(0), (QStringList{"单据 CH01", "CH01/1 螺丝", "CH01/2 螺母", "本单 2 行 4.00", "单据 CH02",
                                                "单据 CH03", "CH03/1 垫片", "本单 1 行 0.70", "3 张单据 4.70"}));
    }

    void unknownNamesPrintEmpty_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("unknown field") << "[RmKcmx.\"没有的字段\"]";
        QTest::newRow("unknown link") << "[RmNone.\"单号\"]";
        QTest::newRow("unknown variable") << "[没有的变量]";
        QTest::newRow("broken expression") << "[SUM(]";
        QTest::newRow("unknown function") << "[NOSUCH(1)]";
        QTest::newRow("sum of unknown link") << "[SUM(RmNone.je)]";
    }
    void unknownNamesPrintEmpty()
    {
        QFETCH(QString, text);
        DocumentData d(2);
        QJsonObject obj{{"type", "text"}, {"w", 50}, {"h", 6}, {"text", text}, {"format", ",0.00;;#"}};
        const QByteArray json = QString::fromUtf8(oneCellTemplate())
                                    .arg(QString::fromUtf8(QJsonDocument(obj).toJson(QJsonDocument::Compact)))
                                    .toUtf8();
        const ReportDocument doc = prepare(json, d.registry, d.variables);
        QCOMPARE(doc.pageTexts(0), (QStringList{"", "不锈钢合页 1 号", "", "不锈钢合页 2 号"}));
    }

    void masterOnUnknownLinkHasNoRows()
    {
        const QByteArray json = unknownMasterTemplate();
        QCOMPARE(prepare(json, {}, {}).masterRows, 0);
    }

    void longTextWrapsAndRowGrows()
    {
        DocumentData d(2);
        d.lines.addRow({Value(QStringLiteral("加厚型不锈钢液压缓冲静音合页（带安装螺丝及说明书）二十只装")), Value("盒"),
                        Value::money(10000), Value::money(10000), Value::money(10000), Value()});
        const ReportDocument doc = prepare(documentTemplate(), d.registry, d.variables);
        const ReportPage &page = doc.pages[0];
        const ReportTextItem *name = nullptr;
        for (const ReportTextItem &t : page.texts)
            if (t.text().startsWith(QStringLiteral("加厚型")))
                name = &t;
        QVERIFY(name);
        QVERIFY(name->lines.size() >= 2);
        QCOMPARE(name->text(), QStringLiteral("加厚型不锈钢液压缓冲静音合页（带安装螺丝及说明书）二十只装"));
        // The row grew: its amount cell is as tall as the name cell, so the rules meet.
        const ReportTextItem *amount = nullptr;
        for (const ReportTextItem &t : page.texts)
            if (t.text() == QLatin1String("1.00") && qAbs(t.rect.top() - name->rect.top()) < 0.01)
                amount = &t;
        QVERIFY(amount);
        QCOMPARE(amount->rect.height(), name->rect.height());
        QVERIFY(name->rect.height() > 6.5);
    }

    // An amount wider than its cell is printed smaller, never cut off at the edge.
    void wideAmountShrinks()
    {
        DocumentData d(0);
        d.lines.addRow({Value("大件"), Value("台"), Value::money(10000), Value::money(98765432101230000),
                        Value::money(98765432101230000), Value()});
        const ReportDocument doc = prepare(documentTemplate(), d.registry, d.variables);
        for (const ReportTextItem &t : doc.pages[0].texts) {
            if (t.text() == QLatin1String("9,876,543,210,123.00")) {
                QVERIFY(t.pointSize < 10);
                QVERIFY(t.lines.size() == 1);
                return;
            }
        }
        QFAIL("amount not printed");
    }
};

QTEST_MAIN(TestReportEngine)
#include "test_report_engine.moc"
