// A report template: page setup, bands and their objects, read from and written to
// the versioned JSON bytes kept in table report. Lengths are millimetres, font sizes points.
#pragma once

#include <QByteArray>
#include <QList>
#include <QRectF>
#include <QString>

namespace kvl {

struct ReportMargins
{
    double left = 15, top = 15, right = 15, bottom = 15;
    bool operator==(const ReportMargins &) const = default;
};

struct ReportPageSetup
{
    enum class Orientation { Portrait, Landscape };
    QString paper = QStringLiteral("A4"); // "A4", "A5", "B5", "Letter" or "custom"
    double width = 210;                   // portrait width and height; custom paper only
    double height = 297;                  // (named papers take their own size)
    Orientation orientation = Orientation::Portrait;
    ReportMargins margins;
    double offsetX = 0; // print offsets: shift on the printer only, not in preview or PDF
    double offsetY = 0;

    // The sheet as printed, orientation applied.
    double pageWidth() const;
    double pageHeight() const;
    static bool paperSize(const QString &paper, double *w, double *h);
    bool operator==(const ReportPageSetup &) const = default;
};

struct ReportFont
{
    QString family = QStringLiteral("Noto Sans CJK SC");
    double size = 10;
    bool bold = false;
    bool italic = false;
    bool operator==(const ReportFont &) const = default;
};

struct ReportObject
{
    enum class Type { Text, Line, Rect };
    enum class HAlign { Left, Center, Right };
    enum class VAlign { Top, Center, Bottom };
    enum Frame { FrameLeft = 1, FrameTop = 2, FrameRight = 4, FrameBottom = 8, FrameAll = 15 };

    Type type = Type::Text;
    QRectF rect;            // text and rectangle; for a line, from topLeft to bottomRight
    QString text;           // literal text with [expressions]
    QString format;         // number or date format of the expression parts
    ReportFont font;
    HAlign align = HAlign::Left;
    VAlign valign = VAlign::Center;
    bool wrap = false;
    int frame = 0;          // Frame bits
    double lineWidth = 0.2; // frame, line and rectangle pen

    bool operator==(const ReportObject &) const = default;
};

struct ReportBand
{
    enum class Type {
        ReportTitle, PageHeader, ColumnHeader, GroupHeader, MasterData, DetailData,
        DetailFooter, GroupFooter, Summary, PageFooter
    };
    Type type = Type::MasterData;
    double height = 6;
    QString link;      // master and detail data
    QString condition; // group header and footer: the expression whose change opens a group
    QString visible;   // expression; empty means always shown
    bool stretch = false; // grows to fit wrapped text
    bool repeat = false;  // group header: printed again at the top of each page its group runs onto
    QList<ReportObject> objects;

    bool operator==(const ReportBand &) const = default;
};

class ReportTemplate
{
public:
    static constexpr int kVersion = 1;

    // Throws ReportTemplateError naming the report when the bytes are not a template
    // of this version or break its rules.
    static ReportTemplate fromJson(const QByteArray &bytes, const QString &reportName);
    QByteArray toJson() const;

    QString name;
    ReportPageSetup page;
    QList<ReportBand> bands;

    bool operator==(const ReportTemplate &) const = default;

    static QString bandTypeName(ReportBand::Type t);
};

} // namespace kvl
