// The preview, offscreen: what it refuses to show, its zoom, find, page setup with the
// save-settings signal, PDF export and printing with offsets.
#include "ReportFixtures.h"
#include "ReportPageSetupDialog.h"
#include "ReportPageView.h"
#include "ReportPreview.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace kvl;
using namespace kvl::test;

namespace {

ReportTemplate documentTpl()
{
    return ReportTemplate::fromJson(documentTemplate(), QStringLiteral("出货（应收款）单"));
}

// One line of what poppler says about a PDF, e.g. "Pages" or "Page size".
QString pdfInfo(const QString &path, const QString &key)
{
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {path});
    p.waitForFinished();
    for (const QString &line : QString::fromUtf8(p.readAllStandardOutput()).split('\n'))
        if (line.startsWith(key + QLatin1Char(':')))
            return line.mid(key.size() + 1).trimmed();
    return QString();
}

int pdfPages(const QString &path)
{
    return pdfInfo(path, QStringLiteral("Pages")).toInt();
}

} // namespace

class TestReportPreview : public QObject
{
    Q_OBJECT

private slots:
    void emptyMasterIsNotShown()
    {
        DocumentData d(0);
        int dialogs = 0;
        ReportPreviewHooks hooks;
        hooks.runDialog = [&](QDialog *) { ++dialogs; return int(QDialog::Accepted); };
        const ReportOutcome out = ReportPreview::run(documentTemplate(), QStringLiteral("出货（应收款）单"), d.registry,
                                                     d.variables, nullptr, {}, hooks);
        QCOMPARE(out.status, ReportOutcome::Status::NoData);
        QCOMPARE(out.message, QStringLiteral("报表［出货（应收款）单］没有可以打印的数据！"));
        QCOMPARE(dialogs, 0);
    }

    void damagedTemplateIsNotShown()
    {
        DocumentData d(3);
        int dialogs = 0;
        ReportPreviewHooks hooks;
        hooks.runDialog = [&](QDialog *) { ++dialogs; return int(QDialog::Accepted); };
        const ReportOutcome out = ReportPreview::run(documentTemplate().left(300), QStringLiteral("结帐单"), d.registry,
                                                     d.variables, nullptr, {}, hooks);
        QCOMPARE(out.status, ReportOutcome::Status::BadTemplate);
        QVERIFY2(out.message.startsWith(QStringLiteral("报表［结帐单］的报表文件已损坏")), qPrintable(out.message));
        QCOMPARE(dialogs, 0);
    }

    void showsThroughTheModalRunner()
    {
        DocumentData d(3);
        QString title;
        ReportPreviewHooks hooks;
        hooks.runDialog = [&](QDialog *dlg) { title = dlg->windowTitle(); return int(QDialog::Accepted); };
        const ReportOutcome out = ReportPreview::run(documentTemplate(), QStringLiteral("出货（应收款）单"), d.registry,
                                                     d.variables, nullptr, {}, hooks);
        QCOMPARE(out.status, ReportOutcome::Status::Shown);
        QCOMPARE(title, QStringLiteral("打印预览 - 出货（应收款）单"));
    }

    void opensAtPageWidthAndZooms()
    {
        DocumentData d(80);
        ReportPreview p(documentTpl(), d.registry, d.variables);
        p.resize(900, 700);
        p.show();
        QVERIFY(QTest::qWaitForWindowExposed(&p));
        QCOMPARE(p.zoomMode(), ReportPreview::ZoomMode::PageWidth);
        auto *scroll = p.findChild<QScrollArea *>(QStringLiteral("pageScroll"));
        const QRect page = p.pageView()->pageRect(0);
        // The page fills the width: no horizontal scrolling, little grey either side.
        QVERIFY2(page.width() > scroll->viewport()->width() * 0.85, qPrintable(QString::number(page.width())));
        QVERIFY(page.width() <= scroll->viewport()->width());
        p.resize(1200, 700);
        QTRY_VERIFY(p.pageView()->pageRect(0).width() > page.width());

        const double wide = p.zoom();
        p.zoomOut();
        QCOMPARE(p.zoomMode(), ReportPreview::ZoomMode::Fixed);
        QVERIFY(p.zoom() < wide);
        const double out = p.zoom();
        p.zoomIn();
        QVERIFY(p.zoom() > out);
        p.setZoomMode(ReportPreview::ZoomMode::WholePage);
        QVERIFY(p.pageView()->pageRect(0).height() <= scroll->viewport()->height());
        QCOMPARE(p.findChild<QLabel *>(QStringLiteral("pageLabel"))->text(),
                 QStringLiteral("第 1 页 / 共 %1 页").arg(p.document().pages.size()));
    }

    void findHighlightsPageByPage()
    {
        DocumentData d(80);
        ReportPreview p(documentTpl(), d.registry, d.variables);
        p.resize(900, 700);
        p.show();
        QVERIFY(QTest::qWaitForWindowExposed(&p));
        const int pages = int(p.document().pages.size());

        QVERIFY(p.findNext(QStringLiteral("不锈钢合页 50 号")));
        const int found = p.currentPage();
        QVERIFY(found > 0);
        QVERIFY(p.document().pageTexts(found).contains(QStringLiteral("不锈钢合页 50 号")));
        QCOMPARE(p.pageView()->highlights(found).size(), 1);

        // The column title is on every page: each search moves one page on, then wraps.
        p.showPage(0);
        for (int k = 0; k < pages + 1; ++k) {
            QVERIFY(p.findNext(QStringLiteral("商品名称")));
            QCOMPARE(p.currentPage(), k % pages);
            QCOMPARE(p.pageView()->highlights(k % pages).size(), 1);
        }
        QVERIFY(!p.findNext(QStringLiteral("没有这个词")));
        QCOMPARE(p.findChild<QLabel *>(QStringLiteral("statusLabel"))->text(), QStringLiteral("找不到“没有这个词”"));
        QVERIFY(p.pageView()->highlights(0).isEmpty());
    }

