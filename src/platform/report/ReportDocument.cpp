// Searching a prepared report.
#include "ReportDocument.h"

namespace kvl {

QList<int> ReportDocument::find(int page, const QString &text) const
{
    QList<int> out;
    if (page < 0 || page >= pages.size() || text.isEmpty())
        return out;
    const QList<ReportTextItem> &items = pages[page].texts;
    for (int i = 0; i < items.size(); ++i)
        if (items[i].text().contains(text, Qt::CaseInsensitive))
            out << i;
    return out;
}

QStringList ReportDocument::pageTexts(int page) const
{
    QStringList out;
    if (page < 0 || page >= pages.size())
        return out;
    for (const ReportTextItem &t : pages[page].texts)
        out << t.text();
    return out;
}

} // namespace kvl
