// The report layout. Page breaks happen between bands: a band that does not fit on
// what is left of the page starts the next one, after the page footer, page header
// and (while data bands run) the column header.
#include "ReportEngine.h"

#include "ReportPainter.h"
#include "ReportText.h"
#include "ReportTextLayout.h"

#include <QHash>
#include <memory>

namespace kvl {

namespace {

using Node = ReportExpression::Node;
using BandType = ReportBand::Type;

constexpr double kPadding = 0.8; // mm between a cell's frame and its text
constexpr double kMinShrink = 0.6; // an overflowing single line shrinks at most to this

struct Group
{
    int header = -1;
    int footer = -1;
    ReportExpression condition;
};

struct Section
{
    int master = -1;
    int detail = -1;
    int detailFooter = -1;
    QList<Group> groups;
};

// Which rows feed one SUM / COUNT call and when it starts again.
struct Accumulator
{
    enum Scope { Report, Page, Group, Detail };
    const Node *call = nullptr;
    Scope scope = Report;
    int section = -1; // -1: every section
    int level = 0;    // Group scope
    QStringList links;
    qint64 count = 0;
    Value sum;

    void reset()
    {
        count = 0;
        sum = Value();
    }
};

struct PreparedBand
{
    QList<ReportText> texts; // one per object; empty for lines and rectangles
    ReportExpression visible;
    bool hasAggregates = false;
    bool hasPageRefs = false;
};

struct LaidOut
{
    double height = 0;
    QList<ReportTextItem> texts;
    QList<ReportLineItem> lines;
};

bool mentionsName(const Node &n, const QString &name)
{
    if (n.kind == Node::Name && n.name.compare(name, Qt::CaseInsensitive) == 0)
        return true;
    for (const auto &a : n.args)
        if (a && mentionsName(*a, name))
            return true;
    return false;
}

Value addValues(const Value &a, const Value &b)
{
    if (b.isNull())
        return a;
    if (a.isNull())
        return b.type() == ValueType::Text ? Value::real(b.toDouble()) : b;
    if (a.type() == ValueType::Float || b.type() == ValueType::Float || b.type() == ValueType::Text)
        return Value::real(a.toDouble() + b.toDouble());
    if (a.type() == ValueType::Money || b.type() == ValueType::Money)
        return Value::money(a.moneyUnits() + b.moneyUnits());
    return Value::integer(a.toInt() + b.toInt());
}

class Engine : public ReportExpressionContext
{
public:
    Engine(const ReportTemplate &tpl, const ReportDataRegistry &data, const ReportVariables &vars)
        : m_tpl(tpl), m_data(data), m_vars(vars)
    {
        m_doc.pageWidth = tpl.page.pageWidth();
        m_doc.pageHeight = tpl.page.pageHeight();
        m_left = tpl.page.margins.left;
        m_top = tpl.page.margins.top;
        m_bottom = m_doc.pageHeight - tpl.page.margins.bottom;
        prepareBands();
        buildSections();
        collectAggregates();
    }

    ReportDocument run()
    {
        startPage(true);
        for (int b : m_titles)
            printBand(b);
        m_inData = true;
        for (int b : m_columnHeaders)
            printBand(b);
        for (int s = 0; s < m_sections.size(); ++s)
            walkSection(s);
        m_inData = false;
        for (int b : m_summaries)
            printBand(b);
        finishPage();

        const QString marker = ReportEngine::totalPagesMarker();
        const QString total = QString::number(m_doc.pages.size());
        for (ReportPage &p : m_doc.pages)
            for (ReportTextItem &t : p.texts)
                for (QString &line : t.lines)
                    line.replace(marker, total);
        return m_doc;
    }

