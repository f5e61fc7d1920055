// Labels that name their control: the buddy link and an accessible name equal to the label's
// text, so screen readers announce an edit by the caption a user sees beside it.
#pragma once

class QLabel;
class QWidget;

namespace kvl {

class AccessibleBuddy
{
public:
    // Again after the label's text changes.
    static void attach(QLabel *label, QWidget *control);
};

} // namespace kvl
