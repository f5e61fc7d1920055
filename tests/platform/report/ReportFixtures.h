// Shared test data: a shipment document over in-memory sources and a grouped summary
// of unsettled documents, with their templates as JSON bytes.
#pragma once

#include "ReportDataRegistry.h"
#include "TableSource.h"

#include <QByteArray>
#include <memory>

namespace kvl::test {

inline QByteArray documentTemplate()
{
    return QByteArrayLiteral(R"({
  "version": 1,
  "name": "出货（应收款）单",
  "page": {"paper": "A5", "orientation": "landscape", "margins": {"left": 10, "top": 8, "right": 10, "bottom": 8}},
  "bands": [
    {"type": "reportTitle", "height": 24, "objects": [
      {"type": "text", "x": 0, "y": 0, "w": 190, "h": 9, "text": "[公司名称]", "align": "center",
       "font": {"family": "serif", "size": 16, "bold": true}},
      {"type": "text", "x": 0, "y": 9, "w": 190, "h": 7, "text": "出货（应收款）单", "align": "center",
       "font": {"size": 12, "bold": true}},
      {"type": "text", "x": 0, "y": 17, "w": 95, "h": 6, "text": "往来单位：[RmSfk.\"单位名称\"]"},
      {"type": "text", "x": 95, "y": 17, "w": 50, "h": 6, "text": "单号：[RmSfk.\"单号\"]"},
      {"type": "text", "x": 145, "y": 17, "w": 45, "h": 6, "text": "日期：[RmSfk.\"制单日期\"]", "format": "yyyy/mm/dd"}
    ]},
    {"type": "columnHeader", "height": 7, "objects": [
      {"type": "text", "x": 0, "y": 0, "w": 12, "h": 7, "text": "序号", "align": "center", "frame": "LTRB"},
      {"type": "text", "x": 12, "y": 0, "w": 70, "h": 7, "text": "商品名称", "align": "center", "frame": "LTRB"},
      {"type": "text", "x": 82, "y": 0, "w": 18, "h": 7, "text": "单位", "align": "center", "frame": "LTRB"},
      {"type": "text", "x": 100, "y": 0, "w": 25, "h": 7, "text": "数量", "align": "center", "frame": "LTRB"},
      {"type": "text", "x": 125, "y": 0, "w": 30, "h": 7, "text": "单价", "align": "center", "frame": "LTRB"},
      {"type": "text", "x": 155, "y": 0, "w": 35, "h": 7, "text": "金额", "align": "center", "frame": "LTRB"}
    ]},
    {"type": "masterData", "height": 6.5, "link": "RmKcmx", "stretch": true, "objects": [
      {"type": "text", "x": 0, "y": 0, "w": 12, "h": 6.5, "text": "[LINE#]", "align": "center", "frame": "LTRB"},
      {"type": "text", "x": 12, "y": 0, "w": 70, "h": 6.5, "text": "[RmKcmx.\"kcsp_spmc\"]", "wrap": true, "frame": "LTRB"},
      {"type": "text", "x": 82, "y": 0, "w": 18, "h": 6.5, "text": "[RmKcmx.\"kcsp_spdw\"]", "align": "center", "frame": "LTRB"},
      {"type": "text", "x": 100, "y": 0, "w": 25, "h": 6.5, "text": "[RmKcmx.\"sl\"]", "format": "#.####", "align": "right", "frame": "LTRB"},
      {"type": "text", "x": 125, "y": 0, "w": 30, "h": 6.5, "text": "[RmKcmx.\"dj\"]", "format": ",0.00##", "align": "right", "frame": "LTRB"},
      {"type": "text", "x": 155, "y": 0, "w": 35, "h": 6.5, "text": "[RmKcmx.\"je\"]", "format": ",0.00;;#", "align": "right", "frame": "LTRB"}
    ]},
    {"type": "summary", "height": 20, "objects": [
      {"type": "text", "x": 0, "y": 0, "w": 100, "h": 7, "text": "合计（大写）：[RMB([SUM([RmKcmx.\"je\"])])]", "frame": "LTRB"},
      {"type": "text", "x": 100, "y": 0, "w": 55, "h": 7, "text": "共 [COUNT()] 行", "align": "center", "frame": "LTRB"},
      {"type": "text", "x": 155, "y": 0, "w": 35, "h": 7, "text": "[SUM([RmKcmx.\"je\"])]", "format": ",0.00;;#", "align": "right", "frame": "LTRB"},
      {"type": "text", "x": 0, "y": 12, "w": 60, "h": 6, "text": "制单：______________"},
      {"type": "text", "x": 100, "y": 12, "w": 90, "h": 6, "text": "经手人：[RmSfk.\"员工姓名\"]"}
    ]},
    {"type": "pageFooter", "height": 6, "objects": [
      {"type": "text", "x": 0, "y": 0, "w": 190, "h": 6, "text": "第 [PAGE#] 页 共 [TOTALPAGES] 页", "align": "center",
       "font": {"size": 9}}
    ]}
  ]
})");
}

