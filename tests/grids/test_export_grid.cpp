// ExportGrid on a sample data file: the save dialog's request, the file name
// rule, the shown columns in display order with the rows in the dataset's sort
// and filter and the footer last (read back by readers independent of the
// writers), an empty grid, the question and the opening of the file, and a file
// that cannot be written.
#include "DataGrid.h"
#include "Dataset.h"
#include "ExportError.h"
#include "ExportFormat.h"
#include "ExportGrid.h"
#include "FileDialogAnswers.h"
#include "GridExportTable.h"
#include "GridExporter.h"
#include "GridTestFile.h"
#include "MessageRecorder.h"
#include "ProgressIndicator.h"
#include "TextWriter.h"

#include <QDesktopServices>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringDecoder>
#include <QtTest>

using namespace kvl;
using namespace kvl::test;

namespace {

const QString kFilter = QStringLiteral(
    "Excel表格 (*.xls)|*.XLS|Word文档 (*.rtf)|*.RTF|文本格式 (*.txt)|*.TXT|HTML网页 (*.htm)|*.HTM");

// The progress window as the guard sees it, noting how many boxes had shown when it hid.
class ProgressLog : public ProgressIndicator
{
public:
    void showProgress(const QString &text) override
    {
        m_shown = true;
        texts << text;
    }
    void hideProgress() override
    {
        m_shown = false;
        boxesWhenHidden << (MessageRecorder::active() ? MessageRecorder::active()->transcript().size() : -1);
    }
    bool isProgressShown() const override { return m_shown; }
    QString progressText() const override { return texts.isEmpty() ? QString() : texts.last(); }

    QStringList texts;
    QList<qsizetype> boxesWhenHidden;

private:
    bool m_shown = false;
};

class Opener : public QObject
{
    Q_OBJECT
public slots:
    void open(const QUrl &url) { opened << url; }

public:
    QList<QUrl> opened;
};

struct Cell
{
    QString text;
    bool number;
    qint64 units;
};

// The business window's document grid with 3 of its first 8 columns hidden and
// the balance moved to the front; sorted by number descending, shipments only.
struct ExportFixture
{
    GridTestFile file;
    DataGrid grid;

    explicit ExportFixture(const QString &where = QString())
    {
        Dataset &ds = file.dm->DataSfk;
        ds.close();
        ds.setSql(DataSfkBaseSql + where + QStringLiteral(" order by sfk.id"));
        ds.open();
        const QStringList fields = documentColumns().mid(0, 8);
        for (const QString &f : fields)
            grid.addColumn(f);
        grid.setDataset(&ds);
        for (const char *hidden : {"单号", "结帐、应付款金额（进货）", "员工姓名"})
            grid.setColumnShown(grid.columnOfField(QString::fromUtf8(hidden)), false);
        grid.moveColumn(grid.columnOfField(QStringLiteral("应收款余额")), 0);
        grid.setFooter(grid.columnOfField(QStringLiteral("制单日期")), FooterKind::Text, QStringLiteral("合计"));
        grid.setFooter(grid.columnOfField(QStringLiteral("类别")), FooterKind::Count);
        grid.setFooter(grid.columnOfField(QStringLiteral("应收款金额（出货）")), FooterKind::Sum);
        grid.setFooter(grid.columnOfField(QStringLiteral("应收款余额")), FooterKind::Sum);
        ds.setSortText(QStringLiteral("单号 DESC"));
        ds.setFilterText(QStringLiteral("类别='出货'"));
        ds.setFiltered(true);
    }

    // The shown fields in display order.
    QStringList shownFields() const
    {
        return {QStringLiteral("应收款余额"), QStringLiteral("制单日期"), QStringLiteral("类别"),
                QStringLiteral("应收款金额（出货）"), QStringLiteral("备注")};
    }

    QStringList titles() const
    {
        QStringList t;
        for (const QString &f : shownFields())
            t << grid.dataset()->field(f).caption();
        return t;
    }

