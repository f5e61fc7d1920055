// The pickers of both statistics windows with the real list windows and the
// real code-table window: which list opens, the text it is positioned on, the
// field a choice writes into the edit (which refreshes the statistics), no
// choice leaving the text, an empty list giving nothing, and the focus moving
// on in every case.
#include "ButtonEdit.h"
#include "CodeTablePicker.h"
#include "Dm_qt.h"
#include "EditButton.h"
#include "MasterListWindow.h"
#include "ModalHandlers.h"
#include "StatisticsWindowFixture.h"
#include "yw_tj_sp.h"
#include "yw_tj_wjz.h"

#include <QApplication>
#include <QtTest>

using namespace kvl;
using namespace kvl::test;

namespace {

// "dw=text" pairs: the texts typed into the filters before the picker opens.
void typeInto(QWidget &w, const QStringList &typed)
{
    for (const QString &t : typed) {
        const qsizetype eq = t.indexOf(u'=');
        auto *e = w.findChild<QLineEdit *>(t.left(eq));
        QVERIFY2(e, qPrintable(t));
        e->setText(t.mid(eq + 1));
    }
}

} // namespace

class TestStatisticsPickers : public QObject
{
    Q_OBJECT

    std::unique_ptr<StatisticsWindowData> m_data;
    std::unique_ptr<QWidget> m_panel;
    StatisticsWindow *m_window = nullptr;

    // The window on June 2020 (the known rows), active, so the focus can be followed.
    StatisticsWindow &open(const QString &title)
    {
        m_panel = std::make_unique<QWidget>();
        m_panel->resize(1100, 700);
        if (title == TFMyw_tj_wjz::title())
            m_window = openWindow<TFMyw_tj_wjz>(*m_panel);
        else
            m_window = openWindow<TFMyw_tj_sp>(*m_panel);
        m_panel->show();
        m_panel->activateWindow();
        if (!QTest::qWaitForWindowActive(m_panel.get()))
            qWarning("the panel did not become active");
        setRange(*m_window, day("2020-06-01"), day("2020-06-30"));
        return *m_window;
    }

private slots:
    void init()
    {
        m_data = std::make_unique<StatisticsWindowData>();
        // As the program sets it at start-up.
        SetCodeTablePicker(PickCodeTable);
    }
    void cleanup()
    {
        SetCodeTablePicker({});
        m_panel.reset();
        m_data.reset();
    }