    // --- ReportExpressionContext
    Value field(const QString &link, const QString &field) const override
    {
        if (m_snapshot && link == m_snapshotLink)
            return m_snapshot->value(field);
        if (const ReportDataSource *src = m_data.source(link))
            return src->eof() ? Value() : src->value(field);
        return Value();
    }
    Value name(const QString &name) const override
    {
        if (name.compare(QLatin1String("PAGE#"), Qt::CaseInsensitive) == 0)
            return Value::integer(m_doc.pages.size());
        if (name.compare(QLatin1String("TOTALPAGES"), Qt::CaseInsensitive) == 0)
            return Value(ReportEngine::totalPagesMarker());
        if (name.compare(QLatin1String("LINE#"), Qt::CaseInsensitive) == 0)
            return Value::integer(m_line);
        if (name.compare(QLatin1String("DATE"), Qt::CaseInsensitive) == 0)
            return Value::dateTime(QDateTime(QDate::currentDate(), QTime(0, 0)));
        const auto it = m_vars.constFind(name);
        if (it != m_vars.constEnd())
            return it.value();
        // Template authors write ShowMX or showmx alike.
        for (auto v = m_vars.constBegin(); v != m_vars.constEnd(); ++v)
            if (v.key().compare(name, Qt::CaseInsensitive) == 0)
                return v.value();
        return Value();
    }
    Value aggregate(const Node &call) const override
    {
        const Accumulator *acc = m_accumulatorOf.value(std::make_pair(m_currentBand, &call), nullptr);
        if (!acc)
            return Value();
        if (call.name == QLatin1String("COUNT"))
            return Value::integer(acc->count);
        return acc->sum.isNull() ? Value::integer(0) : acc->sum;
    }

private:
    void prepareBands()
    {
        for (int i = 0; i < m_tpl.bands.size(); ++i) {
            const ReportBand &b = m_tpl.bands[i];
            PreparedBand p;
            for (const ReportObject &o : b.objects) {
                p.texts << (o.type == ReportObject::Type::Text ? ReportText::parse(o.text) : ReportText());
                for (const ReportText::Part &part : p.texts.last().parts()) {
                    if (!part.isExpression || !part.expression.root())
                        continue;
                    if (!part.expression.aggregates().isEmpty())
                        p.hasAggregates = true;
                    if (mentionsName(*part.expression.root(), QStringLiteral("PAGE#")))
                        p.hasPageRefs = true;
                }
            }
            QString vis = b.visible.trimmed();
            if (vis.startsWith(QLatin1Char('[')) && vis.endsWith(QLatin1Char(']')))
                vis = vis.mid(1, vis.size() - 2);
            if (!vis.isEmpty())
                p.visible = ReportExpression::parse(vis);
            m_bands << p;
            // Several bands of one kind print in their order, each under its own
            // visibility, so a template can offer two headings for two modes.
            switch (b.type) {
            case BandType::ReportTitle: m_titles << i; break;
            case BandType::PageHeader: m_pageHeaders << i; break;
            case BandType::ColumnHeader: m_columnHeaders << i; break;
            case BandType::Summary: m_summaries << i; break;
            case BandType::PageFooter: m_pageFooters << i; break;
            default: break;
            }
        }
    }

    // Group headers before a master band and the footers after it belong to it.
    void buildSections()
    {
        QList<Group> pending;
        for (int i = 0; i < m_tpl.bands.size(); ++i) {
            const ReportBand &b = m_tpl.bands[i];
            if (b.type == BandType::GroupHeader) {
                Group g;
                g.header = i;
                g.condition = ReportExpression::parse(stripBrackets(b.condition));
                pending << g;
            } else if (b.type == BandType::MasterData) {
                Section s;
                s.master = i;
                s.groups = pending;
                pending.clear();
                m_sections << s;
            } else if (!m_sections.isEmpty()) {
                Section &s = m_sections.last();
                if (b.type == BandType::DetailData && s.detail < 0)
                    s.detail = i;
                else if (b.type == BandType::DetailFooter && s.detailFooter < 0)
                    s.detailFooter = i;
                else if (b.type == BandType::GroupFooter)
                    for (Group &g : s.groups)
                        if (m_tpl.bands[g.header].condition == b.condition && g.footer < 0)
                            g.footer = i;
            }
        }
        for (int s = 0; s < m_sections.size(); ++s) {
            m_sectionOf.insert(m_sections[s].master, s);
            if (m_sections[s].detail >= 0)
                m_sectionOf.insert(m_sections[s].detail, s);
            if (m_sections[s].detailFooter >= 0)
                m_sectionOf.insert(m_sections[s].detailFooter, s);
            for (int l = 0; l < m_sections[s].groups.size(); ++l) {
                const Group &g = m_sections[s].groups[l];
                m_groupOf.insert(g.header, std::make_pair(s, l));
                if (g.footer >= 0)
                    m_groupOf.insert(g.footer, std::make_pair(s, l));
            }
        }
    }

