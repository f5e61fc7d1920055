// The grid export on real files: each format read back by a reader that shares no
// code with the writers (export_reader.py for .xls, .rtf and .htm, a decoder and a
// split for .txt), the file-name rule, and what a failed write leaves behind.
#include "ExcelNumberFormat.h"
#include "ExportError.h"
#include "ExportFormat.h"
#include "ExportSink.h"
#include "GridExporter.h"
#include "TextWriter.h"
#include "XlsWriter.h"

#include <QBuffer>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

using namespace kvl;

Q_DECLARE_METATYPE(kvl::ExportFormat)

namespace {

// A grid as the export sees it: the dataset's fields, the columns' display order
// and visibility, footer texts. The table handed to the writers holds the visible
// columns in display order and fetches each row's cells from the fields.
struct GridFixture
{
    struct Field
    {
        QString title;
        bool numeric = false;
        bool visible = true;
    };
    QString title;
    QList<Field> fields;
    QList<int> displayOrder;                 // field indexes, left to right
    QList<QList<ExportCell>> records;        // by field index
    QList<QList<ExportCell>> footerByField;  // by field index

    QList<int> visibleOrder() const
    {
        QList<int> v;
        for (int f : displayOrder) {
            if (fields.at(f).visible)
                v.append(f);
        }
        return v;
    }

    ExportTable table() const
    {
        ExportTable t;
        t.title = title;
        const QList<int> order = visibleOrder();
        for (int f : order) {
            ExportColumn c;
            c.title = fields.at(f).title;
            c.numeric = fields.at(f).numeric;
            c.numberFormat = c.numeric ? excelNumberFormat(QStringLiteral(",0.00;;#")) : QString();
            c.width = 80;
            t.columns.append(c);
        }
        t.rowCount = records.size();
        const auto recs = records;
        t.fetchRow = [recs, order](qint64 row, ExportRow &cells) {
            cells.resize(order.size());
            for (qsizetype i = 0; i < order.size(); ++i)
                cells[i] = recs.at(row).at(order.at(i));
        };
        for (const auto &footer : footerByField) {
            ExportRow r;
            for (int f : order)
                r.append(footer.at(f));
            t.footerRows.append(r);
        }
        return t;
    }

