// Pictures of the data grid and the layout dialog as a user sees them: the
// document list of the sample data file with sort marks, footer and row colours,
// and TFMGridColSelect for it. Usage: grid_shots FOLDER (PNG files go there).
#include "DataGrid.h"
#include "Dataset.h"
#include "GridSort.h"
#include "ProgramValues.h"
#include "SampleData.h"
#include "Schema.h"
#include "ZGridColSelect.h"
#include "datakvl.h"

#include <QApplication>
#include <QDir>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QHeaderView>
#include <QScrollBar>
#include <QVBoxLayout>

using namespace kvl;

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(out);
    QTemporaryDir temp;
    AppDir = temp.path() + QLatin1Char('/');
    Schema::createDataFile(AppDir + QStringLiteral("KVL.DTA"), QStringLiteral("样例公司"));
    {
        Connection c;
        c.connect(AppDir + QStringLiteral("KVL.DTA"), Schema::databasePassword());
        SampleData::write(c, SampleData::small());
    }
    TDataModKvl dm;
    Dataset &ds = dm.DataSfk;
    ds.setSql(DataSfkBaseSql + QStringLiteral(" order by sfk.id"));
    ds.open();

    QWidget window;
    window.setWindowTitle(QStringLiteral("办理业务"));
    auto *layout = new QVBoxLayout(&window);
    auto *grid = new DataGrid(&window);
    grid->setObjectName(QStringLiteral("Grid"));
    layout->addWidget(grid);
    for (const char *f : {"制单日期", "类别", "单号", "应收款金额（出货）", "结帐、应付款金额（进货）", "应收款余额",
                          "员工姓名", "备注", "结帐单号"})
        grid->addColumn(QString::fromUtf8(f));
    grid->setDataset(&ds);
    grid->setFooter(0, FooterKind::Text, QStringLiteral("合计"));
    grid->setFooter(1, FooterKind::Count);
    for (int c : {3, 4, 5})
        grid->setFooter(c, FooterKind::Sum);
    const int kind = ds.fieldIndex(QStringLiteral("类别"));
    const int settledBy = ds.fieldIndex(QStringLiteral("结帐单号"));
    grid->setRowColourHook([&ds, kind, settledBy](int row) {
        RowColours c;
        if (!ds.valueAt(row, settledBy).toString().trimmed().isEmpty())
            c.background = QColor(255, 198, 140);
        const QString k = ds.valueAt(row, kind).toString();
        if (k == QStringLiteral("结帐"))
            c.text = QColor(174, 87, 0);
        else if (k == QStringLiteral("进货"))
            c.text = QColor(0, 128, 0);
        return c;
    });
    QObject::connect(grid, &DataGrid::sortMarkingChanged, grid, [grid] { ApplyGridSort(*grid); });
    grid->setSortMarks({{1, false}, {0, true}});
    window.resize(1180, 520);
    window.show();
    ds.moveTo(3);
    QApplication::processEvents();
    window.grab().save(out + QStringLiteral("/grid.png"));

    window.resize(700, 420);
    grid->setFrozenColumns(2);
    QApplication::processEvents();
    grid->horizontalScrollBar()->setValue(1); // one column on
    QApplication::processEvents();
    window.grab().save(out + QStringLiteral("/grid-frozen.png"));

    TFMGridColSelect dialog(&window);
    QStringList captions;
    for (int c : grid->columnOrder())
        captions << grid->columnTitle(c);
    dialog.setCaptions(captions);
    dialog.setAllChecked();
    dialog.show();
    QApplication::processEvents();
    dialog.grab().save(out + QStringLiteral("/dialog.png"));
    return 0;
}
