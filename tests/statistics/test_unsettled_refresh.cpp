// The refresh of 未结帐统计 on real data files: each filter alone and together
// against plain SQL, the date bounds at midnight, settlements and settled
// documents never listed, the sort kept, special characters in a filter, rows
// with NULL texts, an end date before the start date, and a failing refresh.
#include "StatisticsFixture.h"
#include "StatisticsRefresh.h"

#include <QApplication>

using namespace kvl;
using namespace kvl::test;

namespace {

// The whole time range: the sample's last year and the known rows of 2020.
UnsettledFilter everything()
{
    UnsettledFilter f;
    f.qshrq = day("2000-01-01");
    f.jzhrq = day("2100-01-01");
    return f;
}

// The condition of each filter in plain SQL: the text contained anywhere in the
// column, ASCII letters without regard to case, the column's row through EXISTS.
QString plainCondition(const UnsettledFilter &f, Params &params)
{
    QString where;
    auto add = [&](const QString &text, const QString &name, const QString &condition) {
        if (text.trimmed().isEmpty())
            return;
        where += QStringLiteral(" AND ") + condition;
        params.append({name, Value(text.trimmed())});
    };
    add(f.lb, "tlb", "instr(upper(sfk.类别), upper(:tlb)) > 0");
    add(f.dh, "tdh", "instr(upper(sfk.单号), upper(:tdh)) > 0");
    add(f.bz, "tbz", "instr(upper(sfk.备注), upper(:tbz)) > 0");
    add(f.dwbh, "tdwbh", "EXISTS(SELECT 1 FROM 往来单位 w WHERE w.id = sfk.dw_id AND instr(upper(w.单位编号), upper(:tdwbh)) > 0)");
    add(f.dw, "tdw", "EXISTS(SELECT 1 FROM 往来单位 w WHERE w.id = sfk.dw_id AND instr(upper(w.单位名称), upper(:tdw)) > 0)");
    add(f.yw, "tyw", "EXISTS(SELECT 1 FROM 公司员工 y WHERE y.id = sfk.xszg_id AND instr(upper(y.员工姓名), upper(:tyw)) > 0)");
    return where;
}

// Open shipments and purchases in the range: no link to a numbered settlement.
QString plainWhere(const UnsettledFilter &f, Params &params)
{
    params = {{"a", StatisticsQuery::midnight(f.qshrq)}, {"b", StatisticsQuery::midnight(f.jzhrq)}};
    return QStringLiteral(" FROM sfk WHERE sfk.制单日期 >= :a AND sfk.制单日期 <= :b AND sfk.类别 <> '结帐'"
                          " AND NOT EXISTS(SELECT 1 FROM jzmx j JOIN sfk s ON s.id = j.sf_id"
                          " WHERE j.sfid_mx = sfk.id AND s.单号 IS NOT NULL)")
           + plainCondition(f, params);
}

} // namespace

class TestUnsettledRefresh : public QObject
{
    Q_OBJECT

    std::unique_ptr<StatisticsData> m_data;
    Dataset &ds() { return m_data->dm().DataTJ_ysk; }

private slots:
    void init() { m_data = std::make_unique<StatisticsData>(); }
    void cleanup() { m_data.reset(); }

    void filtersAgainstPlainSql_data()
    {
        QTest::addColumn<UnsettledFilter>("filter");
        QTest::addColumn<int>("atLeast");
        UnsettledFilter f = everything();
        QTest::newRow("all blank") << f << 30;
        f = everything(); f.lb = QStringLiteral("出货");
        QTest::newRow("类别 出货") << f << 10;
        f = everything(); f.lb = QStringLiteral("进货");
        QTest::newRow("类别 进货") << f << 5;
        f = everything(); f.dh = QStringLiteral(" kx ");
        QTest::newRow("单号, trimmed, any case") << f << 4;
        f = everything(); f.bz = QStringLiteral("送货");
        QTest::newRow("备注") << f << 1;
        f = everything(); f.dwbh = QStringLiteral("DW000");
        QTest::newRow("单位编号") << f << 10;
        f = everything(); f.dw = QStringLiteral("测试(甲)");
        QTest::newRow("单位名称 with brackets") << f << 3;
        f = everything(); f.yw = QStringLiteral("测试员");
        QTest::newRow("员工姓名") << f << 2;
        f = everything(); f.lb = QStringLiteral("出货"); f.dh = QStringLiteral("KX"); f.dw = QStringLiteral("商行");
        f.yw = QStringLiteral("测试");
        QTest::newRow("together") << f << 1;
        f = everything(); f.qshrq = day("2020-06-02"); f.jzhrq = day("2020-06-05");
        QTest::newRow("a few days") << f << 3;
    }

