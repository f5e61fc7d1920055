// Template bytes: what is read is what is written, and a damaged template is refused
// with a message naming the report.
#include "ReportFixtures.h"
#include "ReportTemplate.h"
#include "ReportTemplateError.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace kvl;


class TestReportTemplate : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip()
    {
        const ReportTemplate t = ReportTemplate::fromJson(test::settlementTemplate(), QStringLiteral("结帐单"));
        QCOMPARE(t.bands.size(), 8);
        QCOMPARE(t.page.pageWidth(), 140.0); // landscape swaps the custom sheet
        QCOMPARE(t.page.margins.left, 12.5);
        QCOMPARE(t.page.offsetY, -2.0);
        const ReportObject &text = t.bands[0].objects[0];
        QCOMPARE(text.frame, int(ReportObject::FrameLeft | ReportObject::FrameBottom));
        QCOMPARE(text.font.size, 13.5);
        QVERIFY(text.font.italic);
        QCOMPARE(text.align, ReportObject::HAlign::Right);
        QCOMPARE(t.bands[0].objects[1].rect.bottomRight(), QPointF(120, 7.5));
        QVERIFY(t.bands[1].repeat);
        QVERIFY(!t.bands[2].repeat);
        QVERIFY(t.bands[2].stretch);

        const QByteArray bytes = t.toJson();
        const ReportTemplate again = ReportTemplate::fromJson(bytes, QStringLiteral("结帐单"));
        QVERIFY(again == t);
        QCOMPARE(again.toJson(), bytes);
        // Same meaning as the original bytes, key for key.
        QCOMPARE(QJsonDocument::fromJson(bytes).object().value("page"),
                 QJsonDocument::fromJson(test::settlementTemplate()).object().value("page"));
    }

    void changedSetupSurvivesRoundTrip()
    {
        ReportTemplate t = ReportTemplate::fromJson(test::settlementTemplate(), QStringLiteral("结帐单"));
        t.page.paper = QStringLiteral("A4");
        t.page.orientation = ReportPageSetup::Orientation::Portrait;
        t.page.margins.top = 31;
        const ReportTemplate again = ReportTemplate::fromJson(t.toJson(), QStringLiteral("结帐单"));
        QCOMPARE(again.page.pageWidth(), 210.0);
        QCOMPARE(again.page.pageHeight(), 297.0);
        QCOMPARE(again.page.margins.top, 31.0);
    }

    void damaged_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("detail");
        QByteArray cut = test::settlementTemplate();
        cut.chop(40);
        QTest::newRow("cut short") << cut << "字符处有错";
        QTest::newRow("empty") << QByteArray() << "字符处有错";
        QTest::newRow("not an object") << QByteArray("[1,2]") << "内容不是报表";
        QTest::newRow("no version") << QByteArray(R"({"bands": []})") << "没有版本号";
        QTest::newRow("wrong version") << QByteArray(R"({"version": 2, "bands": []})") << "版本 2 不能读取";
        QTest::newRow("unknown paper") << QByteArray(R"({"version": 1, "page": {"paper": "A9"}, "bands": []})") << "纸张“A9”不认识";
        QTest::newRow("margins eat the page")
            << QByteArray(R"({"version": 1, "page": {"paper": "A5", "margins": {"left": 80, "right": 80}}, "bands": []})")
            << "没有可打印的地方";
        QTest::newRow("unknown band") << QByteArray(R"({"version": 1, "bands": [{"type": "sidebar"}]})") << "类型“sidebar”不认识";
        QTest::newRow("band taller than page")
            << QByteArray(R"({"version": 1, "bands": [{"type": "summary", "height": 5000}]})") << "超出范围";
        QTest::newRow("master without link") << QByteArray(R"({"version": 1, "bands": [{"type": "masterData"}]})") << "缺少数据连接";
        QTest::newRow("detail before master")
            << QByteArray(R"({"version": 1, "bands": [{"type": "detailData", "link": "RmSfk_kcmx"}]})") << "前面没有主数据区域";
        QTest::newRow("detail on the master's link")
            << QByteArray("{\"version\": 1, \"bands\": [{\"type\": \"masterData\", \"link\": \"RmSfk\"},"
                          "{\"type\": \"detailData\", \"link\": \"RmSfk\"}]}")
            << "与主数据区域相同";
        QTest::newRow("footer without header")
            << QByteArray(R"({"version": 1, "bands": [{"type": "masterData", "link": "RmSfk"},
                {"type": "groupFooter", "condition": "x"}]})") << "没有对应的分组头";
        QTest::newRow("height is text")
            << QByteArray(R"({"version": 1, "bands": [{"type": "summary", "height": "tall"}]})") << "不是数值";
        QTest::newRow("bad frame")
            << QByteArray(R"({"version": 1, "bands": [{"type": "summary", "objects": [{"type": "text", "frame": "LX"}]}]})")
            << "边框“LX”不认识";
        QTest::newRow("negative width")
            << QByteArray(R"({"version": 1, "bands": [{"type": "summary", "objects": [{"type": "text", "w": -3}]}]})")
            << "超出范围";
    }
    void damaged()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, detail);
        try {
            ReportTemplate::fromJson(bytes, QStringLiteral("未结帐明细表"));
            QFAIL("a damaged template was accepted");
        } catch (const ReportTemplateError &e) {
            QCOMPARE(e.reportName(), QStringLiteral("未结帐明细表"));
            QVERIFY2(e.message().startsWith(QStringLiteral("报表［未结帐明细表］的报表文件已损坏，无法打印：")), qPrintable(e.message()));
            QVERIFY2(e.detail().contains(detail), qPrintable(e.detail()));
        }
    }

    // Every template shipped in reports/ reads without error.
    void shippedTemplatesRead()
    {
        const QDir dir(QStringLiteral(KVL_SOURCE_DIR "/reports"));
        const QStringList files = dir.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name);
        if (files.isEmpty())
            QSKIP("no templates in reports/ yet");
        for (const QString &f : files) {
            QFile file(dir.filePath(f));
            QVERIFY(file.open(QIODevice::ReadOnly));
            try {
                const ReportTemplate t = ReportTemplate::fromJson(file.readAll(), f);
                QVERIFY(!t.bands.isEmpty());
            } catch (const ReportTemplateError &e) {
                QFAIL(qPrintable(e.message()));
            }
        }
    }
};

QTEST_MAIN(TestReportTemplate)
#include "test_report_template.moc"
