// The size bar: a splitter handle that also collapses on a click, with an arrow showing which.
#include "SizePanel.h"

#include <QMouseEvent>
#include <QPainter>
#include <QSplitterHandle>

namespace kvl {

namespace {

class SizeBar : public QSplitterHandle
{
public:
    SizeBar(SizePanel *panel)
        : QSplitterHandle(Qt::Horizontal, panel)
        , m_panel(panel)
    {
        setToolTip(QString());
    }

protected:
    void mousePressEvent(QMouseEvent *e) override
    {
        m_pressAt = e->position().toPoint();
        m_dragged = false;
        QSplitterHandle::mousePressEvent(e);
    }
    void mouseMoveEvent(QMouseEvent *e) override
    {
        if ((e->position().toPoint() - m_pressAt).manhattanLength() > 3)
            m_dragged = true;
        if (m_dragged)
            QSplitterHandle::mouseMoveEvent(e);
    }
    void mouseReleaseEvent(QMouseEvent *e) override
    {
        QSplitterHandle::mouseReleaseEvent(e);
        if (!m_dragged && e->button() == Qt::LeftButton)
            m_panel->toggleCollapsed();
    }
    void paintEvent(QPaintEvent *e) override
    {
        QSplitterHandle::paintEvent(e);
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(palette().color(QPalette::Dark));
        const qreal cx = width() / 2.0, cy = height() / 2.0;
        const qreal d = m_panel->isCollapsed() ? 2 : -2;   // points the way a click moves the bar
        const QPointF arrow[] = {{cx - d, cy - 5}, {cx + d, cy}, {cx - d, cy + 5}};
        p.drawPolygon(arrow, 3);
    }

private:
    SizePanel *m_panel;
    QPoint m_pressAt;
    bool m_dragged = false;
};

} // namespace

SizePanel::SizePanel(QWidget *side, QWidget *client, int width, QWidget *parent)
    : QSplitter(Qt::Horizontal, parent)
    , m_restoreWidth(width)
{
    setHandleWidth(7);
    setChildrenCollapsible(false);
    addWidget(side);
    addWidget(client);
    setCollapsible(0, true);
    setCollapsible(1, false);
    setStretchFactor(0, 0);
    setStretchFactor(1, 1);
    setSizes({width, 10000});
    connect(this, &QSplitter::splitterMoved, this, [this] {
        if (sideWidth() > 0)
            m_restoreWidth = sideWidth();
        handle(1)->update();
    });
}

QSplitterHandle *SizePanel::createHandle()
{
    return new SizeBar(this);
}

int SizePanel::sideWidth() const
{
    return sizes().value(0);
}

bool SizePanel::isCollapsed() const
{
    return sideWidth() == 0;
}

void SizePanel::setCollapsed(bool collapsed)
{
    if (collapsed == isCollapsed())
        return;
    const int total = sideWidth() + sizes().value(1);
    if (collapsed) {
        m_restoreWidth = sideWidth();
        setSizes({0, total});
    } else {
        setSizes({m_restoreWidth, qMax(0, total - m_restoreWidth)});
    }
    handle(1)->update();
}

void SizePanel::toggleCollapsed()
{
    setCollapsed(!isCollapsed());
}

} // namespace kvl
