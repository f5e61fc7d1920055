// Reading and writing templates as JSON; defaults are left out of the bytes so the
// stored templates stay short and readable.
#include "ReportTemplate.h"

#include "ReportTemplateError.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace kvl {

namespace {

struct BandName
{
    ReportBand::Type type;
    const char *name;
};
const BandName kBandNames[] = {
    {ReportBand::Type::ReportTitle, "reportTitle"},   {ReportBand::Type::PageHeader, "pageHeader"},
    {ReportBand::Type::ColumnHeader, "columnHeader"}, {ReportBand::Type::GroupHeader, "groupHeader"},
    {ReportBand::Type::MasterData, "masterData"},     {ReportBand::Type::DetailData, "detailData"},
    {ReportBand::Type::DetailFooter, "detailFooter"}, {ReportBand::Type::GroupFooter, "groupFooter"},
    {ReportBand::Type::Summary, "summary"},           {ReportBand::Type::PageFooter, "pageFooter"},
};

constexpr double kMaxLength = 2000; // mm; nothing on paper is two metres long

class Reader
{
public:
    explicit Reader(const QString &reportName) : m_name(reportName) {}

    [[noreturn]] void fail(const QString &detail) const { throw ReportTemplateError(m_name, detail); }

    double number(const QJsonObject &o, const char *key, double def, double min, double max, const QString &where) const
    {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isUndefined())
            return def;
        if (!v.isDouble())
            fail(QStringLiteral("%1的“%2”不是数值").arg(where, QLatin1String(key)));
        const double d = v.toDouble();
        if (d < min || d > max)
            fail(QStringLiteral("%1的“%2”超出范围：%3").arg(where, QLatin1String(key)).arg(d));
        return d;
    }
    QString text(const QJsonObject &o, const char *key, const QString &def, const QString &where) const
    {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isUndefined())
            return def;
        if (!v.isString())
            fail(QStringLiteral("%1的“%2”不是文字").arg(where, QLatin1String(key)));
        return v.toString();
    }
    bool flag(const QJsonObject &o, const char *key, bool def, const QString &where) const
    {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isUndefined())
            return def;
        if (!v.isBool())
            fail(QStringLiteral("%1的“%2”不是 true 或 false").arg(where, QLatin1String(key)));
        return v.toBool();
    }
    template<typename E, size_t N>
    E choice(const QJsonObject &o, const char *key, E def, const std::pair<E, const char *> (&names)[N], const QString &where) const
    {
        const QString t = text(o, key, QString(), where);
        if (t.isEmpty())
            return def;
        for (const auto &n : names)
            if (t == QLatin1String(n.second))
                return n.first;
        fail(QStringLiteral("%1的“%2”不认识：%3").arg(where, QLatin1String(key), t));
    }

private:
    QString m_name;
};

const std::pair<ReportPageSetup::Orientation, const char *> kOrientations[] = {
    {ReportPageSetup::Orientation::Portrait, "portrait"}, {ReportPageSetup::Orientation::Landscape, "landscape"}};
const std::pair<ReportObject::Type, const char *> kObjectTypes[] = {
    {ReportObject::Type::Text, "text"}, {ReportObject::Type::Line, "line"}, {ReportObject::Type::Rect, "rect"}};
const std::pair<ReportObject::HAlign, const char *> kHAligns[] = {
    {ReportObject::HAlign::Left, "left"}, {ReportObject::HAlign::Center, "center"}, {ReportObject::HAlign::Right, "right"}};
const std::pair<ReportObject::VAlign, const char *> kVAligns[] = {
    {ReportObject::VAlign::Top, "top"}, {ReportObject::VAlign::Center, "center"}, {ReportObject::VAlign::Bottom, "bottom"}};

template<typename E, size_t N>
QString nameOf(E v, const std::pair<E, const char *> (&names)[N])
{
    for (const auto &n : names)
        if (n.first == v)
            return QLatin1String(n.second);
    return QString();
}

