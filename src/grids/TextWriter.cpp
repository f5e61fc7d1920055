// Tab-separated text in the system's code page.
#include "TextWriter.h"

#include "ExportSink.h"

#include <QStringEncoder>

#ifndef Q_OS_WIN
#include <langinfo.h>
#endif

namespace kvl {

namespace {

// Lines are gathered into one text and encoded a few thousand characters at a
// time; the encoder keeps its state across the pieces.
class LineBuffer
{
public:
    LineBuffer(QStringEncoder &encoder, ExportSink &out) : m_encoder(encoder), m_out(out) {}

    void line(const QList<const QString *> &texts)
    {
        if (!m_first)
            m_text += QLatin1String("\r\n");
        m_first = false;
        for (qsizetype i = 0; i < texts.size(); ++i) {
            if (i > 0)
                m_text += QLatin1Char('\t');
            const qsizetype start = m_text.size();
            m_text += *texts.at(i);
            flatten(start);
        }
        if (m_text.size() > 32768)
            flush();
    }

    void flush()
    {
        const QByteArray bytes = m_encoder.encode(m_text);
        m_out.write(bytes);
        m_text.clear();
    }

private:
    // A tab or line break inside a cell would split it into two cells or two rows.
    void flatten(qsizetype from)
    {
        QChar *c = m_text.data() + from;
        QChar *end = m_text.data() + m_text.size();
        for (; c != end; ++c) {
            if (*c == QLatin1Char('\t') || *c == QLatin1Char('\r') || *c == QLatin1Char('\n'))
                *c = QLatin1Char(' ');
        }
    }

    QStringEncoder &m_encoder;
    ExportSink &m_out;
    QString m_text;
    bool m_first = true;
};

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
    LineBuffer lines(encoder, out);
    lines.line(texts);

    forEachRow(table, progress, [&](const ExportRow &cells) {
        for (qsizetype i = 0; i < n; ++i)
            texts[i] = &cells.at(i).text;
        lines.line(texts);
    });
    for (const ExportRow &footer : table.footerRows) {
        for (qsizetype i = 0; i < n; ++i)
            texts[i] = &cellAt(footer, i).text;
        lines.line(texts);
    }
    lines.flush();
}

} // namespace kvl
