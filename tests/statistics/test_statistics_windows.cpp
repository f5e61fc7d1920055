// The two statistics windows offscreen on the small sample with known rows: the
// footer against plain SQL, the empty result, reversed dates, the sort across
// refreshes, the report menu with its names, sorts and variables, the pickers
// that go through the code-table seam, and the dispatcher's opening steps.
#include "ButtonEdit.h"
#include "CodeTablePicker.h"
#include "MessageRecorder.h"
#include "ModalHandlers.h"
#include "ProgramValues.h"
#include "ReportPreview.h"
#include "ReportVariables.h"
#include "StatisticsWindowFixture.h"
#include "StatisticsWindows.h"
#include "WorkingWindows.h"
#include "yw_tj_sp.h"
#include "yw_tj_wjz.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

using namespace kvl;
using namespace kvl::test;

namespace {

// The open documents in a range by plain SQL: count, 出货 sum, 进货 sum, balance.
struct Totals
{
    qint64 count, out, in, balance;
};

const char *kOpenDocs =
    "SELECT count(*), total(应收款金额（出货）), total(结帐、应付款金额（进货）),"
    " total(coalesce(应收款金额（出货）,0) - coalesce(结帐、应付款金额（进货）,0)) FROM sfk"
    " WHERE 制单日期>=:a AND 制单日期<=:b AND 类别<>'结帐' AND id NOT IN (SELECT sfid_mx FROM jzmx WHERE sfid_mx IS NOT NULL)"
    " AND 类别 LIKE :lb";

const char *kGoodsLines =
    "SELECT count(*), total(kcmx.sl), total(CASE WHEN sfk.类别='出货' THEN je ELSE 0 END),"
    " total(CASE WHEN sfk.类别='进货' THEN je ELSE 0 END),"
    " total(CASE WHEN sfk.id IN (SELECT sfid_mx FROM jzmx WHERE sfid_mx IS NOT NULL) THEN 0"
    "            WHEN sfk.类别='出货' THEN je ELSE -je END)"
    " FROM kcmx JOIN sfk ON sfk.id=kcmx.sf_id"
    " WHERE sfk.制单日期>=:a AND sfk.制单日期<=:b AND sfk.类别<>'结帐' AND sfk.类别 LIKE :lb"
    " AND (:jz=0 OR sfk.id NOT IN (SELECT sfid_mx FROM jzmx WHERE sfid_mx IS NOT NULL))";

Params rangeParams(const QDate &a, const QDate &b, const QString &lb)
{
    return {{QStringLiteral(":a"), Value(a.toString(Qt::ISODate) + QStringLiteral(" 00:00:00"))},
            {QStringLiteral(":b"), Value(b.toString(Qt::ISODate) + QStringLiteral(" 00:00:00"))},
            {QStringLiteral(":lb"), Value(u'%' + lb + u'%')}};
}

ReportPreview *previewOf(QDialog &d)
{
    return qobject_cast<ReportPreview *>(&d);
}

} // namespace

class TestStatisticsWindows : public QObject
{
    Q_OBJECT

private slots:
    void unsettledFooter_data()
    {
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        QTest::addColumn<QString>("kind");
        QTest::newRow("known rows, June 2020") << day("2020-06-01") << day("2020-06-30") << QString();
        QTest::newRow("known purchases") << day("2020-06-01") << day("2020-06-30") << QStringLiteral("进货");
        QTest::newRow("every document") << day("2000-01-01") << QDate::currentDate().addDays(1) << QString();
        QTest::newRow("every shipment") << day("2000-01-01") << QDate::currentDate().addDays(1) << QStringLiteral("出货");
    }
    void unsettledFooter()
    {
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        QFETCH(QString, kind);
        StatisticsWindowData data;
        QWidget panel;
        auto *w = openWindow<TFMyw_tj_wjz>(panel);
        child<QComboBox>(*w, "lb")->setCurrentText(kind);
        setRange(*w, from, to);

        const auto r = data.rows(QString::fromUtf8(kOpenDocs), rangeParams(from, to, kind))[0];
        QVERIFY(r[0].toInt() > 0);
        const DataGrid &g = *w->grid();
        QCOMPARE(g.footerText(0, 0), QStringLiteral("合计"));
        QCOMPARE(g.footerText(0, 1).toLongLong(), r[0].toInt());
        QCOMPARE(footerSumOf(g, QStringLiteral("应收款金额（出货）")), qint64(r[1].toDouble()));
        QCOMPARE(footerSumOf(g, QStringLiteral("结帐、应付款金额（进货）")), qint64(r[2].toDouble()));
        QCOMPARE(footerSumOf(g, QStringLiteral("应收款余额")), qint64(r[3].toDouble()));
    }

