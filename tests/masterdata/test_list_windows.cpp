// The partner, goods, staff and code-table lists on a real sample data file, driven as a
// user drives them: button states of an empty list, the filter line with awkward texts,
// the picker's width and positioning, what cancelling leaves of the shared dataset, the
// refused delete, the working window finding paused records after a picker, nested pickers
// that must not take one another's choice, and the code-table picker.
#include "CodeTablePicker.h"
#include "DataGrid.h"
#include "DbButtonEdit.h"
#include "DbEdit.h"
#include "Dm_qt.h"
#include "Dm_sp.h"
#include "Dm_zg.h"
#include "ListFilter.h"
#include "MasterDataWindows.h"
#include "MessageRecorder.h"
#include "ModalHandlers.h"
#include "ModalResult.h"
#include "PickMode.h"
#include "ProgramValues.h"
#include "SampleData.h"
#include "Schema.h"
#include "Statement.h"
#include "WorkingWindows.h"
#include "../platform/widgets/TypeText.h"
#include "datakvl.h"
#include "dm_dw.h"
#include "dm_qt_edit.h"
#include "dm_sp_edit.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <memory>

using namespace kvl;

namespace {

struct Kind
{
    std::function<MasterListWindow *()> make;
    std::function<bool(const QString &)> pick;
    QString table, code, name;
    bool closesOnCancel;
};

Kind kindNamed(const QString &k)
{
    if (k == "partner")
        return {[] { return new TFMdm_dw; }, [](const QString &t) { return PickPartner(t, nullptr); },
                "往来单位", "单位编号", "单位名称", true};
    if (k == "goods")
        return {[] { return new TFMdm_sp; }, [](const QString &t) { return PickGoods(t, nullptr); },
                "商品资料", "商品编号", "商品名称", false};
    return {[] { return new TFMdm_zg; }, [](const QString &t) { return PickStaff(t, nullptr); },
            "公司员工", "员工编号", "员工姓名", true};
}

void addKinds()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("partner") << "partner";
    QTest::newRow("goods") << "goods";
    QTest::newRow("staff") << "staff";
}

QAction *menuItem(MasterListWindow &w, const char *name)
{
    for (QAction *a : w.PopupMenu1->actions())
        if (a->objectName() == QLatin1String(name))
            return a;
    qFatal("no menu item %s", name);
}

} // namespace

class TestListWindows : public QObject
{
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TDataModKvl> m_dm;

