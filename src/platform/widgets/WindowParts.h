// Controls the working windows build alike: the title, tool-bar buttons and
// separators, date pickers.
#pragma once

#include <QKeySequence>
#include <QString>

class QDateEdit;
class QLabel;
class QToolButton;
class QWidget;

namespace kvl {

// The window's caption in large bold type at the top of a working window.
QLabel *MakeTitleLabel(QWidget *parent, const char *name, const QString &caption);
// A flat text button of a window's tool bar, named `name`, with its hint.
QToolButton *MakeToolButton(QWidget *parent, const char *name, const QString &caption, const QString &hint,
                            const QKeySequence &key = {});
// The sunken line between groups of tool buttons.
QWidget *MakeToolSeparator(QWidget *parent, const char *name);
// A date box with a drop-down calendar, "yyyy/MM/dd", today in bold red in the calendar.
QDateEdit *MakeDatePicker(QWidget *parent, const char *name);

} // namespace kvl