    // What a reader must find: title row, data rows, footer rows, as the user sees them.
    QList<QList<ExportCell>> expected() const
    {
        QList<QList<ExportCell>> rows;
        const QList<int> order = visibleOrder();
        QList<ExportCell> head;
        for (int f : order)
            head.append(ExportCell::textCell(fields.at(f).title));
        rows.append(head);
        for (const auto *source : {&records, &footerByField}) {
            for (const auto &rec : *source) {
                QList<ExportCell> r;
                for (int f : order)
                    r.append(rec.at(f));
                rows.append(r);
            }
        }
        return rows;
    }
};

ExportCell money(qint64 units)
{
    return ExportCell::numberCell(QLocale(QLocale::English, QLocale::UnitedStates).toString(double(units) / 10000.0, 'f', 2), units);
}

// Eight columns, three hidden, shown in an order other than the fields' own.
GridFixture partnersGrid(int rows)
{
    GridFixture g;
    g.title = QStringLiteral("往来单位");
    g.fields = {{QStringLiteral("单号")}, {QStringLiteral("单位名称")}, {QStringLiteral("联系人"), false, false},
                {QStringLiteral("金额"), true}, {QStringLiteral("备注"), false, false}, {QStringLiteral("制单日期")},
                {QStringLiteral("id"), true, false}, {QStringLiteral("结帐"), true}};
    g.displayOrder = {5, 0, 2, 1, 7, 3, 6, 4};
    qint64 sum = 0;
    for (int i = 0; i < rows; ++i) {
        const qint64 units = (i * 7919 % 100000) * 100 - 50000 * 100 + 1;
        sum += units;
        g.records.append({ExportCell::textCell(QStringLiteral("CH%1").arg(i + 1, 8, 10, QLatin1Char('0'))),
                          ExportCell::textCell(QStringLiteral("上海华东贸易公司%1").arg(i % 7)),
                          ExportCell::textCell(QStringLiteral("hidden")),
                          money(units),
                          ExportCell::textCell(QStringLiteral("hidden too")),
                          ExportCell::textCell(QStringLiteral("2024/03/%1").arg(i % 28 + 1, 2, 10, QLatin1Char('0'))),
                          ExportCell::numberCell(QString::number(i), i * 10000LL),
                          i % 3 ? ExportCell::numberCell(QString(), 0) : money(1)});
    }
    g.footerByField = {{ExportCell::textCell(QStringLiteral("合计")), {}, {}, money(sum), {}, {},
                        {}, ExportCell::textCell(QStringLiteral("%1笔").arg(rows))}};
    return g;
}

// Text that breaks naive writers: markup characters of every format, Chinese, a
// character beyond the 16-bit range, a tab and a line break inside a cell.
GridFixture awkwardGrid()
{
    GridFixture g;
    g.title = QStringLiteral("选择[未结帐]单据: a/b");
    g.fields = {{QStringLiteral("名称 <&>")}, {QStringLiteral("{备注}\\")}, {QStringLiteral("数"), true}};
    g.displayOrder = {0, 1, 2};
    g.records = {
        {ExportCell::textCell(QStringLiteral("a&b <c> \"d\" 'e'")), ExportCell::textCell(QStringLiteral("{x}\\y\\u123?")),
         ExportCell::numberCell(QStringLiteral("-0.01"), -100)},
        {ExportCell::textCell(QStringLiteral("龍鳳呈祥\U00020000丽")), ExportCell::textCell(QStringLiteral("一\t二\n三")),
         ExportCell::numberCell(QStringLiteral("12,345.60"), 123456000)},
        {ExportCell::textCell(QStringLiteral("123")), ExportCell::textCell(QStringLiteral("   ")), ExportCell::textCell(QString())},
    };
    return g;
}

QString readerScript() { return QStringLiteral(KVL_SOURCE_DIR "/tests/grids/export_reader.py"); }

QJsonObject readBack(const QString &kind, const QString &path)
{
    QProcess p;
    p.start(QStringLiteral("python3"), {readerScript(), kind, path});
    if (!p.waitForFinished(300000))
        return {{"error", "reader did not finish"}};
    const QJsonDocument doc = QJsonDocument::fromJson(p.readAllStandardOutput());
    QJsonObject o = doc.object();
    if (p.exitCode() != 0 && !o.contains("error"))
        o.insert("error", QString::fromUtf8(p.readAllStandardError()));
    return o;
}

// The text a format can carry for a cell: the text format turns tabs and line breaks into blanks.
QString carried(ExportFormat format, const QString &text)
{
    if (format != ExportFormat::Txt)
        return text;
    QString s = text;
    s.replace(QLatin1Char('\t'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return s;
}

// The rows of text the reader found, whatever the format.
QList<QStringList> textRows(ExportFormat format, const QString &path, QString *failure)
{
    QList<QStringList> rows;
    if (format == ExportFormat::Txt) {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        QStringDecoder decode(TextWriter::systemEncodingName().constData());
        const QString all = decode(f.readAll());
        if (decode.hasError())
            *failure = QStringLiteral("not in the system code page");
        for (const QString &line : all.split(QStringLiteral("\r\n")))
            rows.append(line.split(QLatin1Char('\t')));
        return rows;
    }
    const QJsonObject o = readBack(exportExtension(format), path);
    if (o.contains("error")) {
        *failure = o.value("error").toString();
        return rows;
    }
    const QJsonArray jrows = format == ExportFormat::Xls ? o.value("sheets").toArray().at(0).toObject().value("rows").toArray()
                                                         : o.value("rows").toArray();
    for (const QJsonValue &r : jrows) {
        QStringList cells;
        for (const QJsonValue &c : r.toArray())
            cells.append(c.isDouble() ? QString::number(c.toDouble(), 'f', 4) : c.toString());
        rows.append(cells);
    }
    return rows;
}

QString fileText(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QString::fromUtf8(f.readAll());
}

} // namespace

class TestExport : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

    QString pathFor(const QString &name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("python3")).isEmpty(), "python3 runs the reader");
    }

    void readsBackSameCells_data()
    {
        QTest::addColumn<ExportFormat>("format");
        QTest::addColumn<int>("fixture");
        const QList<QPair<const char *, ExportFormat>> formats = {
            {"xls", ExportFormat::Xls}, {"rtf", ExportFormat::Rtf}, {"txt", ExportFormat::Txt}, {"htm", ExportFormat::Htm}};
        for (const auto &[name, format] : formats) {
            QTest::addRow("%s hidden columns and footer", name) << format << 0;
            QTest::addRow("%s empty grid", name) << format << 1;
            QTest::addRow("%s awkward text", name) << format << 2;
        }
    }

    void readsBackSameCells()
    {
        QFETCH(ExportFormat, format);
        QFETCH(int, fixture);
        const GridFixture grid = fixture == 0 ? partnersGrid(40) : fixture == 1 ? partnersGrid(0) : awkwardGrid();
        const QString path = pathFor(QStringLiteral("cells%1.%2").arg(fixture).arg(exportExtension(format)));
        GridExporter::exportToFile(grid.table(), format, path);

        QString failure;
        const QList<QStringList> found = textRows(format, path, &failure);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        const auto expected = grid.expected();
        QCOMPARE(found.size(), expected.size());
        for (qsizetype r = 0; r < expected.size(); ++r) {
            QStringList want;
            for (const ExportCell &c : expected.at(r)) {
                // The spreadsheet holds the value of a number cell, every other format its text.
                const bool asNumber = format == ExportFormat::Xls && c.hasNumber && !c.text.isEmpty() && r > 0;
                want.append(asNumber ? QString::number(double(c.units) / 10000.0, 'f', 4) : carried(format, c.text));
            }
            QCOMPARE(found.at(r), want);
        }
    }

    // Headers are header cells, numbers right-aligned, the page says it is UTF-8.
    void htmlMarksHeadersAndNumbers()
    {
        const GridFixture grid = partnersGrid(3);
        const QString path = pathFor(QStringLiteral("marks.htm"));
        GridExporter::exportToFile(grid.table(), ExportFormat::Htm, path);
        const QJsonObject o = readBack(QStringLiteral("htm"), path);
        QVERIFY2(!o.contains("error"), qPrintable(o.value("error").toString()));
        QCOMPARE(o.value("charset").toString().toLower(), QStringLiteral("utf-8"));
        QCOMPARE(o.value("title").toString(), QStringLiteral("往来单位"));
        const QJsonArray header = o.value("header").toArray();
        const QJsonArray align = o.value("align").toArray();
        QCOMPARE(header.at(0).toArray(), QJsonArray({true, true, true, true, true}));
        QCOMPARE(header.at(1).toArray(), QJsonArray({false, false, false, false, false}));
        // 制单日期, 单号, 单位名称, 结帐, 金额
        QCOMPARE(align.at(1).toArray(), QJsonArray({"left", "left", "left", "right", "right"}));
    }

    void rtfAlignsNumbersAndEscapesBeyond32767()
    {
        const GridFixture grid = awkwardGrid();
        const QString path = pathFor(QStringLiteral("escapes.rtf"));
        GridExporter::exportToFile(grid.table(), ExportFormat::Rtf, path);
        const QString raw = fileText(path);
        // 龍 is U+9F8D: above 32767, so written as a negative 16-bit number.
        QVERIFY(raw.contains(QStringLiteral("\\u%1?").arg(0x9F8D - 65536)));
        QVERIFY(!raw.contains(QStringLiteral("龍")));
        const QJsonObject o = readBack(QStringLiteral("rtf"), path);
        QVERIFY2(!o.contains("error"), qPrintable(o.value("error").toString()));
        QCOMPARE(o.value("paragraphs").toArray().at(0).toString(), grid.title);
        QCOMPARE(o.value("align").toArray().at(1).toArray(), QJsonArray({"left", "left", "right"}));
    }

    void xlsStoresNumbersExactly_data()
    {
        QTest::addColumn<qint64>("units");
        QTest::addColumn<QString>("decimal");
        QTest::newRow("fen") << qint64(12345600) << QStringLiteral("1234.5600");
        QTest::newRow("negative fen") << qint64(-100) << QStringLiteral("-0.0100");
        QTest::newRow("ten-thousandth") << qint64(1) << QStringLiteral("0.0001");
        QTest::newRow("hundred billion") << qint64(1234567890123456) << QStringLiteral("123456789012.3456");
        QTest::newRow("zero") << qint64(0) << QStringLiteral("0.0000");
    }

    void xlsStoresNumbersExactly()
    {
        QFETCH(qint64, units);
        QFETCH(QString, decimal);
        ExportTable t;
        t.title = QStringLiteral("数");
        t.columns = {{QStringLiteral("金额"), true, Qt::AlignRight, 0, QStringLiteral("#,##0.00")},
                     {QStringLiteral("编号"), false, Qt::AlignLeft, 0, {}}};
        t.setRows({{ExportCell::numberCell(QStringLiteral("x"), units), ExportCell::textCell(QStringLiteral("00123"))}});
        const QString path = pathFor(QStringLiteral("numbers.xls"));
        GridExporter::exportToFile(t, ExportFormat::Xls, path);
        const QJsonObject o = readBack(QStringLiteral("xls"), path);
        QVERIFY2(!o.contains("error"), qPrintable(o.value("error").toString()));
        QCOMPARE(o.value("codepage").toInt(), 1200);
        const QJsonObject sheet = o.value("sheets").toArray().at(0).toObject();
        const QJsonArray row = sheet.value("rows").toArray().at(1).toArray();
        QVERIFY(row.at(0).isDouble());
        QCOMPARE(QString::number(row.at(0).toDouble(), 'f', 4), decimal);
        QVERIFY(row.at(1).isString());
        QCOMPARE(row.at(1).toString(), QStringLiteral("00123"));
        QCOMPARE(sheet.value("numberFormats").toArray().at(0).toArray().at(2).toString(), QStringLiteral("#,##0.00"));
    }

    // Long and many distinct strings push the string table across CONTINUE records,
    // strings split inside their characters included.
    void xlsLargeTableCrossesRecordBoundaries()
    {
        const int rows = 20000;
        ExportTable t;
        t.title = QStringLiteral("进出商品统计");
        for (int c = 0; c < 6; ++c)
            t.columns.append({QStringLiteral("列%1").arg(c), c == 5, Qt::AlignLeft, 0, {}});
        auto text = [](qint64 r, int c) {
            if (r == 777 && c == 1)
                return QString(9001, QChar(0x4E2D));
            if (r == 778 && c == 2)
                return QString(9003, QLatin1Char('x'));
            const QString base = c % 2 ? QStringLiteral("商品%1号").arg(r * 6 + c) : QStringLiteral("item-%1").arg(r * 6 + c);
            return base.repeated(1 + (r + c) % 5);
        };
        t.rowCount = rows;
        t.fetchRow = [&](qint64 r, ExportRow &cells) {
            for (int c = 0; c < 5; ++c)
                cells[c] = ExportCell::textCell(text(r, c));
            cells[5] = ExportCell::numberCell(QString::number(r), r * 10000);
        };
        QList<QPair<qint64, qint64>> progress;
        const QString path = pathFor(QStringLiteral("large.xls"));
        GridExporter::exportToFile(t, ExportFormat::Xls, path,
                                   [&](qint64 done, qint64 total) { progress.append({done, total}); });
        QVERIFY(!progress.isEmpty());
        QCOMPARE(progress.last(), qMakePair(qint64(rows), qint64(rows)));
        for (qsizetype i = 1; i < progress.size(); ++i)
            QVERIFY(progress.at(i).first >= progress.at(i - 1).first);

        const QJsonObject o = readBack(QStringLiteral("xls"), path);
        QVERIFY2(!o.contains("error"), qPrintable(o.value("error").toString()));
        QVERIFY(o.value("continues").toInt() > 100);
        const QJsonArray found = o.value("sheets").toArray().at(0).toObject().value("rows").toArray();
        QCOMPARE(found.size(), rows + 1);
        for (int r = 0; r < rows; ++r) {
            const QJsonArray row = found.at(r + 1).toArray();
            for (int c = 0; c < 5; ++c) {
                if (row.at(c).toString() != text(r, c))
                    QFAIL(qPrintable(QStringLiteral("row %1 column %2 differs").arg(r).arg(c)));
            }
            QCOMPARE(row.at(5).toDouble(), double(r));
        }
    }

    // Beyond 65,536 rows a worksheet cannot go on; the rows continue on a second
    // worksheet under the title row again, and the file is large enough to need
    // allocation-table sectors listed outside the header.
    void xlsContinuesOnNextSheetBeyondRowLimit()
    {
        const int rows = 70000;
        ExportTable t;
        t.title = QStringLiteral("办理业务");
        for (int c = 0; c < 8; ++c)
            t.columns.append({QStringLiteral("第%1列").arg(c), c == 0, Qt::AlignLeft, 0, {}});
        t.rowCount = rows;
        t.fetchRow = [](qint64 r, ExportRow &cells) {
            cells[0] = ExportCell::numberCell(QString::number(r), r * 10000);
            for (int c = 1; c < 8; ++c)
                cells[c] = ExportCell::textCell(QStringLiteral("%1-%2").arg(r).arg(c));
        };
        t.footerRows = {{ExportCell::textCell(QStringLiteral("合计"))}};
        const QString path = pathFor(QStringLiteral("two sheets.xls"));
        GridExporter::exportToFile(t, ExportFormat::Xls, path);
        QVERIFY(QFileInfo(path).size() > 109 * 128 * 512);

        const QJsonObject o = readBack(QStringLiteral("xls"), path);
        QVERIFY2(!o.contains("error"), qPrintable(o.value("error").toString()));
        const QJsonArray sheets = o.value("sheets").toArray();
        QCOMPARE(sheets.size(), 2);
        const QJsonObject first = sheets.at(0).toObject(), second = sheets.at(1).toObject();
        QCOMPARE(first.value("name").toString(), QStringLiteral("办理业务"));
        QCOMPARE(second.value("name").toString(), QStringLiteral("办理业务 (2)"));
        const QJsonArray a = first.value("rows").toArray(), b = second.value("rows").toArray();
        QCOMPARE(a.size(), 65536);
        QCOMPARE(b.size(), rows - 65535 + 1 + 1);
        QCOMPARE(b.at(0).toArray().at(3).toString(), QStringLiteral("第3列"));
        QCOMPARE(a.at(65535).toArray().at(0).toDouble(), 65534.0);
        QCOMPARE(b.at(1).toArray().at(0).toDouble(), 65535.0);
        QCOMPARE(b.at(1).toArray().at(7).toString(), QStringLiteral("65535-7"));
        QCOMPARE(b.at(b.size() - 2).toArray().at(0).toDouble(), double(rows - 1));
        QCOMPARE(b.last().toArray().at(0).toString(), QStringLiteral("合计"));
    }

    void excelNumberFormats_data()
    {
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("excel");
        QTest::newRow("money") << QStringLiteral(",0.00") << QStringLiteral("#,##0.00");
        QTest::newRow("money, zero empty") << QStringLiteral(",0.00;;#") << QStringLiteral("#,##0.00;-#,##0.00;");
        QTest::newRow("optional decimals") << QStringLiteral(",0.00##") << QStringLiteral("#,##0.00##");
        QTest::newRow("point may vanish") << QStringLiteral("#.####") << QString();
        QTest::newRow("integer") << QStringLiteral("0") << QStringLiteral("0");
        QTest::newRow("own negative section") << QStringLiteral("0.00;0.00") << QStringLiteral("0.00;0.00");
        QTest::newRow("zero section with digits") << QStringLiteral(",0.00;;0.0") << QStringLiteral("#,##0.00;-#,##0.00;0.0");
        QTest::newRow("literal text") << QStringLiteral("0.00元") << QString();
        QTest::newRow("none") << QString() << QString();
    }

    void excelNumberFormats()
    {
        QFETCH(QString, display);
        QFETCH(QString, excel);
        QCOMPARE(excelNumberFormat(display), excel);
    }

    void sheetNames_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("name");
        QTest::newRow("window title") << QStringLiteral("往来单位") << 1 << QStringLiteral("往来单位");
        QTest::newRow("forbidden characters") << QStringLiteral("a[b]:c*d?e/f\\g") << 1 << QStringLiteral("a_b__c_d_e_f_g");
        QTest::newRow("cut to 31") << QString(40, QChar(0x5355)) << 1 << QString(31, QChar(0x5355));
        QTest::newRow("suffix fits in 31") << QString(40, QLatin1Char('x')) << 2 << QString(27, QLatin1Char('x')) + QStringLiteral(" (2)");
        QTest::newRow("empty") << QString() << 1 << QStringLiteral("Sheet");
        QTest::newRow("apostrophes at the ends") << QStringLiteral("'报表'") << 1 << QStringLiteral("报表");
        QTest::newRow("no half character") << QString(30, QLatin1Char('y')) + QStringLiteral("\U00020000") << 1
                                           << QString(30, QLatin1Char('y'));
    }

    void sheetNames()
    {
        QFETCH(QString, title);
        QFETCH(int, number);
        QFETCH(QString, name);
        QCOMPARE(XlsWriter::sheetName(title, number), name);
    }

    void textSeparatorsAndCodePage()
    {
        ExportTable t;
        t.title = QStringLiteral("公司员工");
        t.columns = {{QStringLiteral("员工姓名"), false, Qt::AlignLeft, 0, {}}, {QStringLiteral("电话"), false, Qt::AlignLeft, 0, {}}};
        t.setRows({{ExportCell::textCell(QStringLiteral("张三")), ExportCell::textCell(QStringLiteral("1"))},
                   {ExportCell::textCell(QStringLiteral("李四")), ExportCell::textCell(QString())}});
        const QString expected = QStringLiteral("员工姓名\t电话\r\n张三\t1\r\n李四\t");
        for (const QByteArray &encoding : {QByteArray("GBK"), TextWriter::systemEncodingName()}) {
            QBuffer buffer;
            buffer.open(QIODevice::WriteOnly);
            ExportSink sink(&buffer, QStringLiteral("x.txt"));
            TextWriter(encoding).write(t, sink, {});
            sink.flush();
            QStringDecoder decode(encoding.constData());
            QVERIFY(decode.isValid());
            QCOMPARE(QString(decode(buffer.data())), expected);
        }
        QBuffer gbk;
        gbk.open(QIODevice::WriteOnly);
        ExportSink sink(&gbk, QStringLiteral("x.txt"));
        TextWriter("GBK").write(t, sink, {});
        sink.flush();
        QVERIFY(gbk.data().startsWith("\xD4\xB1\xB9\xA4")); // 员工 in GBK, two bytes a character
    }

    void exportFileNames_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<int>("filter");
        QTest::addColumn<QString>("written");
        QTest::newRow("suggested name, Excel") << QStringLiteral("/d/往来单位") << 1 << QStringLiteral("/d/往来单位.xls");
        QTest::newRow("upper-case extension kept") << QStringLiteral("/d/a.XLS") << 1 << QStringLiteral("/d/a.XLS");
        QTest::newRow("other extension, text") << QStringLiteral("/d/b.htm") << 3 << QStringLiteral("/d/b.htm.txt");
        QTest::newRow("ends in the letters, no dot") << QStringLiteral("/d/reportxls") << 1 << QStringLiteral("/d/reportxls");
        QTest::newRow("rtf mixed case") << QStringLiteral("c.RtF") << 2 << QStringLiteral("c.RtF");
        QTest::newRow("web page") << QStringLiteral("c.html") << 4 << QStringLiteral("c.html.htm");
    }

    void exportFileNames()
    {
        QFETCH(QString, chosen);
        QFETCH(int, filter);
        QFETCH(QString, written);
        const auto format = exportFormatOfFilter(filter);
        QVERIFY(format);
        QCOMPARE(exportFileName(chosen, *format), written);
    }

    void filterEntries()
    {
        QCOMPARE(exportFormatOfFilter(0), std::nullopt);
        QCOMPARE(exportFormatOfFilter(5), std::nullopt);
        QCOMPARE(exportExtension(*exportFormatOfFilter(1)), QStringLiteral("xls"));
        QCOMPARE(exportExtension(*exportFormatOfFilter(2)), QStringLiteral("rtf"));
        QCOMPARE(exportExtension(*exportFormatOfFilter(3)), QStringLiteral("txt"));
        QCOMPARE(exportExtension(*exportFormatOfFilter(4)), QStringLiteral("htm"));
    }

    void failedWriteLeavesNothing_data()
    {
        QTest::addColumn<ExportFormat>("format");
        QTest::addColumn<QString>("failure");
        for (const char *failure : {"folder gone", "name is a folder", "file size limit", "row source fails"}) {
            QTest::addRow("%s xls", failure) << ExportFormat::Xls << QString::fromLatin1(failure);
            QTest::addRow("%s txt", failure) << ExportFormat::Txt << QString::fromLatin1(failure);
            QTest::addRow("%s rtf", failure) << ExportFormat::Rtf << QString::fromLatin1(failure);
            QTest::addRow("%s htm", failure) << ExportFormat::Htm << QString::fromLatin1(failure);
        }
    }

    void failedWriteLeavesNothing()
    {
        QFETCH(ExportFormat, format);
        QFETCH(QString, failure);
        QTemporaryDir dir;
        QString target = dir.filePath(QStringLiteral("往来单位.") + exportExtension(format));
        const QByteArray previous("the previous export");
        ExportTable t = partnersGrid(30000).table();

        rlimit saved{};
        if (failure == QLatin1String("folder gone")) {
            target = dir.filePath(QStringLiteral("gone/往来单位.xls"));
        } else if (failure == QLatin1String("name is a folder")) {
            QVERIFY(QDir(dir.path()).mkdir(QFileInfo(target).fileName()));
        } else {
            QFile old(target);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write(previous);
            old.close();
        }
        if (failure == QLatin1String("row source fails")) {
            auto fetch = t.fetchRow;
            t.fetchRow = [fetch](qint64 row, ExportRow &cells) {
                if (row == 20000)
                    throw ExportError(QStringLiteral("磁盘已满"));
                fetch(row, cells);
            };
        }
        if (failure == QLatin1String("file size limit")) {
            // The system refuses writes past 256 KiB, as a full disk would.
            std::signal(SIGXFSZ, SIG_IGN);
            getrlimit(RLIMIT_FSIZE, &saved);
            rlimit small = saved;
            small.rlim_cur = 256 * 1024;
            setrlimit(RLIMIT_FSIZE, &small);
        }

        QString message;
        try {
            GridExporter::exportToFile(t, format, target);
        } catch (const ExportError &e) {
            message = e.message();
        }
        if (failure == QLatin1String("file size limit"))
            setrlimit(RLIMIT_FSIZE, &saved);

        QVERIFY2(!message.isEmpty(), "the failure must be reported");
        if (failure == QLatin1String("row source fails"))
            QCOMPARE(message, QStringLiteral("磁盘已满"));
        else
            QVERIFY2(message.contains(QFileInfo(target).fileName()), qPrintable(message));

        // Nothing new beside the target: no temporary file left, the old file untouched.
        QStringList entries = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        if (failure == QLatin1String("folder gone") || failure == QLatin1String("name is a folder")) {
            QCOMPARE(entries.size(), failure == QLatin1String("name is a folder") ? 1 : 0);
            QVERIFY(!QFileInfo(target).isFile());
        } else {
            QCOMPARE(entries, QStringList{QFileInfo(target).fileName()});
            QFile old(target);
            QVERIFY(old.open(QIODevice::ReadOnly));
            QCOMPARE(old.readAll(), previous);
        }
    }

    void sinkReportsFailedWrite()
    {
        QBuffer readOnly;
        readOnly.open(QIODevice::ReadOnly);
        ExportSink sink(&readOnly, QStringLiteral("D:\\导出\\a.txt"));
        QTest::ignoreMessage(QtWarningMsg, "QIODevice::write (QBuffer): ReadOnly device");
        sink.write("abc");
        try {
            sink.flush();
            QFAIL("a refused write must throw");
        } catch (const ExportError &e) {
            QVERIFY2(e.message().startsWith(QStringLiteral("写入文件“D:\\导出\\a.txt”失败：")), qPrintable(e.message()));
        }
    }

    // LibreOffice, where it is installed, reads the spreadsheet and the RTF table.
    void libreOfficeReads_data()
    {
        QTest::addColumn<ExportFormat>("format");
        QTest::newRow("xls") << ExportFormat::Xls;
        QTest::newRow("rtf") << ExportFormat::Rtf;
    }

    void libreOfficeReads()
    {
        QFETCH(ExportFormat, format);
        const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
        if (soffice.isEmpty())
            QSKIP("LibreOffice is not installed");
        const GridFixture grid = partnersGrid(25);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("lo.") + exportExtension(format));
        GridExporter::exportToFile(grid.table(), format, path);

        const QString to = format == ExportFormat::Xls ? QStringLiteral("csv:Text - txt - csv (StarCalc):9,34,76,1")
                                                       : QStringLiteral("html:HTML (StarWriter)");
        QProcess p;
        p.start(soffice, {QStringLiteral("-env:UserInstallation=file://") + dir.filePath(QStringLiteral("profile")),
                          QStringLiteral("--headless"), QStringLiteral("--convert-to"), to,
                          QStringLiteral("--outdir"), dir.filePath(QStringLiteral("out")), path});
        QVERIFY(p.waitForFinished(180000));
        QList<QStringList> found;
        if (format == ExportFormat::Xls) {
            QFile csv(dir.filePath(QStringLiteral("out/lo.csv")));
            QVERIFY2(csv.open(QIODevice::ReadOnly), p.readAllStandardError().constData());
            for (const QString &line : QString::fromUtf8(csv.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
                QStringList cells = line.split(QLatin1Char('\t'));
                for (QString &cell : cells) {
                    if (cell.size() >= 2 && cell.startsWith(QLatin1Char('"')) && cell.endsWith(QLatin1Char('"')))
                        cell = cell.mid(1, cell.size() - 2).replace(QStringLiteral("\"\""), QStringLiteral("\""));
                }
                found.append(cells);
            }
        } else {
            const QJsonObject o = readBack(QStringLiteral("htm"), dir.filePath(QStringLiteral("out/lo.html")));
            QVERIFY2(!o.contains("error"), qPrintable(o.value("error").toString()));
            for (const QJsonValue &r : o.value("rows").toArray()) {
                QStringList cells;
                for (const QJsonValue &c : r.toArray())
                    cells.append(c.toString().trimmed());
                found.append(cells);
            }
        }
        const auto expected = grid.expected();
        QCOMPARE(found.size(), expected.size());
        for (qsizetype r = 0; r < expected.size(); ++r) {
            QStringList want;
            for (const ExportCell &c : expected.at(r))
                want.append(c.text);
            QCOMPARE(found.at(r), want);
        }
    }
};

QTEST_GUILESS_MAIN(TestExport)
#include "test_export.moc"
