// The client dataset on real data files: sort texts, filters, locate, bookmarks,
// navigation, refusals at post, write-through with re-read, batch apply and
// cancel (also failing), lookups sized in GBK bytes, master/detail and freezing.
#include "Connection.h"
#include "Dataset.h"
#include "DatasetFreeze.h"
#include "Statement.h"
#include "TestDataFile.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace kvl;
using namespace kvl::test;

class TestDataset : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    std::unique_ptr<Connection> m_conn;
    int m_fileNo = 0;

    std::unique_ptr<Dataset> sfk()
    {
        auto ds = std::make_unique<Dataset>(*m_conn);
        ds->setSql(kSfkQuery + QStringLiteral(" order by sfk.id"));
        ds->setUpdateTable(QStringLiteral("sfk"));
        ds->setKeyFields({QStringLiteral("id")});
        ds->setRereadSql(kSfkQuery + QStringLiteral(" where sfk.id=?"));
        FieldDef balance;
        balance.name = QStringLiteral("应收款余额");
        balance.type = ValueType::Money;
        balance.readOnly = true;
        balance.displayFormat = QStringLiteral(",0.00;;#");
        ds->setFieldDefs({balance});
        ds->open();
        return ds;
    }

    QStringList column(Dataset &ds, const QString &field)
    {
        QStringList out;
        for (int i = 0; i < ds.recordCount(); ++i)
            out << ds.valueAt(i, ds.fieldIndex(field)).toString();
        return out;
    }

    QString fileDigest()
    {
        Statement st(*m_conn, QStringLiteral(
            "SELECT group_concat(id||'|'||ifnull(单号,'~')||'|'||ifnull(dw_id,'~')||'|'||ifnull(备注,'~'), ';') FROM sfk"));
        QString s = st.next() ? st.text(0) : QString();
        Statement jz(*m_conn, QStringLiteral("SELECT group_concat(sf_id||'>'||sfid_mx, ';') FROM jzmx"));
        return s + QStringLiteral(" / ") + (jz.next() ? jz.text(0) : QString());
    }