    qint64 scalar(const QString &sql)
    {
        Statement st(m_dm->ConKVL, sql);
        return st.next() ? st.int64(0) : -1;
    }
    QString text(const QString &sql)
    {
        Statement st(m_dm->ConKVL, sql);
        return st.next() ? st.text(0) : QStringLiteral("<none>");
    }
    void exec(const QString &sql) { m_dm->ConKVL.exec(sql); }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        AppDir = m_dir->path() + QLatin1Char('/');
        Schema::createDataFile(AppDir + "KVL.DTA", QStringLiteral("公司"));
        {
            Connection c;
            c.connect(AppDir + "KVL.DTA", Schema::databasePassword());
            SampleData::write(c, SampleData::small());
        }
        m_dm = std::make_unique<TDataModKvl>();
        QVERIFY(DbConnected);
        RegisterMasterDataWindows();
    }
    void cleanup()
    {
        SetCodeTablePicker(nullptr);
        m_dm.reset();
        m_dir.reset();
    }

    void emptyListDisablesWhatNeedsARecord_data() { addKinds(); }
    void emptyListDisablesWhatNeedsARecord()
    {
        QFETCH(QString, kind);
        const Kind k = kindNamed(kind);
        exec("DELETE FROM jzmx");
        exec("DELETE FROM kcmx");
        exec("DELETE FROM sfk");
        exec("DELETE FROM " + k.table);
        std::unique_ptr<MasterListWindow> w(k.make());
        w->openAsWorkingWindow();
        for (auto *b : {w->BSelect, w->Bedit, w->Bcut, w->Bsaveto})
            QVERIFY2(!b->isEnabled(), qPrintable(b->objectName()));
        for (auto *b : {w->Badd, w->Bzselcol, w->BReturn})
            QVERIFY2(b->isEnabled(), qPrintable(b->objectName()));
        for (const char *n : {"NBSelect", "NBedit", "NBcut", "NBsaveto"})
            QVERIFY2(!menuItem(*w, n)->isEnabled(), n);
        QVERIFY(menuItem(*w, "NBadd")->isEnabled());
        QVERIFY(!menuItem(*w, "NBSelect")->isVisible());
        QVERIFY(!menuItem(*w, "N11")->isVisible());
        // Change and delete do nothing: no dialog, no question.
        MessageRecorder rec;
        ModalHandlers h;
        w->BeditClick();
        w->BcutClick();
        QCOMPARE(h.shown(), QStringList());
        QCOMPARE(rec.texts(), QStringList());

        // A picker on the empty list: a double click closes it, and nothing is taken.
        h.enqueue([](QDialog &d) {
            auto &p = static_cast<MasterListWindow &>(d);
            QVERIFY(!p.BSelect->isEnabled());
            QVERIFY(p.BSelect->isVisible());
            p.GridDblClick();
        });
        QVERIFY(!k.pick(QString()));
        QCOMPARE(h.pending(), 0);
    }

    void filterLine_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expression");  // empty: no filter
        QTest::addColumn<QStringList>("names");   // the passing names; empty: all rows pass
        QTest::newRow("quote") << 1 << "O'Neil" << "单位名称 like '*O''Neil*'" << QStringList{"O'Neil号记"};
        QTest::newRow("blanks only") << 1 << "   " << "" << QStringList();
        QTest::newRow("trimmed") << 1 << " 号记 " << "单位名称 like '*号记*'"
                                 << QStringList{"O'Neil号记", "A*B号记", "AxB号记", "[特]号记"};
        QTest::newRow("asterisk is no wildcard") << 1 << "A*B" << "" << QStringList{"A*B号记"};
        QTest::newRow("asterisk without match") << 1 << "Q*Z" << "" << QStringList{"-"};
        QTest::newRow("brackets") << 1 << "[特]" << "单位名称 like '*[特]*'" << QStringList{"[特]号记"};
        QTest::newRow("lone quote and brackets") << 1 << "'(]" << "单位名称 like '*''(]*'" << QStringList{"-"};
        QTest::newRow("contact column") << 2 << "zz联系" << "联系人 like '*zz联系*'" << QStringList{"AxB号记"};
    }
    void filterLine()
    {
        QFETCH(int, column);
        QFETCH(QString, typed);
        QFETCH(QString, expression);
        QFETCH(QStringList, names);
        for (const char *n : {"O''Neil号记", "A*B号记", "AxB号记", "[特]号记"})
            exec(QStringLiteral("INSERT INTO 往来单位(id, 单位编号, 单位名称, 联系人, 暂停) VALUES("
                                "(SELECT max(id) + 1 FROM 往来单位), 'T' || (SELECT max(id) FROM 往来单位), '%1', '%2', 0)")
                     .arg(QString::fromUtf8(n), QString::fromUtf8(n).startsWith("AxB") ? "zz联系人" : ""));
        TFMdm_dw w;
        w.openAsWorkingWindow();
        Dataset &ds = *w.dataset();
        const int all = ds.recordCount();
        w.ComboBox1->setCurrentIndex(column);
        w.gltj->setText(typed);
        if (!expression.isEmpty())
            QCOMPARE(ds.filterText(), expression);
        if (names.isEmpty()) {
            QVERIFY(!ds.filtered());
            QCOMPARE(ds.recordCount(), all);
            return;
        }
        QVERIFY(ds.filtered());
        QStringList shown;
        for (int r = 0; r < ds.recordCount(); ++r)
            shown << ds.valueAt(r, ds.fieldIndex("单位名称")).toString();
        if (names == QStringList{"-"})
            names.clear();
        shown.sort();
        names.sort();
        QCOMPARE(shown, names);
        QCOMPARE(w.Bedit->isEnabled(), !names.isEmpty());
    }

    void changingTheColumnFiltersAgain()
    {
        TFMdm_dw w;
        w.openAsWorkingWindow();
        Dataset &ds = *w.dataset();
        w.ComboBox1->setCurrentIndex(1);
        w.gltj->setText("公司");
        const int byName = ds.recordCount();
        QVERIFY(byName > 0);
        QCOMPARE(ds.filterText(), "单位名称 like '*公司*'");
        w.ComboBox1->setCurrentIndex(0);
        QCOMPARE(ds.filterText(), "单位编号 like '*公司*'");
        QCOMPARE(ds.recordCount(), 0);
        QVERIFY(!w.Bcut->isEnabled());
        // Typed over, the column is unknown: the previous expression stays.
        w.ComboBox1->setEditText("随便");
        w.gltj->setText("DW000");
        QCOMPARE(ds.filterText(), "单位编号 like '*公司*'");
    }

    void pickerWidth_data()
    {
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("width");
        QTest::newRow("narrow") << 200 << 350;
        QTest::newRow("between") << 400 << 445;
        QTest::newRow("wide") << 555 << 600;
        QTest::newRow("wider") << 900 << 600;
    }
    void pickerWidth()
    {
        QFETCH(int, columns);
        QFETCH(int, width);
        QCOMPARE(MasterListWindow::pickerWidth(columns), width);
        // A list counts its shown columns only, the code table all of them.
        TFMdm_dw w;
        TFMdm_qt q("计量单位");
        for (MasterListWindow *x : {static_cast<MasterListWindow *>(&w), static_cast<MasterListWindow *>(&q)}) {
            x->Grid->setColumnWidthOf(0, columns);
            for (int c = 1; c < x->Grid->gridColumnCount(); ++c) {
                x->Grid->setColumnWidthOf(c, 50);
                x->Grid->setColumnShown(c, false);
            }
        }
        QCOMPARE(w.pickerWidth(), width);
        QCOMPARE(q.pickerWidth(), MasterListWindow::pickerWidth(columns + 50));
    }

    void pickerPositionsOnTheCallersText_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("sql");       // the text the caller has
        QTest::addColumn<QString>("expected");  // the code of the row the picker stands on
        const QString firstPartner = "SELECT 单位编号 FROM 往来单位 WHERE 暂停=0 ORDER BY 单位编号";
        QTest::newRow("partner, empty") << "partner" << "SELECT ''" << firstPartner;
        QTest::newRow("partner, unknown") << "partner" << "SELECT '无此单位'" << firstPartner;
        QTest::newRow("partner, by name start")
            << "partner" << "SELECT substr(单位名称, 1, 3) FROM 往来单位 WHERE 暂停=0 AND id=2"
            << "SELECT a.单位编号 FROM 往来单位 a, 往来单位 b WHERE b.id=2 AND a.暂停=0 AND "
               "substr(a.单位名称, 1, 3)=substr(b.单位名称, 1, 3) ORDER BY a.单位编号";
        QTest::newRow("partner, by code") << "partner" << "SELECT 'DW0003'" << "SELECT 'DW0003'";
        QTest::newRow("goods, by code start") << "goods" << "SELECT 'SP0001'"
                                              << "SELECT 商品编号 FROM 商品资料 WHERE 暂停=0 AND 商品编号 LIKE 'SP0001%' ORDER BY 商品编号";
        QTest::newRow("goods, by name") << "goods" << "SELECT 商品名称 FROM 商品资料 WHERE id=3"
                                        << "SELECT a.商品编号 FROM 商品资料 a, 商品资料 b WHERE b.id=3 AND a.暂停=0 "
                                           "AND a.商品名称=b.商品名称 ORDER BY a.商品编号";
        QTest::newRow("staff, by code") << "staff" << "SELECT 'Y002'" << "SELECT 'Y002'";
        QTest::newRow("staff, by name") << "staff" << "SELECT 员工姓名 FROM 公司员工 WHERE id=1"
                                        << "SELECT a.员工编号 FROM 公司员工 a, 公司员工 b WHERE b.id=1 AND a.暂停=0 "
                                           "AND a.员工姓名=b.员工姓名 ORDER BY a.员工编号";
    }
    void pickerPositionsOnTheCallersText()
    {
        QFETCH(QString, kind);
        QFETCH(QString, sql);
        QFETCH(QString, expected);
        const Kind k = kindNamed(kind);
        const QString callers = text(sql), code = text(expected);
        QVERIFY(code != "<none>");
        ModalHandlers h;
        QString shownTitle;
        h.enqueue([&](QDialog &d) {
            auto &p = static_cast<MasterListWindow &>(d);
            shownTitle = p.windowTitle();
            QVERIFY(p.BSelect->isVisible() && p.BSelect->isEnabled());
            QVERIFY(p.Panel2->isHidden());
            QCOMPARE(p.Grid->footerRowCount(), 0);
            QCOMPARE(p.width(), p.pickerWidth());
            QCOMPARE(p.dataset()->value(k.code).toString(), code);
            QTest::keyClick(p.Grid, Qt::Key_Return);   // Enter chooses
        });
        QVERIFY(k.pick(callers));
        QCOMPARE(h.pending(), 0);
        QCOMPARE(shownTitle, "选择" + k.table);
        std::unique_ptr<MasterListWindow> probe(k.make());
        Dataset &ds = *probe->dataset();
        QVERIFY(ds.isActive());
        QCOMPARE(ds.value(k.code).toString(), code);
    }

    void pickerEndings_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("chosen");
        for (const char *kind : {"partner", "goods", "staff"}) {
            QTest::addRow("%s, 选定", kind) << kind << "select" << true;
            QTest::addRow("%s, double click", kind) << kind << "double" << true;
            QTest::addRow("%s, 返回", kind) << kind << "return" << false;
            QTest::addRow("%s, Esc", kind) << kind << "esc" << false;
            QTest::addRow("%s, close box", kind) << kind << "close" << false;
        }
    }
    void pickerEndings()
    {
        QFETCH(QString, kind);
        QFETCH(QString, how);
        QFETCH(bool, chosen);
        const Kind k = kindNamed(kind);
        ModalHandlers h;
        h.enqueue([&](QDialog &d) {
            auto &p = static_cast<MasterListWindow &>(d);
            p.dataset()->moveTo(2);
            if (how == "select")
                QTest::mouseClick(p.BSelect, Qt::LeftButton);
            else if (how == "double")
                emit p.Grid->rowDoubleClicked();
            else if (how == "return")
                QTest::mouseClick(p.BReturn, Qt::LeftButton);
            else if (how == "esc")
                QTest::keyClick(p.Grid, Qt::Key_Escape);
            else
                p.close();
            QVERIFY(!p.isVisible());
        });
        QCOMPARE(k.pick(QString()), chosen);
        QCOMPARE(h.pending(), 0);
        QCOMPARE(h.leftOpen(), 0);
        std::unique_ptr<MasterListWindow> probe(k.make());
        Dataset &ds = *probe->dataset();
        QCOMPARE(ds.isActive(), chosen || !k.closesOnCancel);
        if (chosen)
            QCOMPARE(ds.recNo(), 3);
    }

    void deleteAskedAndRefused_data() { addKinds(); }
    void deleteAskedAndRefused()
    {
        QFETCH(QString, kind);
        const Kind k = kindNamed(kind);
        const QString used = kind == "partner" ? "SELECT 单位编号 FROM 往来单位 WHERE id IN (SELECT dw_id FROM sfk)"
                             : kind == "goods" ? "SELECT 商品编号 FROM 商品资料 WHERE id IN (SELECT kcsp_id FROM kcmx)"
                                               : "SELECT 员工编号 FROM 公司员工 WHERE id IN (SELECT xszg_id FROM sfk)";
        const QString code = text(used);
        QVERIFY(code != "<none>");
        const qint64 rows = scalar("SELECT count(*) FROM " + k.table);
        std::unique_ptr<MasterListWindow> w(k.make());
        w->openAsWorkingWindow();
        Dataset &ds = *w->dataset();
        QVERIFY(ds.locate(k.code, Value(code)));
        const QString name = ds.value(k.name).toString();
        MessageRecorder rec;
        rec.queueAnswer(QMessageBox::Yes);
        QTest::mouseClick(w->Bcut, Qt::LeftButton);
        QCOMPARE(rec.texts(), (QStringList{"删除：" + name + "\n\n记录删除后不能恢复，删除吗？",
                                           "已被业务单据引用过了，不能删除！"}));
        QCOMPARE(scalar("SELECT count(*) FROM " + k.table), rows);
        QCOMPARE(ds.recordCount(), int(rows));

        // A record nothing refers to goes at once; No keeps it.
        exec(QStringLiteral("INSERT INTO %1(id, %2, %3, 暂停) VALUES(9999, 'ZZ9', '无人用', 0)").arg(k.table, k.code, k.name));
        ds.close();
        ds.open();
        QVERIFY(ds.locate(k.code, Value("ZZ9")));
        rec.clear();
        rec.queueAnswer(QMessageBox::No);
        w->BcutClick();
        QCOMPARE(scalar("SELECT count(*) FROM " + k.table + " WHERE id=9999"), 1);
        rec.queueAnswer(QMessageBox::Yes);
        w->BcutClick();
        QCOMPARE(rec.texts().size(), 2);
        QCOMPARE(scalar("SELECT count(*) FROM " + k.table + " WHERE id=9999"), 0);
    }

    void pausedRecordFoundInTheWorkingWindowAfterAPicker_data() { addKinds(); }
    void pausedRecordFoundInTheWorkingWindowAfterAPicker()
    {
        QFETCH(QString, kind);
        const Kind k = kindNamed(kind);
        exec(QStringLiteral("UPDATE %1 SET 暂停=1 WHERE id=2").arg(k.table));
        const QString paused = text(QStringLiteral("SELECT %1 FROM %2 WHERE id=2").arg(k.code, k.table));
        ModalHandlers h;
        h.enqueue([](QDialog &d) { static_cast<MasterListWindow &>(d).BSelectClick(); });
        QVERIFY(k.pick(QString()));
        QWidget panel;
        const int tag = kind == "partner" ? 10 : kind == "goods" ? 11 : 12;
        WorkingWindows::dispatch(tag, &panel);
        auto *w = qobject_cast<MasterListWindow *>(WorkingWindows::window(tag));
        QVERIFY(w);
        QCOMPARE(w->Formname->text(), k.table);
        QCOMPARE(w->ComboBox1->currentIndex(), 0);
        Dataset &ds = *w->dataset();
        QCOMPARE(ds.recordCount(), int(scalar("SELECT count(*) FROM " + k.table)));
        QVERIFY(ds.locate(k.code, Value(paused)));
        // 返回 closes the working window.
        QTest::mouseClick(w->BReturn, Qt::LeftButton);
        QVERIFY(!WorkingWindows::window(tag));
        // Leaving closes the partner and staff datasets; goods stay open (only the main
        // window closes DataKcsp, when another item is chosen).
        QCOMPARE(ds.isActive(), kind == "goods");
    }

    void choosingAnotherItemClosesTheGoodsDataset()
    {
        QWidget panel;
        WorkingWindows::dispatch(11, &panel);
        QVERIFY(WorkingWindows::window(11));
        QVERIFY(m_dm->DataKcsp.isActive());
        WorkingWindows::dispatch(12, &panel);
        QVERIFY(!WorkingWindows::window(11));
        QVERIFY(WorkingWindows::window(12));
        QVERIFY(!m_dm->DataKcsp.isActive());
        QVERIFY(m_dm->DataDm_zg.isActive());
        WorkingWindows::closeAll();
        QVERIFY(!m_dm->DataDm_zg.isActive());
    }

    void doubleClickChangesInTheWorkingWindowAndChoosesInThePicker()
    {
        TFMdm_dw w;
        w.openAsWorkingWindow();
        w.dataset()->moveTo(1);   // among the first three, which are never paused
        const QString code = w.dataset()->value("单位编号").toString();
        ModalHandlers h;
        bool editable = false;
        QString shown;
        h.enqueue([&](QDialog &d) {
            auto &e = static_cast<RecordEditDialog &>(d);
            editable = e.control("RzDBEdit1")->isEnabled();
            shown = static_cast<DbEdit *>(e.control("RzDBEdit1"))->text();
            QTest::mouseClick(e.RzBitBtn2, Qt::LeftButton);
        });
        emit w.Grid->rowDoubleClicked();
        QCOMPARE(h.shown(), QStringList{"TFMdm_wldw_edit"});
        QVERIFY(editable);
        QCOMPARE(shown, code);
        QVERIFY(!w.chosen());

        // In pick mode the menu offers 选定 with its separator; the title strip is gone.
        h.enqueue([](QDialog &d) {
            auto &p = static_cast<MasterListWindow &>(d);
            QVERIFY(menuItem(p, "NBSelect")->isVisible());
            QVERIFY(menuItem(p, "NBSelect")->isEnabled());
            QVERIFY(menuItem(p, "N11")->isVisible());
            QCOMPARE(p.Formname->text(), "选择往来单位");
            menuItem(p, "NBSelect")->trigger();
        });
        QVERIFY(PickPartner(code, nullptr));
        QCOMPARE(m_dm->DataDm_dw.value("单位编号").toString(), code);
    }

    void innerChoiceIsNotTheOuterPickersChoice()
    {
        SetCodeTablePicker(PickCodeTable);
        MessageRecorder rec;
        rec.queueAnswer(QMessageBox::Yes);   // give up the new goods record
        ModalHandlers h;
        QString innerTook;
        h.enqueue([&](QDialog &d) {          // the goods picker
            auto &p = static_cast<MasterListWindow &>(d);
            QTest::mouseClick(p.Badd, Qt::LeftButton);
            p.close();                       // its close box
        });
        h.enqueue([&](QDialog &d) {          // the goods dialog
            auto &e = static_cast<TFMdm_sp_edit &>(d);
            e.splb->setFocus();
            QTest::keyClick(e.splb, Qt::Key_F4);
            innerTook = e.dataset()->value("商品类别").toString();
            QTest::mouseClick(e.RzBitBtn2, Qt::LeftButton);
        });
        h.enqueue([](QDialog &d) {           // the category picker: a choice
            auto &q = static_cast<TFMdm_qt &>(d);
            QCOMPARE(q.windowTitle(), "选择商品类别");
            q.BSelectClick();
        });
        QVERIFY(!PickGoods(QString(), nullptr));
        QCOMPARE(h.pending(), 0);
        QCOMPARE(innerTook, text("SELECT 商品类别 FROM 商品类别 ORDER BY 拼音简码"));
    }

    void codeTablePicker_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");  // the entry the picker stands on
        for (const char *t : {"商品类别", "商品产地", "计量单位"}) {
            const QString table = QString::fromUtf8(t);
            QTest::addRow("%s, empty", t) << table << "" << QString("SELECT %1 FROM %1 ORDER BY 拼音简码").arg(table);
            QTest::addRow("%s, by name", t) << table << QString("SELECT %1 FROM %1 ORDER BY 拼音简码 DESC").arg(table)
                                            << QString("SELECT %1 FROM %1 ORDER BY 拼音简码 DESC").arg(table);
            QTest::addRow("%s, by code", t) << table << QString("SELECT lower(拼音简码) FROM %1 ORDER BY 拼音简码 DESC").arg(table)
                                            << QString("SELECT %1 FROM %1 ORDER BY 拼音简码 DESC").arg(table);
        }
    }
    void codeTablePicker()
    {
        QFETCH(QString, table);
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        SetCodeTablePicker(PickCodeTable);
        const QString callers = typed.isEmpty() ? QString() : text(typed);
        const QString entry = text(expected);
        ModalHandlers h;
        h.enqueue([&](QDialog &d) {
            auto &q = static_cast<TFMdm_qt &>(d);
            QCOMPARE(q.windowTitle(), "选择" + table);
            QCOMPARE(q.dataset()->value(table).toString(), entry);
            QCOMPARE(q.Grid->footerRowCount(), 0);
            QVERIFY(q.BSelect->isEnabled());
            q.BSelectClick();
        });
        QCOMPARE(PickCodeTableValue(table, callers, nullptr).value_or("<none>"), entry);
        Dataset *ds = nullptr;
        {
            TFMdm_qt probe(table);
            ds = probe.dataset();
        }
        QVERIFY(ds->isActive());
        // Cancelled: nothing, and the table's dataset closed.
        h.enqueue([](QDialog &d) { static_cast<TFMdm_qt &>(d).BreturnClick(); });
        QVERIFY(!PickCodeTableValue(table, callers, nullptr).has_value());
        QVERIFY(!ds->isActive());
    }

    void codeTableSeriesOfNewEntries()
    {
        const qint64 before = scalar("SELECT count(*) FROM 计量单位");
        MessageRecorder rec;
        ModalHandlers h;
        h.enqueue([](QDialog &d) {
            auto &q = static_cast<TFMdm_qt &>(d);
            QTest::mouseClick(q.Badd, Qt::LeftButton);
            q.BreturnClick();
        });
        h.enqueue([](QDialog &d) {
            auto &e = static_cast<TFMdm_qt_edit &>(d);
            QCOMPARE(e.windowTitle(), "计量单位");
            for (const char *n : {"公斤甲", "千克乙", "吨丙"}) {
                e.RzDBEdit1->setFocus();
                kvl::testing::typeText(e.RzDBEdit1, QString::fromUtf8(n));
                QTest::mouseClick(e.RzBitBtn1, Qt::LeftButton);
                QVERIFY(e.isVisible());
            }
            QTest::mouseClick(e.RzBitBtn2, Qt::LeftButton);
            QVERIFY(!e.isVisible());
        });
        QVERIFY(!PickCodeTable("计量单位", QString(), nullptr).has_value());
        QCOMPARE(h.pending(), 0);
        QCOMPARE(rec.texts(), QStringList());
        QCOMPARE(scalar("SELECT count(*) FROM 计量单位"), before + 3);
        QCOMPARE(text("SELECT 拼音简码 FROM 计量单位 WHERE 计量单位='千克乙'"), "QKY");
    }

    void deletingAUsedCategoryKeepsTheGoodsName()
    {
        const QString used = text("SELECT 商品类别 FROM 商品资料 WHERE id=1");
        const qint64 goods = scalar(QStringLiteral("SELECT count(*) FROM 商品资料 WHERE 商品类别='%1'").arg(used));
        MessageRecorder rec;
        rec.queueAnswer(QMessageBox::Yes);
        ModalHandlers h;
        h.enqueue([&](QDialog &d) {
            auto &q = static_cast<TFMdm_qt &>(d);
            QCOMPARE(q.dataset()->value("商品类别").toString(), used);
            q.BcutClick();
            q.BreturnClick();
        });
        PickCodeTable("商品类别", used, nullptr);
        QCOMPARE(rec.texts(), QStringList{"删除：" + used + "\n\n记录删除后不能恢复，删除吗？"});
        QCOMPARE(scalar(QStringLiteral("SELECT count(*) FROM 商品类别 WHERE 商品类别='%1'").arg(used)), 0);
        QCOMPARE(scalar(QStringLiteral("SELECT count(*) FROM 商品资料 WHERE 商品类别='%1'").arg(used)), goods);
    }
};

QTEST_MAIN(TestListWindows)
#include "test_list_windows.moc"
