// A small business held in memory: partners, staff, goods, shipments, purchases and one
// settlement, presented through the seven data links with the datasets' own field lists.
#pragma once

#include "ReportDataRegistry.h"
#include "TableSource.h"

#include <memory>

namespace kvl::test {

class SampleBusiness
{
public:
    struct Line { int goods; qint64 qty; qint64 price; };
    struct Doc { int id; QDate date; QString kind; QString number; int partner; int staff; QList<Line> lines; QString remark; int settledBy = 0; };

    TableSource sfk{{"id", "制单日期", "类别", "单号", "dw_id", "xszg_id", "应收款金额（出货）", "结帐、应付款金额（进货）",
                     "应收款余额", "员工姓名", "备注", "结帐", "单位名称", "结帐单号"}};
    TableSource kcmx{{"kcsp_spmc", "kcsp_splb", "kcsp_spcd", "kcsp_spdw", "id", "sf_id", "kcsp_id", "sl", "dj", "je", "备注"}};
    TableSource jzmx{{"sfk_zdrq", "sfk_lb", "sfk_dh", "sfk_je_sk", "sfk_je_fk", "sfk_je_jy", "id", "sf_id", "sfid_mx"}};
    TableSource tjYsk{{"单位编号", "单位名称", "id", "制单日期", "类别", "单号", "dw_id", "xszg_id", "应收款金额（出货）",
                       "结帐、应付款金额（进货）", "备注", "结帐", "应收款余额", "员工姓名"}};
    TableSource sfkKcmx{{"商品编号", "商品名称", "商品类别", "商品产地", "计量单位", "sl", "dj", "je", "备注", "sf_id"}};
    TableSource sfkJzmx{{"制单日期", "类别", "单号", "应收款金额（出货）", "结帐、应付款金额（进货）", "本次结帐金额", "员工姓名",
                         "备注", "结帐", "id", "dw_id", "xszg_id", "sf_id"}};
    TableSource tjSp{{"id", "制单日期", "类别", "单号", "dw_id", "xszg_id", "应收款金额（出货）", "结帐、应付款金额（进货）",
                      "sfk.备注", "结帐", "员工姓名", "结帐单号", "商品编号", "商品名称", "商品类别", "商品产地", "计量单位",
                      "sl", "dj", "备注", "单位编号", "单位名称", "应收款余额", "出货（应收款）金额", "进货（应付款）金额"}};
    ReportDataRegistry registry;
    ReportVariables variables;
    QList<Doc> docs;

    static QStringList links()
    {
        return {"RmSfk", "RmKcmx", "RmJzmx", "RmTJ_ysk", "RmSfk_kcmx", "RmSfk_jzmx", "RmTJ_sp"};
    }
    TableSource *source(const QString &link)
    {
        return static_cast<TableSource *>(registry.source(link));
    }

