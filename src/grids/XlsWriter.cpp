// BIFF8 workbook writer. The worksheets go to a temporary file first, because the
// shared string table, which precedes them in the stream, is complete only when
// every cell has been seen; then header, globals, worksheets and the compound
// file's tables are written in one pass.
#include "XlsWriter.h"

#include "BiffRecord.h"
#include "CompoundFile.h"
#include "ExportError.h"
#include "ExportSink.h"
#include "XlsStringTable.h"

#include "Value.h"

#include <QTemporaryFile>

namespace kvl {

using namespace biff;

namespace {

constexpr quint16 kBiff8 = 0x0600;
constexpr quint16 kGlobalsSubstream = 0x0005;
constexpr quint16 kWorksheetSubstream = 0x0010;
constexpr quint16 kFirstCustomFormat = 164;
constexpr quint16 kDefaultCellXf = 15;
constexpr quint16 kHeaderXf = 16;
constexpr quint16 kBoldFont = 5;        // font index 4 does not exist in BIFF
constexpr quint8 kHorizontalGeneral = 0, kHorizontalLeft = 1, kHorizontalCentre = 2, kHorizontalRight = 3;

QByteArray bofBody(quint16 substream)
{
    QByteArray b;
    put16(b, kBiff8);
    put16(b, substream);
    put16(b, 0x0DBB);       // build
    put16(b, 0x07CC);       // year
    put32(b, 0);            // file history
    put32(b, 0x00000006);   // lowest version that can read it: BIFF8
    return b;
}

QByteArray fontBody(bool bold)
{
    QByteArray b;
    put16(b, 200);          // 10 points, in twentieths
    put16(b, 0);
    put16(b, 0x7FFF);       // automatic colour
    put16(b, bold ? 700 : 400);
    put16(b, 0);
    put8(b, 0);             // no underline
    put8(b, 0);             // family
    put8(b, 134);           // GB2312 character set
    put8(b, 0);
    putUnicodeString(b, QStringLiteral("宋体"), true);
    return b;
}

QByteArray xfBody(quint16 font, quint16 format, bool style, quint8 horizontal, quint8 usedAttributes)
{
    QByteArray b;
    put16(b, font);
    put16(b, format);
    put16(b, style ? 0xFFF5 : 0x0001);  // locked; a style XF has no parent (0xFFF)
    put8(b, quint8(horizontal | 0x20)); // vertical alignment: bottom
    put8(b, 0);                         // rotation
    put8(b, 0);                         // indent, shrink, reading order
    put8(b, usedAttributes);
    put32(b, 0);                        // borders
    put32(b, 0);
    put16(b, 0x20C0);                   // pattern colours: automatic
    return b;
}

quint8 horizontalOf(const ExportColumn &column)
{
    const Qt::Alignment h = column.alignment & Qt::AlignHorizontal_Mask;
    if (h & Qt::AlignRight)
        return kHorizontalRight;
    if (h & Qt::AlignHCenter)
        return kHorizontalCentre;
    if (column.numeric)
        return kHorizontalRight;
    return h & Qt::AlignLeft ? kHorizontalLeft : kHorizontalGeneral;
}

// The cell formats: one XF for each distinct (number format, alignment) of the columns.
struct CellFormats
{
    QList<QString> customFormats;   // FORMAT records, numbered from 164
    QList<QByteArray> cellXfs;      // XF 17 on
    QList<quint16> columnXf;        // per column
};

CellFormats cellFormatsOf(const QList<ExportColumn> &columns)
{
    CellFormats f;
    QList<QPair<quint16, quint8>> keys;
    for (const ExportColumn &column : columns) {
        quint16 format = 0;
        if (!column.numberFormat.isEmpty()) {
            qsizetype i = f.customFormats.indexOf(column.numberFormat);
            if (i < 0) {
                i = f.customFormats.size();
                f.customFormats.append(column.numberFormat);
            }
            format = quint16(kFirstCustomFormat + i);
        }
        const QPair<quint16, quint8> key(format, horizontalOf(column));
        qsizetype x = keys.indexOf(key);
        if (x < 0) {
            x = keys.size();
            keys.append(key);
            // Used-attribute bits: number format and alignment differ from the style.
            f.cellXfs.append(xfBody(0, key.first, false, key.second, 0x04 | 0x10));
        }
        f.columnXf.append(quint16(kHeaderXf + 1 + x));
    }
    return f;
}

// Cell records of the worksheets, written through a sink; tracks the sheet breaks.
class SheetStream
{
public:
    SheetStream(const ExportTable &table, const CellFormats &formats, XlsStringTable &strings, ExportSink &sink)
        : m_table(table), m_formats(formats), m_strings(strings), m_sink(sink)
    {
        const qint64 contentRows = table.rowCount + table.footerRows.size();
        m_rowsLeft = contentRows;
    }

