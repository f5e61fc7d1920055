// Sort text parsing and index sorting.
#include "SortOrder.h"

#include "DbError.h"

#include <algorithm>
#include <numeric>

namespace kvl {

QList<SortOrder::Part> SortOrder::parse(const QString &text)
{
    QList<Part> parts;
    if (text.trimmed().isEmpty())
        return parts;
    for (const QString &raw : text.split(u',')) {
        QString p = raw.trimmed();
        Part part;
        const qsizetype sp = p.lastIndexOf(u' ');
        if (sp > 0) {
            const QString dir = p.mid(sp + 1);
            if (dir.compare(u"DESC", Qt::CaseInsensitive) == 0 || dir.compare(u"ASC", Qt::CaseInsensitive) == 0) {
                part.descending = dir.compare(u"DESC", Qt::CaseInsensitive) == 0;
                p = p.left(sp).trimmed();
            }
        }
        if (p.isEmpty())
            throw DbError(QStringLiteral("排序条件“%1”有误：缺少字段名。").arg(text));
        part.field = p;
        parts << part;
    }
    return parts;
}

void SortOrder::sort(std::vector<quint32> &rows, const std::vector<Keys> &keys)
{
    if (keys.empty() || rows.size() < 2)
        return;
    std::vector<quint32> pos(rows.size());
    std::iota(pos.begin(), pos.end(), 0u);
    if (keys.size() == 1) {
        const qint64 *k = keys[0].values.data();
        if (keys[0].descending)
            std::stable_sort(pos.begin(), pos.end(), [k](quint32 a, quint32 b) { return k[a] > k[b]; });
        else
            std::stable_sort(pos.begin(), pos.end(), [k](quint32 a, quint32 b) { return k[a] < k[b]; });
    } else {
        std::stable_sort(pos.begin(), pos.end(), [&keys](quint32 a, quint32 b) {
            for (const Keys &k : keys) {
                const qint64 x = k.values[a], y = k.values[b];
                if (x != y)
                    return k.descending ? x > y : x < y;
            }
            return false;
        });
    }
    std::vector<quint32> out(rows.size());
    for (size_t i = 0; i < pos.size(); ++i)
        out[i] = rows[pos[i]];
    rows.swap(out);
}

} // namespace kvl