QString frameText(int frame)
{
    QString s;
    if (frame & ReportObject::FrameLeft)
        s += QLatin1Char('L');
    if (frame & ReportObject::FrameTop)
        s += QLatin1Char('T');
    if (frame & ReportObject::FrameRight)
        s += QLatin1Char('R');
    if (frame & ReportObject::FrameBottom)
        s += QLatin1Char('B');
    return s;
}

ReportObject readObject(const Reader &r, const QJsonValue &value, const QString &where)
{
    if (!value.isObject())
        r.fail(QStringLiteral("%1不是对象").arg(where));
    const QJsonObject o = value.toObject();
    ReportObject obj;
    obj.type = r.choice(o, "type", ReportObject::Type::Text, kObjectTypes, where);
    obj.lineWidth = r.number(o, "lineWidth", 0.2, 0, 10, where);
    if (obj.type == ReportObject::Type::Line) {
        const double x1 = r.number(o, "x1", 0, -kMaxLength, kMaxLength, where);
        const double y1 = r.number(o, "y1", 0, -kMaxLength, kMaxLength, where);
        const double x2 = r.number(o, "x2", 0, -kMaxLength, kMaxLength, where);
        const double y2 = r.number(o, "y2", 0, -kMaxLength, kMaxLength, where);
        obj.rect = QRectF(QPointF(x1, y1), QPointF(x2, y2));
        return obj;
    }
    obj.rect = QRectF(r.number(o, "x", 0, -kMaxLength, kMaxLength, where), r.number(o, "y", 0, -kMaxLength, kMaxLength, where),
                      r.number(o, "w", 0, 0, kMaxLength, where), r.number(o, "h", 0, 0, kMaxLength, where));
    if (obj.type == ReportObject::Type::Rect)
        return obj;
    obj.text = r.text(o, "text", QString(), where);
    obj.format = r.text(o, "format", QString(), where);
    obj.align = r.choice(o, "align", ReportObject::HAlign::Left, kHAligns, where);
    obj.valign = r.choice(o, "valign", ReportObject::VAlign::Center, kVAligns, where);
    obj.wrap = r.flag(o, "wrap", false, where);
    const QString frame = r.text(o, "frame", QString(), where);
    for (QChar c : frame) {
        switch (c.toUpper().unicode()) {
        case 'L': obj.frame |= ReportObject::FrameLeft; break;
        case 'T': obj.frame |= ReportObject::FrameTop; break;
        case 'R': obj.frame |= ReportObject::FrameRight; break;
        case 'B': obj.frame |= ReportObject::FrameBottom; break;
        default: r.fail(QStringLiteral("%1的边框“%2”不认识，只能用 L、T、R、B").arg(where, frame));
        }
    }
    const QJsonValue font = o.value(QLatin1String("font"));
    if (!font.isUndefined()) {
        if (!font.isObject())
            r.fail(QStringLiteral("%1的字体不是对象").arg(where));
        const QJsonObject f = font.toObject();
        const QString fw = where + QStringLiteral("的字体");
        obj.font.family = r.text(f, "family", obj.font.family, fw);
        obj.font.size = r.number(f, "size", obj.font.size, 1, 200, fw);
        obj.font.bold = r.flag(f, "bold", false, fw);
        obj.font.italic = r.flag(f, "italic", false, fw);
    }
    return obj;
}

