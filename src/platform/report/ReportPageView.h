// The preview's canvas: every page of a prepared report stacked top to bottom at one zoom.
#pragma once

#include "ReportDocument.h"

#include <QHash>
#include <QWidget>

namespace kvl {

class ReportPageView : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kGap = 12; // pixels around and between pages

    explicit ReportPageView(QWidget *parent = nullptr);

    void setDocument(const ReportDocument *doc);
    void setZoom(double pxPerMm);
    double zoom() const { return m_zoom; }
    void setHighlights(int page, const QList<int> &items);
    QList<int> highlights(int page) const { return m_highlights.value(page); }
    // The page's rectangle in the canvas, and the page shown at a canvas height.
    QRect pageRect(int page) const;
    int pageAt(int y) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const ReportDocument *m_doc = nullptr;
    double m_zoom = 2;
    QHash<int, QList<int>> m_highlights;
};

} // namespace kvl