struct DocumentData
{
    TableSource header{{"id", "单号", "制单日期", "单位名称", "员工姓名", "备注"}};
    TableSource lines{{"kcsp_spmc", "kcsp_spdw", "sl", "dj", "je", "备注"}};
    ReportDataRegistry registry;
    ReportVariables variables;
    qint64 total = 0;

    explicit DocumentData(int lineCount)
    {
        header.addRow({Value::integer(7), Value("CH00000012"),
                       Value::dateTime(QDateTime(QDate(2026, 3, 7), QTime(0, 0))), Value("东方五金交电有限公司"),
                       Value("李明"), Value()});
        for (int i = 0; i < lineCount; ++i) {
            const qint64 qty = (i % 7 + 1) * kMoneyScale;
            const qint64 price = 1250000 + i * 3300; // 125.00 and up
            const qint64 amount = qty / kMoneyScale * price;
            total += amount;
            lines.addRow({Value(QStringLiteral("不锈钢合页 %1 号").arg(i + 1)), Value("副"), Value::money(qty),
                          Value::money(price), Value::money(amount), Value()});
        }
        registry.add(QStringLiteral("RmSfk"), &header);
        registry.add(QStringLiteral("RmKcmx"), &lines);
        variables.insert(QStringLiteral("公司名称"), Value("宏达商贸有限公司"));
    }
};

inline QByteArray summaryTemplate()
{
    return QByteArrayLiteral(R"({
  "version": 1,
  "name": "未结帐汇总表－往来单位",
  "page": {"paper": "A4", "orientation": "portrait"},
  "bands": [
    {"type": "reportTitle", "height": 10, "objects": [
      {"type": "text", "x": 0, "y": 0, "w": 180, "h": 10, "text": "未结帐汇总表", "align": "center", "font": {"size": 14, "bold": true}}
    ]},
    {"type": "columnHeader", "height": 7, "objects": [
      {"type": "text", "x": 0, "y": 0, "w": 60, "h": 7, "text": "往来单位", "frame": "LTRB"},
      {"type": "text", "x": 60, "y": 0, "w": 40, "h": 7, "text": "单号", "frame": "LTRB"},
      {"type": "text", "x": 100, "y": 0, "w": 40, "h": 7, "text": "出货（应收款）金额", "frame": "LTRB"},
      {"type": "text", "x": 140, "y": 0, "w": 40, "h": 7, "text": "应收款余额", "frame": "LTRB"}
    ]},
    {"type": "groupHeader", "height": 6, "condition": "RmTJ_ysk.\"单位名称\"", "visible": "ShowMX", "repeat": true, "objects": [
      {"type": "text", "x": 0, "y": 0, "w": 180, "h": 6, "text": "[RmTJ_ysk.\"单位名称\"]", "font": {"bold": true}}
    ]},
    {"type": "masterData", "height": 6, "link": "RmTJ_ysk", "visible": "ShowMX", "objects": [
      {"type": "text", "x": 60, "y": 0, "w": 40, "h": 6, "text": "[RmTJ_ysk.\"单号\"]", "frame": "LTRB"},
      {"type": "text", "x": 100, "y": 0, "w": 40, "h": 6, "text": "[RmTJ_ysk.\"应收款金额（出货）\"]", "format": ",0.00;;#", "align": "right", "frame": "LTRB"},
      {"type": "text", "x": 140, "y": 0, "w": 40, "h": 6, "text": "[RmTJ_ysk.\"应收款余额\"]", "format": ",0.00;;#", "align": "right", "frame": "LTRB"}
    ]},
    {"type": "groupFooter", "height": 6, "condition": "RmTJ_ysk.\"单位名称\"", "objects": [
      {"type": "text", "x": 0, "y": 0, "w": 60, "h": 6, "text": "[RmTJ_ysk.\"单位名称\"] 小计", "frame": "LTRB"},
      {"type": "text", "x": 60, "y": 0, "w": 40, "h": 6, "text": "[COUNT()] 张", "frame": "LTRB"},
      {"type": "text", "x": 100, "y": 0, "w": 40, "h": 6, "text": "[SUM(RmTJ_ysk.\"应收款金额（出货）\")]", "format": ",0.00;;#", "align": "right", "frame": "LTRB"},
      {"type": "text", "x": 140, "y": 0, "w": 40, "h": 6, "text": "[SUM(RmTJ_ysk.\"应收款余额\")]", "format": ",0.00;;#", "align": "right", "frame": "LTRB"}
    ]},
    {"type": "summary", "height": 6, "objects": [
      {"type": "text", "x": 0, "y": 0, "w": 100, "h": 6, "text": "总计", "frame": "LTRB"},
      {"type": "text", "x": 100, "y": 0, "w": 40, "h": 6, "text": "[SUM(RmTJ_ysk.\"应收款金额（出货）\")]", "format": ",0.00;;#", "align": "right", "frame": "LTRB"},
      {"type": "text", "x": 140, "y": 0, "w": 40, "h": 6, "text": "[SUM(RmTJ_ysk.\"应收款余额\")]", "format": ",0.00;;#", "align": "right", "frame": "LTRB"}
    ]}
  ]
})");
}