    static QString stripBrackets(QString t)
    {
        t = t.trimmed();
        if (t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']')))
            t = t.mid(1, t.size() - 2);
        return t;
    }

    void collectAggregates()
    {
        for (int i = 0; i < m_bands.size(); ++i) {
            const BandType type = m_tpl.bands[i].type;
            for (const ReportText &text : m_bands[i].texts) {
                for (const ReportText::Part &part : text.parts()) {
                    if (!part.isExpression)
                        continue;
                    for (const Node *call : part.expression.aggregates()) {
                        auto acc = std::make_unique<Accumulator>();
                        acc->call = call;
                        if (!call->args.isEmpty() && call->args.first())
                            acc->links = ReportExpression::linksOf(*call->args.first());
                        switch (type) {
                        case BandType::GroupHeader:
                        case BandType::GroupFooter: {
                            const auto g = m_groupOf.value(i);
                            acc->scope = Accumulator::Group;
                            acc->section = g.first;
                            acc->level = g.second;
                            break;
                        }
                        case BandType::DetailData:
                        case BandType::DetailFooter:
                            acc->scope = Accumulator::Detail;
                            acc->section = m_sectionOf.value(i, -1);
                            break;
                        case BandType::MasterData:
                            acc->section = m_sectionOf.value(i, -1);
                            break;
                        case BandType::PageHeader:
                        case BandType::PageFooter:
                            acc->scope = Accumulator::Page;
                            break;
                        default:
                            break;
                        }
                        m_accumulatorOf.insert(std::make_pair(i, call), acc.get());
                        m_accumulators.push_back(std::move(acc));
                    }
                }
            }
        }
    }

    // A master row feeds the sums over its own link (and COUNT() without argument);
    // a detail row feeds the sums that read the detail link.
    void feed(int section, bool detailRow)
    {
        const Section &s = m_sections[section];
        const QString masterLink = m_tpl.bands[s.master].link;
        const QString detailLink = s.detail >= 0 ? m_tpl.bands[s.detail].link : QString();
        for (const auto &acc : m_accumulators) {
            if (acc->section >= 0 && acc->section != section)
                continue;
            bool take;
            if (acc->links.isEmpty())
                take = detailRow == (acc->scope == Accumulator::Detail);
            else if (detailRow)
                take = !detailLink.isEmpty() && acc->links.contains(detailLink);
            else
                take = acc->links.contains(masterLink) && (detailLink.isEmpty() || !acc->links.contains(detailLink));
            if (!take)
                continue;
            const Node &call = *acc->call;
            const Value v = call.args.isEmpty() || !call.args.first() ? Value()
                                                                      : ReportExpression::evaluate(*call.args.first(), *this);
            if (call.name == QLatin1String("COUNT")) {
                if (call.args.isEmpty() || !v.isNull())
                    ++acc->count;
            } else {
                acc->sum = addValues(acc->sum, v);
                ++acc->count;
            }
        }
    }

    void resetScope(Accumulator::Scope scope, int section = -1, int fromLevel = 0)
    {
        for (const auto &acc : m_accumulators)
            if (acc->scope == scope && (section < 0 || acc->section == section) && acc->level >= fromLevel)
                acc->reset();
    }

    bool isVisible(int band) const
    {
        const ReportExpression &e = m_bands[band].visible;
        if (e.isEmpty())
            return true;
        const Value v = e.evaluate(*this);
        // An expression that names nothing known leaves the band shown.
        return v.isNull() || v.toBool();
    }

    QString fieldFormat(const QString &link, const QString &field) const
    {
        const ReportDataSource *src = m_data.source(link);
        return src ? src->displayFormat(field) : QString();
    }

