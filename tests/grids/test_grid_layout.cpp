// Grid sort and saved layouts on a sample data file: the sort text of the marks,
// sorting by two columns and back, the layout dialog (its controls, cancel, Esc,
// the default-restoring path, best widths), the rows written to GridColSelect and
// a restart that reads them back, saved rows the grid cannot use, database
// errors, and the best-fit widths with their 500-pixel cap.
#include "DataGrid.h"
#include "Dataset.h"
#include "DbError.h"
#include "DbErrorText.h"
#include "FitColumnWidths.h"
#include "GridLayout.h"
#include "GridSort.h"
#include "GridTestFile.h"
#include "MessageRecorder.h"
#include "ModalHandlers.h"
#include "ModalResult.h"

#include <QDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

using namespace kvl;
using namespace kvl::test;

namespace {

const QString kKey = QStringLiteral("办理业务");

struct LayoutRow
{
    QString caption;
    qint64 width;
    qint64 index;
    bool operator==(const LayoutRow &o) const
    {
        return caption == o.caption && width == o.width && index == o.index;
    }
};

char *toString(const LayoutRow &r)
{
    return QTest::toString(QStringLiteral("(%1, %2, %3)").arg(r.caption).arg(r.width).arg(r.index));
}

QList<LayoutRow> savedRows(GridTestFile &file, const QString &key = kKey)
{
    Dataset &q = file.dm->query(QStringLiteral(
        "select TitleCaption, ColWidth, ColIndex, UserID from GridColSelect where Fname=:k order by rowid"));
    q.setParam(QStringLiteral("k"), Value(key));
    q.open();
    QList<LayoutRow> rows;
    for (q.first(); !q.eof(); q.next()) {
        if (q.value(QStringLiteral("UserID")).toInt() != 1)
            qWarning("a layout row of another user");
        rows << LayoutRow{q.value(QStringLiteral("TitleCaption")).toString(),
                          q.value(QStringLiteral("ColWidth")).toInt(), q.value(QStringLiteral("ColIndex")).toInt()};
    }
    q.close();
    return rows;
}

void saveRow(GridTestFile &file, const QString &caption, qint64 width, qint64 index)
{
    Dataset &q = file.dm->query(QStringLiteral(
        "INSERT INTO GridColSelect (Fname,UserID,TitleCaption,ColWidth,ColIndex) VALUES (:a,1,:b,:c,:d)"));
    q.setParam(QStringLiteral("a"), Value(kKey));
    q.setParam(QStringLiteral("b"), Value(caption));
    q.setParam(QStringLiteral("c"), Value::integer(width));
    q.setParam(QStringLiteral("d"), Value::integer(index));
    q.execSql();
}

void setUpGrid(DataGrid &grid, Dataset &ds)
{
    for (const QString &f : documentColumns())
        grid.addColumn(f);
    grid.setDataset(&ds);
}

void clickItem(QListWidget *list, int row)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

QStringList titlesInOrder(const DataGrid &grid, bool shownOnly)
{
    QStringList r;
    for (int c : shownOnly ? grid.visibleColumns() : grid.columnOrder())
        r << grid.columnTitle(c);
    return r;
}

// A text whose width in `fm` is exactly `pixels`, made of two kinds of letters.
QString textOfWidth(const QFontMetrics &fm, int pixels)
{
    const QString letters = QStringLiteral("0MWmnoiljt1ABCDEFGHxyz");
    for (QChar a : letters)
        for (QChar b : letters) {
            const int wa = fm.horizontalAdvance(a);
            const int wb = fm.horizontalAdvance(b);
            for (int na = pixels / wa; na >= 0; --na) {
                const int rest = pixels - na * wa;
                if (rest % wb != 0)
                    continue;
                const QString t = QString(na, a) + QString(rest / wb, b);
                if (fm.horizontalAdvance(t) == pixels)
                    return t;
            }
        }
    return QString();
}

} // namespace

