// The shipped templates in reports/: their order for the prefix search, the fields they
// name against the datasets' field lists, and a layout of each from a sample business.
#include "ReportEngine.h"
#include "ReportExpression.h"
#include "ReportText.h"
#include "SampleBusiness.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSet>
#include <QTest>

using namespace kvl;
using namespace kvl::test;

namespace {

struct Shipped
{
    QString file;
    ReportTemplate tpl;
};

QList<Shipped> shipped()
{
    QList<Shipped> out;
    const QDir dir(QStringLiteral(KVL_SOURCE_DIR "/reports"));
    for (const QString &f : dir.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name)) {
        QFile file(dir.filePath(f));
        if (file.open(QIODevice::ReadOnly))
            out << Shipped{f, ReportTemplate::fromJson(file.readAll(), f)};
    }
    return out;
}

// The sort text the report runner sets for each summary while it prints.
QStringList sortFieldsOf(const QString &name)
{
    static const QHash<QString, QString> sorts = {
        {"未结帐汇总表－往来单位", "单位名称"},           {"未结帐汇总表－类别", "类别"},
        {"未结帐汇总表－业务员", "员工姓名"},             {"未结帐汇总表－往来单位＋业务员", "单位名称,员工姓名"},
        {"未结帐汇总表－往来单位＋类别", "单位名称,类别"}, {"未结帐汇总表－业务员＋往来单位", "员工姓名,单位名称"},
        {"未结帐汇总表－业务员＋类别", "员工姓名,类别"},   {"进出商品汇总表－往来单位", "单位名称"},
        {"进出商品汇总表－单号", "单号"},                 {"进出商品汇总表－商品", "商品名称"},
        {"进出商品汇总表－业务员", "员工姓名"},
    };
    const QString sort = sorts.value(name);
    return sort.isEmpty() ? QStringList() : sort.split(QLatin1Char(','));
}

void collect(const ReportExpression::Node &n, QSet<std::pair<QString, QString>> &fields, QSet<QString> &names)
{
    if (n.kind == ReportExpression::Node::Field)
        fields.insert({n.link, n.name});
    if (n.kind == ReportExpression::Node::Name)
        names.insert(n.name);
    for (const auto &a : n.args)
        if (a)
            collect(*a, fields, names);
}

} // namespace

class TestReportTemplates : public QObject
{
    Q_OBJECT

private slots:
    void eighteenInPrefixOrder()
    {
        const QList<Shipped> all = shipped();
        QCOMPARE(all.size(), 18);
        for (int i = 0; i < all.size(); ++i) {
            QVERIFY2(all[i].file.mid(3).chopped(5) == all[i].tpl.name, qPrintable(all[i].file));
            // A name that begins with an earlier one is fine; one that is the beginning
            // of an earlier one would be shadowed by it in the prefix search.
            for (int j = 0; j < i; ++j)
                QVERIFY2(!all[j].tpl.name.startsWith(all[i].tpl.name), qPrintable(all[i].tpl.name));
        }
    }

    void namesAreTheDatasetsOwn()
    {
        SampleBusiness sample;
        const QSet<QString> known = {"公司名称", "ShowMX", "起始日期", "截止日期", "单位名", "PAGE#", "TOTALPAGES", "LINE#"};
        for (const Shipped &s : shipped()) {
            QSet<std::pair<QString, QString>> fields;
            QSet<QString> names;
            auto take = [&](const QString &expr, const QString &where) {
                const ReportExpression e = ReportExpression::parse(expr);
                QVERIFY2(e.isValid(), qPrintable(s.file + ": " + where + ": " + expr + ": " + e.error()));
                collect(*e.root(), fields, names);
            };
            for (const ReportBand &b : s.tpl.bands) {
                if (!b.visible.isEmpty())
                    take(b.visible, QStringLiteral("visible"));
                if (!b.condition.isEmpty())
                    take(b.condition, QStringLiteral("condition"));
                if (!b.link.isEmpty())
                    QVERIFY2(SampleBusiness::links().contains(b.link), qPrintable(s.file + ": " + b.link));
                for (const ReportObject &o : b.objects) {
                    const ReportText text = ReportText::parse(o.text);
                    for (const ReportText::Part &p : text.parts())
                        if (p.isExpression)
                            take(p.expression.text(), o.text);
                }
            }
            for (const auto &f : fields) {
                QVERIFY2(SampleBusiness::links().contains(f.first), qPrintable(s.file + ": " + f.first));
                QVERIFY2(sample.source(f.first)->fieldNames().contains(f.second),
                         qPrintable(s.file + ": " + f.first + "." + f.second));
            }
            for (const QString &n : names)
                QVERIFY2(known.contains(n), qPrintable(s.file + ": " + n));
        }
    }

