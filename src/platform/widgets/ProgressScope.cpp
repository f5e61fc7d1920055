// Show on entry, hide (or restore the outer text) on exit.
#include "ProgressScope.h"

#include "ProgressIndicator.h"

namespace kvl {

ProgressScope::ProgressScope(const QString &text)
    : ProgressScope(text, ProgressIndicator::current())
{
}

ProgressScope::ProgressScope(const QString &text, ProgressIndicator *indicator)
    : m_indicator(indicator)
{
    if (!m_indicator)
        return;
    m_wasShown = m_indicator->isProgressShown();
    m_previousText = m_indicator->progressText();
    m_indicator->showProgress(text);
}

ProgressScope::~ProgressScope()
{
    if (!m_indicator)
        return;
    if (m_wasShown)
        m_indicator->showProgress(m_previousText);
    else
        m_indicator->hideProgress();
}

void ProgressScope::setText(const QString &text)
{
    if (m_indicator)
        m_indicator->showProgress(text);
}

} // namespace kvl