    void titleRow()
    {
        for (qsizetype c = 0; c < m_table.columns.size(); ++c)
            label(quint16(c), kHeaderXf, m_table.columns.at(c).title);
    }

    void contentRow(const ExportRow &cells)
    {
        if (m_row == XlsWriter::kMaxSheetRows) {
            endSheet();
            beginSheet();
        }
        for (qsizetype c = 0; c < m_table.columns.size(); ++c) {
            const ExportCell &cell = c < cells.size() ? cells.at(c) : m_empty;
            if (cell.text.isEmpty())
                continue;
            const quint16 xf = m_formats.columnXf.at(c);
            if (cell.hasNumber && m_table.columns.at(c).numeric)
                number(quint16(c), xf, double(cell.units) / double(kMoneyScale));
            else
                label(quint16(c), xf, cell.text);
        }
        ++m_row;
        --m_rowsLeft;
    }

    void beginSheet()
    {
        m_sheetOffsets.append(m_sink.position());
        const qint64 rows = 1 + qMin(m_rowsLeft, XlsWriter::kMaxSheetRows - 1);
        QByteArray b;
        appendRecord(b, kBof, bofBody(kWorksheetSubstream));
        for (qsizetype c = 0; c < m_table.columns.size(); ++c) {
            const int width = m_table.columns.at(c).width;
            if (width <= 0)
                continue;
            QByteArray info;
            put16(info, quint16(c));
            put16(info, quint16(c));
            put16(info, quint16(qMin(255 * 256, width * 256 / 7))); // 1/256 of a digit, about 7 pixels
            put16(info, kDefaultCellXf);
            put16(info, 0);
            put16(info, 0);
            appendRecord(b, kColInfo, info);
        }
        QByteArray dim;
        put32(dim, 0);
        put32(dim, quint32(rows));
        put16(dim, 0);
        put16(dim, quint16(m_table.columns.size()));
        put16(dim, 0);
        appendRecord(b, kDimensions, dim);
        m_sink.write(b);
        m_row = 0;
        titleRow();
        m_row = 1;
    }

    void endSheet()
    {
        QByteArray b;
        QByteArray w;
        // Grid lines, headers, zeros, automatic grid colour, outline symbols; the first
        // sheet is also selected and shown.
        put16(w, m_sheetOffsets.size() == 1 ? 0x06B6 : 0x00B6);
        put16(w, 0);            // top row
        put16(w, 0);            // left column
        put16(w, 0x40);         // grid line colour: automatic
        put16(w, 0);
        put16(w, 0);            // page-break preview zoom: default
        put16(w, 0);            // normal zoom: default
        put32(w, 0);
        appendRecord(b, kWindow2, w);
        appendRecord(b, kEof, {});
        m_sink.write(b);
    }

