// The data grid over real datasets of a sample data file: the current row both
// ways, title clicks and sort marks, footer counts and exact sums, incremental
// search, row colours, columns (order, visibility, frozen), cell editing with
// refusals, and the notifications the windows handle.
#include "DataGrid.h"
#include "DataGridDelegate.h"
#include "Dataset.h"
#include "DatasetModel.h"
#include "Formatter.h"
#include "FrozenColumnsView.h"
#include "GridTestFile.h"
#include "MessageRecorder.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

using namespace kvl;
using namespace kvl::test;

namespace {

void addDocumentColumns(DataGrid &grid)
{
    for (const QString &f : documentColumns())
        grid.addColumn(f);
}

QPoint titlePoint(const DataGrid &grid, int column)
{
    const QHeaderView *h = grid.horizontalHeader();
    const int s = grid.sectionOfColumn(column);
    return QPoint(h->sectionViewportPosition(s) + h->sectionSize(s) / 2, h->height() / 2);
}

void showGrid(DataGrid &grid)
{
    grid.resize(1000, 420);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
}

} // namespace

class TestDataGrid : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void followsTheDatasetBothWays()
    {
        GridTestFile file;
        Dataset &ds = file.openDocuments();
        DataGrid grid;
        grid.setObjectName(QStringLiteral("Grid"));
        addDocumentColumns(grid);
        grid.setDataset(&ds);
        QAbstractItemModelTester tester(grid.model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        showGrid(grid);
        QVERIFY(ds.recordCount() > 10);
        QCOMPARE(grid.model()->rowCount(), ds.recordCount());

        ds.moveTo(7);
        QCOMPARE(grid.currentIndex().row(), 7);
        QVERIFY(grid.selectionModel()->isRowSelected(7, QModelIndex()));

        const QRect cell = grid.visualRect(grid.model()->index(3, grid.sectionOfColumn(2)));
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(ds.currentIndex(), 3);
        QCOMPARE(grid.cellText(2), ds.displayText(QStringLiteral("单号")));

        QTest::keyClick(&grid, Qt::Key_Down);
        QCOMPARE(ds.currentIndex(), 4);

        // A sort keeps the dataset's row current; the grid goes along.
        const QString number = ds.value(QStringLiteral("单号")).toString();
        ds.setSortText(QStringLiteral("单号 DESC"));
        QCOMPARE(grid.model()->data(grid.currentIndex().siblingAtColumn(grid.sectionOfColumn(2))).toString(), number);
        ds.last();
        QCOMPARE(grid.currentIndex().row(), ds.recordCount() - 1);

        ds.close();
        QCOMPARE(grid.model()->rowCount(), 0);
        QVERIFY(!grid.currentIndex().isValid());
    }

    void columnsOrderVisibilityAndTitles()
    {
        GridTestFile file;
        Dataset &ds = file.openDocuments();
        DataGrid grid;
        addDocumentColumns(grid);
        const int date = grid.columnOfField(QStringLiteral("制单日期"));
        const int number = grid.columnOfField(QStringLiteral("单号"));
        const int remark = grid.columnOfField(QStringLiteral("备注"));
        grid.setDataset(&ds);
        QAbstractItemModelTester tester(grid.model(), QAbstractItemModelTester::FailureReportingMode::QtTest);

        // The header's titles are the columns' captions, also for assistive technology.
        grid.addColumn(QStringLiteral("单位名称"), QStringLiteral("往来单位"));
        const int partner = grid.gridColumnCount() - 1;
        const int partnerSection = grid.sectionOfColumn(partner);
        QCOMPARE(grid.model()->headerData(partnerSection, Qt::Horizontal).toString(), QStringLiteral("往来单位"));
        QCOMPARE(grid.model()->headerData(partnerSection, Qt::Horizontal, Qt::AccessibleTextRole).toString(),
                 QStringLiteral("往来单位"));
        QCOMPARE(grid.columnTitle(number), ds.field(QStringLiteral("单号")).caption());

        grid.moveColumn(number, 0);
        grid.setColumnShown(remark, false);
        QHeaderView *h = grid.horizontalHeader();
        QCOMPARE(h->visualIndex(grid.sectionOfColumn(number)), 0);
        QCOMPARE(h->visualIndex(grid.sectionOfColumn(date)), 1);
        QVERIFY(h->isSectionHidden(grid.sectionOfColumn(remark)));
        QCOMPARE(grid.columnPosition(remark), 7);
        QVERIFY(!grid.visibleColumns().contains(remark));
        QCOMPARE(grid.visibleColumns().first(), number);

        // Fields the grid does not list stay out of sight.
        const int idSection = grid.datasetModel()->columnOf(QStringLiteral("id"));
        QVERIFY(idSection >= 0);
        QVERIFY(h->isSectionHidden(idSection));

        // Widths: set, default, and kept across the resets a sort sends.
        grid.setColumnWidthOf(date, 133);
        QCOMPARE(h->sectionSize(grid.sectionOfColumn(date)), 133);
        ds.setSortText(QStringLiteral("单号"));
        QCOMPARE(h->sectionSize(grid.sectionOfColumn(date)), 133);
        QCOMPARE(h->visualIndex(grid.sectionOfColumn(number)), 0);
        QVERIFY(h->isSectionHidden(grid.sectionOfColumn(remark)));
        grid.setColumnWidthToDefault(date);
        QCOMPARE(h->sectionSize(grid.sectionOfColumn(date)), grid.defaultColumnWidth(date));

        // A user's drag of a title moves the column in the grid's order.
        h->moveSection(h->visualIndex(grid.sectionOfColumn(partner)), 0);
        QCOMPARE(grid.columnOrder().first(), partner);
        QCOMPARE(grid.columnPosition(number), 1);

        grid.restoreDefaultLayout();
        QCOMPARE(grid.columnOrder(), QList<int>({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
        QVERIFY(!h->isSectionHidden(grid.sectionOfColumn(remark)));
    }

    void titleClicksSetSortMarks()
    {
        GridTestFile file;
        Dataset &ds = file.openDocuments();
        DataGrid grid;
        addDocumentColumns(grid);
        grid.setDataset(&ds);
        showGrid(grid);
        QSignalSpy marked(&grid, &DataGrid::sortMarkingChanged);
        const int number = grid.columnOfField(QStringLiteral("单号"));
        const int date = grid.columnOfField(QStringLiteral("制单日期"));
        QWidget *titles = grid.horizontalHeader()->viewport();
        using Marks = QList<DataGrid::SortMark>;

        QTest::mouseClick(titles, Qt::LeftButton, {}, titlePoint(grid, number));
        QCOMPARE(grid.sortMarks(), Marks({{number, false}}));
        QTest::mouseClick(titles, Qt::LeftButton, {}, titlePoint(grid, number));
        QCOMPARE(grid.sortMarks(), Marks({{number, true}}));
        QTest::mouseClick(titles, Qt::LeftButton, Qt::ControlModifier, titlePoint(grid, date));
        QCOMPARE(grid.sortMarks(), Marks({{number, true}, {date, false}}));
        QTest::mouseClick(titles, Qt::LeftButton, Qt::ControlModifier, titlePoint(grid, date));
        QCOMPARE(grid.sortMarks(), Marks({{number, true}, {date, true}}));
        QTest::mouseClick(titles, Qt::LeftButton, Qt::ControlModifier, titlePoint(grid, date));
        QCOMPARE(grid.sortMarks(), Marks({{number, true}}));
        // A plain click on another title leaves that column marked alone.
        QTest::mouseClick(titles, Qt::LeftButton, {}, titlePoint(grid, date));
        QCOMPARE(grid.sortMarks(), Marks({{date, false}}));
        QCOMPARE(marked.count(), 6);

        // Without multi-column marking, Ctrl+click marks one column as a click does.
        grid.setMultiSortMarking(false);
        QTest::mouseClick(titles, Qt::LeftButton, Qt::ControlModifier, titlePoint(grid, number));
        QCOMPARE(grid.sortMarks(), Marks({{number, false}}));
        // The mark is drawn at the right end of the title; other titles have none.
        auto darkAtRightEnd = [&grid](int column) {
            const QImage img = grid.horizontalHeader()->viewport()->grab().toImage();
            const QHeaderView *h = grid.horizontalHeader();
            const int s = grid.sectionOfColumn(column);
            const int right = h->sectionViewportPosition(s) + h->sectionSize(s) - 1;
            int dark = 0;
            for (int x = right - 14; x < right; ++x)
                for (int y = 0; y < img.height(); ++y)
                    dark += qGray(img.pixel(x, y)) < 100;
            return dark;
        };
        QVERIFY(darkAtRightEnd(number) > 5);
        QCOMPARE(darkAtRightEnd(date), 0);
        // The marks alone do not sort: the window's handler does.
        QCOMPARE(ds.sortText(), QString());
    }

    void footerCountsTextsAndSums()
    {
        GridTestFile file;
        Dataset &ds = file.openDocuments();
        DataGrid grid;
        addDocumentColumns(grid);
        grid.setDataset(&ds);
        const int date = grid.columnOfField(QStringLiteral("制单日期"));
        const int kind = grid.columnOfField(QStringLiteral("类别"));
        const int receivable = grid.columnOfField(QStringLiteral("应收款金额（出货）"));
        const int balance = grid.columnOfField(QStringLiteral("应收款余额"));
        grid.setFooter(date, FooterKind::Text, QStringLiteral("合计"));
        grid.setFooter(kind, FooterKind::Count);
        grid.setFooter(receivable, FooterKind::Sum);
        grid.setFooter(balance, FooterKind::Sum);
        QCOMPARE(grid.footerRowCount(), 1);

        auto sqlSum = [&](const QString &where) {
            Dataset &q = file.dm->query(
                QStringLiteral("select sum(应收款金额（出货）) as s, count(*) as n from sfk ") + where);
            q.open();
            const qint64 units = q.value(QStringLiteral("s")).toInt();
            q.close();
            return units;
        };
        const FieldDef &f = ds.field(QStringLiteral("应收款金额（出货）"));
        qint64 units = 0;
        QVERIFY(grid.footerSum(0, receivable, &units));
        QCOMPARE(units, sqlSum(QString()));
        QCOMPARE(grid.footerText(0, receivable), Formatter::displayText(Value::money(units), ValueType::Money,
                                                                          f.displayFormat, f.currency));
        QCOMPARE(grid.footerText(0, date), QStringLiteral("合计"));
        QCOMPARE(grid.footerText(0, kind), QString::number(ds.recordCount()));
        QCOMPARE(grid.footerText(0, grid.columnOfField(QStringLiteral("单号"))), QString());
        QVERIFY(!grid.footerSum(0, kind, nullptr));

        // The footer follows the rows the dataset shows.
        ds.setFilterText(QStringLiteral("类别='出货'"));
        ds.setFiltered(true);
        QVERIFY(grid.footerSum(0, receivable, &units));
        QCOMPARE(units, sqlSum(QStringLiteral("where 类别='出货'")));
        QCOMPARE(grid.footerText(0, kind), QString::number(ds.recordCount()));

        // Pickers show no footer.
        grid.setFooterRowCount(0);
        QCOMPARE(grid.footerText(0, date), QString());
        QCOMPARE(grid.findChild<QWidget *>(QStringLiteral("Footer"))->isVisible(), false);
        grid.setFooterRowCount(1);
        QCOMPARE(grid.footerText(0, date), QStringLiteral("合计"));
    }

    void sumsAreExactMoney()
    {
        GridTestFile file;
        // One huge amount and ten of the smallest: a sum in doubles loses the small ones.
        Dataset ds(file.dm->ConKVL);
        ds.setSql(QStringLiteral("with recursive n(i) as (select 1 union all select i + 1 from n where i < 10) "
                                 "select i, 1 as amount from n union all select 0, 900000000000000"));
        ds.setColumnType(QStringLiteral("amount"), ValueType::Money);
        FieldDef amount;
        amount.name = QStringLiteral("amount");
        amount.displayFormat = QStringLiteral(",0.00##");
        ds.setFieldDefs({amount});
        ds.open();
        DataGrid grid;
        const int c = grid.addColumn(QStringLiteral("amount"), QStringLiteral("金额"));
        grid.setDataset(&ds);
        grid.setFooter(c, FooterKind::Sum);
        qint64 units = 0;
        QVERIFY(grid.footerSum(0, c, &units));
        QCOMPARE(units, Q_INT64_C(900000000000010));
        QCOMPARE(grid.footerText(0, c), QStringLiteral("90,000,000,000.001"));
    }

    void incrementalSearchLocatesInTheCurrentColumn()
    {
        GridTestFile file;
        Dataset &ds = file.dm->DataDm_dw;
        ds.close();
        ds.setSql(QStringLiteral("select * from 往来单位 order by 单位名称"));
        ds.open();
        DataGrid grid;
        const int code = grid.addColumn(QStringLiteral("单位编号"));
        grid.addColumn(QStringLiteral("单位名称"));
        grid.setDataset(&ds);
        showGrid(grid);
        grid.setFocus();
        grid.setCurrentColumn(code);

        // The first row, in the list's order, whose code begins with the text, in any letter case.
        const QString wanted = QStringLiteral("dw0003");
        int expected = -1;
        for (int r = 0; r < ds.recordCount() && expected < 0; ++r)
            if (ds.displayTextAt(r, ds.fieldIndex(QStringLiteral("单位编号"))).startsWith(wanted, Qt::CaseInsensitive))
                expected = r;
        QVERIFY(expected > 0);
        QTest::keyClicks(&grid, wanted);
        QCOMPARE(ds.currentIndex(), expected);
        QCOMPARE(grid.currentIndex().row(), expected);
        QCOMPARE(grid.searchText(), wanted);

        // A letter that matches nothing is dropped; Backspace takes one back.
        QTest::keyClicks(&grid, QStringLiteral("x"));
        QCOMPARE(grid.searchText(), wanted);
        QCOMPARE(ds.currentIndex(), expected);
        QTest::keyClick(&grid, Qt::Key_Backspace);
        QCOMPARE(grid.searchText(), QStringLiteral("dw000"));

        // Moving by hand starts a new search.
        QTest::keyClick(&grid, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(grid.searchText(), QString());
    }

    void rowColourHookPaintsRows()
    {
        GridTestFile file;
        Dataset &ds = file.openDocuments();
        DataGrid grid;
        addDocumentColumns(grid);
        grid.setDataset(&ds);
        const int kindField = ds.fieldIndex(QStringLiteral("类别"));
        const QColor peach(255, 198, 140);
        grid.setRowColourHook([&ds, kindField, peach](int row) {
            RowColours c;
            if (ds.valueAt(row, kindField).toString() == QStringLiteral("进货")) {
                c.background = peach;
                c.text = QColor(0, 128, 0);
            }
            return c;
        });
        showGrid(grid);
        int purchase = -1;
        int shipment = -1;
        for (int r = 1; r < 12; ++r) {
            const QString k = ds.valueAt(r, kindField).toString();
            if (k == QStringLiteral("进货") && purchase < 0)
                purchase = r;
            if (k == QStringLiteral("出货") && shipment < 0)
                shipment = r;
        }
        QVERIFY(purchase > 0 && shipment > 0);
        ds.first(); // neither row is the highlighted current one
        const QModelIndex p = grid.model()->index(purchase, grid.sectionOfColumn(2));
        QCOMPARE(p.data(Qt::BackgroundRole).value<QBrush>().color(), peach);
        QCOMPARE(p.data(Qt::ForegroundRole).value<QBrush>().color(), QColor(0, 128, 0));
        QVERIFY(!grid.model()->index(shipment, 0).data(Qt::BackgroundRole).isValid());

        const QImage shot = grid.viewport()->grab().toImage();
        const QRect pr = grid.visualRect(p);
        const QRect sr = grid.visualRect(p.siblingAtRow(shipment));
        QCOMPARE(QColor(shot.pixel(pr.right() - 2, pr.center().y())), peach);
        QVERIFY(QColor(shot.pixel(sr.right() - 2, sr.center().y())) != peach);
    }

    void editingGoesThroughTheDataset()
    {
        GridTestFile file;
        Dataset ds(file.dm->ConKVL);
        ds.setSql(QStringLiteral("select * from kcmx order by id"));
        ds.setColumnType(QStringLiteral("je"), ValueType::Money);
        ds.setBatchMode(true);
        ds.open();
        QVERIFY(ds.recordCount() > 2);
        DataGrid grid;
        grid.addColumn(QStringLiteral("sl"));
        const int je = grid.addColumn(QStringLiteral("je"));
        const int id = grid.addColumn(QStringLiteral("id"));
        grid.setColumnReadOnly(id, true);
        grid.setReadOnly(false);
        grid.setDataset(&ds);
        QAbstractItemModelTester tester(grid.model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        showGrid(grid);
        QVERIFY(!(grid.model()->flags(grid.model()->index(0, grid.sectionOfColumn(id))) & Qt::ItemIsEditable));

        MessageRecorder messages;
        const QModelIndex cell = grid.model()->index(1, grid.sectionOfColumn(je));
        grid.activateWindow();
        grid.setFocus();
        QSignalSpy gridExit(&grid, &DataGrid::gridExited);
        grid.setCurrentIndex(cell);
        QCOMPARE(ds.currentIndex(), 1);
        grid.edit(cell);
        auto *editor = grid.viewport()->findChild<QLineEdit *>();
        QVERIFY(editor);
        QCOMPARE(QApplication::focusWidget(), editor);
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("12x"));
        QTest::keyClick(editor, Qt::Key_Return);
        // Refused in the cell: the reason shows, the editor keeps the text, the row is untouched.
        QCOMPARE(messages.transcript().size(), 1);
        QCOMPARE(messages.transcript().first().kind, MessageKind::Warning);
        Value out;
        QString reason;
        QVERIFY(!Formatter::convert(Value(QStringLiteral("12x")), ValueType::Money, &out, &reason));
        QCOMPARE(messages.transcript().first().text, reason);
        QVERIFY(grid.isEditing());
        QVERIFY(editor->isVisible());
        QCOMPARE(editor->text(), QStringLiteral("12x"));
        QCOMPARE(ds.state(), Dataset::State::Browse);

        QSignalSpy enter(&grid, &DataGrid::enterPressed);
        QSignalSpy exited(&grid, &DataGrid::columnExited);
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("12.5"));
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(enter.count(), 0);
        QCoreApplication::processEvents(); // the editor hands its text over once the key is done
        QCOMPARE(enter.count(), 1);
        QCOMPARE(messages.transcript().size(), 1);
        QCOMPARE(ds.state(), Dataset::State::Edit);
        QCOMPARE(ds.value(QStringLiteral("je")), Value::money(125000));

        // Leaving the column tells the window, while the row still stands in editing.
        Dataset::State stateWhenLeft = Dataset::State::Inactive;
        connect(&grid, &DataGrid::columnExited, &grid, [&] { stateWhenLeft = ds.state(); });
        QTest::keyClick(&grid, Qt::Key_Left);
        QCOMPARE(exited.count(), 1);
        QCOMPARE(exited.first().first().toInt(), je);
        QCOMPARE(stateWhenLeft, Dataset::State::Edit);
        // Leaving the row posts it into the batch.
        QTest::keyClick(&grid, Qt::Key_Down);
        QCOMPARE(ds.state(), Dataset::State::Browse);
        QCOMPARE(ds.valueAt(1, ds.fieldIndex(QStringLiteral("je"))), Value::money(125000));
        QVERIFY(ds.hasPendingChanges());
        // The cell editor took the focus and gave it back: the grid was never left.
        QCOMPARE(gridExit.count(), 0);
    }

    void notificationsForTheWindows()
    {
        GridTestFile file;
        Dataset &ds = file.openDocuments();
        DataGrid grid;
        addDocumentColumns(grid);
        const int number = grid.columnOfField(QStringLiteral("单号"));
        grid.setColumnEditButton(number, true);
        grid.setDataset(&ds);
        showGrid(grid);
        QSignalSpy button(&grid, &DataGrid::editButtonClicked);
        QSignalSpy enter(&grid, &DataGrid::enterPressed);
        QSignalSpy doubleClick(&grid, &DataGrid::rowDoubleClicked);

        ds.moveTo(2);
        const QRect cell = grid.visualRect(grid.model()->index(2, grid.sectionOfColumn(number)));
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, DataGridDelegate::buttonRect(cell).center());
        QCOMPARE(button.count(), 1);
        QCOMPARE(button.first().first().toInt(), number);
        // Beside the button, a click only selects.
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.topLeft() + QPoint(3, 3));
        QCOMPARE(button.count(), 1);

        grid.setFocus();
        QTest::keyClick(&grid, Qt::Key_Return);
        QCOMPARE(enter.count(), 1);

        // Focus leaving for another control is the grid's exit.
        QWidget window;
        auto *other = new QLineEdit(&window);
        grid.setParent(&window);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QSignalSpy exited(&grid, &DataGrid::gridExited);
        grid.setFocus(Qt::OtherFocusReason);
        other->setFocus(Qt::TabFocusReason);
        QCOMPARE(exited.count(), 1);
        grid.setParent(nullptr); // the grid lives on the stack, not in the window
        QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, cell.topLeft() + QPoint(3, 3));
        QCOMPARE(doubleClick.count(), 1);
    }

    void frozenColumnsStayInPlace()
    {
        GridTestFile file;
        Dataset &ds = file.openDocuments();
        DataGrid grid;
        addDocumentColumns(grid);
        grid.setDataset(&ds);
        grid.setColumnShown(0, false);
        showGrid(grid);
        grid.resize(400, 300);
        grid.setFrozenColumns(2);
        auto *frozen = grid.findChild<FrozenColumnsView *>();
        QVERIFY(frozen && frozen->isVisible());
        QList<int> shown;
        for (int s = 0; s < frozen->horizontalHeader()->count(); ++s)
            if (!frozen->horizontalHeader()->isSectionHidden(s))
                shown << grid.gridColumnOfSection(s);
        QCOMPARE(shown, QList<int>({1, 2}));
        QCOMPARE(frozen->width(), grid.columnWidthOf(1) + grid.columnWidthOf(2));
        // Both views share the current row and scroll together.
        ds.moveTo(20);
        QCOMPARE(frozen->currentIndex().row(), 20);
        QCOMPARE(frozen->verticalScrollBar()->value(), grid.verticalScrollBar()->value());
        // Scrolling goes column by column: the next one starts at the fixed columns' edge.
        grid.horizontalScrollBar()->setValue(5);
        QCOMPARE(grid.visualRect(grid.model()->index(20, grid.sectionOfColumn(4))).left(), frozen->width());
        grid.horizontalScrollBar()->setValue(grid.horizontalScrollBar()->value() - 1);
        QCOMPARE(grid.horizontalScrollBar()->value(), 0);
        grid.horizontalScrollBar()->setValue(grid.horizontalScrollBar()->maximum());
        QCOMPARE(frozen->horizontalHeader()->offset(), 0);
        // Moving to a scrolling column brings it out from under the fixed ones.
        grid.setCurrentIndex(grid.model()->index(20, grid.sectionOfColumn(3)));
        QCOMPARE(grid.visualRect(grid.currentIndex()).left(), frozen->width());
        // Moving to a fixed column leaves the scrolling part where it is.
        const int scrolled = grid.horizontalScrollBar()->value();
        grid.setCurrentIndex(grid.model()->index(20, grid.sectionOfColumn(1)));
        QCOMPARE(grid.horizontalScrollBar()->value(), scrolled);
        grid.setFrozenColumns(0);
        QVERIFY(!frozen->isVisible());
    }
};

QTEST_MAIN(TestDataGrid)
#include "test_data_grid.moc"
