// RTF table rows (\trowd ... \cellx, \intbl ... \cell, \row) with \uN? escapes.
#include "RtfWriter.h"

#include "ExportSink.h"

namespace kvl {

namespace {

constexpr int kTwipsPerPixel = 15;      // at 96 dots per inch
constexpr int kDefaultWidthPixels = 100;

void appendEscaped(QByteArray &rtf, const QString &text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x20 && u < 0x80) {
            if (u == '\\' || u == '{' || u == '}')
                rtf += '\\';
            rtf += char(u);
        } else if (u == '\t') {
            rtf += "\\tab ";
        } else if (u == '\n') {
            rtf += "\\line ";
        } else if (u >= 0x80) {
            // \uN takes a signed 16-bit number; '?' is the fallback for old readers (\uc1).
            rtf += "\\u";
            rtf += QByteArray::number(qint16(u));
            rtf += '?';
        }
    }
}

QByteArray alignmentWord(const ExportColumn &column)
{
    const Qt::Alignment h = column.alignment & Qt::AlignHorizontal_Mask;
    if (h & Qt::AlignRight || (column.numeric && !(h & (Qt::AlignHCenter | Qt::AlignLeft))))
        return QByteArrayLiteral("\\qr ");
    if (h & Qt::AlignHCenter)
        return QByteArrayLiteral("\\qc ");
    return QByteArrayLiteral("\\ql ");
}

// The row definition: cell borders and right edges. Each cell draws its bottom and
// right border; the title row adds the top line and the first column the left one,
// which gives the full grid at half the bytes of four borders on every cell.
QByteArray rowDefinition(const QList<ExportColumn> &columns, bool header)
{
    QByteArray def = "\\trowd\\trgaph60\\trleft0";
    if (header)
        def += "\\trhdr";
    int right = 0;
    for (qsizetype i = 0; i < columns.size(); ++i) {
        const ExportColumn &column = columns.at(i);
        right += (column.width > 0 ? column.width : kDefaultWidthPixels) * kTwipsPerPixel;
        if (header)
            def += "\\clbrdrt\\brdrs\\brdrw10";
        if (i == 0)
            def += "\\clbrdrl\\brdrs\\brdrw10";
        def += "\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdrs\\brdrw10\\cellx";
        def += QByteArray::number(right);
    }
    def += "\r\n";
    return def;
}

} // namespace

void RtfWriter::write(const ExportTable &table, ExportSink &out, const ExportProgress &progress)
{
    const qsizetype n = table.columns.size();
    QByteArray head = "{\\rtf1\\ansi\\ansicpg936\\deff0\\uc1\r\n"
                      "{\\fonttbl{\\f0\\fnil\\fcharset134 SimSun;}}\r\n"
                      "\\paperw16838\\paperh11906\\landscape\\margl720\\margr720\\margt720\\margb720\r\n"
                      "\\pard\\plain\\f0\\fs24\\b ";
    appendEscaped(head, table.title);
    head += "\\b0\\par\r\n\\pard\\plain\\f0\\fs18\r\n";
    out.write(head);
    if (n == 0) {
        out.write("\\pard\\par\r\n}");
        return;
    }

    QList<QByteArray> align(n);
    for (qsizetype i = 0; i < n; ++i)
        align[i] = alignmentWord(table.columns.at(i));

    QByteArray rtf = rowDefinition(table.columns, true);
    for (qsizetype i = 0; i < n; ++i) {
        rtf += "\\pard\\intbl\\qc\\b ";
        appendEscaped(rtf, table.columns.at(i).title);
        rtf += "\\b0\\cell\r\n";
    }
    rtf += "\\row\r\n";
    out.write(rtf);

    const QByteArray definition = rowDefinition(table.columns, false);
    auto writeRow = [&](const ExportRow &cells) {
        rtf = definition;
        for (qsizetype i = 0; i < n; ++i) {
            rtf += "\\pard\\intbl";
            rtf += align.at(i);
            appendEscaped(rtf, cellAt(cells, i).text);
            rtf += "\\cell\r\n";
        }
        rtf += "\\row\r\n";
        out.write(rtf);
    };
    forEachRow(table, progress, writeRow);
    for (const ExportRow &footer : table.footerRows)
        writeRow(footer);
    // A document may not end inside a table.
    out.write("\\pard\\par\r\n}");
}

} // namespace kvl
