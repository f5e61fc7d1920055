// Status pane showing a small picture that acts as a link: hand cursor, hint, clicked().
#pragma once

#include "StatusPane.h"

namespace kvl {

class LinkPane : public StatusPane
{
    Q_OBJECT
public:
    LinkPane(const QPixmap &picture, const QString &hint, QWidget *parent = nullptr,
             int width = 23);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool m_pressed = false;
};

} // namespace kvl