    void goodsFooter_data()
    {
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("withoutSettled");
        QTest::newRow("known lines") << day("2020-06-01") << day("2020-06-30") << QString() << false;
        QTest::newRow("known lines, settled left out") << day("2020-06-01") << day("2020-06-30") << QString() << true;
        QTest::newRow("every line") << day("2000-01-01") << QDate::currentDate().addDays(1) << QString() << false;
        QTest::newRow("every open purchase line")
            << day("2000-01-01") << QDate::currentDate().addDays(1) << QStringLiteral("进货") << true;
    }
    void goodsFooter()
    {
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        QFETCH(QString, kind);
        QFETCH(bool, withoutSettled);
        StatisticsWindowData data;
        QWidget panel;
        auto *w = openWindow<TFMyw_tj_sp>(panel);
        child<QComboBox>(*w, "lb")->setCurrentText(kind);
        if (withoutSettled)
            child<QCheckBox>(*w, "CheckJZ")->click();
        setRange(*w, from, to);

        Params p = rangeParams(from, to, kind);
        p.append({QStringLiteral(":jz"), Value::integer(withoutSettled ? 1 : 0)});
        const auto r = data.rows(QString::fromUtf8(kGoodsLines), p)[0];
        QVERIFY(r[0].toInt() > 0);
        const DataGrid &g = *w->grid();
        QCOMPARE(g.footerText(0, 0), QStringLiteral("合计"));
        QCOMPARE(g.footerText(0, 1).toLongLong(), r[0].toInt());
        QCOMPARE(footerSumOf(g, QStringLiteral("sl")), qint64(r[1].toDouble()));
        QCOMPARE(footerSumOf(g, QStringLiteral("出货（应收款）金额")), qint64(r[2].toDouble()));
        QCOMPARE(footerSumOf(g, QStringLiteral("进货（应付款）金额")), qint64(r[3].toDouble()));
        QCOMPARE(footerSumOf(g, QStringLiteral("应收款余额")), qint64(r[4].toDouble()));
    }

    // An empty result shows the blinking label and greys out printing and export,
    // however it comes about; the next rows undo both.
    void emptyResult_data()
    {
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        QTest::addColumn<QString>("number");
        QTest::newRow("no documents in the range") << day("1990-01-01") << day("1990-12-31") << QString();
        QTest::newRow("end date before the start date") << day("2020-06-30") << day("2020-06-01") << QString();
        QTest::newRow("a number nobody has") << day("2020-06-01") << day("2020-06-30") << QStringLiteral("'无此单号\"");
    }
    void emptyResult()
    {
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        QFETCH(QString, number);
        StatisticsWindowData data;
        MessageRecorder rec;
        QWidget panel;
        auto *w = openWindow<TFMyw_tj_wjz>(panel);
        QLabel *label = w->emptyLabel();
        QVERIFY(!label->isVisibleTo(w));
        QVERIFY(child<QToolButton>(*w, "Bprint")->isEnabled());

        child<QLineEdit>(*w, "dh")->setText(number);
        setRange(*w, from, to);
        QVERIFY(rec.texts().isEmpty());
        QVERIFY(data.dm().DataTJ_ysk.isActive());
        QCOMPARE(data.dm().DataTJ_ysk.recordCount(), 0);
        QCOMPARE(label->text(), QStringLiteral("    没有应收款！"));
        QVERIFY(label->isVisibleTo(w));
        for (const char *b : {"Bprint", "Bsaveto"})
            QVERIFY2(!child<QToolButton>(*w, b)->isEnabled(), b);
        for (const char *a : {"NBprint", "NBsaveto"})
            QVERIFY2(!action(*w, a)->isEnabled(), a);
        QVERIFY(action(*w, "NBzselcol")->isEnabled());
        QVERIFY(action(*w, "NBReturn")->isEnabled());

        child<QLineEdit>(*w, "dh")->clear();
        setRange(*w, day("2020-06-01"), day("2020-06-30"));
        QVERIFY(!label->isVisibleTo(w));
        QVERIFY(child<QToolButton>(*w, "Bprint")->isEnabled());
        QVERIFY(action(*w, "NBsaveto")->isEnabled());
    }

