// A side panel beside a client area, separated by a size bar the user drags, or clicks to
// collapse the panel and click again to restore it.
#pragma once

#include <QSplitter>

namespace kvl {

class SizePanel : public QSplitter
{
    Q_OBJECT
public:
    // `side` on the left at `width` pixels, `client` taking the rest; the size bar is 7 pixels.
    SizePanel(QWidget *side, QWidget *client, int width, QWidget *parent = nullptr);

    bool isCollapsed() const;
    void setCollapsed(bool collapsed);
    void toggleCollapsed();
    int sideWidth() const;

protected:
    QSplitterHandle *createHandle() override;

private:
    int m_restoreWidth;
};

} // namespace kvl
