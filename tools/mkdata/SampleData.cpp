// Deterministic generator of realistic sample data, written through the same
// connection and statements as the program.
#include "SampleData.h"

#include "Connection.h"
#include "Statement.h"

#include <QStringList>
#include <algorithm>
#include <map>
#include <random>
#include <vector>

namespace kvl::SampleData {

Shape small()
{
    return Shape{};
}

Shape large()
{
    Shape s;
    s.partners = 3000;
    s.goods = 5000;
    s.staff = 50;
    s.documents = 300000;
    s.lines = 1000000;
    s.busyPartnerDocs = 5000;
    s.years = 10;
    return s;
}

namespace {

const QStringList kCities = QStringLiteral(
    "广州 深圳 佛山 东莞 上海 杭州 宁波 温州 苏州 无锡 南京 北京 天津 重庆 成都 武汉 长沙 郑州 西安 济南 "
    "青岛 厦门 福州 泉州 合肥 南昌 昆明 贵阳 南宁 沈阳").split(QLatin1Char(' '));
const QStringList kBrands = QStringLiteral(
    "华盛 金鼎 恒丰 宏达 永兴 鑫源 长城 东方 新世纪 明珠 天成 瑞祥 富贵 兴隆 嘉禾 百利 海通 中信 "
    "万家 顺发 同德 信达 利民 和平 光明 振华 泰和 隆昌 安泰 荣昌 盛世 联创 佳美 乐天 汇丰 广源 "
    "德隆 远航 博雅 春晖").split(QLatin1Char(' '));
const QStringList kTrades = QStringLiteral(
    "五金 电器 文具 百货 建材 食品 服装 家具 塑胶 电子 机电 化工 灯饰 陶瓷 贸易 商贸 日用品 "
    "纸业 包装 汽配").split(QLatin1Char(' '));
const QStringList kSuffixes = QStringLiteral("有限公司 商行 经营部 贸易公司 批发部").split(QLatin1Char(' '));
const QStringList kSurnames = QStringLiteral(
    "王 李 张 刘 陈 杨 黄 赵 吴 周 徐 孙 马 朱 胡 郭 何 高 林 罗 郑 梁 谢 宋 唐 许 韩 冯 邓 曹 "
    "彭 曾 肖 田 董 袁 潘 于 蒋 蔡 余 杜 叶 程 苏 魏 吕 丁 任 沈").split(QLatin1Char(' '));
const QStringList kGiven = QStringLiteral(
    "伟 芳 娜 敏 静 丽 强 磊 军 洋 勇 艳 杰 娟 涛 明 超 秀英 霞 平 刚 桂英 建华 志强 海燕 晓东 "
    "文博 子涵 雨桐 浩然 欣怡 俊杰 梓萱 宇轩 国庆 红梅 春生 秋菊 建国 卫东").split(QLatin1Char(' '));
const QStringList kRoads = QStringLiteral(
    "人民路 中山路 解放路 建设路 和平路 新华路 长江路 黄河路 胜利路 友谊路 工业大道 环城东路 "
    "滨江西路 开发区一路").split(QLatin1Char(' '));
const QStringList kMaterials = QStringLiteral(
    "不锈钢 铝合金 实木 塑料 陶瓷 玻璃 纯棉 真皮 铜质 环保 加厚 防水 多功能 精装 经济型 豪华 "
    "迷你 便携 工业 家用").split(QLatin1Char(' '));
const QStringList kItems = QStringLiteral(
    "水杯 保温瓶 台灯 插座 电线 螺丝刀 扳手 钳子 胶带 订书机 笔记本 文件夹 圆珠笔 拖把 水桶 "
    "毛巾 床单 衣架 收纳箱 餐具 炒锅 菜刀 电饭煲 电风扇 吹风机 开关 灯泡 水龙头 门锁 合页 油漆 "
    "瓷砖 地板 水管 阀门 轴承 齿轮 皮带 手套 口罩 雨伞 书包 鞋柜 茶几 椅子 货架 推车 梯子 "
    "工具箱 电池").split(QLatin1Char(' '));
const QStringList kSpecs = QStringLiteral(
    "500ml 1L 2L 10W 20W 3米 5米 10米 大号 中号 小号 A4 B5 20cm 30cm 50cm 1寸 2寸 套装 单只").split(QLatin1Char(' '));

struct CodeValue
{
    const char *code;
    const char *value;
};
const CodeValue kCategories[] = {{"WJ", "五金"}, {"DQ", "电器"}, {"WJYP", "文具用品"}, {"RYBH", "日用百货"},
                                 {"JC", "建材"}, {"CJ", "厨具"}, {"FZ", "纺织"}, {"JJ", "家具"},
                                 {"DZ", "电子"}, {"LB", "劳保"}, {"DS", "灯饰"}, {"QT", "其他"}};
const CodeValue kOrigins[] = {{"GD", "广东"}, {"ZJ", "浙江"}, {"JS", "江苏"}, {"SD", "山东"},
                              {"FJ", "福建"}, {"SH", "上海"}, {"BJ", "北京"}, {"HB", "湖北"},
                              {"SC", "四川"}, {"HN", "河南"}, {"AH", "安徽"}, {"JK", "进口"}};
const CodeValue kUnits[] = {{"G", "个"}, {"X", "箱"}, {"T", "台"}, {"J", "件"}, {"B", "包"},
                            {"M", "米"}, {"Z", "只"}, {"TAO", "套"}, {"H", "盒"}, {"P", "瓶"},
                            {"KG", "公斤"}, {"ZH", "张"}};

class Gen
{
public:
    explicit Gen(quint64 seed) : m_rng(seed) {}
    int below(int n) { return int(m_rng() % quint64(n)); }
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }
    const QString &pick(const QStringList &l) { return l[below(int(l.size()))]; }
    bool chance(int percent) { return below(100) < percent; }

private:
    std::mt19937_64 m_rng;
};

struct Doc
{
    qint64 secs = 0;   // document date as wall-clock seconds
    int kind = 0;      // 0 shipment, 1 purchase, 2 settlement
    int partner = 0;
    int staff = 0;     // 0: none
    int lines = 0;
    qint64 amount = 0; // total of the lines, or the settled amount
    int settlement = -1; // index of the settlement that links it
    qint64 id = 0;
    QString number;
    QString remark;
};

qint64 wallSecs(const QDate &d, int secondsOfDay)
{
    return QDateTime(d, QTime(0, 0), Qt::UTC).toSecsSinceEpoch() + secondsOfDay;
}

void exec(Statement &st, std::initializer_list<Value> values)
{
    int i = 1;
    for (const Value &v : values)
        st.bind(i++, v);
    st.exec();
    st.reset();
}

} // namespace