QJsonObject writeObject(const ReportObject &obj)
{
    QJsonObject o;
    const ReportObject def;
    o.insert(QStringLiteral("type"), nameOf(obj.type, kObjectTypes));
    if (obj.type == ReportObject::Type::Line) {
        o.insert(QStringLiteral("x1"), obj.rect.left());
        o.insert(QStringLiteral("y1"), obj.rect.top());
        o.insert(QStringLiteral("x2"), obj.rect.right());
        o.insert(QStringLiteral("y2"), obj.rect.bottom());
    } else {
        o.insert(QStringLiteral("x"), obj.rect.x());
        o.insert(QStringLiteral("y"), obj.rect.y());
        o.insert(QStringLiteral("w"), obj.rect.width());
        o.insert(QStringLiteral("h"), obj.rect.height());
    }
    if (obj.lineWidth != def.lineWidth)
        o.insert(QStringLiteral("lineWidth"), obj.lineWidth);
    if (obj.type != ReportObject::Type::Text)
        return o;
    o.insert(QStringLiteral("text"), obj.text);
    if (!obj.format.isEmpty())
        o.insert(QStringLiteral("format"), obj.format);
    if (obj.align != def.align)
        o.insert(QStringLiteral("align"), nameOf(obj.align, kHAligns));
    if (obj.valign != def.valign)
        o.insert(QStringLiteral("valign"), nameOf(obj.valign, kVAligns));
    if (obj.wrap)
        o.insert(QStringLiteral("wrap"), true);
    if (obj.frame)
        o.insert(QStringLiteral("frame"), frameText(obj.frame));
    if (!(obj.font == def.font)) {
        QJsonObject f;
        if (obj.font.family != def.font.family)
            f.insert(QStringLiteral("family"), obj.font.family);
        if (obj.font.size != def.font.size)
            f.insert(QStringLiteral("size"), obj.font.size);
        if (obj.font.bold)
            f.insert(QStringLiteral("bold"), true);
        if (obj.font.italic)
            f.insert(QStringLiteral("italic"), true);
        o.insert(QStringLiteral("font"), f);
    }
    return o;
}

// The structural rules the engine relies on: a detail follows a master, a detail footer
// follows a detail, every group footer closes a group opened before the same master.
void checkStructure(const Reader &r, const QList<ReportBand> &bands)
{
    QStringList openGroups;     // conditions of group headers since the last master
    QStringList closableGroups; // those of the last master, which footers may close
    bool sawMaster = false, sawDetail = false;
    QString masterLink;
    for (int i = 0; i < bands.size(); ++i) {
        const ReportBand &b = bands[i];
        const QString where = QStringLiteral("第 %1 个区域（%2）").arg(i + 1).arg(ReportTemplate::bandTypeName(b.type));
        switch (b.type) {
        case ReportBand::Type::GroupHeader:
            if (b.condition.trimmed().isEmpty())
                r.fail(where + QStringLiteral("缺少分组条件"));
            openGroups << b.condition;
            break;
        case ReportBand::Type::MasterData:
            if (b.link.isEmpty())
                r.fail(where + QStringLiteral("缺少数据连接"));
            closableGroups = openGroups;
            openGroups.clear();
            sawMaster = true;
            masterLink = b.link;
            sawDetail = false;
            break;
        case ReportBand::Type::DetailData:
            if (b.link.isEmpty())
                r.fail(where + QStringLiteral("缺少数据连接"));
            if (!sawMaster)
                r.fail(where + QStringLiteral("前面没有主数据区域"));
            // Walking the master's own rows as its details would never end.
            if (b.link == masterLink)
                r.fail(where + QStringLiteral("的数据连接与主数据区域相同：%1").arg(b.link));
            sawDetail = true;
            break;
        case ReportBand::Type::DetailFooter:
            if (!sawDetail)
                r.fail(where + QStringLiteral("前面没有明细数据区域"));
            break;
        case ReportBand::Type::GroupFooter:
            if (!closableGroups.contains(b.condition))
                r.fail(where + QStringLiteral("没有对应的分组头：%1").arg(b.condition));
            break;
        default:
            break;
        }
    }
    if (!openGroups.isEmpty())
        r.fail(QStringLiteral("分组头“%1”后面没有主数据区域").arg(openGroups.first()));
}

} // namespace

