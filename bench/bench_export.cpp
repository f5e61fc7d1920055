// Export of 100,000 rows by 12 columns to each format, timed beside the time to
// write the same bytes with a plain QFile (write and sync, as the export's
// commit does) and beside the time to fetch the rows alone.
// Usage: bench_export [rows] [folder that keeps the exported files]
#include "ExportFormat.h"
#include "GridExporter.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <unistd.h>

using namespace kvl;

namespace {

struct Sample
{
    QStringList numbers, amounts, prices, partners, staff, goods, specs, dates, remarks;
};

QString moneyText(qint64 units)
{
    static const QLocale locale(QLocale::English, QLocale::UnitedStates);
    return locale.toString(double(units) / 10000.0, 'f', 2);
}

// Display texts as a business's document lines show them; repeated names come
// from small pools, numbers and amounts differ row by row.
ExportTable sampleTable(qint64 rows, Sample &s)
{
    for (int i = 0; i < 3000; ++i)
        s.partners << QStringLiteral("华东第%1贸易有限公司").arg(i);
    for (int i = 0; i < 40; ++i)
        s.staff << QStringLiteral("员工%1").arg(i);
    for (int i = 0; i < 5000; ++i) {
        s.goods << QStringLiteral("不锈钢螺栓M%1").arg(i);
        s.specs << QStringLiteral("%1x%2mm").arg(i % 50 + 5).arg(i % 200 + 10);
    }
    for (int i = 0; i < 2000; ++i)
        s.dates << QDate(2020, 1, 1).addDays(i).toString(QStringLiteral("yyyy/MM/dd"));
    s.remarks << QString() << QStringLiteral("月底结清") << QStringLiteral("含运费") << QStringLiteral("note 7");
    for (qint64 r = 0; r < rows; ++r) {
        s.numbers << QStringLiteral("CH%1").arg(r + 1, 8, 10, QLatin1Char('0'));
        s.amounts << moneyText((r * 7919) % 100000000 * 100);
        s.prices << moneyText((r * 104729) % 10000000);
    }

    ExportTable t;
    t.title = QStringLiteral("办理业务");
    const char *titles[] = {"单号", "类别", "制单日期", "单位名称", "员工姓名", "商品名称",
                            "规格", "数量", "单价", "金额", "结帐单号", "备注"};
    for (int c = 0; c < 12; ++c) {
        ExportColumn column;
        column.title = QString::fromUtf8(titles[c]);
        column.numeric = c >= 7 && c <= 9;
        column.numberFormat = c >= 8 && c <= 9 ? QStringLiteral("#,##0.00") : QString();
        column.width = 90;
        t.columns << column;
    }
    t.rowCount = rows;
    t.fetchRow = [&s](qint64 r, ExportRow &cells) {
        const qint64 amount = (r * 7919) % 100000000 * 100;
        cells[0] = ExportCell::textCell(s.numbers.at(r));
        cells[1] = ExportCell::textCell(r % 3 ? QStringLiteral("出货") : QStringLiteral("进货"));
        cells[2] = ExportCell::textCell(s.dates.at(r % s.dates.size()));
        cells[3] = ExportCell::textCell(s.partners.at(r % s.partners.size()));
        cells[4] = ExportCell::textCell(s.staff.at(r % s.staff.size()));
        cells[5] = ExportCell::textCell(s.goods.at(r % s.goods.size()));
        cells[6] = ExportCell::textCell(s.specs.at(r % s.specs.size()));
        cells[7] = ExportCell::numberCell(QString::number(r % 500 + 1), (r % 500 + 1) * 10000);
        cells[8] = ExportCell::numberCell(s.prices.at(r), (r * 104729) % 10000000);
        cells[9] = ExportCell::numberCell(s.amounts.at(r), amount);
        cells[10] = ExportCell::textCell(r % 4 ? QString() : s.numbers.at(r / 2));
        cells[11] = ExportCell::textCell(s.remarks.at(r % s.remarks.size()));
    };
    t.footerRows = {{ExportCell::textCell(QStringLiteral("合计")), {}, {}, {}, {}, {}, {}, {}, {},
                     ExportCell::numberCell(QStringLiteral("-"), 0), ExportCell::textCell(QStringLiteral("%1笔").arg(rows))}};
    return t;
}

double plainWriteMs(const QByteArray &bytes, const QString &path)
{
    QElapsedTimer timer;
    timer.start();
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return -1;
    f.write(bytes);
    f.flush();
    ::fsync(f.handle());
    f.close();
    return timer.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const qint64 rows = argc > 1 ? QByteArray(argv[1]).toLongLong() : 100000;
    QTemporaryDir temp;
    const QDir dir(argc > 2 ? QString::fromLocal8Bit(argv[2]) : temp.path());
    Sample sample;
    const ExportTable table = sampleTable(rows, sample);

    QElapsedTimer timer;
    timer.start();
    ExportRow cells(table.columns.size());
    qint64 chars = 0;
    for (qint64 r = 0; r < rows; ++r) {
        table.fetchRow(r, cells);
        chars += cells.at(0).text.size();
    }
    const double fetchMs = timer.nsecsElapsed() / 1e6;
    std::printf("export of %lld rows x %lld columns; fetching the rows alone: %.1f ms (%lld)\n",
                rows, qint64(table.columns.size()), fetchMs, chars);
    std::printf("%-5s %10s %9s %9s %14s %8s\n", "fmt", "export ms", "MB", "MB/s", "QFile write ms", "ratio");

    for (const ExportFormat format : {ExportFormat::Xls, ExportFormat::Rtf, ExportFormat::Txt, ExportFormat::Htm}) {
        const QString path = dir.filePath(exportFileName(QStringLiteral("办理业务"), format));
        double best = 1e300;
        for (int round = 0; round < 3; ++round) {
            timer.restart();
            GridExporter::exportToFile(table, format, path);
            best = qMin(best, timer.nsecsElapsed() / 1e6);
        }
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        const QByteArray bytes = f.readAll();
        double plain = 1e300;
        for (int round = 0; round < 3; ++round)
            plain = qMin(plain, plainWriteMs(bytes, dir.filePath(QStringLiteral("plain.bin"))));
        const double mb = bytes.size() / 1e6;
        std::printf("%-5s %10.1f %9.2f %9.1f %14.1f %7.1fx\n", qPrintable(exportExtension(format)), best, mb,
                    mb / (best / 1000.0), plain, best / plain);
    }
    return 0;
}
