// A pane of the status bar: centred text in a sunken frame, optionally of fixed width.
#pragma once

#include <QLabel>

namespace kvl {

class StatusPane : public QLabel
{
    Q_OBJECT
public:
    // width 0: the pane takes what the status bar gives it (add it with a stretch factor).
    explicit StatusPane(QWidget *parent = nullptr, int width = 0);
};

} // namespace kvl
