// FitColumnWidths: every cell's text is looked at, but only the texts that could
// be the widest are measured. A text's width is bounded by the sum of its
// characters' advances (each measured once) plus a margin for rounding and
// kerning; a text whose bound stays below the widest width measured so far cannot
// win and is skipped. The widths that decide are measured exactly, text by text.
#include "FitColumnWidths.h"

#include "DataGrid.h"
#include "Dataset.h"
#include "WaitCursor.h"

#include <QFontMetrics>
#include <QHash>

#include <vector>

namespace kvl {

namespace {

constexpr int kWidestColumn = 500;
constexpr int kMargin = 4;

// Advances of single characters, measured on first use.
class CharWidths
{
public:
    explicit CharWidths(const QFontMetrics &fm) : m_fm(fm), m_widths(0x10000, -1) {}

    // No less than the width of `text`: the advances of its characters, one
    // pixel per character for rounding, and a few for kerning.
    int bound(const QString &text)
    {
        int w = 4 + int(text.size());
        for (QChar c : text) {
            if (c.isSurrogate()) {
                // Half of a character beyond the basic plane: the widest any character gets.
                w += m_fm.maxWidth();
                continue;
            }
            int &cw = m_widths[c.unicode()];
            if (cw < 0)
                cw = m_fm.horizontalAdvance(c);
            w += cw;
        }
        return w;
    }

private:
    const QFontMetrics &m_fm;
    std::vector<int> m_widths;
};

} // namespace

void FitColumnWidths(DataGrid &grid)
{
    WaitCursor wait;
    const QFontMetrics fm(grid.font());
    Dataset *ds = grid.dataset();
    // The rows are read in place by position; the current row never moves, so
    // neither the dataset nor its details need freezing.
    const bool rows = ds && ds->isActive();
    CharWidths chars(fm);
    QList<int> widths;
    for (int c = 0; c < grid.gridColumnCount(); ++c) {
        int w = fm.horizontalAdvance(grid.footerRowCount() > 0 ? grid.footerText(0, c) : QString());
        w = qMax(w, fm.horizontalAdvance(grid.columnTitle(c)));
        const int field = rows ? grid.fieldIndexOf(c) : -1;
        if (field >= 0) {
            QHash<QString, int> measured;
            const int count = ds->recordCount();
            for (int r = 0; r < count; ++r) {
                const QString text = ds->displayTextAt(r, field);
                if (chars.bound(text) <= w)
                    continue;
                auto it = measured.constFind(text);
                if (it == measured.constEnd())
                    it = measured.insert(text, fm.horizontalAdvance(text));
                w = qMax(w, it.value());
            }
        }
        widths << (w > kWidestColumn ? kWidestColumn : w + kMargin);
    }
    grid.setColumnWidths(widths);
}

} // namespace kvl
