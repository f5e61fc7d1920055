// Benchmark of the data grid on the document list of a large data file
// (DataSfk, about 320,000 documents): FitColumnWidths beside the bare engine
// reading the same rows and beside formatting the texts alone; the export of
// 100,000 rows to each format beside writing the same bytes with QFile; and
// repainting the grid at several scroll positions beside painting the same
// texts straight into an image. Usage: bench_grid [FOLDER] (a folder without
// KVL.DTA gets the large sample written first; default: a temporary folder).
#include "DataGrid.h"
#include "Dataset.h"
#include "ExportFormat.h"
#include "FitColumnWidths.h"
#include "GridExportTable.h"
#include "GridExporter.h"
#include "ProgramValues.h"
#include "SampleData.h"
#include "Schema.h"
#include "datakvl.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <cstdio>
#include <functional>

using namespace kvl;

namespace {

double timed(const std::function<void()> &fn)
{
    QElapsedTimer t;
    t.start();
    fn();
    return double(t.nsecsElapsed()) / 1e6;
}

// The bare engine: step every row of the statement and read every column.
double bareRead(Connection &conn, const QString &sql)
{
    return timed([&] {
        sqlite3_stmt *st = nullptr;
        const QByteArray u = sql.toUtf8();
        sqlite3_prepare_v2(conn.handle(), u.constData(), int(u.size()), &st, nullptr);
        const int n = sqlite3_column_count(st);
        qint64 sink = 0;
        while (sqlite3_step(st) == SQLITE_ROW)
            for (int c = 0; c < n; ++c)
                sink += sqlite3_column_type(st, c) == SQLITE_TEXT ? sqlite3_column_bytes(st, c)
                                                                  : sqlite3_column_int64(st, c);
        sqlite3_finalize(st);
        if (sink == 42)
            std::puts("");
    });
}

void setUpGrid(DataGrid &grid, Dataset &ds)
{
    const char *fields[] = {"制单日期", "类别", "单号", "应收款金额（出货）", "结帐、应付款金额（进货）",
                            "应收款余额", "员工姓名", "备注", "结帐单号", "单位名称"};
    for (const char *f : fields)
        grid.addColumn(QString::fromUtf8(f));
    grid.setDataset(&ds);
    grid.setFooter(0, FooterKind::Text, QStringLiteral("合计"));
    grid.setFooter(1, FooterKind::Count);
    for (int c : {3, 4, 5})
        grid.setFooter(c, FooterKind::Sum);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                     : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QTemporaryDir temp;
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temp.path();
    QDir().mkpath(folder);
    AppDir = QDir(folder).absolutePath() + QLatin1Char('/');
    const QString dataFile = AppDir + QStringLiteral("KVL.DTA");
    if (!QFileInfo::exists(dataFile)) {
        const double ms = timed([&] {
            Schema::createDataFile(dataFile, QStringLiteral("基准测试公司"));
            Connection c;
            c.connect(dataFile, Schema::databasePassword());
            SampleData::write(c, SampleData::large());
        });
        std::printf("wrote the large sample in %.0f ms\n", ms);
    }
    TDataModKvl dm;
    if (!DbConnected)
        return 1;
    Dataset &ds = dm.DataSfk;
    const QString sql = DataSfkBaseSql + QStringLiteral(" order by sfk.id");
    ds.setSql(sql);
    const double openMs = timed([&] { ds.open(); });
    const double bareMs = bareRead(dm.ConKVL, sql);
    std::printf("DataSfk: %d rows; open %.0f ms, bare engine read %.0f ms (%.2fx)\n", ds.recordCount(), openMs,
                bareMs, openMs / bareMs);

    DataGrid grid;
    setUpGrid(grid, ds);
    grid.resize(1200, 700);
    grid.show();
    QApplication::processEvents();

    // Best-fit widths over every row, beside the bare read and the formatting alone.
    const int rows = ds.recordCount();
    const double fitMs = timed([&] { FitColumnWidths(grid); });
    const double formatMs = timed([&] {
        qint64 sink = 0;
        for (int c = 0; c < grid.gridColumnCount(); ++c) {
            const int f = grid.fieldIndexOf(c);
            for (int r = 0; r < rows; ++r)
                sink += ds.displayTextAt(r, f).size();
        }
        if (sink == 42)
            std::puts("");
    });
    std::printf("FitColumnWidths, %d rows x %d columns: %.0f ms; formatting the texts alone %.0f ms (%.2fx); "
                "bare engine read %.0f ms (%.2fx)\n",
                rows, grid.gridColumnCount(), fitMs, formatMs, fitMs / formatMs, bareMs, fitMs / bareMs);

    // Footer sums after a change of the rows (a filter), beside summing in the bare engine.
    const double sumMs = timed([&] {
        ds.setFilterText(QStringLiteral("类别='出货'"));
        ds.setFiltered(true);
        grid.footerText(0, 3);
        ds.setFiltered(false);
        grid.footerText(0, 3);
    });
    std::printf("filter on and off with the footer sums recomputed: %.0f ms\n", sumMs);

    // Export of 100,000 rows to each format, beside QFile writing the same bytes.
    {
        Dataset part(dm.ConKVL);
        part.setSql(DataSfkBaseSql + QStringLiteral(" order by sfk.id limit 100000"));
        part.open();
        DataGrid g;
        setUpGrid(g, part);
        const QString name = AppDir + QStringLiteral("bench-export");
        for (int entry = 1; entry <= 4; ++entry) {
            const ExportFormat format = *exportFormatOfFilter(entry);
            const QString file = exportFileName(name, format);
            const double exportMs =
                timed([&] { GridExporter::exportToFile(GridExportTable(g, QStringLiteral("办理业务")), format, file); });
            QFile in(file);
            in.open(QIODevice::ReadOnly);
            const QByteArray bytes = in.readAll();
            in.close();
            const QString copy = file + QStringLiteral(".copy");
            const double plainMs = timed([&] {
                QFile out(copy);
                out.open(QIODevice::WriteOnly);
                out.write(bytes);
                out.flush();
                out.close();
            });
            std::printf("export %s, %d rows: %.0f ms, %.1f MB; plain QFile write of the same bytes %.1f ms (%.1fx)\n",
                        qPrintable(exportExtension(format)), part.recordCount(), exportMs, bytes.size() / 1e6,
                        plainMs, exportMs / plainMs);
            QFile::remove(file);
            QFile::remove(copy);
        }
    }

    // Repainting at five scroll positions, beside painting the same cells' texts into an image.
    QScrollBar *bar = grid.verticalScrollBar();
    double gridMs = 0;
    double bareMsPaint = 0;
    const int positions = 5;
    for (int i = 0; i < positions; ++i) {
        bar->setValue(bar->maximum() * i / (positions - 1));
        QApplication::processEvents();
        gridMs += timed([&] { grid.viewport()->grab(); });
        const int first = grid.rowAt(0);
        const int shown = grid.viewport()->height() / grid.verticalHeader()->defaultSectionSize() + 1;
        bareMsPaint += timed([&] {
            QImage img(grid.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
            img.fill(Qt::white);
            QPainter p(&img);
            p.setFont(grid.font());
            const int h = grid.verticalHeader()->defaultSectionSize();
            for (int r = 0; r < shown && first + r < rows; ++r) {
                int x = 0;
                for (int c = 0; c < grid.gridColumnCount(); ++c) {
                    const int w = grid.columnWidthOf(c);
                    p.drawText(QRect(x, r * h, w, h), Qt::AlignVCenter, ds.displayTextAt(first + r, grid.fieldIndexOf(c)));
                    x += w;
                }
            }
        });
    }
    std::printf("repaint of the viewport (%dx%d) at %d scroll positions: %.1f ms per frame; "
                "painting the same texts into an image %.1f ms (%.1fx)\n",
                grid.viewport()->width(), grid.viewport()->height(), positions, gridMs / positions,
                bareMsPaint / positions, gridMs / bareMsPaint);
    return 0;
}