double ReportPageSetup::pageWidth() const
{
    double w = width, h = height;
    paperSize(paper, &w, &h);
    return orientation == Orientation::Portrait ? w : h;
}

double ReportPageSetup::pageHeight() const
{
    double w = width, h = height;
    paperSize(paper, &w, &h);
    return orientation == Orientation::Portrait ? h : w;
}

bool ReportPageSetup::paperSize(const QString &paper, double *w, double *h)
{
    struct P { const char *name; double w, h; };
    static const P papers[] = {{"A4", 210, 297}, {"A5", 148, 210}, {"B5", 176, 250}, {"Letter", 215.9, 279.4}};
    for (const P &p : papers) {
        if (paper == QLatin1String(p.name)) {
            *w = p.w;
            *h = p.h;
            return true;
        }
    }
    return false;
}

QString ReportTemplate::bandTypeName(ReportBand::Type t)
{
    for (const BandName &n : kBandNames)
        if (n.type == t)
            return QLatin1String(n.name);
    return QString();
}

ReportTemplate ReportTemplate::fromJson(const QByteArray &bytes, const QString &reportName)
{
    const Reader r(reportName);
    QJsonParseError err;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &err);
    if (err.error != QJsonParseError::NoError)
        r.fail(QStringLiteral("第 %1 个字符处有错（%2）").arg(err.offset + 1).arg(err.errorString()));
    if (!doc.isObject())
        r.fail(QStringLiteral("内容不是报表"));
    const QJsonObject root = doc.object();
    const QJsonValue version = root.value(QLatin1String("version"));
    if (!version.isDouble())
        r.fail(QStringLiteral("没有版本号"));
    if (version.toDouble() != kVersion)
        r.fail(QStringLiteral("版本 %1 不能读取，本程序读取版本 %2").arg(version.toDouble()).arg(kVersion));

    ReportTemplate t;
    t.name = r.text(root, "name", QString(), QStringLiteral("报表"));

    const QJsonObject page = root.value(QLatin1String("page")).toObject();
    const QString pw = QStringLiteral("页面设置");
    t.page.paper = r.text(page, "paper", QStringLiteral("A4"), pw);
    double w = 0, h = 0;
    if (ReportPageSetup::paperSize(t.page.paper, &w, &h)) {
        t.page.width = w;
        t.page.height = h;
    } else if (t.page.paper == QLatin1String("custom")) {
        t.page.width = r.number(page, "width", 210, 20, kMaxLength, pw);
        t.page.height = r.number(page, "height", 297, 20, kMaxLength, pw);
    } else {
        r.fail(QStringLiteral("纸张“%1”不认识").arg(t.page.paper));
    }
    t.page.orientation = r.choice(page, "orientation", ReportPageSetup::Orientation::Portrait, kOrientations, pw);
    const QJsonObject m = page.value(QLatin1String("margins")).toObject();
    const QString mw = QStringLiteral("页边距");
    t.page.margins.left = r.number(m, "left", 15, 0, 200, mw);
    t.page.margins.top = r.number(m, "top", 15, 0, 200, mw);
    t.page.margins.right = r.number(m, "right", 15, 0, 200, mw);
    t.page.margins.bottom = r.number(m, "bottom", 15, 0, 200, mw);
    t.page.offsetX = r.number(page, "offsetX", 0, -100, 100, pw);
    t.page.offsetY = r.number(page, "offsetY", 0, -100, 100, pw);
    const double areaW = t.page.pageWidth() - t.page.margins.left - t.page.margins.right;
    const double areaH = t.page.pageHeight() - t.page.margins.top - t.page.margins.bottom;
    if (areaW < 10 || areaH < 10)
        r.fail(QStringLiteral("页边距太大，纸上没有可打印的地方"));

    const QJsonValue bands = root.value(QLatin1String("bands"));
    if (!bands.isArray())
        r.fail(QStringLiteral("没有区域列表"));
    const QJsonArray arr = bands.toArray();
    for (int i = 0; i < arr.size(); ++i) {
        QString where = QStringLiteral("第 %1 个区域").arg(i + 1);
        if (!arr[i].isObject())
            r.fail(where + QStringLiteral("不是对象"));
        const QJsonObject bo = arr[i].toObject();
        ReportBand b;
        const QString type = r.text(bo, "type", QString(), where);
        bool known = false;
        for (const BandName &n : kBandNames) {
            if (type == QLatin1String(n.name)) {
                b.type = n.type;
                known = true;
            }
        }
        if (!known)
            r.fail(QStringLiteral("%1的类型“%2”不认识").arg(where, type));
        where = QStringLiteral("第 %1 个区域（%2）").arg(i + 1).arg(type);
        b.height = r.number(bo, "height", 6, 0, areaH, where);
        b.link = r.text(bo, "link", QString(), where);
        b.condition = r.text(bo, "condition", QString(), where);
        b.visible = r.text(bo, "visible", QString(), where);
        b.stretch = r.flag(bo, "stretch", false, where);
        b.repeat = r.flag(bo, "repeat", false, where);
        const QJsonValue objects = bo.value(QLatin1String("objects"));
        if (!objects.isUndefined() && !objects.isArray())
            r.fail(where + QStringLiteral("的对象列表不是数组"));
        const QJsonArray oa = objects.toArray();
        for (int k = 0; k < oa.size(); ++k)
            b.objects << readObject(r, oa[k], QStringLiteral("%1的第 %2 个对象").arg(where).arg(k + 1));
        t.bands << b;
    }
    checkStructure(r, t.bands);
    return t;
}