    void filtersAgainstPlainSql()
    {
        QFETCH(UnsettledFilter, filter);
        QFETCH(int, atLeast);
        refreshUnsettled(filter);

        Params params;
        const QString where = plainWhere(filter, params);
        QList<qint64> expectedIds;
        for (const auto &r : m_data->rows("SELECT sfk.id" + where + " ORDER BY sfk.id", params))
            expectedIds << r[0].toInt();
        QVERIFY2(expectedIds.size() >= atLeast, "the case must select rows");
        QCOMPARE(idsOf(ds()), expectedIds);

        const auto sums = m_data->rows(
            "SELECT count(*), sum(sfk.应收款金额（出货）), sum(sfk.结帐、应付款金额（进货）),"
            " sum(sfk.应收款金额（出货）-sfk.结帐、应付款金额（进货）)" + where, params)[0];
        QCOMPARE(qint64(ds().recordCount()), sums[0].toInt());
        QCOMPARE(sumOf(ds(), "应收款金额（出货）"), sums[1].toInt());
        QCOMPARE(sumOf(ds(), "结帐、应付款金额（进货）"), sums[2].toInt());
        QCOMPARE(sumOf(ds(), "应收款余额"), sums[3].toInt());
    }

    void sameRowsAsTheJoinedStatement_data() { filtersAgainstPlainSql_data(); }

    void sameRowsAsTheJoinedStatement()
    {
        // Every field, names looked up included, as the original joined statement
        // gives it when written with a condition only for the typed filters.
        QFETCH(UnsettledFilter, filter);
        refreshUnsettled(filter);
        const StatisticsQuery q = filter.joinedQuery(BlankFilters::SkipBlank);
        compareRows(ds(), openedQuery(m_data->dm(), q.text(), q.params()));
    }

    void sameRowsAsWrittenOnCleanData()
    {
        m_data.reset();
        m_data = std::make_unique<StatisticsData>(SampleData::small(), false);
        for (UnsettledFilter f : {everything(), UnsettledFilter::defaults()}) {
            refreshUnsettled(f);
            QVERIFY(ds().recordCount() > 10);
            const StatisticsQuery q = f.joinedQuery(BlankFilters::AsWritten);
            compareRows(ds(), openedQuery(m_data->dm(), q.text(), q.params()));
            f.lb = QStringLiteral("出货");
            f.dw = QStringLiteral("公司");
            refreshUnsettled(f);
            QVERIFY(ds().recordCount() > 0);
            const StatisticsQuery typed = f.joinedQuery(BlankFilters::AsWritten);
            compareRows(ds(), openedQuery(m_data->dm(), typed.text(), typed.params()));
        }
    }

    void settlementsAndSettledNeverListed()
    {
        refreshUnsettled(everything());
        const QList<qint64> ids = idsOf(ds());
        QVERIFY(!ids.contains(100007)); // the settlement
        QVERIFY(!ids.contains(100006)); // the document it settles
        for (const Value &kind : columnOf(ds(), "类别"))
            QVERIFY(kind.toString() != QStringLiteral("结帐"));
        // The sample settles a third of its documents: none of them shows.
        const auto settled = m_data->rows("SELECT count(*) FROM jzmx WHERE sfid_mx < 100000")[0][0].toInt();
        QVERIFY(settled > 0);
        for (const auto &r : m_data->rows("SELECT sfid_mx FROM jzmx"))
            QVERIFY(!ids.contains(r[0].toInt()));
    }