    const QList<qint64> &sheetOffsets() const { return m_sheetOffsets; }

private:
    void label(quint16 column, quint16 xf, const QString &text)
    {
        char r[14];
        set16(r, kLabelSst);
        set16(r + 2, 10);
        set16(r + 4, quint16(m_row));
        set16(r + 6, column);
        set16(r + 8, xf);
        set32(r + 10, m_strings.add(text.size() > XlsWriter::kMaxCellChars ? text.left(XlsWriter::kMaxCellChars) : text));
        m_sink.write(QByteArrayView(r, sizeof r));
    }

    void number(quint16 column, quint16 xf, double value)
    {
        char r[18];
        set16(r, kNumber);
        set16(r + 2, 14);
        set16(r + 4, quint16(m_row));
        set16(r + 6, column);
        set16(r + 8, xf);
        setDouble(r + 10, value);
        m_sink.write(QByteArrayView(r, sizeof r));
    }

    const ExportTable &m_table;
    const CellFormats &m_formats;
    XlsStringTable &m_strings;
    ExportSink &m_sink;
    const ExportCell m_empty;
    QList<qint64> m_sheetOffsets;
    qint64 m_row = 0;
    qint64 m_rowsLeft = 0;
};

QByteArray globals(const ExportTable &table, const CellFormats &formats, const XlsStringTable &strings,
                   const QList<qint64> &sheetOffsets)
{
    QByteArray g;
    appendRecord(g, kBof, bofBody(kGlobalsSubstream));
    QByteArray v;
    put16(v, 1200);                 // text is UTF-16
    appendRecord(g, kCodepage, v);

    QByteArray w1;
    put16(w1, 0x0168);              // window position and size, in twips
    put16(w1, 0x001E);
    put16(w1, 0x4000);
    put16(w1, 0x2000);
    put16(w1, 0x0038);              // horizontal and vertical scroll bars, sheet tabs
    put16(w1, 0);                   // active sheet
    put16(w1, 0);                   // first visible tab
    put16(w1, 1);                   // selected sheets
    put16(w1, 0x0258);              // tab bar width ratio
    appendRecord(g, kWindow1, w1);

    v.clear();
    put16(v, 0);                    // dates count from 1900
    appendRecord(g, kDateMode, v);
    v.clear();
    put16(v, 1);                    // precision as displayed: off
    appendRecord(g, kPrecision, v);

    for (int i = 0; i < 4; ++i)
        appendRecord(g, kFont, fontBody(false));
    appendRecord(g, kFont, fontBody(true));   // index 5

    for (qsizetype i = 0; i < formats.customFormats.size(); ++i) {
        QByteArray f;
        put16(f, quint16(kFirstCustomFormat + i));
        putUnicodeString(f, formats.customFormats.at(i), false);
        appendRecord(g, kFormat, f);
    }

    // Excel's fifteen style XFs (Normal, then the outline-level styles), the default
    // cell XF 15, the title cells' XF 16, then the columns' own.
    appendRecord(g, kXf, xfBody(0, 0, true, kHorizontalGeneral, 0x00));
    for (int i = 1; i < 15; ++i)
        appendRecord(g, kXf, xfBody(i <= 2 ? 1 : i <= 4 ? 2 : 0, 0, true, kHorizontalGeneral, 0xF4));
    appendRecord(g, kXf, xfBody(0, 0, false, kHorizontalGeneral, 0x00));
    appendRecord(g, kXf, xfBody(kBoldFont, 0, false, kHorizontalCentre, 0x08 | 0x10));
    for (const QByteArray &xf : formats.cellXfs)
        appendRecord(g, kXf, xf);

    QByteArray style;
    put16(style, 0x8000);           // built-in style on XF 0
    put8(style, 0);                 // Normal
    put8(style, 0xFF);
    appendRecord(g, kStyle, style);

    QList<qsizetype> positions;
    for (qsizetype i = 0; i < sheetOffsets.size(); ++i) {
        QByteArray sheet;
        put32(sheet, 0);            // patched below
        put16(sheet, 0);            // visible worksheet
        putUnicodeString(sheet, XlsWriter::sheetName(table.title, int(i + 1)), true);
        positions.append(g.size() + 4);
        appendRecord(g, kBoundSheet, sheet);
    }
    g.append(strings.records(g.size()));
    appendRecord(g, kEof, {});

    for (qsizetype i = 0; i < sheetOffsets.size(); ++i)
        set32(g.data() + positions.at(i), quint32(g.size() + sheetOffsets.at(i)));
    return g;
}

} // namespace

QString XlsWriter::sheetName(const QString &title, int number)
{
    constexpr qsizetype kMaxName = 31;
    QString name;
    for (const QChar c : title) {
        if (c.unicode() < 0x20)
            continue;
        name += QStringLiteral("[]:*?/\\").contains(c) ? QLatin1Char('_') : c;
    }
    name = name.trimmed();
    while (name.startsWith(QLatin1Char('\'')))
        name.remove(0, 1);
    if (name.isEmpty())
        name = QStringLiteral("Sheet");
    const QString suffix = number > 1 ? QStringLiteral(" (%1)").arg(number) : QString();
    qsizetype keep = kMaxName - suffix.size();
    if (name.size() > keep) {
        if (name.at(keep - 1).isHighSurrogate())
            --keep;
        name.truncate(keep);
    }
    while (name.endsWith(QLatin1Char('\'')))
        name.chop(1);
    if (name.isEmpty())
        name = QStringLiteral("Sheet");
    return name + suffix;
}

void XlsWriter::write(const ExportTable &table, ExportSink &out, const ExportProgress &progress)
{
    if (table.columns.size() > kMaxColumns)
        throw ExportError(QStringLiteral("表格有%1列，Excel表格最多只能有%2列。").arg(table.columns.size()).arg(kMaxColumns));

    const CellFormats formats = cellFormatsOf(table.columns);
    XlsStringTable strings;

    QTemporaryFile sheets;
    if (!sheets.open())
        throw ExportError(QStringLiteral("无法创建临时文件：%1").arg(sheets.errorString()));
    QList<qint64> sheetOffsets;
    {
        // Failures here are failures to export this file: messages name the user's file.
        ExportSink sheetSink(&sheets, out.fileName());
        SheetStream stream(table, formats, strings, sheetSink);
        stream.beginSheet();
        forEachRow(table, progress, [&](const ExportRow &cells) { stream.contentRow(cells); });
        for (const ExportRow &footer : table.footerRows)
            stream.contentRow(footer);
        stream.endSheet();
        sheetSink.flush();
        if (!sheets.flush())
            throw ExportError(QStringLiteral("写入文件“%1”失败：%2").arg(out.fileName(), sheets.errorString()));
        sheetOffsets = stream.sheetOffsets();
    }

    const QByteArray global = globals(table, formats, strings, sheetOffsets);
    const qint64 content = global.size() + sheets.size();
    if (content > qint64(0xFFFFFFFF) - CompoundFile::kSectorSize)
        throw ExportError(QStringLiteral("数据太多，无法导出为Excel表格。"));
    // A stream this short would belong in the mini stream; zeros after the last EOF
    // make it long enough for an ordinary one.
    const quint32 streamSize = quint32(qMax<qint64>(content, CompoundFile::kMiniStreamCutoff));
    const CompoundFile frame(QStringLiteral("Workbook"), streamSize);

    out.write(frame.header());
    out.write(global);
    if (!sheets.seek(0))
        throw ExportError(QStringLiteral("无法读取临时文件：%1").arg(sheets.errorString()));
    QByteArray chunk(1 << 20, Qt::Uninitialized);
    for (;;) {
        const qint64 n = sheets.read(chunk.data(), chunk.size());
        if (n < 0)
            throw ExportError(QStringLiteral("无法读取临时文件：%1").arg(sheets.errorString()));
        if (n == 0)
            break;
        out.write(QByteArrayView(chunk.constData(), n));
    }
    out.writeZeros(streamSize - content);
    out.write(frame.trailer());
}

} // namespace kvl