    void pickers_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QString>("how");       // F4, double click or the button
        QTest::addColumn<bool>("choose");       // Enter in the list, else Esc
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("listField"); // read at the list's current row when it opens
        QTest::addColumn<QString>("positioned");
        QTest::addColumn<QString>("taken");     // the edit's text afterwards
        QTest::addColumn<QString>("next");      // the control focused afterwards
        const QString wjz = TFMyw_tj_wjz::title(), sp = TFMyw_tj_sp::title();
        const QString partners = QStringLiteral("选择往来单位"), goods = QStringLiteral("选择商品资料"),
                      staff = QStringLiteral("选择公司员工");
        QTest::newRow("未结帐统计 dw") << wjz << "dw" << QStringList{"dw=测试(甲"} << "F4" << true << partners
                                   << "单位编号" << "KX-01" << "测试(甲)商行" << "yw";
        QTest::newRow("未结帐统计 dwbh opens on dw") << wjz << "dwbh" << QStringList{"dw=测试(甲", "dwbh=DW0001"} << "F4"
                                                << true << partners << "单位名称" << "测试(甲)商行" << "KX-01" << "dw";
        QTest::newRow("未结帐统计 yw, double click") << wjz << "yw" << QStringList{"yw=测试"} << "double" << true << staff
                                                 << "员工编号" << "Y9001" << "测试员" << "Grid";
        QTest::newRow("未结帐统计 yw, Esc") << wjz << "yw" << QStringList{"yw=测试"} << "F4" << false << staff << "员工编号"
                                        << "Y9001" << "测试" << "Grid";
        QTest::newRow("进出商品统计 dw, button") << sp << "dw" << QStringList{"dw=测试(甲"} << "button" << true << partners
                                           << "单位编号" << "KX-01" << "测试(甲)商行" << "yw";
        QTest::newRow("进出商品统计 dwbh opens on dw") << sp << "dwbh" << QStringList{"dw=测试(甲", "dwbh=DW0001"} << "F4"
                                                 << true << partners << "单位名称" << "测试(甲)商行" << "KX-01" << "dw";
        QTest::newRow("进出商品统计 yw") << sp << "yw" << QStringList{"yw=测试"} << "F4" << true << staff << "员工编号"
                                     << "Y9001" << "测试员" << "CheckJZ";
        QTest::newRow("进出商品统计 spmc") << sp << "spmc" << QStringList{"spmc=测试["} << "F4" << true << goods
                                       << "商品编号" << "SPX01" << "测试[特]货" << "splb";
        QTest::newRow("进出商品统计 spbh opens on spmc") << sp << "spbh" << QStringList{"spmc=测试[", "spbh=SP0001"} << "F4"
                                                   << true << goods << "商品名称" << "测试[特]货" << "SPX01" << "spmc";
        QTest::newRow("进出商品统计 spmc, Esc") << sp << "spmc" << QStringList{"spmc=测试["} << "F4" << false << goods
                                            << "商品编号" << "SPX01" << "测试[" << "splb";
        QTest::newRow("进出商品统计 splb by name") << sp << "splb" << QStringList{"splb=五"} << "F4" << true
                                              << "选择商品类别" << "拼音简码" << "WJ" << "五金" << "spcd";
        QTest::newRow("进出商品统计 spcd by initials") << sp << "spcd" << QStringList{"spcd=gd"} << "double" << true
                                                  << "选择商品产地" << "商品产地" << "广东" << "广东" << "Grid";
        QTest::newRow("进出商品统计 spcd, Esc") << sp << "spcd" << QStringList{"spcd=gd"} << "F4" << false
                                            << "选择商品产地" << "商品产地" << "广东" << "gd" << "Grid";
    }
    void pickers()
    {
        QFETCH(QString, window);
        QFETCH(QString, edit);
        QFETCH(QStringList, typed);
        QFETCH(QString, how);
        QFETCH(bool, choose);
        QFETCH(QString, title);
        QFETCH(QString, listField);
        QFETCH(QString, positioned);
        QFETCH(QString, taken);
        QFETCH(QString, next);
        StatisticsWindow &w = open(window);
        typeInto(w, typed);
        w.flushRefresh();
        auto *e = child<ButtonEdit>(w, edit.toUtf8().constData());
        e->setFocus();

        ModalHandlers h;
        QString shownTitle, shownAt;
        h.enqueue([&](QDialog &d) {
            auto &list = static_cast<MasterListWindow &>(d);
            shownTitle = list.windowTitle();
            shownAt = list.dataset()->value(listField).toString();
            QTest::keyClick(list.Grid, choose ? Qt::Key_Return : Qt::Key_Escape);
        });
        if (how == QStringLiteral("F4"))
            QTest::keyClick(e, Qt::Key_F4);
        else if (how == QStringLiteral("double"))
            QTest::mouseDClick(e, Qt::LeftButton);
        else
            emit e->button()->clicked();
        QCOMPARE(h.shown().size(), 1);
        QCOMPARE(h.leftOpen(), 0);
        QCOMPARE(shownTitle, title);
        QCOMPARE(shownAt, positioned);
        QCOMPARE(e->text(), taken);
        QVERIFY(QApplication::focusWidget());
        QCOMPARE(QApplication::focusWidget()->objectName(), next);

        if (!choose)
            return;
        // A choice refreshes the list with the chosen text as the filter.
        w.flushRefresh();
        Dataset &ds = window == TFMyw_tj_wjz::title() ? m_data->dm().DataTJ_ysk : m_data->dm().DataTJ_sp;
        const QString field = edit == QStringLiteral("dw")     ? QStringLiteral("单位名称")
                              : edit == QStringLiteral("dwbh") ? QStringLiteral("单位编号")
                              : edit == QStringLiteral("yw")   ? QStringLiteral("员工姓名")
                              : edit == QStringLiteral("spmc") ? QStringLiteral("商品名称")
                              : edit == QStringLiteral("spbh") ? QStringLiteral("商品编号")
                              : edit == QStringLiteral("splb") ? QStringLiteral("商品类别")
                                                               : QStringLiteral("商品产地");
        QVERIFY(ds.recordCount() > 0);
        for (const Value &v : columnOf(ds, field))
            QVERIFY2(v.toString().contains(taken), qPrintable(v.toString()));
    }

    // A choice from an empty code table (or an empty partner list) gives nothing:
    // the edit keeps its text and the focus still moves on.
    void emptyListTakesNothing_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("emptied");
        QTest::addColumn<QString>("next");
        QTest::newRow("origins") << "spcd" << "DELETE FROM 商品产地" << "Grid";
        QTest::newRow("categories") << "splb" << "DELETE FROM 商品类别" << "spcd";
        QTest::newRow("partners all paused") << "dw" << "UPDATE 往来单位 SET 暂停 = 1" << "yw";
    }
    void emptyListTakesNothing()
    {
        QFETCH(QString, edit);
        QFETCH(QString, emptied);
        QFETCH(QString, next);
        m_data->exec(emptied);
        StatisticsWindow &w = open(TFMyw_tj_sp::title());
        auto *e = child<ButtonEdit>(w, edit.toUtf8().constData());
        e->setText(QStringLiteral("东"));
        w.flushRefresh();
        e->setFocus();
        ModalHandlers h;
        h.enqueue([](QDialog &d) {
            auto &list = static_cast<MasterListWindow &>(d);
            QVERIFY(list.dataset()->isEmpty());
            QVERIFY(!list.BSelect->isEnabled());
            list.GridDblClick();
        });
        QTest::keyClick(e, Qt::Key_F4);
        QCOMPARE(h.shown().size(), 1);
        QCOMPARE(h.leftOpen(), 0);
        QCOMPARE(e->text(), QStringLiteral("东"));
        QCOMPARE(QApplication::focusWidget()->objectName(), next);
    }
};

QTEST_MAIN(TestStatisticsPickers)
#include "test_statistics_pickers.moc"