    // What the file must hold: titles, each row as the grid shows it, the footer.
    QList<QList<Cell>> expected() const
    {
        Dataset &ds = *grid.dataset();
        QList<QList<Cell>> rows;
        QList<Cell> head;
        for (const QString &t : titles())
            head << Cell{t, false, 0};
        rows << head;
        QList<int> fields;
        for (const QString &f : shownFields())
            fields << ds.fieldIndex(f);
        for (int r = 0; r < ds.recordCount(); ++r) {
            QList<Cell> row;
            for (int f : fields) {
                const Value v = ds.valueAt(r, f);
                row << Cell{ds.displayTextAt(r, f), ds.fields()[f].isNumeric() && !v.isNull(), v.moneyUnits()};
            }
            rows << row;
        }
        QList<Cell> footer;
        for (int c : grid.visibleColumns()) {
            qint64 units = 0;
            const bool sum = grid.footerSum(0, c, &units);
            footer << Cell{grid.footerText(0, c), sum, units};
        }
        rows << footer;
        return rows;
    }
};

QJsonObject readBack(const QString &kind, const QString &path)
{
    QProcess p;
    p.start(QStringLiteral("python3"), {QStringLiteral(KVL_SOURCE_DIR "/tests/grids/export_reader.py"), kind, path});
    if (!p.waitForFinished(120000))
        return {{"error", "reader did not finish"}};
    return QJsonDocument::fromJson(p.readAllStandardOutput()).object();
}

// The rows found in the file, numbers of the spreadsheet written with four decimals.
QList<QStringList> rowsInFile(ExportFormat format, const QString &path)
{
    QList<QStringList> rows;
    if (format == ExportFormat::Txt) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return rows;
        QStringDecoder decode(TextWriter::systemEncodingName().constData());
        const QString all = decode(f.readAll());
        for (const QString &line : all.split(QStringLiteral("\r\n")))
            rows << line.split(QLatin1Char('\t'));
        return rows;
    }
    const QJsonObject o = readBack(exportExtension(format), path);
    if (o.contains("error"))
        qWarning() << o.value("error").toString();
    const QJsonArray jrows = format == ExportFormat::Xls
                                 ? o.value("sheets").toArray().at(0).toObject().value("rows").toArray()
                                 : o.value("rows").toArray();
    for (const QJsonValue &r : jrows) {
        QStringList cells;
        for (const QJsonValue &c : r.toArray())
            cells << (c.isDouble() ? QString::number(c.toDouble(), 'f', 4) : c.toString());
        rows << cells;
    }
    return rows;
}

QList<QStringList> asWritten(ExportFormat format, const QList<QList<Cell>> &rows)
{
    QList<QStringList> r;
    for (const QList<Cell> &row : rows) {
        QStringList cells;
        for (const Cell &c : row)
            // The spreadsheet holds a number where the grid shows one; a zero shown blank stays blank.
            cells << (format == ExportFormat::Xls && c.number && !c.text.isEmpty() ? QString::number(double(c.units) / 10000, 'f', 4)
                                                              : c.text);
        r << cells;
    }
    return r;
}

} // namespace

