// Text measurement on a fixed 720 dpi device, independent of any screen.
#include "ReportTextLayout.h"

#include <QFontMetricsF>
#include <QImage>
#include <QTextLayout>

namespace kvl::ReportTextLayout {

namespace {

constexpr double kDpi = 720;
constexpr double kPxPerMm = kDpi / 25.4;

QPaintDevice *device()
{
    static QImage image = [] {
        QImage img(1, 1, QImage::Format_ARGB32);
        img.setDotsPerMeterX(int(kDpi / 0.0254 + 0.5));
        img.setDotsPerMeterY(int(kDpi / 0.0254 + 0.5));
        return img;
    }();
    return &image;
}

} // namespace

double width(const QString &text, const QFont &font)
{
    return QFontMetricsF(font, device()).horizontalAdvance(text) / kPxPerMm;
}

double lineHeight(const QFont &font)
{
    return QFontMetricsF(font, device()).lineSpacing() / kPxPerMm;
}

QStringList breakLines(const QString &text, const QFont &font, double widthMm)
{
    QStringList out;
    const double widthPx = std::max(1.0, widthMm * kPxPerMm);
    // Most cells hold one short line; measuring it is far cheaper than a text layout.
    if (!text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r'))
        && QFontMetricsF(font, device()).horizontalAdvance(text) <= widthPx)
        return {text};
    const QStringList paragraphs = QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")).split(QLatin1Char('\n'));
    for (const QString &para : paragraphs) {
        if (para.isEmpty()) {
            out << QString();
            continue;
        }
        QTextLayout layout(para, font, device());
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(widthPx);
            QString piece = para.mid(line.textStart(), line.textLength());
            // A break at a blank leaves the blank at the end of the line; it is not printed.
            while (piece.endsWith(QLatin1Char(' ')))
                piece.chop(1);
            out << piece;
        }
        layout.endLayout();
    }
    return out;
}

} // namespace kvl::ReportTextLayout
