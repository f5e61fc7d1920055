// Scope guard: the progress window shows a text while the guard lives and hides on every path.
#pragma once

#include <QString>

namespace kvl {

class ProgressIndicator;

class ProgressScope
{
public:
    // Uses the program's progress window; without one the guard does nothing.
    explicit ProgressScope(const QString &text);
    ProgressScope(const QString &text, ProgressIndicator *indicator);
    // A nested guard gives the outer one its text back instead of hiding the window.
    ~ProgressScope();
    ProgressScope(const ProgressScope &) = delete;
    ProgressScope &operator=(const ProgressScope &) = delete;

    // Changes the text while the work runs.
    void setText(const QString &text);

private:
    ProgressIndicator *m_indicator;
    bool m_wasShown = false;
    QString m_previousText;
};

} // namespace kvl