    LaidOut layoutBand(int index)
    {
        m_currentBand = index;
        const ReportBand &band = m_tpl.bands[index];
        const PreparedBand &prep = m_bands[index];
        LaidOut out;
        out.height = band.height;

        struct Cell
        {
            const ReportObject *obj;
            ReportTextItem item;
            double needed;
        };
        QList<Cell> cells;
        for (int k = 0; k < band.objects.size(); ++k) {
            const ReportObject &o = band.objects[k];
            if (o.type != ReportObject::Type::Text)
                continue;
            const QString text = prep.texts[k].evaluate(*this, o.format, [this](const QString &l, const QString &f) {
                return fieldFormat(l, f);
            });
            Cell c{&o, {}, 0};
            ReportTextItem &it = c.item;
            it.family = o.font.family;
            it.pointSize = o.font.size;
            it.bold = o.font.bold;
            it.italic = o.font.italic;
            const double innerW = std::max(0.0, o.rect.width() - 2 * kPadding);
            QFont font = fontOf(o.font);
            if (o.wrap) {
                it.lines = ReportTextLayout::breakLines(text, font, innerW);
            } else {
                it.lines = QStringList{text};
                // An amount cut off at the cell's edge would misstate it; shrink instead.
                const double w = ReportTextLayout::width(text, font);
                if (w > innerW && innerW > 0) {
                    it.pointSize = std::max(it.pointSize * kMinShrink, it.pointSize * innerW / w * 0.98);
                    font = ReportPainter::font(it.family, it.pointSize, it.bold, it.italic);
                }
            }
            it.lineHeight = it.pointSize == o.font.size ? lineHeightOf(o.font) : ReportTextLayout::lineHeight(font);
            c.needed = it.lineHeight * it.lines.size() + 0.6;
            Qt::Alignment a;
            a |= o.align == ReportObject::HAlign::Left ? Qt::AlignLeft
                 : o.align == ReportObject::HAlign::Center ? Qt::AlignHCenter : Qt::AlignRight;
            a |= o.valign == ReportObject::VAlign::Top ? Qt::AlignTop
                 : o.valign == ReportObject::VAlign::Center ? Qt::AlignVCenter : Qt::AlignBottom;
            it.alignment = a;
            cells << c;
        }

        // A stretching band grows to its tallest wrapped cell; objects that reach the
        // band's bottom grow with it so ruled columns stay joined.
        double grow = 0;
        if (band.stretch)
            for (const Cell &c : cells)
                if (c.obj->wrap)
                    grow = std::max(grow, c.needed - c.obj->rect.height());
        // Never taller than a page can hold: the rest of a very long text is cut.
        grow = std::min(grow, std::max(0.0, m_bottom - footerHeight() - m_pageTop - band.height));
        out.height += grow;
        auto grown = [&](const QRectF &r) {
            QRectF g = r;
            if (grow > 0 && r.bottom() >= band.height - 0.01)
                g.setBottom(r.bottom() + grow);
            return g;
        };

        for (Cell &c : cells) {
            const ReportObject &o = *c.obj;
            const QRectF box = grown(o.rect);
            ReportTextItem &it = c.item;
            const double innerH = std::max(0.0, box.height() - 0.4);
            // Lines that do not fit are dropped, never drawn over the next cell.
            const int fit = std::max(1, int((innerH + 0.01) / it.lineHeight));
            if (it.lines.size() > fit)
                it.lines = it.lines.mid(0, fit);
            it.rect = QRectF(box.x() + kPadding, box.y() + 0.2, std::max(0.0, box.width() - 2 * kPadding), innerH);
            out.texts << it;
            addFrame(out, box, o.frame, o.lineWidth);
        }
        for (const ReportObject &o : band.objects) {
            if (o.type == ReportObject::Type::Line)
                out.lines << ReportLineItem{QLineF(o.rect.topLeft(), o.rect.bottomRight()), o.lineWidth};
            else if (o.type == ReportObject::Type::Rect)
                addFrame(out, grown(o.rect), ReportObject::FrameAll, o.lineWidth);
        }
        return out;
    }