class TestGridLayout : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void sortTextOfTheMarks_data()
    {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QList<bool>>("descending");
        QTest::addColumn<QString>("text");
        QTest::newRow("no marks") << QStringList() << QList<bool>() << QString();
        QTest::newRow("one ascending") << QStringList{QStringLiteral("单号")} << QList<bool>{false}
                                       << QStringLiteral("单号");
        QTest::newRow("one descending") << QStringList{QStringLiteral("单号")} << QList<bool>{true}
                                        << QStringLiteral("单号 DESC ");
        QTest::newRow("the example") << QStringList{QStringLiteral("单号"), QStringLiteral("制单日期")}
                                     << QList<bool>{false, true} << QStringLiteral("单号, 制单日期 DESC ");
        QTest::newRow("three") << QStringList{QStringLiteral("类别"), QStringLiteral("单号"), QStringLiteral("制单日期")}
                               << QList<bool>{true, false, false} << QStringLiteral("类别 DESC , 单号, 制单日期");
    }

    void sortTextOfTheMarks()
    {
        QFETCH(QStringList, fields);
        QFETCH(QList<bool>, descending);
        QFETCH(QString, text);
        GridTestFile file;
        Dataset &ds = file.openDocuments();
        DataGrid grid;
        setUpGrid(grid, ds);
        QList<DataGrid::SortMark> marks;
        for (int i = 0; i < fields.size(); ++i)
            marks << DataGrid::SortMark{grid.columnOfField(fields[i]), descending[i]};
        grid.setSortMarks(marks);
        ApplyGridSort(grid);
        QCOMPARE(ds.sortText(), text);
        QCOMPARE(GridSortText(grid), text);
    }

    void sortByTwoColumnsAndBack()
    {
        GridTestFile file;
        Dataset &ds = file.openDocuments();
        DataGrid grid;
        setUpGrid(grid, ds);
        const int name = grid.addColumn(QStringLiteral("单位名称"));
        const int date = grid.columnOfField(QStringLiteral("制单日期"));
        // The window's handler of the marks, as every list window connects it.
        QObject::connect(&grid, &DataGrid::sortMarkingChanged, &grid, [&grid] { ApplyGridSort(grid); });
        QSignalSpy reread(&ds, &Dataset::opened);
        const int nameField = ds.fieldIndex(QStringLiteral("单位名称"));
        const int dateField = ds.fieldIndex(QStringLiteral("制单日期"));
        const int idField = ds.fieldIndex(QStringLiteral("id"));

        grid.setSortMarks({{name, false}});
        QStringList namesAlone;
        for (int r = 0; r < ds.recordCount(); ++r)
            namesAlone << ds.valueAt(r, nameField).toString();

        grid.clickTitle(grid.sectionOfColumn(date), Qt::ControlModifier);
        grid.clickTitle(grid.sectionOfColumn(date), Qt::ControlModifier);
        QCOMPARE(ds.sortText(), QStringLiteral("单位名称, 制单日期 DESC "));
        QStringList names;
        for (int r = 0; r < ds.recordCount(); ++r) {
            names << ds.valueAt(r, nameField).toString();
            if (r > 0 && names[r] == names[r - 1])
                QVERIFY(ds.valueAt(r, dateField).dateTimeSecs() <= ds.valueAt(r - 1, dateField).dateTimeSecs());
        }
        QCOMPARE(names, namesAlone);
        QVERIFY(names.removeDuplicates() > 0); // some partner has several documents

        grid.clearSortMarks();
        QCOMPARE(ds.sortText(), QString());
        for (int r = 1; r < ds.recordCount(); ++r)
            QVERIFY(ds.valueAt(r, idField).toInt() > ds.valueAt(r - 1, idField).toInt());
        QCOMPARE(reread.count(), 0);

        // A closed dataset is left alone.
        ds.close();
        grid.setSortMarks({{name, true}});
        QCOMPARE(ds.sortText(), QString());
    }

    void theDialogAsLaidOut()
    {
        GridTestFile file;
        Dataset &ds = file.openDocuments();
        DataGrid grid;
        setUpGrid(grid, ds);
        const int remark = grid.columnOfField(QStringLiteral("备注"));
        grid.setColumnShown(remark, false);
        grid.moveColumn(grid.columnOfField(QStringLiteral("单号")), 0);
        saveRow(file, QStringLiteral("单号"), 80, 0);
        saveRow(file, QStringLiteral("类别"), 80, 1);
        const QStringList order = titlesInOrder(grid, false);
        ModalHandlers handlers;
        handlers.enqueue([&](QDialog &d) {
            QCOMPARE(d.objectName(), QStringLiteral("TFMGridColSelect"));
            QCOMPARE(d.windowTitle(), QStringLiteral("自定义表格"));
            QCOMPARE(d.size(), QSize(304, 367));
            QVERIFY(!(d.windowFlags() & Qt::WindowMinMaxButtonsHint));
            QCOMPARE(d.findChild<QLabel *>(QStringLiteral("Label1"))->text(),
                     QStringLiteral("\u3000\u3000为了使表格的显示更加个性化，您可以设定适应自已要求的表格。系统会保存您的设定。"));
            QCOMPARE(d.findChild<QToolButton *>(QStringLiteral("SpeedButton1"))->text(),
                     QStringLiteral("恢复系统黙认设定"));
            QCOMPARE(d.findChild<QGroupBox *>(QStringLiteral("GroupBox1"))->title(), QStringLiteral("保存列宽"));
            QCOMPARE(d.findChild<QGroupBox *>(QStringLiteral("GroupBox2"))->title(), QStringLiteral("保存列顺序"));
            const QList<std::pair<const char *, const char *>> radios = {
                {"RadioButton1", "当前表格列宽"}, {"RadioButton2", "系统默认列宽"}, {"RadioButton5", "最佳列宽"},
                {"RadioButton3", "当前表格顺序"}, {"RadioButton4", "系统默认顺序"}};
            for (const auto &[name, text] : radios)
                QCOMPARE(d.findChild<QRadioButton *>(QString::fromUtf8(name))->text(), QString::fromUtf8(text));
            QVERIFY(d.findChild<QRadioButton *>(QStringLiteral("RadioButton1"))->isChecked());
            QVERIFY(d.findChild<QRadioButton *>(QStringLiteral("RadioButton3"))->isChecked());
            QCOMPARE(d.findChild<QPushButton *>(QStringLiteral("RzBitBtn1"))->text(), QStringLiteral("确定(&Yes)"));
            QCOMPARE(d.findChild<QPushButton *>(QStringLiteral("RzBitBtn2"))->text(), QStringLiteral("取消(&Esc)"));
            // Every column, hidden ones too, in the grid's current order; ticked as saved.
            auto *list = d.findChild<QListWidget *>(QStringLiteral("RzCheckList1"));
            QStringList items;
            QStringList ticked;
            for (int i = 0; i < list->count(); ++i) {
                items << list->item(i)->text();
                if (list->item(i)->checkState() == Qt::Checked)
                    ticked << list->item(i)->text();
            }
            QCOMPARE(items, order);
            QCOMPARE(ticked, QStringList({QStringLiteral("单号"), QStringLiteral("类别")}));
            // A click anywhere on an item toggles it once.
            clickItem(list, 3);
            QCOMPARE(list->item(3)->checkState(), Qt::Checked);
            clickItem(list, 3);
            QCOMPARE(list->item(3)->checkState(), Qt::Unchecked);
            QWidget *focused = d.focusWidget() ? d.focusWidget() : &d;
            QTest::keyClick(focused, Qt::Key_Escape);
            QCOMPARE(d.result(), int(mrAbort));
        });
        EditGridLayout(kKey, grid);
        QCOMPARE(handlers.shown(), QStringList({QStringLiteral("TFMGridColSelect")}));
        QCOMPARE(handlers.leftOpen(), 0);
        QCOMPARE(savedRows(file).size(), 2);
    }

    void cancelChangesNothing()
    {
        GridTestFile file;
        Dataset &ds = file.openDocuments();
        DataGrid grid;
        setUpGrid(grid, ds);
        saveRow(file, QStringLiteral("单号"), 80, 0);
        LoadGridLayout(kKey, grid);
        const QList<LayoutRow> before = savedRows(file);
        const QStringList shown = titlesInOrder(grid, true);
        ModalHandlers handlers;
        handlers.enqueue([](QDialog &d) {
            auto *list = d.findChild<QListWidget *>(QStringLiteral("RzCheckList1"));
            for (int i = 0; i < list->count(); ++i)
                clickItem(list, i);
            d.findChild<QRadioButton *>(QStringLiteral("RadioButton5"))->setChecked(true);
            d.findChild<QPushButton *>(QStringLiteral("RzBitBtn2"))->click();
        });
        EditGridLayout(kKey, grid);
        QCOMPARE(savedRows(file), before);
        QCOMPARE(titlesInOrder(grid, true), shown);
        QCOMPARE(grid.columnWidthOf(grid.columnOfField(QStringLiteral("单号"))), 80);
    }

    void layoutRoundTripAndRestart()
    {
        GridTestFile file;
        QList<int> order;
        QList<int> widths;
        QStringList shown;
        {
            Dataset &ds = file.openDocuments();
            DataGrid grid;
            setUpGrid(grid, ds);
            LoadGridLayout(kKey, grid); // a first opening: the default layout
            QCOMPARE(grid.visibleColumns().size(), documentColumns().size());
            const int number = grid.columnOfField(QStringLiteral("单号"));
            const int remark = grid.columnOfField(QStringLiteral("备注"));
            const int staff = grid.columnOfField(QStringLiteral("员工姓名"));
            grid.moveColumn(number, 0);
            grid.setColumnWidthOf(remark, 151);
            const QList<int> before = grid.columnOrder();
            ModalHandlers handlers;
            handlers.enqueue([&](QDialog &d) {
                auto *list = d.findChild<QListWidget *>(QStringLiteral("RzCheckList1"));
                clickItem(list, int(before.indexOf(staff)));
                d.findChild<QPushButton *>(QStringLiteral("RzBitBtn1"))->click();
            });
            EditGridLayout(kKey, grid);
            QCOMPARE(handlers.shown().size(), 1);

            QList<LayoutRow> expected;
            for (int i = 0; i < before.size(); ++i)
                if (before[i] != staff)
                    expected << LayoutRow{grid.columnTitle(before[i]), grid.columnWidthOf(before[i]), i};
            QCOMPARE(savedRows(file), expected);
            QCOMPARE(expected.first().caption, QStringLiteral("单号"));
            QVERIFY(expected.contains(LayoutRow{QStringLiteral("备注"), 151, before.indexOf(remark)}));
            // The column disappears at once.
            QVERIFY(!grid.isColumnShown(staff));
            QVERIFY(grid.horizontalHeader()->isSectionHidden(grid.sectionOfColumn(staff)));
            order = grid.columnOrder();
            shown = titlesInOrder(grid, true);
            for (int c = 0; c < grid.gridColumnCount(); ++c)
                widths << grid.columnWidthOf(c);
            grid.setDataset(nullptr);
        }

        // The program loads a window's layout before it opens the window's dataset,
        // while the captions the data module gives its fields are not known yet.
        file.restart();
        Dataset &ds = file.dm->DataSfk;
        ds.setSql(DataSfkBaseSql + QStringLiteral(" order by sfk.id"));
        DataGrid grid;
        setUpGrid(grid, ds);
        LoadGridLayout(kKey, grid);
        ds.open();
        QCOMPARE(titlesInOrder(grid, true), shown);
        QCOMPARE(grid.columnOrder(), order);
        for (int c : grid.visibleColumns())
            QCOMPARE(grid.columnWidthOf(c), widths[c]);
        QVERIFY(!grid.isColumnShown(grid.columnOfField(QStringLiteral("员工姓名"))));
    }

    void restoringTheDefaultsWritesNoRows()
    {
        GridTestFile file;
        Dataset &ds = file.openDocuments();
        DataGrid grid;
        setUpGrid(grid, ds);
        saveRow(file, QStringLiteral("单号"), 80, 0);
        saveRow(file, QStringLiteral("类别"), 90, 1);
        LoadGridLayout(kKey, grid);
        QCOMPARE(grid.visibleColumns().size(), 2);
        ModalHandlers handlers;
        handlers.enqueue([](QDialog &d) {
            d.findChild<QToolButton *>(QStringLiteral("SpeedButton1"))->click();
            auto *list = d.findChild<QListWidget *>(QStringLiteral("RzCheckList1"));
            for (int i = 0; i < list->count(); ++i)
                QCOMPARE(list->item(i)->checkState(), Qt::Checked);
            QVERIFY(d.findChild<QRadioButton *>(QStringLiteral("RadioButton2"))->isChecked());
            QVERIFY(d.findChild<QRadioButton *>(QStringLiteral("RadioButton4"))->isChecked());
            QVERIFY(d.isVisible()); // the dialog stays open
            d.findChild<QPushButton *>(QStringLiteral("RzBitBtn1"))->click();
        });
        EditGridLayout(kKey, grid);
        QCOMPARE(savedRows(file), QList<LayoutRow>());
        QCOMPARE(titlesInOrder(grid, true), titlesInOrder(grid, false));
        QCOMPARE(grid.visibleColumns(), QList<int>({0, 1, 2, 3, 4, 5, 6, 7, 8}));
        for (int c = 0; c < grid.gridColumnCount(); ++c)
            QCOMPARE(grid.columnWidthOf(c), grid.defaultColumnWidth(c));
    }

    void defaultWidthsAndOrderAreSavedAsMinusOne()
    {
        GridTestFile file;
        Dataset &ds = file.openDocuments();
        DataGrid grid;
        setUpGrid(grid, ds);
        grid.moveColumn(grid.columnOfField(QStringLiteral("结帐单号")), 0);
        grid.setColumnWidthOf(0, 222);
        ModalHandlers handlers;
        handlers.enqueue([](QDialog &d) {
            clickItem(d.findChild<QListWidget *>(QStringLiteral("RzCheckList1")), 0); // 结帐单号 off
            d.findChild<QRadioButton *>(QStringLiteral("RadioButton2"))->setChecked(true);
            d.findChild<QRadioButton *>(QStringLiteral("RadioButton4"))->setChecked(true);
            d.findChild<QPushButton *>(QStringLiteral("RzBitBtn1"))->click();
        });
        EditGridLayout(kKey, grid);
        const QList<LayoutRow> rows = savedRows(file);
        QCOMPARE(rows.size(), 8);
        for (const LayoutRow &r : rows)
            QCOMPARE(std::make_pair(r.width, r.index), std::make_pair(qint64(-1), qint64(-1)));
        QCOMPARE(titlesInOrder(grid, true).first(), grid.columnTitle(0));
        QCOMPARE(grid.columnWidthOf(0), grid.defaultColumnWidth(0));
        QVERIFY(!grid.isColumnShown(grid.columnOfField(QStringLiteral("结帐单号"))));
    }

    void bestWidthsAreSaved()
    {
        GridTestFile file;
        Dataset &ds = file.openDocuments();
        DataGrid grid;
        setUpGrid(grid, ds);
        ModalHandlers handlers;
        handlers.enqueue([](QDialog &d) {
            d.findChild<QRadioButton *>(QStringLiteral("RadioButton5"))->setChecked(true);
            d.findChild<QPushButton *>(QStringLiteral("RzBitBtn1"))->click();
        });
        EditGridLayout(kKey, grid);
        DataGrid fitted;
        setUpGrid(fitted, ds);
        FitColumnWidths(fitted);
        const QList<LayoutRow> rows = savedRows(file);
        QCOMPARE(rows.size(), 9);
        for (int i = 0; i < rows.size(); ++i) {
            QCOMPARE(rows[i].width, qint64(fitted.columnWidthOf(i)));
            QCOMPARE(grid.columnWidthOf(i), fitted.columnWidthOf(i));
        }
    }

    void bestWidthsAreTheWidestTexts()
    {
        GridTestFile file;
        Dataset &ds = file.openDocuments();
        DataGrid grid;
        setUpGrid(grid, ds);
        grid.addColumn(QStringLiteral("单位名称"));
        grid.setFooter(1, FooterKind::Count);
        grid.setFooter(3, FooterKind::Sum);
        FitColumnWidths(grid);
        // Every text measured, the plain way.
        const QFontMetrics fm(grid.font());
        for (int c = 0; c < grid.gridColumnCount(); ++c) {
            int w = qMax(fm.horizontalAdvance(grid.footerText(0, c)), fm.horizontalAdvance(grid.columnTitle(c)));
            for (int r = 0; r < ds.recordCount(); ++r)
                w = qMax(w, fm.horizontalAdvance(ds.displayTextAt(r, grid.fieldIndexOf(c))));
            QCOMPARE(grid.columnWidthOf(c), w > 500 ? 500 : w + 4);
        }
    }

    void savedRowsTheGridCannotUse_data()
    {
        QTest::addColumn<qint64>("width");
        QTest::addColumn<qint64>("index");
        QTest::addColumn<bool>("defaultWidth");
        QTest::newRow("width 0") << qint64(0) << qint64(0) << true;
        QTest::newRow("width -1") << qint64(-1) << qint64(0) << true;
        QTest::newRow("width 77") << qint64(77) << qint64(0) << false;
        QTest::newRow("index -1") << qint64(77) << qint64(-1) << false;
    }

    void savedRowsTheGridCannotUse()
    {
        QFETCH(qint64, width);
        QFETCH(qint64, index);
        QFETCH(bool, defaultWidth);
        GridTestFile file;
        Dataset &ds = file.openDocuments();
        DataGrid grid;
        setUpGrid(grid, ds);
        const int remark = grid.columnOfField(QStringLiteral("备注"));
        saveRow(file, QStringLiteral("类别"), 90, 0);
        saveRow(file, QStringLiteral("没有这一列"), 50, 1);
        saveRow(file, QStringLiteral("备注"), width, index);
        LoadGridLayout(kKey, grid);
        QCOMPARE(grid.columnWidthOf(remark), defaultWidth ? grid.defaultColumnWidth(remark) : int(width));
        QCOMPARE(grid.columnWidthOf(grid.columnOfField(QStringLiteral("类别"))), 90);
        // 备注 at 0 goes first; at its default position (7) it follows 类别 and the hidden columns.
        const QStringList expected = index == 0 ? QStringList{QStringLiteral("备注"), QStringLiteral("类别")}
                                                : QStringList{QStringLiteral("类别"), QStringLiteral("备注")};
        QCOMPARE(titlesInOrder(grid, true), expected);
        if (index < 0)
            QCOMPARE(grid.columnPosition(remark), grid.gridColumn(remark).defaultPosition);
    }

    void databaseErrorsShowTheirText()
    {
        GridTestFile file;
        Dataset &ds = file.openDocuments();
        DataGrid grid;
        setUpGrid(grid, ds);
        grid.setColumnShown(1, false);
        file.dm->ConKVL.exec(QStringLiteral("DROP TABLE GridColSelect"));
        MessageRecorder messages;
        LoadGridLayout(kKey, grid);
        ModalHandlers handlers;
        handlers.enqueue([](QDialog &d) { d.findChild<QPushButton *>(QStringLiteral("RzBitBtn1"))->click(); });
        EditGridLayout(kKey, grid);

        QString expected;
        try {
            Dataset &q = file.dm->query(QStringLiteral("SELECT * from GridColSelect where Fname=:PPP1 AND UserID=:PPP2"));
            q.setParam(QStringLiteral("PPP1"), Value(kKey));
            q.setParam(QStringLiteral("PPP2"), Value::integer(1));
            q.open();
        } catch (const DbError &e) {
            expected = DbErrorText(e.message(), QStringLiteral("选列"));
        }
        QVERIFY(!expected.isEmpty());
        expected = Messages::withLineBreaks(expected);
        QCOMPARE(messages.texts(), QStringList({expected, expected}));
        QCOMPARE(messages.transcript().first().kind, MessageKind::Warning);
        // The grid keeps the state it had.
        QVERIFY(!grid.isColumnShown(1));
        QCOMPARE(handlers.shown().size(), 0);
        QCOMPARE(handlers.unexpected(), 0);
    }

    void bestWidthsCapAt500_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<int>("measured");
        QTest::addColumn<int>("expected");
        QTest::newRow("cell 520") << QStringLiteral("cell") << 520 << 500;
        QTest::newRow("cell 80") << QStringLiteral("cell") << 80 << 84;
        QTest::newRow("cell 500") << QStringLiteral("cell") << 500 << 504;
        QTest::newRow("title 80") << QStringLiteral("title") << 80 << 84;
        QTest::newRow("footer 80") << QStringLiteral("footer") << 80 << 84;
    }

    void bestWidthsCapAt500()
    {
        QFETCH(QString, where);
        QFETCH(int, measured);
        QFETCH(int, expected);
        GridTestFile file;
        DataGrid grid;
        QFont font = grid.font();
        font.setPixelSize(13);
        grid.setFont(font);
        const QFontMetrics fm(grid.font());
        const QString text = textOfWidth(fm, measured);
        QCOMPARE(fm.horizontalAdvance(text), measured);

        // Three rows; the longest text sits in the middle one.
        Dataset ds(file.dm->ConKVL);
        ds.setSql(QStringLiteral("select 'a' as t union all select :T union all select 'b'"));
        ds.setParam(QStringLiteral("T"), Value(where == QStringLiteral("cell") ? text : QStringLiteral("c")));
        ds.open();
        const int c = grid.addColumn(QStringLiteral("t"), where == QStringLiteral("title") ? text : QStringLiteral("A"));
        const int other = grid.addColumn(QStringLiteral("t"), QStringLiteral("B"));
        grid.setDataset(&ds);
        if (where == QStringLiteral("footer"))
            grid.setFooter(c, FooterKind::Text, text);
        ds.moveTo(2);
        FitColumnWidths(grid);
        QCOMPARE(grid.columnWidthOf(c), expected);
        QCOMPARE(ds.currentIndex(), 2);
        QVERIFY(grid.columnWidthOf(other) <= expected);
    }
};

QTEST_MAIN(TestGridLayout)
#include "test_grid_layout.moc"
