// The main window: its controls, creation steps, exit question, background picture in
// PH.JPEG, help and the web link.
#include "AppEvents.h"
#include "BackgroundImage.h"
#include "ClockPane.h"
#include "CoreTestData.h"
#include "FileDialogAnswers.h"
#include "KeyStatePane.h"
#include "LinkPane.h"
#include "MessageRecorder.h"
#include "ProgramHelp.h"
#include "ProgramReportVariables.h"
#include "SideBar.h"
#include "SizePanel.h"
#include "StatusPane.h"
#include "UrlOpener.h"
#include "datakvl.h"
#include "main.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>

#include <memory>

using namespace kvl;

namespace {

// Records what would have been opened, and whether the wait cursor was up meanwhile.
class OpenedUrls
{
public:
    OpenedUrls()
    {
        m_before = UrlOpener::setHandler([this](const QUrl &url) {
            urls << url;
            waitCursor << (QApplication::overrideCursor()
                           && QApplication::overrideCursor()->shape() == Qt::WaitCursor);
            return true;
        });
    }
    ~OpenedUrls() { UrlOpener::setHandler(m_before); }
    QList<QUrl> urls;
    QList<bool> waitCursor;

private:
    UrlOpener::Handler m_before;
};

QImage filled(QSize size, QColor color)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

QByteArray storedJpeg()
{
    Dataset &q = DataModKvl->query(QStringLiteral("SELECT JPEG from PH"));
    q.open();
    const QByteArray bytes = q.value(QStringLiteral("JPEG")).toBytes();
    q.close();
    return bytes;
}

bool near(QColor a, QColor b)
{
    return qAbs(a.red() - b.red()) < 24 && qAbs(a.green() - b.green()) < 24 && qAbs(a.blue() - b.blue()) < 24;
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void controls();
    void sideBarGroupsAndItems();
    void sideBarGradientAndTextFit();
    void formCreate_data();
    void formCreate();
    void countersRepairedWhenAllZero();
    void statusPaneFollowsReplacedModule();
    void exitQuestion_data();
    void exitQuestion();
    void backgroundPictureRoundTrip();
    void undecodablePictureLeavesBackground();
    void help_data();
    void help();
    void webLink();

private:
    void start();
    std::unique_ptr<CoreTestData> m_data;
    std::unique_ptr<TDataModKvl> m_module;
    QPointer<TFMmain> m_main;
};

void TestMainWindow::init()
{
    m_data = std::make_unique<CoreTestData>();
    m_data->create(QStringLiteral("远航贸易"));
}

void TestMainWindow::start()
{
    m_module = std::make_unique<TDataModKvl>();
    QVERIFY(DbConnected);
    m_main = new TFMmain;
    m_main->resize(1000, 700);
    m_main->show();
}

void TestMainWindow::cleanup()
{
    delete m_main.data();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_module.reset();
    m_data.reset();
}

void TestMainWindow::controls()
{
    start();
    QCOMPARE(m_main->windowTitle(), QStringLiteral("《Kavelo》应收应付款管理系统 3.6"));
    QCOMPARE(FMmain, m_main.data());
    auto *panel = m_main->findChild<SizePanel *>("RzSizePanel1");
    QCOMPARE(m_main->centralWidget(), panel);
    QCOMPARE(panel->sideWidth(), 98);
    QCOMPARE(m_main->dxSideBar1->parentWidget(), panel);
    QCOMPARE(m_main->findChild<QFrame *>("Bevel1")->toolTip(), QStringLiteral("请设定背景图片！"));
    QCOMPARE(m_main->Image1->parentWidget(), m_main->Panel2);
    QCOMPARE(m_main->Image1->geometry(), m_main->Panel2->rect());

    QStatusBar *bar = m_main->findChild<QStatusBar *>("RzStatusBar1");
    QCOMPARE(bar->height(), 21);
    auto *clock = m_main->findChild<ClockPane *>("RzClockStatus");
    auto *company = m_main->findChild<StatusPane *>("RzStatusPane1");
    auto *link = m_main->findChild<LinkPane *>("RzGlyphStatus1");
    auto *num = m_main->findChild<KeyStatePane *>("RzKeyStatus1");
    auto *caps = m_main->findChild<KeyStatePane *>("RzKeyStatus");
    QCOMPARE(clock->width(), 124);
    QCOMPARE(link->width(), 23);
    QCOMPARE(num->text(), QStringLiteral("数字"));
    QCOMPARE(num->key(), LockKey::NumLock);
    QCOMPARE(caps->text(), QStringLiteral("大写"));
    QCOMPARE(caps->key(), LockKey::CapsLock);
    QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
    QVERIFY(link->toolTip().contains(QStringLiteral("网站")));
    QVERIFY(!link->pixmap().isNull());
    // Left to right, the company pane taking the free width.
    QVERIFY(clock->x() < company->x() && company->x() < link->x() && link->x() < num->x() && num->x() < caps->x());
    QVERIFY(company->width() > 500);
    // Every pane's caption fits.
    for (QLabel *pane : {static_cast<QLabel *>(num), static_cast<QLabel *>(caps), static_cast<QLabel *>(clock)})
        QVERIFY2(pane->fontMetrics().horizontalAdvance(pane->text()) <= pane->contentsRect().width(),
                 qPrintable(pane->text()));
}

void TestMainWindow::sideBarGroupsAndItems()
{
    start();
    SideBar *bar = m_main->dxSideBar1;
    QCOMPARE(bar->groupCount(), 3);
    const QStringList groups = {"收付款管理", "基础资料", "系统管理"};
    const QList<QList<int>> tags = {{0, 1, 2}, {10, 11, 12}, {21, 22, 87, 88}};
    const QStringList captions = {"办理业务", "未结帐统计", "进出商品统计", "往来单位", "商品资料",
                                  "公司员工", "数据库维护", "设定背景图片", "帮助", "退出本系统"};
    int n = 0;
    for (int g = 0; g < 3; ++g) {
        QCOMPARE(bar->groupHeader(g)->text(), groups[g]);
        QCOMPARE(bar->tags(g), tags[g]);
        for (int tag : tags[g]) {
            QToolButton *item = bar->item(tag);
            QCOMPARE(item->text(), captions[n++]);
            QVERIFY(!item->icon().isNull());
            QVERIFY(!item->isCheckable());
        }
    }
}

void TestMainWindow::sideBarGradientAndTextFit()
{
    start();
    SideBar *bar = m_main->dxSideBar1;
    for (int g = 0; g < bar->groupCount(); ++g) {
        bar->setActiveGroup(g);
        QCoreApplication::processEvents();
        for (int tag : bar->tags(g)) {
            QToolButton *item = bar->item(tag);
            QVERIFY2(item->fontMetrics().horizontalAdvance(item->text()) <= item->width() - 4, qPrintable(item->text()));
        }
    }
    // Silver at the left, orange (255, 128, 0) at the right, below the last item.
    bar->setActiveGroup(2);
    QCoreApplication::processEvents();
    const QImage shot = bar->grab().toImage();
    const int y = bar->height() - 40;
    QVERIFY(near(shot.pixelColor(1, y), QColor(192, 192, 192)));
    QVERIFY(near(shot.pixelColor(shot.width() - 2, y), QColor(255, 128, 0)));
}

void TestMainWindow::formCreate_data()
{
    QTest::addColumn<QString>("company");
    QTest::addColumn<bool>("picture");
    QTest::newRow("company name and picture") << QStringLiteral("远航贸易") << true;
    QTest::newRow("neither") << QString() << false;
}

void TestMainWindow::formCreate()
{
    QFETCH(QString, company);
    QFETCH(bool, picture);
    m_data->update(QStringLiteral("UPDATE PH SET UserName=?"), Value(company));
    if (picture)
        m_data->update(QStringLiteral("UPDATE PH SET JPEG=?"),
                       Value::bytes(BackgroundImage::toJpeg(filled({64, 48}, QColor(200, 30, 30)))));
    ProgramReportVariables.clear();
    start();
    QCOMPARE(m_main->RzStatusPane1->text(), company);
    QCOMPARE(ProgramReportVariables.value(QStringLiteral("公司名称")).toString(), company);
    const QPixmap shown = m_main->Image1->pixmap();
    QCOMPARE(shown.isNull(), !picture);
    if (picture) {
        QCOMPARE(shown.size(), QSize(64, 48));
        QVERIFY(near(shown.toImage().pixelColor(32, 24), QColor(200, 30, 30)));
        // Stretched over the whole panel.
        const QImage panel = m_main->Panel2->grab().toImage();
        QVERIFY(near(panel.pixelColor(panel.width() - 10, panel.height() - 10), QColor(200, 30, 30)));
    }
    QVERIFY(BackgroundPicture.isEmpty()); // freed once shown
}

void TestMainWindow::countersRepairedWhenAllZero()
{
    m_data.reset();
    m_data = std::make_unique<CoreTestData>();
    m_data->create(QStringLiteral("远航贸易"), QString(), true);
    m_data->update(QStringLiteral("UPDATE PH SET dw=?, zg=0, sp=0, sfk=0"), Value::integer(0));
    start();
    Dataset &q = DataModKvl->query(QStringLiteral("SELECT PH.dw, (SELECT MAX(id) FROM 往来单位) AS m FROM PH"));
    q.open();
    QVERIFY(q.value(QStringLiteral("m")).toInt() > 0);
    QCOMPARE(q.value(QStringLiteral("dw")).toInt(), q.value(QStringLiteral("m")).toInt());
    q.close();
}

void TestMainWindow::statusPaneFollowsReplacedModule()
{
    start();
    QCOMPARE(m_main->RzStatusPane1->text(), QStringLiteral("远航贸易"));
    CompanyName = QStringLiteral("远航贸易（新）");
    emit AppEvents::instance()->dataModuleReplaced();
    QCOMPARE(m_main->RzStatusPane1->text(), CompanyName);
    QCOMPARE(ProgramReportVariables.value(QStringLiteral("公司名称")).toString(), CompanyName);
    CompanyName.clear();
    emit AppEvents::instance()->dataModuleReplaced();
    QCOMPARE(m_main->RzStatusPane1->text(), QString());
}

void TestMainWindow::exitQuestion_data()
{
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<bool>("ends");
    QTest::newRow("yes") << QMessageBox::Yes << true;
    QTest::newRow("no") << QMessageBox::No << false;
}

void TestMainWindow::exitQuestion()
{
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(bool, ends);
    start();
    MessageRecorder messages;
    messages.queueAnswer(answer);
    m_main->close(); // the close box
    QCOMPARE(messages.texts(), QStringList{QStringLiteral("现在退出系统吗?")});
    QCOMPARE(messages.transcript().constFirst().kind, MessageKind::Question);
    QCOMPARE(DataModKvl->ConKVL.isConnected(), !ends);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(m_main.isNull(), ends); // freed on Yes
    if (!ends)
        QVERIFY(m_main->isVisible());
}

void TestMainWindow::backgroundPictureRoundTrip()
{
    start();
    const QString file = m_data->folder() + QStringLiteral("风景.png");
    // Transparent pixels too: JPEG has none, they must not turn black.
    QImage png(80, 60, QImage::Format_ARGB32);
    png.fill(QColor(20, 90, 200));
    for (int x = 0; x < 20; ++x)
        for (int y = 0; y < 60; ++y)
            png.setPixelColor(x, y, Qt::transparent);
    QVERIFY(png.save(file, "PNG"));

    FileDialogAnswers files;
    files.choose(file);
    MessageRecorder messages;
    m_main->dxSideBar1ItemClick(22);
    QCOMPARE(files.requests().size(), 1);
    const QString filter = files.requests().constFirst().filter;
    for (const char *pattern : {"*.png", "*.jpg", "*.bmp", "*.gif"})
        QVERIFY2(filter.contains(QLatin1String(pattern)), pattern);

    QCOMPARE(m_main->Image1->pixmap().size(), QSize(80, 60));
    const QByteArray jpeg = storedJpeg();
    QVERIFY(jpeg.startsWith("\xFF\xD8"));
    const QImage back = BackgroundImage::fromJpeg(jpeg);
    QCOMPARE(back.size(), QSize(80, 60));
    QVERIFY(near(back.pixelColor(60, 30), QColor(20, 90, 200)));
    QVERIFY(near(back.pixelColor(5, 30), Qt::white));
    QVERIFY(messages.texts().isEmpty());

    // The next start shows the stored picture.
    delete m_main.data();
    m_module.reset();
    start();
    QCOMPARE(m_main->Image1->pixmap().size(), QSize(80, 60));
}

void TestMainWindow::undecodablePictureLeavesBackground()
{
    const QByteArray before = BackgroundImage::toJpeg(filled({30, 20}, QColor(10, 160, 40)));
    m_data->update(QStringLiteral("UPDATE PH SET JPEG=?"), Value::bytes(before));
    start();
    const QImage shownBefore = m_main->Image1->pixmap().toImage();
    QVERIFY(!shownBefore.isNull());

    const QString file = m_data->folder() + QStringLiteral("broken.jpg");
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("\xFF\xD8\xFF\xE0 not really a picture");
    f.close();
    FileDialogAnswers files;
    files.choose(file).cancel();
    MessageRecorder messages;
    m_main->dxSideBar1ItemClick(22);
    m_main->dxSideBar1ItemClick(22); // and a cancelled dialog
    QCOMPARE(files.pending(), 0);
    QCOMPARE(m_main->Image1->pixmap().toImage(), shownBefore);
    QCOMPARE(storedJpeg(), before);
    QVERIFY(messages.texts().isEmpty());
}

void TestMainWindow::help_data()
{
    QTest::addColumn<bool>("helpFile");
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<QString>("opened");  // empty: nothing
    QTest::addColumn<bool>("asked");
    QTest::newRow("help file there") << true << QMessageBox::NoButton << QStringLiteral("KVL.CHM") << false;
    QTest::newRow("missing, download") << false << QMessageBox::Yes << ProgramHelp::webSite() << true;
    QTest::newRow("missing, no") << false << QMessageBox::No << QString() << true;
}

void TestMainWindow::help()
{
    QFETCH(bool, helpFile);
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(QString, opened);
    QFETCH(bool, asked);
    if (helpFile) {
        QFile chm(m_data->folder() + QStringLiteral("KVL.CHM"));
        QVERIFY(chm.open(QIODevice::WriteOnly));
        chm.write("ITSF");
    }
    start();
    OpenedUrls urls;
    MessageRecorder messages;
    if (answer != QMessageBox::NoButton)
        messages.queueAnswer(answer);
    // F1 anywhere in the active main window.
    m_main->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_main));
    QTest::keyClick(m_main->dxSideBar1, Qt::Key_F1);
    if (asked) {
        QCOMPARE(messages.texts(),
                 QStringList{QStringLiteral("找不到帮助文件，下载最新的帮助文件？\n\n下载的文件请直接拷贝到本系统的运行目录即可。")});
        QCOMPARE(messages.transcript().constFirst().buttons, MessageButtons::YesNo);
    } else {
        QVERIFY(messages.texts().isEmpty());
    }
    if (opened.isEmpty()) {
        QVERIFY(urls.urls.isEmpty());
    } else if (helpFile) {
        QCOMPARE(urls.urls, QList<QUrl>{QUrl::fromLocalFile(m_data->folder() + opened)});
    } else {
        QCOMPARE(urls.urls, QList<QUrl>{QUrl(opened)});
        QCOMPARE(urls.waitCursor, QList<bool>{true});
    }
    QVERIFY(!QApplication::overrideCursor());
}

void TestMainWindow::webLink()
{
    start();
    OpenedUrls urls;
    QTest::mouseClick(m_main->RzGlyphStatus1, Qt::LeftButton);
    QCOMPARE(urls.urls, QList<QUrl>{QUrl(ProgramHelp::webSite())});
    QCOMPARE(urls.urls.constFirst().host(), QStringLiteral("www.example.com"));
    QCOMPARE(urls.waitCursor, QList<bool>{true});
    QVERIFY(!QApplication::overrideCursor());
}

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