    void dateBoundsAreMidnight_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("listed");
        // The range is 2019-03-10 to 2019-03-12, both taken at midnight.
        QTest::newRow("day before the start, late") << "2019-03-09 23:59:59" << false;
        QTest::newRow("start day at midnight") << "2019-03-10 00:00:00" << true;
        QTest::newRow("start day, afternoon") << "2019-03-10 15:00:00" << true;
        QTest::newRow("end day at midnight") << "2019-03-12 00:00:00" << true;
        QTest::newRow("end day, one second later") << "2019-03-12 00:00:01" << false;
        QTest::newRow("end day, afternoon") << "2019-03-12 15:00:00" << false;
    }

    void dateBoundsAreMidnight()
    {
        QFETCH(QString, stored);
        QFETCH(bool, listed);
        m_data->exec("INSERT INTO sfk(id, 制单日期, 类别, 单号, dw_id) VALUES (200001, '" + stored + "', '出货', 'D1', 1)");
        UnsettledFilter f;
        f.qshrq = day("2019-03-10");
        f.jzhrq = day("2019-03-12");
        refreshUnsettled(f);
        QCOMPARE(idsOf(ds()).contains(200001), listed);
    }

    void endBeforeStartIsEmpty()
    {
        UnsettledFilter f = everything();
        f.qshrq = day("2026-05-01");
        f.jzhrq = day("2026-04-30");
        refreshUnsettled(f);
        QVERIFY(ds().isActive());
        QCOMPARE(ds().recordCount(), 0);
    }

    void specialCharactersInFilters_data()
    {
        QTest::addColumn<QString>("remark");
        QTest::addColumn<QList<qint64>>("ids");
        // Known remarks: 100001 "O'Neil 订货", 100002 "[急]送货", 100004 "折扣50%",
        // 100005 "a_b"; 100003 has none (NULL); 100006 "axb" is settled.
        QTest::newRow("quote") << "O'Neil" << QList<qint64>{100001};
        QTest::newRow("quote alone") << "'" << QList<qint64>{100001};
        QTest::newRow("brackets are plain characters") << "[急]" << QList<qint64>{100002};
        QTest::newRow("a statement's end and comment") << "'); DROP TABLE sfk; --" << QList<qint64>{};
        QTest::newRow("% keeps its LIKE meaning") << "50%" << QList<qint64>{100004};
        QTest::newRow("_ stands for one character") << "a_b" << QList<qint64>{100005};
        QTest::newRow("double quote") << "\"" << QList<qint64>{};
    }

    void specialCharactersInFilters()
    {
        QFETCH(QString, remark);
        QFETCH(QList<qint64>, ids);
        UnsettledFilter f = everything();
        f.qshrq = day("2020-06-01");
        f.jzhrq = day("2020-06-30");
        f.bz = remark;
        refreshUnsettled(f);
        QCOMPARE(idsOf(ds()), ids);
        // The statement did not break and the table is still there.
        QVERIFY(m_data->rows("SELECT count(*) FROM sfk")[0][0].toInt() > 40);
    }

    void blankFiltersKeepRowsWithNull()
    {
        // 100003 has a NULL 单号 and 备注, its partner a NULL code and name;
        // 100004 has no partner at all. Blank filters list both.
        UnsettledFilter f = everything();
        f.qshrq = day("2020-06-01");
        f.jzhrq = day("2020-06-30");
        refreshUnsettled(f);
        QCOMPARE(idsOf(ds()), (QList<qint64>{100001, 100002, 100003, 100004, 100005}));
        QVERIFY(ds().valueAt(2, ds().fieldIndex("单号")).isNull());
        QVERIFY(ds().valueAt(3, ds().fieldIndex("单位名称")).isNull());
        // The original wording loses them, and their amounts with them.
        const StatisticsQuery old = f.joinedQuery(BlankFilters::AsWritten);
        QCOMPARE(idsOf(openedQuery(m_data->dm(), old.text(), old.params())), (QList<qint64>{100001, 100002, 100005}));

        // A typed filter matches as before: a NULL column matches no text.
        f.dw = QStringLiteral("商行");
        refreshUnsettled(f);
        QCOMPARE(idsOf(ds()), (QList<qint64>{100001, 100002, 100005}));
        f.dw.clear();
        f.dh = QStringLiteral("K");
        refreshUnsettled(f);
        QCOMPARE(idsOf(ds()), (QList<qint64>{100001, 100002, 100004, 100005}));
        // Blank again: everything is back.
        f.dh = QStringLiteral("   ");
        refreshUnsettled(f);
        QCOMPARE(ds().recordCount(), 5);
    }

    void sortSurvivesRefresh()
    {
        refreshUnsettled(everything());
        ds().setSortText(QStringLiteral("单位名称, 制单日期 DESC"));
        const QString sort = ds().sortText();
        UnsettledFilter f = everything();
        f.lb = QStringLiteral("出货");
        refreshUnsettled(f);
        QCOMPARE(ds().sortText(), sort);
        // The rows stand in that order: as the same sort set again gives them, not in document order.
        const QList<qint64> kept = idsOf(ds());
        QVERIFY(kept.size() > 10);
        QVERIFY(!std::is_sorted(kept.begin(), kept.end()));
        ds().setSortText(QString());
        ds().setSortText(sort);
        QCOMPARE(idsOf(ds()), kept);
        // Without a sort the rows come in document order.
        ds().setSortText(QString());
        refreshUnsettled(f);
        const QList<qint64> ids = idsOf(ds());
        QVERIFY(std::is_sorted(ids.begin(), ids.end()));
    }

    void failingRefreshLeavesTheListClosed()
    {
        refreshUnsettled(everything());
        ds().setSortText(QStringLiteral("单号"));
        QSignalSpy resets(&ds(), &Dataset::reset);
        m_data->exec("ALTER TABLE jzmx RENAME TO jzmx_gone");
        QVERIFY_THROWS_EXCEPTION(DbError, refreshUnsettled(everything()));
        QVERIFY(!ds().isActive());
        QVERIFY(!ds().controlsDisabled());
        QVERIFY(QApplication::overrideCursor() == nullptr);
        QVERIFY(resets.count() >= 1); // the views were told once the freeze ended

        m_data->exec("ALTER TABLE jzmx_gone RENAME TO jzmx");
        refreshUnsettled(everything());
        QVERIFY(ds().recordCount() > 30);
    }

    void defaultsAreThisYear()
    {
        const UnsettledFilter f = UnsettledFilter::defaults(day("2026-12-11"));
        QCOMPARE(f.qshrq, day("2026-01-01"));
        QCOMPARE(f.jzhrq, day("2026-12-11"));
        refreshUnsettled(UnsettledFilter::defaults());
        for (const Value &d : columnOf(ds(), "制单日期"))
            QCOMPARE(d.toDateTime().date().year(), QDate::currentDate().year());
    }
};

QTEST_MAIN(TestUnsettledRefresh)
#include "test_unsettled_refresh.moc"
