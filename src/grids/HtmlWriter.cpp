// One HTML table, escaped text, alignment by cell class.
#include "HtmlWriter.h"

#include "ExportSink.h"

namespace kvl {

namespace {

void appendEscaped(QString &html, const QString &text)
{
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '&': html += QLatin1String("&amp;"); break;
        case '<': html += QLatin1String("&lt;"); break;
        case '>': html += QLatin1String("&gt;"); break;
        case '"': html += QLatin1String("&quot;"); break;
        case '\'': html += QLatin1String("&#39;"); break;
        case '\r': break;
        case '\n': html += QLatin1String("<br>"); break;
        default: html += c;
        }
    }
}

const char *cellClass(const ExportColumn &column)
{
    const Qt::Alignment h = column.alignment & Qt::AlignHorizontal_Mask;
    if (h & Qt::AlignRight || (column.numeric && !(h & (Qt::AlignHCenter | Qt::AlignLeft))))
        return " class=\"r\"";
    if (h & Qt::AlignHCenter)
        return " class=\"c\"";
    return "";
}

} // namespace

void HtmlWriter::write(const ExportTable &table, ExportSink &out, const ExportProgress &progress)
{
    const qsizetype n = table.columns.size();
    QList<const char *> classes(n);
    for (qsizetype i = 0; i < n; ++i)
        classes[i] = cellClass(table.columns.at(i));

    QString html;
    html += QLatin1String("<!DOCTYPE html>\r\n<html>\r\n<head>\r\n<meta charset=\"utf-8\">\r\n<title>");
    appendEscaped(html, table.title);
    html += QLatin1String("</title>\r\n<style>\r\n"
                          "table { border-collapse: collapse; }\r\n"
                          "th, td { border: 1px solid #808080; padding: 2px 6px; white-space: nowrap; }\r\n"
                          "th { background: #e8e8e8; }\r\n"
                          ".r { text-align: right; }\r\n"
                          ".c { text-align: center; }\r\n"
                          "</style>\r\n</head>\r\n<body>\r\n<table>\r\n<thead>\r\n<tr>");
    for (qsizetype i = 0; i < n; ++i) {
        html += QLatin1String("<th");
        html += QLatin1String(classes[i]);
        html += QLatin1Char('>');
        appendEscaped(html, table.columns.at(i).title);
        html += QLatin1String("</th>");
    }
    html += QLatin1String("</tr>\r\n</thead>\r\n<tbody>\r\n");

    // Rows are gathered and converted to UTF-8 a few thousand characters at a time.
    auto flush = [&] {
        out.write(html.toUtf8());
        html.clear();
    };
    auto writeRow = [&](const ExportRow &cells) {
        html += QLatin1String("<tr>");
        for (qsizetype i = 0; i < n; ++i) {
            html += QLatin1String("<td");
            html += QLatin1String(classes[i]);
            html += QLatin1Char('>');
            appendEscaped(html, cellAt(cells, i).text);
            html += QLatin1String("</td>");
        }
        html += QLatin1String("</tr>\r\n");
        if (html.size() > 32768)
            flush();
    };
    forEachRow(table, progress, writeRow);
    html += QLatin1String("</tbody>\r\n");
    if (!table.footerRows.isEmpty()) {
        html += QLatin1String("<tfoot>\r\n");
        for (const ExportRow &footer : table.footerRows)
            writeRow(footer);
        html += QLatin1String("</tfoot>\r\n");
    }
    html += QLatin1String("</table>\r\n</body>\r\n</html>\r\n");
    flush();
}

} // namespace kvl