    // The goods window has no label; its buttons follow the rows the same way.
    void goodsButtonsFollowRows()
    {
        StatisticsWindowData data;
        QWidget panel;
        auto *w = openWindow<TFMyw_tj_sp>(panel);
        setRange(*w, day("2020-06-30"), day("2020-06-01"));
        QCOMPARE(data.dm().DataTJ_sp.recordCount(), 0);
        QVERIFY(!child<QToolButton>(*w, "Bprint")->isEnabled());
        QVERIFY(!action(*w, "NBsaveto")->isEnabled());
        setRange(*w, day("2020-06-01"), day("2020-06-30"));
        QVERIFY(child<QToolButton>(*w, "Bsaveto")->isEnabled());
        QVERIFY(action(*w, "NBprint")->isEnabled());
    }

    // A title click sorts; typing a filter re-queries and the order stays the user's.
    void sortSurvivesRefresh()
    {
        StatisticsWindowData data;
        QWidget panel;
        auto *w = openWindow<TFMyw_tj_wjz>(panel);
        setRange(*w, day("2000-01-01"), QDate::currentDate().addDays(1));
        DataGrid &g = *w->grid();
        const int amount = g.columnOfField(QStringLiteral("应收款余额"));
        g.clickTitle(g.sectionOfColumn(amount));
        g.clickTitle(g.sectionOfColumn(amount));   // descending
        const QString sort = data.dm().DataTJ_ysk.sortText();
        QVERIFY(sort.contains(QStringLiteral("DESC")));

        QLineEdit *bz = child<QLineEdit>(*w, "bz");
        bz->setText(QStringLiteral("订"));
        w->flushRefresh();
        bz->setText(QString());
        child<QComboBox>(*w, "lb")->setCurrentText(QStringLiteral("出货"));
        w->flushRefresh();
        const Dataset &ds = data.dm().DataTJ_ysk;
        QCOMPARE(ds.sortText(), sort);
        QCOMPARE(g.sortMarks().size(), 1);
        QVERIFY(ds.recordCount() > 2);
        const auto balances = columnOf(ds, QStringLiteral("应收款余额"));
        for (size_t i = 1; i < balances.size(); ++i)
            QVERIFY(balances[i - 1].moneyUnits() >= balances[i].moneyUnits());
    }

    // Several changes in a row give one refresh with the last filter.
    void typingCoalesces()
    {
        StatisticsWindowData data;
        QWidget panel;
        auto *w = openWindow<TFMyw_tj_wjz>(panel);
        setRange(*w, day("2020-06-01"), day("2020-06-30"));
        int opened = 0;
        connect(&data.dm().DataTJ_ysk, &Dataset::opened, w, [&] { ++opened; });
        QLineEdit *dh = child<QLineEdit>(*w, "dh");
        for (const char *t : {"K", "KX", "KX0", "KX00"})
            dh->setText(QString::fromLatin1(t));
        QCOMPARE(opened, 0);
        w->flushRefresh();
        QCOMPARE(opened, 1);
        QCOMPARE(idsOf(data.dm().DataTJ_ysk), (QList<qint64>{100001, 100002, 100004}));
    }