    void pageSetup_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::newRow("confirmed") << true;
        QTest::newRow("cancelled") << false;
    }
    void pageSetup()
    {
        QFETCH(bool, confirm);
        DocumentData d(80);
        ReportPreviewHooks hooks;
        hooks.runDialog = [&](QDialog *dlg) {
            auto *setup = qobject_cast<ReportPageSetupDialog *>(dlg);
            if (!setup)
                return int(QDialog::Rejected);
            auto *paper = setup->findChild<QComboBox *>(QStringLiteral("paper"));
            paper->setCurrentIndex(paper->findData(QStringLiteral("A4")));
            setup->findChild<QComboBox *>(QStringLiteral("orientation"))->setCurrentIndex(0);
            setup->findChild<QDoubleSpinBox *>(QStringLiteral("marginTop"))->setValue(30);
            return int(confirm ? QDialog::Accepted : QDialog::Rejected);
        };
        ReportPreview p(documentTpl(), d.registry, d.variables, hooks);
        const int pagesBefore = int(p.document().pages.size());
        QSignalSpy saved(&p, &ReportPreview::saveReportSetting);
        p.pageSetup();
        if (!confirm) {
            QCOMPARE(saved.count(), 0);
            QCOMPARE(p.document().pageHeight, 148.0);
            return;
        }
        QCOMPARE(saved.count(), 1);
        const ReportTemplate back = ReportTemplate::fromJson(saved.first().first().toByteArray(), QStringLiteral("x"));
        QCOMPARE(back.page.paper, QStringLiteral("A4"));
        QCOMPARE(back.page.orientation, ReportPageSetup::Orientation::Portrait);
        QCOMPARE(back.page.margins.top, 30.0);
        QCOMPARE(back.page.margins.left, 10.0); // untouched settings stay
        QCOMPARE(back.bands, documentTpl().bands);
        // The preview shows the new layout at once: taller sheets, fewer pages.
        QCOMPARE(p.document().pageHeight, 297.0);
        QVERIFY(p.document().pages.size() < pagesBefore);
    }

    void exportPdf()
    {
        QTemporaryDir dir;
        DocumentData d(80);
        QString suggested;
        ReportPreviewHooks hooks;
        const QString path = dir.filePath(QStringLiteral("出货单.pdf"));
        hooks.choosePdfFile = [&](const QString &s) { suggested = s; return path; };
        ReportPreview p(documentTpl(), d.registry, d.variables, hooks);
        QVERIFY(p.exportPdf());
        QCOMPARE(suggested, QStringLiteral("出货（应收款）单.pdf"));
        QCOMPARE(pdfPages(path), int(p.document().pages.size()));
        // A5 turned: 210 mm by 148 mm is 595 by 420 points.
        QVERIFY2(pdfInfo(path, QStringLiteral("Page size")).startsWith(QStringLiteral("595 x 420")),
                 qPrintable(pdfInfo(path, QStringLiteral("Page size"))));
    }

    void exportPdfCancelledOrRefused()
    {
        QTemporaryDir dir;
        DocumentData d(3);
        QString target;
        QStringList shown;
        ReportPreviewHooks hooks;
        hooks.choosePdfFile = [&](const QString &) { return target; };
        hooks.runDialog = [&](QDialog *dlg) {
            if (auto *box = qobject_cast<QMessageBox *>(dlg))
                shown << box->text();
            return int(QDialog::Accepted);
        };
        ReportPreview p(documentTpl(), d.registry, d.variables, hooks);
        QVERIFY(!p.exportPdf()); // cancelled: nothing written, nothing said
        QVERIFY(shown.isEmpty());
        target = dir.filePath(QStringLiteral("没有的目录/a.pdf"));
        QVERIFY(!p.exportPdf());
        QCOMPARE(shown, QStringList{QStringLiteral("不能写入文件［%1］！").arg(QDir::toNativeSeparators(target))});
        QVERIFY(!QFile::exists(target));
    }

    void printWithOffsets_data()
    {
        QTest::addColumn<double>("offsetX");
        QTest::addColumn<int>("saves");
        QTest::newRow("offsets unchanged") << 0.0 << 0;
        QTest::newRow("offsets changed") << 4.5 << 1;
    }
    void printWithOffsets()
    {
        QFETCH(double, offsetX);
        QFETCH(int, saves);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("printed.pdf"));
        DocumentData d(30);
        ReportPreviewHooks hooks;
        hooks.runDialog = [&](QDialog *dlg) {
            auto *pd = qobject_cast<QPrintDialog *>(dlg);
            if (!pd)
                return int(QDialog::Rejected);
            pd->printer()->setOutputFormat(QPrinter::PdfFormat);
            pd->printer()->setOutputFileName(path);
            pd->findChild<QDoubleSpinBox *>(QStringLiteral("offsetX"))->setValue(offsetX);
            return int(QDialog::Accepted);
        };
        ReportPreview p(documentTpl(), d.registry, d.variables, hooks);
        QSignalSpy saved(&p, &ReportPreview::saveReportSetting);
        p.print();
        QCOMPARE(pdfPages(path), int(p.document().pages.size()));
        QVERIFY(pdfInfo(path, QStringLiteral("Page size")).startsWith(QStringLiteral("595 x 420")));
        QCOMPARE(saved.count(), saves);
        if (saves)
            QCOMPARE(ReportTemplate::fromJson(saved.first().first().toByteArray(), QStringLiteral("x")).page.offsetX, offsetX);
    }
};

QTEST_MAIN(TestReportPreview)
#include "test_report_preview.moc"