    // Fonts and their line heights are made once per distinct template font.
    static QString fontKey(const ReportFont &f)
    {
        return QStringLiteral("%1|%2|%3|%4").arg(f.family).arg(f.size).arg(f.bold).arg(f.italic);
    }
    const QFont &fontOf(const ReportFont &f)
    {
        const QString key = fontKey(f);
        auto it = m_fonts.find(key);
        if (it == m_fonts.end())
            it = m_fonts.insert(key, ReportPainter::font(f.family, f.size, f.bold, f.italic));
        return it.value();
    }
    double lineHeightOf(const ReportFont &f)
    {
        const QString key = fontKey(f);
        auto it = m_lineHeights.find(key);
        if (it == m_lineHeights.end())
            it = m_lineHeights.insert(key, ReportTextLayout::lineHeight(fontOf(f)));
        return it.value();
    }

    static void addFrame(LaidOut &out, const QRectF &r, int frame, double width)
    {
        if (frame & ReportObject::FrameLeft)
            out.lines << ReportLineItem{QLineF(r.topLeft(), r.bottomLeft()), width};
        if (frame & ReportObject::FrameTop)
            out.lines << ReportLineItem{QLineF(r.topLeft(), r.topRight()), width};
        if (frame & ReportObject::FrameRight)
            out.lines << ReportLineItem{QLineF(r.topRight(), r.bottomRight()), width};
        if (frame & ReportObject::FrameBottom)
            out.lines << ReportLineItem{QLineF(r.bottomLeft(), r.bottomRight()), width};
    }

    void place(const LaidOut &b, double y)
    {
        ReportPage &page = m_doc.pages.last();
        const QPointF shift(m_left, y);
        for (ReportTextItem t : b.texts) {
            t.rect.translate(shift);
            page.texts << t;
        }
        for (ReportLineItem l : b.lines) {
            l.line.translate(shift);
            page.lines << l;
        }
    }

    double footerHeight() const
    {
        double h = 0;
        for (int b : m_pageFooters)
            if (isVisible(b))
                h += m_tpl.bands[b].height;
        return h;
    }

    void startPage(bool first)
    {
        m_doc.pages << ReportPage();
        m_y = m_top;
        resetScope(Accumulator::Page);
        for (int b : m_pageHeaders)
            if (isVisible(b))
                emitBand(layoutBand(b));
        if (!first && m_inData)
            for (int b : m_columnHeaders)
                if (isVisible(b))
                    emitBand(layoutBand(b));
        // The groups still running say again whose rows continue here.
        if (!first && m_openSection >= 0)
            for (int l = 0; l < m_openLevels; ++l) {
                const int header = m_sections[m_openSection].groups[l].header;
                if (m_tpl.bands[header].repeat && isVisible(header))
                    emitBand(layoutBand(header));
            }
        m_pageTop = m_y;
    }

    void finishPage()
    {
        double y = m_bottom - footerHeight();
        for (int b : m_pageFooters) {
            if (!isVisible(b))
                continue;
            const LaidOut f = layoutBand(b);
            place(f, y);
            y += f.height;
        }
    }

    void emitBand(const LaidOut &b)
    {
        place(b, m_y);
        m_y += b.height;
    }

    // Lays a band out on the page, starting a new page when it does not fit. `keep`
    // is the height that must follow on the same page (a group header keeps its first row).
    void printBand(int index, double keep = 0, int feedSection = -1, bool feedDetail = false)
    {
        const bool visible = isVisible(index);
        if (!visible) {
            if (feedSection >= 0)
                feed(feedSection, feedDetail);
            return;
        }
        LaidOut b = layoutBand(index);
        const double limit = m_bottom - footerHeight();
        if (m_y + b.height + keep > limit + 0.001 && m_y > m_pageTop + 0.001) {
            finishPage();
            startPage(false);
            if (m_bands[index].hasPageRefs || m_bands[index].hasAggregates)
                b = layoutBand(index);
        }
        if (feedSection >= 0) {
            feed(feedSection, feedDetail);
            // A running total in the band itself must include this row.
            if (m_bands[index].hasAggregates)
                b = layoutBand(index);
        }
        emitBand(b);
    }

    double firstRowHeight(const Section &s) const
    {
        return m_tpl.bands[s.master].height;
    }