// Unsettled documents of three partners, already in the order of the grouping field.
struct UnsettledData
{
    TableSource rows{{"单位名称", "单号", "类别", "应收款金额（出货）", "应收款余额", "员工姓名"}};
    ReportDataRegistry registry;
    ReportVariables variables;

    UnsettledData()
    {
        const char *partners[] = {"甲方贸易", "乙方建材", "丙方电器"};
        const int counts[] = {3, 1, 4};
        int n = 0;
        for (int p = 0; p < 3; ++p) {
            for (int k = 0; k < counts[p]; ++k, ++n) {
                const qint64 amount = (n + 1) * 1234567 + 50; // odd ten-thousandths: exactness matters
                rows.addRow({Value(QString::fromUtf8(partners[p])), Value(QStringLiteral("CH%1").arg(n + 1, 8, 10, QLatin1Char('0'))),
                             Value("出货"), Value::money(amount), Value::money(amount - 100000), Value("王五")});
            }
        }
        registry.add(QStringLiteral("RmTJ_ysk"), &rows);
    }
};

// A template that uses every band type and every object attribute.
inline QByteArray settlementTemplate()
{
    return QByteArrayLiteral(R"({
  "version": 1, "name": "结帐单",
  "page": {"paper": "custom", "width": 241, "height": 140, "orientation": "landscape",
           "margins": {"left": 12.5, "top": 7, "right": 9, "bottom": 6}, "offsetX": 1.5, "offsetY": -2},
  "bands": [
    {"type": "pageHeader", "height": 8, "visible": "[ShowMX]", "objects": [
      {"type": "text", "x": 0, "y": 0, "w": 80, "h": 8, "text": "[公司名称]", "format": "yyyy/mm/dd",
       "align": "right", "valign": "bottom", "wrap": true, "frame": "LB", "lineWidth": 0.5,
       "font": {"family": "serif", "size": 13.5, "bold": true, "italic": true}},
      {"type": "line", "x1": 0, "y1": 7.5, "x2": 120, "y2": 7.5, "lineWidth": 0.4},
      {"type": "rect", "x": 1, "y": 1, "w": 5, "h": 5}
    ]},
    {"type": "groupHeader", "height": 5, "condition": "RmJzmx.\"sfk_lb\"", "repeat": true},
    {"type": "masterData", "height": 6, "link": "RmSfk", "stretch": true},
    {"type": "detailData", "height": 5, "link": "RmSfk_jzmx"},
    {"type": "detailFooter", "height": 5},
    {"type": "groupFooter", "height": 5, "condition": "RmJzmx.\"sfk_lb\""},
    {"type": "summary", "height": 9},
    {"type": "pageFooter", "height": 5}
  ]
})");
}



// Documents with their lines as details, footers counting and summing per document.
inline QByteArray masterDetailTemplate()
{
    return QByteArrayLiteral(R"({"version": 1, "bands": [
            {"type": "masterData", "link": "RmSfk", "height": 6, "objects": [{"type": "text", "w": 40, "h": 6, "text": "单据 [RmSfk.单号]"}]},
            {"type": "detailData", "link": "RmSfk_kcmx", "height": 6, "objects": [
                {"type": "text", "x": 10, "w": 40, "h": 6, "text": "[RmSfk.单号]/[LINE#] [RmSfk_kcmx.商品名称]"}]},
            {"type": "detailFooter", "height": 6, "objects": [
                {"type": "text", "x": 10, "w": 60, "h": 6, "text": "本单 [COUNT()] 行 [FORMAT(SUM(RmSfk_kcmx.je), '0.00')]"}]},
            {"type": "summary", "height": 6, "objects": [
                {"type": "text", "w": 90, "h": 6, "text": "[COUNT()] 张单据 [FORMAT(SUM(RmSfk_kcmx.je), '0.00')]"}]}
        ]})");
}

// One data band: a cell given by the caller (%1) beside the goods name.
inline QByteArray oneCellTemplate()
{
    return QByteArrayLiteral(R"({"version": 1, "bands": [
            {"type": "masterData", "link": "RmKcmx", "height": 6, "objects": [%1,
                {"type": "text", "x": 60, "w": 50, "h": 6, "text": "[RmKcmx.kcsp_spmc]"}]}]})");
}

inline QByteArray unknownMasterTemplate()
{
    return QByteArrayLiteral(R"({"version": 1, "bands": [{"type": "masterData", "link": "RmGone", "height": 6}]})");
}

} // namespace kvl::test
