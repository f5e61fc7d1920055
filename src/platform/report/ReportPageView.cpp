// Painting the pages that intersect the exposed area only, so long reports scroll freely.
#include "ReportPageView.h"

#include "ReportPainter.h"

#include <QPaintEvent>
#include <QPainter>

namespace kvl {

ReportPageView::ReportPageView(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("pageView"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ReportPageView::setDocument(const ReportDocument *doc)
{
    m_doc = doc;
    m_highlights.clear();
    resize(sizeHint());
    update();
}

void ReportPageView::setZoom(double pxPerMm)
{
    m_zoom = std::clamp(pxPerMm, 0.3, 20.0);
    resize(sizeHint());
    update();
}

void ReportPageView::setHighlights(int page, const QList<int> &items)
{
    m_highlights.clear();
    if (!items.isEmpty())
        m_highlights.insert(page, items);
    update();
}

QRect ReportPageView::pageRect(int page) const
{
    if (!m_doc)
        return QRect();
    const int w = int(m_doc->pageWidth * m_zoom + 0.5);
    const int h = int(m_doc->pageHeight * m_zoom + 0.5);
    const int x = std::max(kGap, (width() - w) / 2);
    return QRect(x, kGap + page * (h + kGap), w, h);
}

int ReportPageView::pageAt(int y) const
{
    if (!m_doc || m_doc->pages.isEmpty())
        return 0;
    const int h = int(m_doc->pageHeight * m_zoom + 0.5) + kGap;
    return std::clamp((y - kGap / 2) / std::max(1, h), 0, int(m_doc->pages.size()) - 1);
}

QSize ReportPageView::sizeHint() const
{
    if (!m_doc)
        return QSize(200, 200);
    const int w = int(m_doc->pageWidth * m_zoom + 0.5);
    const int h = int(m_doc->pageHeight * m_zoom + 0.5);
    const int n = int(m_doc->pages.size());
    return QSize(w + 2 * kGap, kGap + n * (h + kGap));
}

void ReportPageView::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    p.fillRect(event->rect(), QColor(128, 128, 128));
    if (!m_doc)
        return;
    for (int i = 0; i < m_doc->pages.size(); ++i) {
        const QRect r = pageRect(i);
        if (!r.intersects(event->rect()))
            continue;
        p.fillRect(r.translated(3, 3), QColor(70, 70, 70));
        p.fillRect(r, Qt::white);
        p.save();
        p.translate(r.topLeft());
        p.setClipRect(QRect(QPoint(0, 0), r.size()));
        ReportPainter::paintPage(p, m_doc->pages[i], m_zoom, {}, m_highlights.value(i));
        p.restore();
    }
}

} // namespace kvl