    void openGroups(int section, int fromLevel)
    {
        const Section &s = m_sections[section];
        resetScope(Accumulator::Group, section, fromLevel);
        m_openSection = section;
        for (int l = fromLevel; l < s.groups.size(); ++l) {
            m_openLevels = l;
            printBand(s.groups[l].header, isVisible(s.master) ? firstRowHeight(s) : 0);
        }
        m_openLevels = int(s.groups.size());
    }

    void closeGroups(int section, int fromLevel, const QHash<QString, Value> &lastRow)
    {
        const Section &s = m_sections[section];
        m_snapshot = &lastRow;
        m_snapshotLink = m_tpl.bands[s.master].link;
        for (int l = int(s.groups.size()) - 1; l >= fromLevel; --l) {
            if (s.groups[l].footer >= 0)
                printBand(s.groups[l].footer);
            m_openLevels = l;
        }
        m_snapshot = nullptr;
        if (m_openLevels == 0)
            m_openSection = -1;
    }

    void walkSection(int section)
    {
        const Section &s = m_sections[section];
        ReportDataSource *src = m_data.source(m_tpl.bands[s.master].link);
        if (!src)
            return;
        ReportDataSource *detail = s.detail >= 0 ? m_data.source(m_tpl.bands[s.detail].link) : nullptr;
        const QStringList fields = src->fieldNames();
        QHash<QString, Value> lastRow;
        QList<Value> lastKeys;
        bool first = true;
        int line = 0;
        for (src->first(); !src->eof(); src->next()) {
            ++m_doc.masterRows;
            QList<Value> keys;
            for (const Group &g : s.groups)
                keys << g.condition.evaluate(*this);
            if (first) {
                openGroups(section, 0);
            } else {
                int changed = -1;
                for (int l = 0; l < keys.size() && changed < 0; ++l)
                    if (keys[l] != lastKeys[l])
                        changed = l;
                if (changed >= 0) {
                    closeGroups(section, changed, lastRow);
                    openGroups(section, changed);
                    line = 0;
                }
            }
            m_line = ++line;
            // A document heading is not left alone at the foot of a page without its first line.
            const double keep = detail && s.detail >= 0 && isVisible(s.detail) ? m_tpl.bands[s.detail].height : 0;
            printBand(s.master, keep, section, false);
            if (detail) {
                resetScope(Accumulator::Detail, section);
                int rows = 0;
                for (detail->first(); !detail->eof(); detail->next()) {
                    m_line = ++rows;
                    printBand(s.detail, 0, section, true);
                }
                if (rows > 0 && s.detailFooter >= 0)
                    printBand(s.detailFooter);
                m_line = line;
            }
            lastKeys = keys;
            for (const QString &f : fields)
                lastRow.insert(f, src->value(f));
            first = false;
        }
        if (!first)
            closeGroups(section, 0, lastRow);
    }

    const ReportTemplate &m_tpl;
    const ReportDataRegistry &m_data;
    const ReportVariables &m_vars;
    ReportDocument m_doc;
    QList<PreparedBand> m_bands;
    QList<Section> m_sections;
    QHash<int, int> m_sectionOf;
    QHash<int, std::pair<int, int>> m_groupOf;
    std::vector<std::unique_ptr<Accumulator>> m_accumulators;
    QHash<std::pair<int, const Node *>, Accumulator *> m_accumulatorOf;
    QHash<QString, QFont> m_fonts;
    QHash<QString, double> m_lineHeights;
    QList<int> m_titles, m_pageHeaders, m_columnHeaders, m_summaries, m_pageFooters;
    double m_left = 0, m_top = 0, m_bottom = 0;
    double m_y = 0, m_pageTop = 0;
    bool m_inData = false;
    int m_openSection = -1; // the section whose groups are running, and how many of them
    int m_openLevels = 0;
    int m_currentBand = -1;
    int m_line = 0;
    const QHash<QString, Value> *m_snapshot = nullptr;
    QString m_snapshotLink;
};

} // namespace

ReportDocument ReportEngine::prepare(const ReportTemplate &tpl, const ReportDataRegistry &data,
                                     const ReportVariables &variables)
{
    Engine e(tpl, data, variables);
    return e.run();
}

QString ReportEngine::totalPagesMarker()
{
    return QStringLiteral("\u0001TOTALPAGES\u0001");
}

} // namespace kvl
