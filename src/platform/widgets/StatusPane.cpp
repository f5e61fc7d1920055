// Common look of the status-bar panes.
#include "StatusPane.h"

namespace kvl {

StatusPane::StatusPane(QWidget *parent, int width)
    : QLabel(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setAlignment(Qt::AlignCenter);
    setTextFormat(Qt::PlainText);
    if (width > 0)
        setFixedWidth(width);
    else
        setMinimumWidth(0);
}

} // namespace kvl