class TestExportGrid : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() { LastExportDir.clear(); }
    void cleanup() { ProgressIndicator::setCurrent(nullptr); }

    void shownColumnsInDisplayOrderWithTheFooter_data()
    {
        QTest::addColumn<int>("entry");
        QTest::newRow("xls") << 1;
        QTest::newRow("txt") << 3;
        QTest::newRow("htm") << 4;
    }

    void shownColumnsInDisplayOrderWithTheFooter()
    {
        QFETCH(int, entry);
        const ExportFormat format = *exportFormatOfFilter(entry);
        ExportFixture fx;
        QVERIFY(fx.grid.dataset()->recordCount() > 3);
        ProgressLog progress;
        ProgressIndicator::setCurrent(&progress);
        MessageRecorder messages;
        FileDialogAnswers answers;
        const QString chosen = fx.file.dir.filePath(QStringLiteral("办理业务"));
        answers.choose(chosen, entry);
        ExportGrid(QStringLiteral("办理业务"), fx.grid);

        QCOMPARE(answers.requests().size(), 1);
        const FileDialogRequest &rq = answers.requests().first();
        QCOMPARE(rq.mode, FileDialogRequest::Mode::Save);
        QCOMPARE(rq.title, QStringLiteral("数据导出为..."));
        QCOMPARE(rq.filter, kFilter);
        QCOMPARE(rq.fileName, QStringLiteral("办理业务"));
        QCOMPARE(rq.initialDir, QString());
        QCOMPARE(progress.texts, QStringList({QStringLiteral("正在导出数据，请稍候......")}));
        QCOMPARE(progress.boxesWhenHidden, QList<qsizetype>({0}));
        QCOMPARE(messages.texts(), QStringList({QStringLiteral("导出成功，现在打开它吗？")}));
        QCOMPARE(messages.transcript().first().kind, MessageKind::Question);
        QCOMPARE(LastExportDir, fx.file.dir.path());

        const QString written = chosen + QLatin1Char('.') + exportExtension(format);
        QVERIFY(QFileInfo::exists(written));
        QCOMPARE(rowsInFile(format, written), asWritten(format, fx.expected()));
        if (format == ExportFormat::Xls) {
            const QJsonObject o = readBack(QStringLiteral("xls"), written);
            QCOMPARE(o.value("sheets").toArray().at(0).toObject().value("name").toString(), QStringLiteral("办理业务"));
        }
    }

    void anEmptyGrid()
    {
        ExportFixture fx(QStringLiteral(" where 1=0"));
        QCOMPARE(fx.grid.dataset()->recordCount(), 0);
        MessageRecorder messages;
        FileDialogAnswers answers;
        answers.choose(fx.file.dir.filePath(QStringLiteral("empty.htm")), 4);
        ExportGrid(QStringLiteral("办理业务"), fx.grid);
        const QList<QStringList> rows = rowsInFile(ExportFormat::Htm, fx.file.dir.filePath(QStringLiteral("empty.htm")));
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows.first(), fx.titles());
        QCOMPARE(rows.last(), asWritten(ExportFormat::Htm, fx.expected()).last());
        QCOMPARE(rows.last().at(1), QStringLiteral("合计"));
        QCOMPARE(rows.last().at(2), QStringLiteral("0"));
    }

    void aFileThatCannotBeWritten()
    {
        ExportFixture fx;
        ProgressLog progress;
        ProgressIndicator::setCurrent(&progress);
        MessageRecorder messages;
        FileDialogAnswers answers;
        const QString target = fx.file.dir.filePath(QStringLiteral("gone/往来单位.txt"));
        answers.choose(target, 3);
        ExportGrid(QStringLiteral("往来单位"), fx.grid);

        QString expected;
        try {
            GridExporter::exportToFile(GridExportTable(fx.grid, QStringLiteral("往来单位")), ExportFormat::Txt, target);
        } catch (const ExportError &e) {
            expected = e.message();
        }
        QVERIFY(!expected.isEmpty());
        QCOMPARE(messages.texts(), QStringList({expected}));
        QCOMPARE(messages.transcript().first().kind, MessageKind::Warning);
        // The progress window went before the message showed; no question was asked.
        QCOMPARE(progress.boxesWhenHidden, QList<qsizetype>({0}));
        QVERIFY(!progress.isProgressShown());
        QVERIFY(!QFileInfo::exists(target));
    }

    void yesOpensTheFile()
    {
        ExportFixture fx;
        Opener opener;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &opener, "open");
        MessageRecorder messages;
        FileDialogAnswers answers;
        const QString name = fx.file.dir.filePath(QStringLiteral("a.htm"));
        answers.choose(name, 4).choose(name, 4);
        messages.queueAnswer(QMessageBox::Yes);
        ExportGrid(QStringLiteral("办理业务"), fx.grid);
        QCOMPARE(opener.opened, QList<QUrl>({QUrl::fromLocalFile(name)}));
        messages.queueAnswer(QMessageBox::No);
        ExportGrid(QStringLiteral("办理业务"), fx.grid);
        QCOMPARE(opener.opened.size(), 1);
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    }

    void theNameRuleAndTheLastFolder_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("entry");
        QTest::addColumn<QString>("written");
        QTest::newRow("suggested name, Excel") << QStringLiteral("往来单位") << 1 << QStringLiteral("往来单位.xls");
        QTest::newRow("upper-case extension") << QStringLiteral("a.XLS") << 1 << QStringLiteral("a.XLS");
        QTest::newRow("another extension") << QStringLiteral("b.htm") << 3 << QStringLiteral("b.htm.txt");
        QTest::newRow("extension without a dot") << QStringLiteral("cxls") << 1 << QStringLiteral("cxls");
        QTest::newRow("rich text") << QStringLiteral("d") << 2 << QStringLiteral("d.rtf");
    }

    void theNameRuleAndTheLastFolder()
    {
        QFETCH(QString, typed);
        QFETCH(int, entry);
        QFETCH(QString, written);
        ExportFixture fx;
        QDir(fx.file.dir.path()).mkdir(QStringLiteral("out"));
        const QString folder = fx.file.dir.filePath(QStringLiteral("out"));
        MessageRecorder messages;
        FileDialogAnswers answers;
        answers.choose(folder + QLatin1Char('/') + typed, entry).cancel();
        ExportGrid(QStringLiteral("往来单位"), fx.grid);
        QVERIFY(QFileInfo::exists(folder + QLatin1Char('/') + written));
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList({written}));
        // The next export starts in that folder; cancelling it changes nothing.
        ExportGrid(QStringLiteral("往来单位"), fx.grid);
        QCOMPARE(answers.requests().at(1).initialDir, folder);
        QCOMPARE(LastExportDir, folder);
        QCOMPARE(messages.texts().size(), 1);
    }
};

QTEST_MAIN(TestExportGrid)
#include "test_export_grid.moc"