    explicit SampleBusiness(int documents = 24)
    {
        const QStringList partnerNames = {"东方五金交电有限公司", "华南建材批发部", "新世纪电器商行"};
        const QStringList staffNames = {"李明", "王芳"};
        struct Goods { const char *code, *name, *cat, *origin, *unit; qint64 price; };
        const Goods goods[] = {{"SP001", "不锈钢合页", "五金", "广东", "副", 125000},
                               {"SP002", "铜芯电线 BV2.5", "电工", "浙江", "卷", 1680000},
                               {"SP003", "PPR 给水管 25mm", "管材", "江苏", "米", 62500},
                               {"SP004", "LED 吸顶灯 24W 圆形（暖白光，带遥控器）", "灯具", "广东", "个", 895000}};
        int counter[2] = {0, 0};
        for (int i = 0; i < documents; ++i) {
            Doc d;
            d.id = i + 1;
            d.date = QDate(2026, 1, 5).addDays(4 * i);
            d.kind = i % 4 == 3 ? QStringLiteral("进货") : QStringLiteral("出货");
            const int k = d.kind == QStringLiteral("出货") ? 0 : 1;
            d.number = QStringLiteral("%1%2").arg(k == 0 ? "CH" : "JH").arg(++counter[k], 8, 10, QLatin1Char('0'));
            d.partner = i % 3;
            d.staff = i % 2;
            for (int l = 0; l < i % 4 + 1; ++l)
                d.lines << Line{(i + l) % 4, (l + 1) * (i % 5 + 1) * kMoneyScale, goods[(i + l) % 4].price + (k ? -50000 : 0)};
            d.remark = i % 5 == 0 ? QStringLiteral("月结") : QString();
            docs << d;
        }
        // One settlement of the first partner closes its first shipment and first purchase.
        Doc jz{documents + 1, QDate(2026, 4, 30), QStringLiteral("结帐"), QStringLiteral("JZ00000001"), 0, 0, {}, QStringLiteral("现金结清"), 0};
        docs[0].settledBy = jz.id;
        docs[3].settledBy = jz.id;
        docs << jz;

        auto amount = [&](const Doc &d) {
            qint64 s = 0;
            for (const Line &l : d.lines)
                s += l.qty / kMoneyScale * l.price;
            return s;
        };
        auto docById = [&](int id) -> const Doc & { return docs[id - 1]; };
        auto date = [](const QDate &d) { return Value::dateTime(QDateTime(d, QTime(0, 0))); };
        qint64 settled = 0;
        for (const Doc &d : docs)
            if (d.settledBy)
                settled += d.kind == QStringLiteral("出货") ? amount(d) : -amount(d);

        int lineId = 0, linkId = 0;
        for (const Doc &d : docs) {
            const bool jzDoc = d.kind == QStringLiteral("结帐");
            const qint64 ship = d.kind == QStringLiteral("出货") ? amount(d) : 0;
            const qint64 buy = d.kind == QStringLiteral("进货") ? amount(d) : jzDoc ? settled : 0;
            const qint64 balance = (!d.settledBy && !jzDoc) ? ship - buy : 0;
            const QString jzNumber = jzDoc ? d.number : d.settledBy ? docById(d.settledBy).number : QString();
            const Value staff(staffNames[d.staff]);
            const Value remark = d.remark.isEmpty() ? Value() : Value(d.remark);
            if (d.partner == 0)
                sfk.addRow({Value::integer(d.id), date(d.date), Value(d.kind), Value(d.number), Value::integer(d.partner + 1),
                            Value::integer(d.staff + 1), Value::money(ship), Value::money(buy), Value::money(balance), staff,
                            remark, Value::boolean(false), Value(partnerNames[d.partner]),
                            jzNumber.isEmpty() ? Value() : Value(jzNumber)});
            if (!jzDoc && !d.settledBy)
                tjYsk.addRow({Value(QStringLiteral("DW%1").arg(d.partner + 1, 3, 10, QLatin1Char('0'))), Value(partnerNames[d.partner]),
                              Value::integer(d.id), date(d.date), Value(d.kind), Value(d.number), Value::integer(d.partner + 1),
                              Value::integer(d.staff + 1), Value::money(ship), Value::money(buy), remark, Value::boolean(false),
                              Value::money(balance), staff});
            for (const Line &l : d.lines) {
                const Goods &g = goods[l.goods];
                const qint64 je = l.qty / kMoneyScale * l.price;
                ++lineId;
                if (d.id == 1)
                    kcmx.addRow({Value(g.name), Value(g.cat), Value(g.origin), Value(g.unit), Value::integer(lineId),
                                 Value::integer(d.id), Value::integer(l.goods + 1), Value::money(l.qty), Value::money(l.price),
                                 Value::money(je), Value()});
                sfkKcmx.addRow({Value(g.code), Value(g.name), Value(g.cat), Value(g.origin), Value(g.unit), Value::money(l.qty),
                                Value::money(l.price), Value::money(je), Value(), Value::integer(d.id)});
                const bool out = d.kind == QStringLiteral("出货");
                tjSp.addRow({Value::integer(d.id), date(d.date), Value(d.kind), Value(d.number), Value::integer(d.partner + 1),
                             Value::integer(d.staff + 1), Value::money(ship), Value::money(buy), remark, Value::boolean(false),
                             staff, jzNumber.isEmpty() ? Value() : Value(jzNumber), Value(g.code), Value(g.name), Value(g.cat),
                             Value(g.origin), Value(g.unit), Value::money(l.qty), Value::money(l.price), Value(),
                             Value(QStringLiteral("DW%1").arg(d.partner + 1, 3, 10, QLatin1Char('0'))), Value(partnerNames[d.partner]),
                             Value::money(d.settledBy ? 0 : out ? je : -je), Value::money(out ? je : 0), Value::money(out ? 0 : je)});
            }
            if (d.settledBy) {
                ++linkId;
                const Doc &s = docById(d.settledBy);
                jzmx.addRow({date(d.date), Value(d.kind), Value(d.number), Value::money(buy), Value::money(ship),
                             Value::money(ship - buy), Value::integer(linkId), Value::integer(s.id), Value::integer(d.id)});
                sfkJzmx.addRow({date(d.date), Value(d.kind), Value(d.number), Value::money(ship), Value::money(buy),
                                Value::money(ship - buy), staff, remark, Value::boolean(true), Value::integer(d.id),
                                Value::integer(d.partner + 1), Value::integer(d.staff + 1), Value::integer(s.id)});
            }
        }
        sfkKcmx.follow(&sfk, QStringLiteral("id"), QStringLiteral("sf_id"));
        sfkJzmx.follow(&sfk, QStringLiteral("id"), QStringLiteral("sf_id"));
        registry.add(QStringLiteral("RmSfk"), &sfk);
        registry.add(QStringLiteral("RmKcmx"), &kcmx);
        registry.add(QStringLiteral("RmJzmx"), &jzmx);
        registry.add(QStringLiteral("RmTJ_ysk"), &tjYsk);
        registry.add(QStringLiteral("RmSfk_kcmx"), &sfkKcmx);
        registry.add(QStringLiteral("RmSfk_jzmx"), &sfkJzmx);
        registry.add(QStringLiteral("RmTJ_sp"), &tjSp);
        variables.insert(QStringLiteral("公司名称"), Value("宏达商贸有限公司"));
        variables.insert(QStringLiteral("ShowMX"), Value::boolean(true));
        variables.insert(QStringLiteral("起始日期"), Value::real(46023.0)); // 2026-01-01 as a day count
        variables.insert(QStringLiteral("截止日期"), Value::real(46142.0)); // 2026-04-30
        variables.insert(QStringLiteral("单位名"), Value("全部往来单位"));
    }
};

} // namespace kvl::test