    void unsettledReports_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("summary");
        QTest::addColumn<QString>("sortWhilePrinting");
        QTest::newRow("N5") << "N5" << "未结帐明细表" << false << "";
        QTest::newRow("N1") << "N1" << "未结帐汇总表－往来单位" << true << "单位名称";
        QTest::newRow("N10") << "N10" << "未结帐汇总表－业务员" << true << "员工姓名";
        QTest::newRow("MenuItem2") << "MenuItem2" << "未结帐汇总表－类别" << true << "类别";
        QTest::newRow("N2") << "N2" << "未结帐汇总表－往来单位＋业务员" << true << "单位名称,员工姓名";
        QTest::newRow("N3") << "N3" << "未结帐汇总表－往来单位＋类别" << true << "单位名称,类别";
        QTest::newRow("N4") << "N4" << "未结帐汇总表－业务员＋往来单位" << true << "员工姓名,单位名称";
        QTest::newRow("N6") << "N6" << "未结帐汇总表－业务员＋类别" << true << "员工姓名,类别";
    }
    void unsettledReports()
    {
        QFETCH(QString, item);
        QFETCH(QString, caption);
        QFETCH(bool, summary);
        QFETCH(QString, sortWhilePrinting);
        StatisticsWindowData data;
        QWidget panel;
        auto *w = openWindow<TFMyw_tj_wjz>(panel);
        setRange(*w, day("2000-01-01"), QDate::currentDate().addDays(1));
        const QStringList order = [&] {
            QStringList names;
            for (QAction *a : w->reportMenu()->actions())
                names << a->objectName();
            return names;
        }();
        QCOMPARE(order, (QStringList{"N5", "N1", "N10", "MenuItem2", "N2", "N3", "N4", "N6"}));

        Dataset &ds = data.dm().DataTJ_ysk;
        ds.setSortText(QStringLiteral("单号 DESC"));
        MessageRecorder rec;
        rec.queueAnswer(QMessageBox::Yes);
        ModalHandlers dialogs;
        QString shown, sortDuring;
        dialogs.enqueue([&](QDialog &d) {
            shown = previewOf(d)->reportTemplate().name;
            sortDuring = ds.sortText();
            d.accept();
        });
        action(*w, item.toUtf8().constData())->trigger();
        QCOMPARE(CurrentReportName, caption);
        QCOMPARE(shown, caption);
        QCOMPARE(dialogs.unexpected(), 0);
        QCOMPARE(rec.texts().size(), summary ? 1 : 0);
        QCOMPARE(sortDuring.remove(u' '), sortWhilePrinting.isEmpty() ? QStringLiteral("单号DESC") : sortWhilePrinting);
        QCOMPARE(ds.sortText(), QStringLiteral("单号 DESC"));
    }

    void goodsReports_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("partner");
        QTest::addColumn<QString>("partnerVariable");
        QTest::newRow("N2, all partners") << "N2" << "进出商品明细表" << "" << "全部往来单位";
        QTest::newRow("N3, blanks only") << "N3" << "进出商品汇总表－往来单位" << "   " << "全部往来单位";
        QTest::newRow("N5, one partner") << "N5" << "进出商品汇总表－单号" << " 测试(甲)商行 " << "测试(甲)商行";
        QTest::newRow("N27") << "N27" << "进出商品汇总表－商品" << "" << "全部往来单位";
        QTest::newRow("N1") << "N1" << "进出商品汇总表－业务员" << "测试" << "测试";
    }
    void goodsReports()
    {
        QFETCH(QString, item);
        QFETCH(QString, caption);
        QFETCH(QString, partner);
        QFETCH(QString, partnerVariable);
        StatisticsWindowData data;
        QWidget panel;
        auto *w = openWindow<TFMyw_tj_sp>(panel);
        child<QLineEdit>(*w, "dw")->setText(partner);
        setRange(*w, day("2020-06-01"), day("2020-06-30"));
        QVERIFY(data.dm().DataTJ_sp.recordCount() > 0);

        MessageRecorder rec;
        rec.queueAnswer(QMessageBox::Yes);
        ModalHandlers dialogs;
        QString shown;
        QHash<QString, Value> vars;
        dialogs.enqueue([&](QDialog &d) {
            shown = previewOf(d)->reportTemplate().name;
            vars = ReportVars;
            d.accept();
        });
        action(*w, item.toUtf8().constData())->trigger();
        QCOMPARE(CurrentReportName, caption);
        QCOMPARE(shown, caption);
        QCOMPARE(vars.value(QStringLiteral("单位名")).toString(), partnerVariable);
        QCOMPARE(vars.value(QStringLiteral("起始日期")), ReportDayCount(day("2020-06-01")));
        QCOMPARE(vars.value(QStringLiteral("截止日期")), ReportDayCount(day("2020-06-30")));
    }

    // The category and origin pickers position on their own text; a choice goes in
    // and refreshes, no choice leaves the text.
    void codeTablePickers_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("table");
        QTest::addColumn<bool>("chosen");
        QTest::newRow("category chosen") << "splb" << "商品类别" << true;
        QTest::newRow("origin chosen") << "spcd" << "商品产地" << true;
        QTest::newRow("origin list closed without a choice") << "spcd" << "商品产地" << false;
    }
    void codeTablePickers()
    {
        QFETCH(QString, edit);
        QFETCH(QString, table);
        QFETCH(bool, chosen);
        StatisticsWindowData data;
        QWidget panel;
        auto *w = openWindow<TFMyw_tj_sp>(panel);
        setRange(*w, day("2020-06-01"), day("2020-06-30"));
        auto *e = w->findChild<ButtonEdit *>(edit);
        e->setText(QStringLiteral("东"));
        w->flushRefresh();
        QString askedTable, askedText;
        SetCodeTablePicker([&](const QString &t, const QString &text, QWidget *) -> std::optional<QString> {
            askedTable = t;
            askedText = text;
            return chosen ? std::optional<QString>(table == QStringLiteral("商品类别") ? QStringLiteral("五金")
                                                                                   : QStringLiteral("广东"))
                          : std::nullopt;
        });
        emit e->buttonClicked();
        SetCodeTablePicker({});
        QCOMPARE(askedTable, table);
        QCOMPARE(askedText, QStringLiteral("东"));
        QCOMPARE(e->text(), chosen ? (table == QStringLiteral("商品类别") ? QStringLiteral("五金") : QStringLiteral("广东"))
                                   : QStringLiteral("东"));
        w->flushRefresh();
        const QList<qint64> ids = idsOf(data.dm().DataTJ_sp);
        if (chosen)
            QCOMPARE(ids, (QList<qint64>{100001, 100002, 100006}));
    }

    // Purchases are green in both windows; the goods window puts settled lines on light orange.
    void rowColours_data()
    {
        QTest::addColumn<bool>("goods");
        QTest::addColumn<qint64>("id");
        QTest::addColumn<QColor>("background");
        QTest::addColumn<QColor>("text");
        const QColor none, green(0, 128, 0), orange(255, 198, 140);
        QTest::newRow("unsettled: shipment") << false << qint64(100001) << none << none;
        QTest::newRow("unsettled: purchase") << false << qint64(100002) << none << green;
        QTest::newRow("goods: open shipment") << true << qint64(100001) << none << none;
        QTest::newRow("goods: open purchase") << true << qint64(100005) << none << green;
        QTest::newRow("goods: settled shipment") << true << qint64(100006) << orange << none;
    }
    void rowColours()
    {
        QFETCH(bool, goods);
        QFETCH(qint64, id);
        QFETCH(QColor, background);
        QFETCH(QColor, text);
        StatisticsWindowData data;
        QWidget panel;
        StatisticsWindow *w = goods ? static_cast<StatisticsWindow *>(openWindow<TFMyw_tj_sp>(panel))
                                    : openWindow<TFMyw_tj_wjz>(panel);
        setRange(*w, day("2020-06-01"), day("2020-06-30"));
        const int row = int(idsOf(*w->grid()->dataset()).indexOf(id));
        QVERIFY(row >= 0);
        const RowColours c = w->grid()->rowColourHook()(row);
        QCOMPARE(c.background, background);
        QCOMPARE(c.text, text);
    }

    // A refresh the engine refuses is reported; the grid is empty and the window goes on.
    void failedRefresh()
    {
        StatisticsWindowData data;
        QWidget panel;
        auto *w = openWindow<TFMyw_tj_wjz>(panel);
        setRange(*w, day("2020-06-01"), day("2020-06-30"));
        data.exec(QStringLiteral("ALTER TABLE jzmx RENAME TO jzmx_old"));
        MessageRecorder rec;
        child<QLineEdit>(*w, "dh")->setText(QStringLiteral("KX"));
        w->flushRefresh();
        QCOMPARE(rec.texts().size(), 1);
        QVERIFY(!data.dm().DataTJ_ysk.isActive());
        QCOMPARE(w->grid()->model()->rowCount(), 0);
        QVERIFY(!child<QToolButton>(*w, "Bprint")->isEnabled());

        data.exec(QStringLiteral("ALTER TABLE jzmx_old RENAME TO jzmx"));
        child<QLineEdit>(*w, "dh")->setText(QStringLiteral("KX0"));
        w->flushRefresh();
        QCOMPARE(rec.texts().size(), 1);
        QCOMPARE(idsOf(data.dm().DataTJ_ysk), (QList<qint64>{100001, 100002, 100004}));
        QVERIFY(child<QToolButton>(*w, "Bprint")->isEnabled());
    }

    // Enter in a date, the list or the check box moves on and changes nothing.
    void enterMovesOn_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::newRow("start date") << "qshrq" << "jzhrq";
        QTest::newRow("end date") << "jzhrq" << "lb";
        QTest::newRow("kind list") << "lb" << "dh";
        QTest::newRow("check box") << "CheckJZ" << "spbh";
    }
    void enterMovesOn()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        StatisticsWindowData data;
        QWidget panel;
        panel.resize(1000, 600);
        auto *w = openWindow<TFMyw_tj_sp>(panel);
        panel.show();
        panel.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&panel));
        auto *start = w->findChild<QWidget *>(from);
        start->setFocus();
        const QDate date = w->startDate()->date();
        QTest::keyClick(start, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget()->objectName(), to);
        QCOMPARE(w->startDate()->date(), date);
        QVERIFY(!child<QCheckBox>(*w, "CheckJZ")->isChecked());
    }

    // The side bar's items 1 and 2: defaults, one refresh, focus; choosing the other closes it.
    void dispatcherOpens()
    {
        StatisticsWindowData data;
        RegisterStatisticsWindows();
        QWidget panel;
        panel.resize(900, 600);
        panel.show();
        const QDate today = QDate::currentDate();
        for (int tag : {1, 2}) {
            WorkingWindows::dispatch(tag, &panel);
            auto *w = qobject_cast<StatisticsWindow *>(WorkingWindows::window(tag));
            QVERIFY(w);
            QCOMPARE(w->parentWidget(), &panel);
            QCOMPARE(w->startDate()->date(), QDate(today.year(), 1, 1));
            QCOMPARE(w->endDate()->date(), today);
            QCOMPARE(w->focusWidget(), w->startDate());
            Dataset &ds = tag == 1 ? data.dm().DataTJ_ysk : data.dm().DataTJ_sp;
            QVERIFY(ds.isActive());
            QVERIFY(ds.recordCount() > 0);
            QCOMPARE(w->windowTitle(), tag == 1 ? QStringLiteral("未结帐统计") : QStringLiteral("进出商品统计"));
        }
        QVERIFY(!WorkingWindows::window(1));
        QVERIFY(!data.dm().DataTJ_ysk.isActive());
        WorkingWindows::closeAll();
        QVERIFY(!data.dm().DataTJ_sp.isActive());
        WorkingWindows::remove(1);
        WorkingWindows::remove(2);
    }
};

QTEST_MAIN(TestStatisticsWindows)
#include "test_statistics_windows.moc"
