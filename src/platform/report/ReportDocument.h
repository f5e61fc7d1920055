// A prepared report: pages of positioned drawing items in millimetres, ready to paint
// on a PDF writer, a printer or an image, and to search.
#pragma once

#include <QLineF>
#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>

namespace kvl {

struct ReportTextItem
{
    QRectF rect;           // the object's box; text is clipped to it
    QStringList lines;     // already broken into lines by the layout
    double lineHeight = 0; // mm per line
    QString family;
    double pointSize = 10;
    bool bold = false;
    bool italic = false;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;

    QString text() const { return lines.join(QString()); }
};

struct ReportLineItem
{
    QLineF line;
    double width = 0.2; // mm
};

struct ReportPage
{
    QList<ReportTextItem> texts;
    QList<ReportLineItem> lines;
};

struct ReportDocument
{
    double pageWidth = 210;  // mm
    double pageHeight = 297;
    QList<ReportPage> pages;
    int masterRows = 0;      // rows walked over all master bands

    // Indices of the text items on a page that contain the text (case-insensitive).
    QList<int> find(int page, const QString &text) const;
    // The text of all items, page by page and top to bottom; for tests and search.
    QStringList pageTexts(int page) const;
};

} // namespace kvl