QByteArray ReportTemplate::toJson() const
{
    QJsonObject root;
    root.insert(QStringLiteral("version"), kVersion);
    if (!name.isEmpty())
        root.insert(QStringLiteral("name"), name);

    QJsonObject page;
    page.insert(QStringLiteral("paper"), this->page.paper);
    if (this->page.paper == QLatin1String("custom")) {
        page.insert(QStringLiteral("width"), this->page.width);
        page.insert(QStringLiteral("height"), this->page.height);
    }
    page.insert(QStringLiteral("orientation"), nameOf(this->page.orientation, kOrientations));
    QJsonObject m;
    m.insert(QStringLiteral("left"), this->page.margins.left);
    m.insert(QStringLiteral("top"), this->page.margins.top);
    m.insert(QStringLiteral("right"), this->page.margins.right);
    m.insert(QStringLiteral("bottom"), this->page.margins.bottom);
    page.insert(QStringLiteral("margins"), m);
    if (this->page.offsetX != 0)
        page.insert(QStringLiteral("offsetX"), this->page.offsetX);
    if (this->page.offsetY != 0)
        page.insert(QStringLiteral("offsetY"), this->page.offsetY);
    root.insert(QStringLiteral("page"), page);

    QJsonArray arr;
    for (const ReportBand &b : bands) {
        QJsonObject bo;
        bo.insert(QStringLiteral("type"), bandTypeName(b.type));
        bo.insert(QStringLiteral("height"), b.height);
        if (!b.link.isEmpty())
            bo.insert(QStringLiteral("link"), b.link);
        if (!b.condition.isEmpty())
            bo.insert(QStringLiteral("condition"), b.condition);
        if (!b.visible.isEmpty())
            bo.insert(QStringLiteral("visible"), b.visible);
        if (b.stretch)
            bo.insert(QStringLiteral("stretch"), true);
        if (b.repeat)
            bo.insert(QStringLiteral("repeat"), true);
        QJsonArray oa;
        for (const ReportObject &o : b.objects)
            oa.append(writeObject(o));
        bo.insert(QStringLiteral("objects"), oa);
        arr.append(bo);
    }
    root.insert(QStringLiteral("bands"), arr);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

} // namespace kvl
