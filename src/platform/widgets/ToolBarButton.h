// The look of a tool-bar button and separator in the program's list windows and pickers.
#pragma once

#include <QString>

class QFrame;
class QToolButton;
class QWidget;

namespace kvl {

// A square button with the caption's first character drawn as its icon, the caption
// under it and the hint as its tool tip; it takes no focus, so the grid keeps it.
QToolButton *ToolBarButton(QWidget *parent, const QString &name, const QString &caption, const QString &hint);

// The sunken vertical line between groups of buttons.
QFrame *ToolBarSeparator(QWidget *parent, const QString &name);

} // namespace kvl
