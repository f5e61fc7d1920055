// DatasetModel over a real dataset, checked by QAbstractItemModelTester while
// the dataset opens, sorts, filters, adds, edits, deletes and closes.
#include "Dataset.h"
#include "DatasetModel.h"
#include "TestDataFile.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace kvl;
using namespace kvl::test;

class TestDatasetModel : public QObject
{
    Q_OBJECT

private slots:
    void followsTheDataset()
    {
        QTemporaryDir dir;
        Connection conn;
        Dataset::setDefaultFieldResolver(schemaResolver());
        createSample(conn, dir.filePath(QStringLiteral("KVL.DTA")));

        Dataset ds(conn);
        ds.setSql(QStringLiteral("select * from kcmx"));
        FieldDef sl;
        sl.name = QStringLiteral("sl");
        sl.label = QStringLiteral("数量");
        sl.displayFormat = QStringLiteral("#.####");
        FieldDef je;
        je.name = QStringLiteral("je");
        je.label = QStringLiteral("金额");
        je.currency = true;
        FieldDef id;
        id.name = QStringLiteral("id");
        id.visible = false;
        ds.setFieldDefs({sl, je, id});
        ds.setBatchMode(true);

        DatasetModel model(&ds);
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(model.columnCount(), 0);

        ds.open();
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(model.columnCount(), ds.fieldCount() - 1); // id hidden
        QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("数量"));
        QCOMPARE(model.headerData(2, Qt::Horizontal).toString(), QStringLiteral("sf_id"));
        QCOMPARE(model.data(model.index(0, 0)).toString(), QStringLiteral("1"));
        QCOMPARE(model.data(model.index(2, 0)).toString(), QStringLiteral("11"));
        QCOMPARE(model.data(model.index(0, 1)).toString(), QStringLiteral("¥100.00"));
        QCOMPARE(model.data(model.index(0, 1), Qt::EditRole).toString(), QStringLiteral("100"));
        QCOMPARE(model.data(model.index(0, 1), Qt::TextAlignmentRole).toInt() & Qt::AlignRight, int(Qt::AlignRight));
        QCOMPARE(model.data(model.index(0, model.columnOf(QStringLiteral("备注"))), Qt::TextAlignmentRole).toInt()
                     & Qt::AlignRight,
                 0);

        ds.setSortText(QStringLiteral("sl DESC"));
        QCOMPARE(model.data(model.index(0, 0)).toString(), QStringLiteral("11"));
        ds.setFilterText(QStringLiteral("备注 like '*'"));
        ds.setFiltered(true);
        QCOMPARE(model.rowCount(), 2);
        ds.setFiltered(false);

        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        ds.append();
        QCOMPARE(model.rowCount(), 4);
        QVERIFY(model.setData(model.index(3, 0), QStringLiteral("0.5")));
        QCOMPARE(model.data(model.index(3, 0)).toString(), QStringLiteral(".5"));
        QVERIFY(!changed.isEmpty());
        ds.post();
        ds.cancelUpdates();
        QCOMPARE(model.rowCount(), 3);
        ds.first();
        ds.deleteRecord();
        QCOMPARE(model.rowCount(), 2);
        ds.insert();
        QCOMPARE(model.rowCount(), 3);
        ds.cancel();
        QCOMPARE(model.rowCount(), 2);
        ds.close();
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(model.columnCount(), 0);
    }
};

QTEST_GUILESS_MAIN(TestDatasetModel)
#include "test_dataset_model.moc"
