// Painting prepared pages onto an image: text and rules land where the layout put them,
// in a Chinese font, and find markers show.
#include "ReportEngine.h"
#include "ReportFixtures.h"
#include "ReportPainter.h"

#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <QTest>

using namespace kvl;
using namespace kvl::test;

namespace {

constexpr double kPxPerMm = 5;

QImage paint(const ReportPage &page, const ReportDocument &doc, const QList<int> &highlights = {})
{
    QImage img(int(doc.pageWidth * kPxPerMm), int(doc.pageHeight * kPxPerMm), QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    ReportPainter::paintPage(p, page, kPxPerMm, {}, highlights);
    return img;
}

int darkPixels(const QImage &img, const QRectF &mm)
{
    const QRect r = QRectF(mm.topLeft() * kPxPerMm, mm.size() * kPxPerMm).toRect().intersected(img.rect());
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (qGray(img.pixel(x, y)) < 128)
                ++n;
    return n;
}

const ReportTextItem *item(const ReportPage &page, const QString &text)
{
    for (const ReportTextItem &t : page.texts)
        if (t.text() == text)
            return &t;
    return nullptr;
}

} // namespace

class TestReportPainter : public QObject
{
    Q_OBJECT

private slots:
    void chineseFontsArePresent()
    {
        for (const char *family : {"sans", "serif"}) {
            const QFont f = ReportPainter::font(QString::fromLatin1(family), 10, false, false);
            QVERIFY2(QFontInfo(f).family().contains(QStringLiteral("CJK")), qPrintable(QFontInfo(f).family()));
        }
    }

    void textAndRulesLandInPlace()
    {
        DocumentData d(3);
        const ReportDocument doc = ReportEngine::prepare(ReportTemplate::fromJson(documentTemplate(), "x"), d.registry, d.variables);
        const ReportPage &page = doc.pages[0];
        const QImage img = paint(page, doc);
        const ReportTextItem *title = item(page, QStringLiteral("宏达商贸有限公司"));
        QVERIFY(title);
        QVERIFY(darkPixels(img, title->rect) > 200);
        // The left margin holds nothing, the frame of the first cell is a dark rule.
        QCOMPARE(darkPixels(img, QRectF(0, 0, 9.5, doc.pageHeight)), 0);
        const ReportTextItem *header = item(page, QStringLiteral("序号"));
        QVERIFY(header);
        const double ruleX = header->rect.left() - 0.8; // the cell's left side
        QVERIFY(darkPixels(img, QRectF(ruleX - 0.2, header->rect.top() + 1, 0.4, 4)) >= 4 * kPxPerMm);
        // Right-aligned amounts end at their cell's right edge, not beyond it.
        const ReportTextItem *amount = item(page, QStringLiteral("250.66"));
        QVERIFY(amount);
        QCOMPARE(darkPixels(img, QRectF(amount->rect.right() + 0.2, amount->rect.top() + 1, 0.4, amount->rect.height() - 2)), 0);
        QVERIFY(darkPixels(img, QRectF(amount->rect.right() - 2, amount->rect.top(), 2, amount->rect.height())) > 0);
    }

    void findMarkersShow()
    {
        DocumentData d(3);
        const ReportDocument doc = ReportEngine::prepare(ReportTemplate::fromJson(documentTemplate(), "x"), d.registry, d.variables);
        const ReportPage &page = doc.pages[0];
        const QList<int> hits = doc.find(0, QStringLiteral("合页 2"));
        QCOMPARE(hits.size(), 1);
        const QImage img = paint(page, doc, hits);
        const QPoint inside = (page.texts[hits[0]].rect.bottomRight() * kPxPerMm - QPointF(2, 2)).toPoint();
        const QColor c = img.pixelColor(inside);
        QVERIFY2(c.red() > 200 && c.green() > 200 && c.blue() < 150, qPrintable(c.name()));
        QCOMPARE(paint(page, doc).pixelColor(inside), QColor(Qt::white));
    }
};

QTEST_MAIN(TestReportPainter)
#include "test_report_painter.moc"
