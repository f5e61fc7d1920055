// What a progress window offers to the ProgressScope guard; the program has one of them.
#pragma once

#include <QString>

namespace kvl {

class ProgressIndicator
{
public:
    virtual ~ProgressIndicator();

    // Shows the text and paints at once: the work that follows blocks the event loop.
    virtual void showProgress(const QString &text) = 0;
    virtual void hideProgress() = 0;
    virtual bool isProgressShown() const = 0;
    virtual QString progressText() const = 0;

    // The program's progress window, or null (before it exists, and in tests without one).
    static ProgressIndicator *current();
    static void setCurrent(ProgressIndicator *indicator);
};

} // namespace kvl
