// Tab-separated text in the system's code page.
#include "TextWriter.h"

#include "ExportSink.h"

#include <QStringEncoder>

#ifndef Q_OS_WIN
#include <langinfo.h>
#endif

namespace kvl {

namespace {

// A tab or line break inside a cell would split it into two cells or two rows.
QString flattened(const QString &text)
{
    QString s = text;
    for (QChar &c : s) {
        if (c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            c = QLatin1Char(' ');
    }
    return s;
}

void writeLine(const QList<const QString *> &texts, QStringEncoder &encoder, ExportSink &out, bool first)
{
    QString line;
    if (!first)
        line += QLatin1String("\r\n");
    for (qsizetype i = 0; i < texts.size(); ++i) {
        if (i > 0)
            line += QLatin1Char('\t');
        line += flattened(*texts.at(i));
    }
    const QByteArray bytes = encoder.encode(line);
    out.write(bytes);
}

} // namespace

TextWriter::TextWriter(const QByteArray &encodingName)
    : m_encodingName(encodingName)
{
}

QByteArray TextWriter::systemEncodingName()
{
#ifdef Q_OS_WIN
    return QByteArrayLiteral("System");
#else
    // QStringConverter::System means UTF-8 on every Unix, whatever the locale says;
    // the locale's own character set is the system's code page here.
    QByteArray codeset(nl_langinfo(CODESET));
    if (codeset.isEmpty() || codeset == "ANSI_X3.4-1968" || codeset.compare("ASCII", Qt::CaseInsensitive) == 0
        || codeset.compare("US-ASCII", Qt::CaseInsensitive) == 0)
        return QByteArrayLiteral("UTF-8");
    return codeset;
#endif
}

void TextWriter::write(const ExportTable &table, ExportSink &out, const ExportProgress &progress)
{
    const QByteArray name = m_encodingName.isEmpty() ? systemEncodingName() : m_encodingName;
    QStringEncoder encoder = name == "System" ? QStringEncoder(QStringConverter::System)
                                              : QStringEncoder(name.constData());
    if (!encoder.isValid())
        encoder = QStringEncoder(QStringConverter::Utf8);

    const qsizetype n = table.columns.size();
    QList<const QString *> texts(n);
    for (qsizetype i = 0; i < n; ++i)
        texts[i] = &table.columns.at(i).title;
    writeLine(texts, encoder, out, true);

    forEachRow(table, progress, [&](const ExportRow &cells) {
        for (qsizetype i = 0; i < n; ++i)
            texts[i] = &cells.at(i).text;
        writeLine(texts, encoder, out, false);
    });
    for (const ExportRow &footer : table.footerRows) {
        for (qsizetype i = 0; i < n; ++i)
            texts[i] = &cellAt(footer, i).text;
        writeLine(texts, encoder, out, false);
    }
}

} // namespace kvl