void write(Connection &conn, const Shape &shape)
{
    Gen g(shape.seed);
    Transaction tr(conn);

    auto person = [&] { return g.pick(kSurnames) + g.pick(kGiven); };
    auto phone = [&] {
        return g.chance(50) ? QStringLiteral("13%1").arg(g.between(100000000, 999999999))
                            : QStringLiteral("0%1-%2").arg(g.between(20, 999)).arg(g.between(2000000, 8999999));
    };

    // Code tables.
    const std::pair<const char *, const CodeValue *> codeTables[] = {
        {"商品类别", kCategories}, {"商品产地", kOrigins}, {"计量单位", kUnits}};
    for (const auto &[table, values] : codeTables) {
        Statement ins(conn, QStringLiteral("INSERT INTO %1(拼音简码, %1) VALUES(?, ?)").arg(QString::fromUtf8(table)));
        for (int i = 0; i < 12; ++i)
            exec(ins, {Value(values[i].code), Value(values[i].value)});
    }

    // Partners: unique names from city, brand and trade.
    {
        Statement ins(conn, QStringLiteral(
            "INSERT INTO 往来单位(id, 单位编号, 单位名称, 联系人, 联系电话, 邮政编码, 通信地址, 备注, 暂停) "
            "VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        const int combos = int(kCities.size() * kBrands.size() * kTrades.size());
        std::vector<int> order(combos);
        for (int i = 0; i < combos; ++i)
            order[i] = i;
        std::shuffle(order.begin(), order.end(), std::mt19937_64(shape.seed + 1));
        for (int id = 1; id <= shape.partners; ++id) {
            const int c = order[(id - 1) % combos];
            const QString &city = kCities[c % kCities.size()];
            const QString name = city + kBrands[(c / kCities.size()) % kBrands.size()]
                                 + kTrades[c / (kCities.size() * kBrands.size())] + g.pick(kSuffixes);
            exec(ins, {Value::integer(id), Value(QStringLiteral("DW%1").arg(id, 4, 10, QLatin1Char('0'))), Value(name),
                       Value(person()), Value(phone()), Value(QString::number(g.between(100000, 799999))),
                       Value(city + QStringLiteral("市") + g.pick(kRoads) + QString::number(g.between(1, 999)) + QStringLiteral("号")),
                       Value(g.chance(10) ? QStringLiteral("老客户，月结") : QString()),
                       Value::boolean(id > 3 && g.chance(3))});
        }
    }

    // Staff.
    {
        Statement ins(conn, QStringLiteral(
            "INSERT INTO 公司员工(id, 员工编号, 员工姓名, 联系电话, 家庭住址, 备注, 暂停) VALUES(?, ?, ?, ?, ?, ?, ?)"));
        for (int id = 1; id <= shape.staff; ++id)
            exec(ins, {Value::integer(id), Value(QStringLiteral("Y%1").arg(id, 3, 10, QLatin1Char('0'))), Value(person()),
                       Value(phone()), Value(g.pick(kCities) + QStringLiteral("市") + g.pick(kRoads) + QString::number(g.between(1, 300)) + QStringLiteral("号")),
                       Value(QString()), Value::boolean(id > 2 && g.chance(5))});
    }

    // Goods, with reference prices in yuan and fen.
    std::vector<qint64> buyPrice(shape.goods + 1), sellPrice(shape.goods + 1);
    {
        Statement ins(conn, QStringLiteral(
            "INSERT INTO 商品资料(id, 商品编号, 商品名称, 商品类别, 商品产地, 计量单位, 备注, 暂停, 参考进价, 参考销价) "
            "VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        for (int id = 1; id <= shape.goods; ++id) {
            const QString name = g.pick(kMaterials) + g.pick(kItems) + g.pick(kSpecs);
            buyPrice[id] = qint64(g.between(50, 200000)) * 100;       // 0.50 .. 2000.00
            sellPrice[id] = buyPrice[id] * g.between(110, 160) / 100 / 100 * 100;
            exec(ins, {Value::integer(id), Value(QStringLiteral("SP%1").arg(id, 5, 10, QLatin1Char('0'))), Value(name),
                       Value(kCategories[g.below(12)].value), Value(kOrigins[g.below(12)].value),
                       Value(kUnits[g.below(12)].value), Value(QString()), Value::boolean(id > 3 && g.chance(2)),
                       Value::money(buyPrice[id]), Value::money(sellPrice[id])});
        }
    }

    // Documents over the years, dated by a working day and time.
    const QDate first = shape.lastDay.addYears(-shape.years).addDays(1);
    const int days = int(first.daysTo(shape.lastDay)) + 1;
    std::vector<Doc> docs(shape.documents);
    for (int i = 0; i < shape.documents; ++i) {
        Doc &d = docs[i];
        d.kind = g.chance(67) ? 0 : 1;
        d.partner = i < shape.busyPartnerDocs ? 1 : g.between(1, shape.partners);
        d.staff = g.chance(90) ? g.between(1, shape.staff) : 0;
        // The editors store the date alone, as midnight of the day.
        d.secs = wallSecs(first.addDays(g.below(days)), 0);
        d.lines = 1;
        if (g.chance(8))
            d.remark = d.kind == 0 ? QStringLiteral("送货上门") : QStringLiteral("含运费");
    }
    // Spread the lines: every document has one, the rest fall at random.
    for (int rest = shape.lines - shape.documents; rest > 0; --rest)
        ++docs[g.below(shape.documents)].lines;

    // A third of the documents are settled: each partner's oldest third, in
    // settlements of up to six documents dated a few days after the last one.
    std::vector<Doc> settlements;
    {
        std::map<int, std::vector<int>> byPartner;
        for (int i = 0; i < shape.documents; ++i)
            byPartner[docs[i].partner].push_back(i);
        for (auto &[partner, list] : byPartner) {
            std::sort(list.begin(), list.end(), [&](int a, int b) { return docs[a].secs < docs[b].secs; });
            const size_t settled = (list.size() + 1) / 3;
            for (size_t k = 0; k < settled;) {
                const size_t n = std::min<size_t>(settled - k, size_t(g.between(1, 6)));
                Doc s;
                s.kind = 2;
                s.partner = partner;
                s.staff = g.chance(80) ? g.between(1, shape.staff) : 0;
                s.secs = std::min(docs[list[k + n - 1]].secs + qint64(g.between(0, 20)) * 86400,
                                  wallSecs(shape.lastDay, 0));
                for (size_t j = k; j < k + n; ++j)
                    docs[list[j]].settlement = int(settlements.size());
                settlements.push_back(s);
                k += n;
            }
        }
    }

    // Ids and numbers follow the dates, as they would have been entered.
    std::vector<Doc *> all;
    all.reserve(docs.size() + settlements.size());
    for (Doc &d : docs)
        all.push_back(&d);
    for (Doc &s : settlements)
        all.push_back(&s);
    std::stable_sort(all.begin(), all.end(), [](const Doc *a, const Doc *b) {
        return a->secs != b->secs ? a->secs < b->secs : a->kind < b->kind;
    });
    qint64 counters[3] = {0, 0, 0};
    const QString prefixes[3] = {QStringLiteral("CH"), QStringLiteral("JH"), QStringLiteral("结")};
    for (size_t i = 0; i < all.size(); ++i) {
        Doc *d = all[i];
        d->id = qint64(i) + 1;
        d->number = prefixes[d->kind] + QStringLiteral("%1").arg(++counters[d->kind], 8, 10, QLatin1Char('0'));
    }

    // Lines, and with them the documents' amounts.
    {
        Statement ins(conn, QStringLiteral("INSERT INTO kcmx(sf_id, kcsp_id, sl, dj, je, 备注) VALUES(?, ?, ?, ?, ?, ?)"));
        for (Doc &d : docs) {
            for (int l = 0; l < d.lines; ++l) {
                const int goods = g.between(1, shape.goods);
                const qint64 sl = g.chance(90) ? qint64(g.between(1, 200)) * 10000 : qint64(g.between(1, 4000)) * 25;
                const qint64 dj = d.kind == 0 ? sellPrice[goods] : buyPrice[goods];
                const qint64 je = (sl * dj + 5000) / 10000;
                d.amount += je;
                exec(ins, {Value::integer(d.id), Value::integer(goods), Value::money(sl), Value::money(dj),
                           Value::money(je), Value(g.chance(5) ? QStringLiteral("赠品") : QString())});
            }
            if (d.settlement >= 0)
                settlements[d.settlement].amount += d.kind == 0 ? d.amount : -d.amount;
        }
    }

    {
        Statement ins(conn, QStringLiteral(
            "INSERT INTO sfk(id, 制单日期, 类别, 单号, dw_id, xszg_id, 应收款金额（出货）, 结帐、应付款金额（进货）, 备注, 结帐) "
            "VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, 0)"));
        const QString kinds[3] = {QStringLiteral("出货"), QStringLiteral("进货"), QStringLiteral("结帐")};
        for (const Doc *d : all)
            exec(ins, {Value::integer(d->id), Value::dateTimeSecs(d->secs), Value(kinds[d->kind]), Value(d->number),
                       Value::integer(d->partner), d->staff ? Value::integer(d->staff) : Value(),
                       Value::money(d->kind == 0 ? d->amount : 0), Value::money(d->kind == 0 ? 0 : d->amount),
                       Value(d->remark)});
    }
    {
        Statement ins(conn, QStringLiteral("INSERT INTO jzmx(sf_id, sfid_mx) VALUES(?, ?)"));
        for (const Doc &d : docs)
            if (d.settlement >= 0)
                exec(ins, {Value::integer(settlements[d.settlement].id), Value::integer(d.id)});
    }

    Statement ph(conn, QStringLiteral("UPDATE PH SET dw=?, zg=?, sp=?, sfk=?, dh_ysk=?, dh_yfk=?, dh_sk=?"));
    exec(ph, {Value::integer(shape.partners), Value::integer(shape.staff), Value::integer(shape.goods),
              Value::integer(qint64(all.size())), Value::integer(counters[0]), Value::integer(counters[1]),
              Value::integer(counters[2])});
    tr.commit();
}

} // namespace kvl::SampleData