    void layout_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("showDetails");
        const QList<Shipped> all = shipped();
        for (int i = 0; i < all.size(); ++i) {
            const QString name = all[i].tpl.name;
            if (name.contains(QStringLiteral("汇总表"))) {
                QTest::newRow(qPrintable(name + QStringLiteral(" 不带明细"))) << i << false;
                QTest::newRow(qPrintable(name + QStringLiteral(" 带明细"))) << i << true;
            } else {
                QTest::newRow(qPrintable(name)) << i << true;
            }
        }
    }
    void layout()
    {
        QFETCH(int, index);
        QFETCH(bool, showDetails);
        const Shipped s = shipped().at(index);
        SampleBusiness sample;
        sample.variables.insert(QStringLiteral("ShowMX"), Value::boolean(showDetails));
        const QString master = [&] {
            for (const ReportBand &b : s.tpl.bands)
                if (b.type == ReportBand::Type::MasterData)
                    return b.link;
            return QString();
        }();
        for (const QString &f : sortFieldsOf(s.tpl.name))
            QVERIFY2(sample.source(master)->column(f) >= 0, qPrintable(master + "." + f));
        sample.source(master)->sortBy(sortFieldsOf(s.tpl.name));
        if (s.tpl.name == QStringLiteral("结帐单"))
            QVERIFY(sample.sfk.locate(QStringLiteral("类别"), Value("结帐")));

        const ReportDocument doc = ReportEngine::prepare(s.tpl, sample.registry, sample.variables);
        QCOMPARE(doc.masterRows, sample.source(master)->rowCount());
        const ReportMargins &m = s.tpl.page.margins;
        for (int p = 0; p < doc.pages.size(); ++p) {
            QVERIFY(!doc.pages[p].texts.isEmpty());
            // Nothing reaches into the margins: every column fits the sheet.
            for (const ReportTextItem &t : doc.pages[p].texts) {
                QVERIFY2(t.rect.left() >= m.left - 0.01 && t.rect.right() <= doc.pageWidth - m.right + 0.01,
                         qPrintable(t.text()));
                QVERIFY2(t.rect.bottom() <= doc.pageHeight - m.bottom + 0.01, qPrintable(t.text()));
            }
            QVERIFY(doc.pageTexts(p).contains(QStringLiteral("第 %1 页  共 %2 页").arg(p + 1).arg(doc.pages.size())));
        }
        QStringList all;
        for (int p = 0; p < doc.pages.size(); ++p)
            all << doc.pageTexts(p);
        QVERIFY(all.contains(QStringLiteral("宏达商贸有限公司")));
        QVERIFY(all.contains(s.tpl.name));
        if (s.tpl.name.endsWith(QStringLiteral("单"))) {
            bool capital = false;
            for (const QString &t : all)
                capital |= t.contains(QStringLiteral("（大写）：")) && (t.endsWith(QStringLiteral("整")) || t.endsWith(QStringLiteral("分")));
            QVERIFY(capital);
        }
        if (s.tpl.name.contains(QStringLiteral("汇总表"))) {
            // One subtotal line per innermost group, and the document numbers only with details.
            const QStringList fields = sortFieldsOf(s.tpl.name);
            TableSource *src = sample.source(master);
            QSet<QString> groups;
            for (src->first(); !src->eof(); src->next()) {
                QStringList key;
                for (const QString &f : fields)
                    key << src->value(f).toString();
                groups.insert(key.join('|'));
            }
            QCOMPARE(int(std::count_if(all.cbegin(), all.cend(), [](const QString &t) { return t.endsWith(QStringLiteral("小计")); })),
                     int(groups.size()));
            QCOMPARE(all.contains(src->row(0)[src->column(QStringLiteral("单号"))].toString()), showDetails);
        }
    }
};

QTEST_MAIN(TestReportTemplates)
#include "test_report_templates.moc"