private slots:
    void init()
    {
        m_conn = std::make_unique<Connection>();
        Dataset::setDefaultFieldResolver(schemaResolver());
        createSample(*m_conn, m_dir.filePath(QStringLiteral("KVL%1.DTA").arg(++m_fileNo)));
    }
    void cleanup() { m_conn.reset(); }

    void typedFieldsFromTheFile()
    {
        auto ds = sfk();
        QCOMPARE(ds->recordCount(), 6);
        QCOMPARE(ds->field(QStringLiteral("应收款金额（出货）")).type, ValueType::Money);
        QCOMPARE(ds->value(QStringLiteral("应收款金额（出货）")), Value::money(1000000));
        QCOMPARE(ds->value(QStringLiteral("结帐")), Value::boolean(false));
        QCOMPARE(ds->value(QStringLiteral("制单日期")).toDateTime(), QDateTime(QDate(2024, 3, 5), QTime(0, 0)));
        QCOMPARE(ds->displayText(QStringLiteral("应收款余额")), QStringLiteral("100.00"));
        ds->next(); // the settled purchase: no balance, shown as an empty cell
        QCOMPARE(ds->displayText(QStringLiteral("应收款余额")), QString());
        QCOMPARE(ds->value(QStringLiteral("结帐单号")).toString(), QStringLiteral("结00000001"));
    }

    void sortText_data()
    {
        QTest::addColumn<QString>("sort");
        QTest::addColumn<QStringList>("ids");
        QTest::newRow("query order") << "" << QStringList{"1", "2", "3", "4", "5", "6"};
        QTest::newRow("number descending, trailing blank") << "单号 DESC " << QStringList{"6", "2", "5", "4", "1", "3"};
        QTest::newRow("date with NULL first, ties in query order") << "制单日期"
                                                                  << QStringList{"5", "2", "4", "6", "1", "3"};
        QTest::newRow("two fields as the grid writes them") << "制单日期, 单号 DESC "
                                                            << QStringList{"5", "2", "6", "4", "1", "3"};
        QTest::newRow("partner names in pinyin order") << "单位名称, id DESC"
                                                       << QStringList{"3", "2", "1", "6", "4", "5"};
        QTest::newRow("money by value") << "结帐、应付款金额（进货） DESC, id"
                                        << QStringList{"2", "3", "6", "1", "4", "5"};
    }
    void sortText()
    {
        QFETCH(QString, sort);
        QFETCH(QStringList, ids);
        auto ds = sfk();
        ds->setSortText(sort);
        QCOMPARE(column(*ds, QStringLiteral("id")), ids);
        QCOMPARE(ds->sortText(), sort);
        ds->setSortText(QString());
        QCOMPARE(column(*ds, QStringLiteral("id")), (QStringList{"1", "2", "3", "4", "5", "6"}));
    }

    void sortKeepsCurrentRowAndRefusesUnknownField()
    {
        auto ds = sfk();
        QVERIFY(ds->locate(QStringLiteral("id"), Value::integer(4)));
        ds->setSortText(QStringLiteral("单号 DESC"));
        QCOMPARE(ds->value(QStringLiteral("id")), Value::integer(4));
        QVERIFY_THROWS_EXCEPTION(DbError, ds->setSortText(QStringLiteral("没有的字段")));
        QCOMPARE(ds->sortText(), QStringLiteral("单号 DESC"));
        QCOMPARE(column(*ds, QStringLiteral("id")).first(), QStringLiteral("6"));
    }

    void filter_data()
    {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QStringList>("ids");
        QTest::newRow("like, case-blind") << "备注 like '*abc*'" << QStringList{"4", "6"};
        QTest::newRow("like prefix") << "单号 like 'CH*'" << QStringList{"1", "4", "5"};
        QTest::newRow("NULL and False") << "(结帐=False) and (结帐单号=NULL)" << QStringList{"1", "4", "5", "6"};
        QTest::newRow("not NULL") << "结帐单号<>NULL" << QStringList{"2", "3"};
        QTest::newRow("True matches none") << "结帐=True" << QStringList{};
        QTest::newRow("or, parentheses, quotes") << "(类别='结帐') or (单位名称='Abc Trading')"
                                                 << QStringList{"3", "5"};
        QTest::newRow("money against a number") << "应收款金额（出货）>=5.5 and not 类别='进货'"
                                                << QStringList{"1", "4"};
        QTest::newRow("empty text against NULL") << "备注=''" << QStringList{"2"};
        QTest::newRow("quote escaped") << "单位名称 like '*O''Neil*'" << QStringList{};
    }
    void filter()
    {
        QFETCH(QString, expression);
        QFETCH(QStringList, ids);
        auto ds = sfk();
        ds->setFilterText(expression);
        QCOMPARE(ds->recordCount(), 6); // not filtered yet
        ds->setFiltered(true);
        QCOMPARE(column(*ds, QStringLiteral("id")), ids);
        QCOMPARE(ds->recNo(), ids.isEmpty() ? 0 : 1);
        ds->setFiltered(false);
        QCOMPARE(ds->recordCount(), 6);
    }

    void badFilter_data()
    {
        QTest::addColumn<QString>("expression");
        QTest::newRow("unclosed quote") << "单位名称 like '*abc";
        QTest::newRow("missing parenthesis") << "(结帐=False and 类别='出货'";
        QTest::newRow("dangling and") << "结帐=False and";
        QTest::newRow("operator only") << "=";
        QTest::newRow("unknown field") << "没有的字段=1";
        QTest::newRow("text into money") << "应收款金额（出货）='很多'";
    }
    void badFilter()
    {
        QFETCH(QString, expression);
        auto ds = sfk();
        ds->setFilterText(QStringLiteral("类别='出货'"));
        ds->setFiltered(true);
        try {
            ds->setFilterText(expression);
            QFAIL("accepted");
        } catch (const DbError &e) {
            QVERIFY2(e.message().startsWith(QStringLiteral("过滤条件")), qPrintable(e.message()));
        }
        QCOMPARE(ds->filterText(), QStringLiteral("类别='出货'"));
        QCOMPARE(ds->recordCount(), 3);
    }

    void locate_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("options");
        QTest::addColumn<int>("id"); // 0: not found
        const int p = Dataset::PartialKey, c = Dataset::CaseInsensitive;
        QTest::newRow("exact") << "单位名称" << "Abc Trading" << 0 << 5;
        QTest::newRow("exact needs the whole text") << "单位名称" << "Abc" << 0 << 0;
        QTest::newRow("exact minds case") << "单位名称" << "abc trading" << 0 << 0;
        QTest::newRow("partial") << "单位名称" << "上海" << p << 4;
        QTest::newRow("partial minds case") << "单位名称" << "abc" << p << 0;
        QTest::newRow("case-insensitive") << "单位名称" << "ABC TRADING" << c << 5;
        QTest::newRow("both") << "单位名称" << "aBc" << (p | c) << 5;
        QTest::newRow("number field") << "dw_id" << "2" << 0 << 4;
        QTest::newRow("money field") << "应收款金额（出货）" << "5.5" << 0 << 4;
    }
    void locate()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(int, options);
        QFETCH(int, id);
        auto ds = sfk();
        ds->last();
        const bool found = ds->locate(field, Value(text), Dataset::LocateOptions(options));
        QCOMPARE(found, id != 0);
        QCOMPARE(ds->value(QStringLiteral("id")).toInt(), id != 0 ? id : 6);
    }

    void bookmarksSurviveSortAndFilter()
    {
        auto ds = sfk();
        QVERIFY(ds->locate(QStringLiteral("id"), Value::integer(4)));
        Dataset::Bookmark b = ds->bookmark();
        ds->setSortText(QStringLiteral("单号 DESC"));
        ds->first();
        QVERIFY(ds->gotoBookmark(b));
        QCOMPARE(ds->value(QStringLiteral("id")), Value::integer(4));
        ds->setFilterText(QStringLiteral("类别='进货'"));
        ds->setFiltered(true);
        QVERIFY(!ds->gotoBookmark(b)); // filtered out
        ds->setFiltered(false);
        QVERIFY(ds->gotoBookmark(b));
        QCOMPARE(ds->value(QStringLiteral("id")), Value::integer(4));
        ds->freeBookmark(b);
        QVERIFY(!b.isValid());
        Dataset::Bookmark stale = ds->bookmark();
        ds->close();
        ds->open();
        QVERIFY(!ds->gotoBookmark(stale));
    }

    void navigationBofEof()
    {
        auto ds = sfk();
        QVERIFY(ds->bof());
        QVERIFY(!ds->eof());
        ds->last();
        QVERIFY(ds->eof()); // Last itself stands at the end
        ds->first();
        ds->moveTo(5);
        QVERIFY(!ds->eof());
        ds->next();
        QVERIFY(ds->eof());
        QCOMPARE(ds->recNo(), 6);
        ds->prior();
        QCOMPARE(ds->recNo(), 5);

        Dataset empty(*m_conn);
        empty.setSql(QStringLiteral("select * from kcmx where sf_id=:id"));
        empty.setParam(QStringLiteral(":ID"), Value::integer(99)); // names match without regard to case
        empty.open();
        QVERIFY(empty.bof() && empty.eof());
        empty.next();
        QVERIFY(empty.eof());
        QCOMPARE(empty.recordCount(), 0);
        empty.edit(); // editing an empty dataset starts a new row
        QCOMPARE(empty.state(), Dataset::State::Insert);
        QCOMPARE(empty.recordCount(), 1);
        empty.cancel();
        QCOMPARE(empty.recordCount(), 0);
        QCOMPARE(empty.state(), Dataset::State::Browse);
    }

    void refusedAtPost_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::newRow("12 characters into 10") << "单号" << "CH0000000012"
                                                << "字段“单号”最多 10 个字符，现在是 12 个字符，请缩短后再保存。";
        QTest::newRow("text into money") << "应收款金额（出货）" << "一百元"
                                         << "字段“应收款金额（出货）”的值不正确：“一百元”不是有效的金额。";
        QTest::newRow("bad date") << "制单日期" << "2024/02/30" << "字段“制单日期”的值不正确：“2024/02/30”不是有效的日期。";
    }
    void refusedAtPost()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        auto ds = sfk();
        const QString before = fileDigest();
        ds->edit();
        ds->setValue(field, Value(typed));
        try {
            ds->post();
            QFAIL("post accepted");
        } catch (const DbError &e) {
            QCOMPARE(e.message(), message);
        }
        QCOMPARE(ds->state(), Dataset::State::Edit);
        QVERIFY(ds->modified());
        QCOMPARE(ds->value(field), Value(typed)); // the row stays as typed
        QCOMPARE(fileDigest(), before);
        ds->cancel();
        QCOMPARE(ds->state(), Dataset::State::Browse);
    }

    void writeThroughRereadsJoinedColumns()
    {
        auto ds = sfk();
        QVERIFY(ds->locate(QStringLiteral("id"), Value::integer(4)));
        QCOMPARE(ds->value(QStringLiteral("单位名称")).toString(), QStringLiteral("上海南方商行"));
        ds->edit();
        ds->setValue(QStringLiteral("dw_id"), Value::integer(1));
        ds->setValue(QStringLiteral("备注"), Value(QString()));
        ds->post();
        QCOMPARE(ds->value(QStringLiteral("单位名称")).toString(), QStringLiteral("北京东方公司"));
        QCOMPARE(count(*m_conn, QStringLiteral("select count(*) from sfk where id=4 and dw_id=1 and 备注=''")), 1);

        // Settling document 4 elsewhere: posting its row shows the settlement's number at once.
        m_conn->exec(QStringLiteral("INSERT INTO jzmx(sf_id,sfid_mx) VALUES(3,4)"));
        ds->edit();
        ds->setValue(QStringLiteral("备注"), Value(QStringLiteral("已结")));
        ds->post();
        QCOMPARE(ds->value(QStringLiteral("结帐单号")).toString(), QStringLiteral("结00000001"));
        QCOMPARE(ds->value(QStringLiteral("应收款余额")), Value::money(0));
    }

    void writeThroughInsertAndDelete()
    {
        auto ds = sfk();
        ds->append();
        ds->setValue(QStringLiteral("id"), Value::integer(7));
        ds->setValue(QStringLiteral("类别"), Value(QStringLiteral("出货")));
        ds->setValue(QStringLiteral("单号"), Value(QStringLiteral("CH00000009")));
        ds->setValue(QStringLiteral("dw_id"), Value::integer(2));
        ds->setValue(QStringLiteral("结帐"), Value::boolean(false));
        ds->post();
        QCOMPARE(ds->value(QStringLiteral("单位名称")).toString(), QStringLiteral("上海南方商行"));
        // Texts left empty are stored as '' and never as NULL.
        QCOMPARE(count(*m_conn, QStringLiteral("select count(*) from sfk where id=7 and 备注='' and 单号='CH00000009'")), 1);
        ds->deleteRecord();
        QCOMPARE(count(*m_conn, QStringLiteral("select count(*) from sfk where id=7")), 0);
        QCOMPARE(ds->recordCount(), 6);
    }

    void failedWriteLeavesDatasetAndFile()
    {
        auto ds = sfk();
        QVERIFY(ds->locate(QStringLiteral("id"), Value::integer(6)));
        m_conn->exec(QStringLiteral("DELETE FROM sfk WHERE id=6")); // the row vanishes behind the dataset
        const QString before = fileDigest();
        ds->edit();
        ds->setValue(QStringLiteral("备注"), Value(QStringLiteral("改")));
        try {
            ds->post();
            QFAIL("post of a vanished row accepted");
        } catch (const DbError &e) {
            QCOMPARE(e.firstNative(), NativeError::RowChanged);
        }
        QCOMPARE(ds->state(), Dataset::State::Edit);
        ds->cancel();
        QVERIFY_THROWS_EXCEPTION(DbError, ds->deleteRecord());
        QCOMPARE(ds->recordCount(), 6);
        QCOMPARE(ds->value(QStringLiteral("id")), Value::integer(6));
        QCOMPARE(fileDigest(), before);
        QVERIFY(!m_conn->inTransaction());
    }

    void batchApplyAndCancel()
    {
        Dataset links(*m_conn);
        links.setSql(QStringLiteral("select * from jzmx"));
        links.setBatchMode(true);
        links.open();
        const QString before = fileDigest();
        links.append();
        links.setValue(QStringLiteral("sf_id"), Value::integer(3));
        links.setValue(QStringLiteral("sfid_mx"), Value::integer(1));
        links.post();
        links.first();
        links.deleteRecord(); // the stored link 3>2
        QCOMPARE(links.pendingChangeCount(), 2);
        QCOMPARE(fileDigest(), before);

        links.cancelUpdates();
        QCOMPARE(links.recordCount(), 1);
        QCOMPARE(links.value(QStringLiteral("sfid_mx")), Value::integer(2));
        QVERIFY(!links.hasPendingChanges());

        links.append();
        links.setValue(QStringLiteral("sf_id"), Value::integer(3));
        links.setValue(QStringLiteral("sfid_mx"), Value::integer(4));
        links.post();
        links.first();
        links.edit();
        links.setValue(QStringLiteral("sfid_mx"), Value::integer(6));
        links.post();
        m_conn->beginTransaction();
        links.applyUpdates(); // inside the caller's transaction
        QVERIFY(m_conn->inTransaction());
        m_conn->commit();
        QCOMPARE(count(*m_conn, QStringLiteral("select count(*) from jzmx where sf_id=3 and sfid_mx in (4,6)")), 2);
        QCOMPARE(count(*m_conn, QStringLiteral("select count(*) from jzmx")), 2);
        links.last();
        QVERIFY(!links.value(QStringLiteral("id")).isNull()); // the engine's id came back
    }

    void failedApplyKeepsPendingChanges()
    {
        Dataset links(*m_conn);
        links.setSql(QStringLiteral("select * from jzmx"));
        links.setBatchMode(true);
        links.open();
        links.append();
        links.setValue(QStringLiteral("sf_id"), Value::integer(3));
        links.setValue(QStringLiteral("sfid_mx"), Value::integer(1));
        links.post();
        links.append();
        links.setValue(QStringLiteral("sf_id"), Value::integer(3));
        links.setValue(QStringLiteral("sfid_mx"), Value::integer(2)); // collides with the stored link
        links.post();
        const QString before = fileDigest();

        m_conn->beginTransaction();
        m_conn->exec(QStringLiteral("UPDATE sfk SET 备注='表头' WHERE id=3")); // the caller's own write
        try {
            links.applyUpdates();
            QFAIL("apply accepted a collision");
        } catch (const DbError &e) {
            QCOMPARE(e.firstNative(), NativeError::Collision);
        }
        QVERIFY(m_conn->inTransaction()); // the caller still decides
        QCOMPARE(count(*m_conn, QStringLiteral("select count(*) from jzmx")), 1);
        QCOMPARE(count(*m_conn, QStringLiteral("select count(*) from sfk where 备注='表头'")), 1);
        m_conn->rollback();
        QCOMPARE(fileDigest(), before);
        QCOMPARE(links.pendingChangeCount(), 2);
        QCOMPARE(links.recordCount(), 3);

        // Fixed and retried, the same pending changes go through.
        links.last();
        links.edit();
        links.setValue(QStringLiteral("sfid_mx"), Value::integer(4));
        links.post();
        links.applyUpdates();
        QCOMPARE(count(*m_conn, QStringLiteral("select count(*) from jzmx")), 3);
        QVERIFY(!links.hasPendingChanges());
    }

    void lookupCutToGbkBytes()
    {
        Dataset goods(*m_conn);
        goods.setSql(QStringLiteral("select * from 商品资料"));
        goods.open();
        Dataset lines(*m_conn);
        lines.setSql(QStringLiteral("select *  from kcmx where kcmx.sf_id= :sfkid"));
        lines.setParam(QStringLiteral("sfkid"), Value::integer(1));
        FieldDef name;
        name.name = QStringLiteral("kcsp_spmc");
        name.label = QStringLiteral("商品名称");
        name.size = 30;
        name.required = true;
        name.lookup = {QStringLiteral("kcsp_id"), &goods, QStringLiteral("id"), QStringLiteral("商品名称")};
        FieldDef unit = name;
        unit.name = QStringLiteral("kcsp_spdw");
        unit.size = 10;
        unit.required = false;
        unit.lookup.resultField = QStringLiteral("计量单位");
        lines.setFieldDefs({name, unit});
        lines.setBatchMode(true);
        lines.open();
        QCOMPARE(lines.fields().first().name, QStringLiteral("kcsp_spmc"));
        QCOMPARE(lines.value(QStringLiteral("kcsp_spmc")).toString(), QStringLiteral("特级精制长白山野生黑木耳礼盒装"));
        QCOMPARE(lines.value(QStringLiteral("kcsp_spdw")).toString(), QStringLiteral("盒"));

        // A new line shows its goods as soon as its key is set.
        lines.append();
        QVERIFY(lines.value(QStringLiteral("kcsp_spmc")).isNull());
        lines.setValue(QStringLiteral("kcsp_id"), Value::integer(2));
        QCOMPARE(lines.value(QStringLiteral("kcsp_spmc")).toString(), QStringLiteral("螺丝"));
        lines.post(); // a required lookup is left to the editor's own checks

        goods.close();
        QVERIFY(lines.value(QStringLiteral("kcsp_spmc")).isNull());
    }

    void masterDetailFollowsUnlessFrozen()
    {
        auto master = sfk();
        Dataset detail(*m_conn);
        detail.setSql(QStringLiteral("SELECT kcmx.sl, kcmx.je, kcmx.sf_id FROM kcmx where sf_id=:id"));
        detail.setMaster(master.get(), QStringLiteral("id"), QStringLiteral("id"));
        detail.open();
        QCOMPARE(detail.recordCount(), 2); // document 1
        master->next();
        QCOMPARE(detail.recordCount(), 0); // document 2 has no lines
        QVERIFY(master->locate(QStringLiteral("id"), Value::integer(4)));
        QCOMPARE(detail.recordCount(), 1);
        QCOMPARE(detail.value(QStringLiteral("sf_id")), Value::integer(4));

        master->disableControls();
        master->disableControls();
        master->first();
        QCOMPARE(detail.value(QStringLiteral("sf_id")), Value::integer(4));
        master->enableControls();
        QCOMPARE(detail.value(QStringLiteral("sf_id")), Value::integer(4));
        master->enableControls();
        QCOMPARE(detail.value(QStringLiteral("sf_id")), Value::integer(1));
        master->enableControls(); // a resume without a freeze does nothing
        QVERIFY(!master->controlsDisabled());
    }

    void freezeSilencesNotifications()
    {
        auto ds = sfk();
        QSignalSpy resets(ds.get(), &Dataset::reset);
        QSignalSpy moves(ds.get(), &Dataset::currentChanged);
        {
            DatasetFreeze freeze(*ds);
            ds->setSortText(QStringLiteral("单号"));
            ds->last();
            QCOMPARE(resets.count(), 0);
            QCOMPARE(moves.count(), 0);
        }
        QCOMPARE(resets.count(), 1);
        QCOMPARE(moves.count(), 1);
        ds->enableControls();
        QCOMPARE(resets.count(), 1);
    }
};

QTEST_GUILESS_MAIN(TestDataset)
#include "test_dataset.moc"
