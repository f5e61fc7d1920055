// The splash and the progress window: sizes, picture, and the progress window as a guard.
#include "ProgressIndicator.h"
#include "ProgressScope.h"
#include "SearchAnimation.h"
#include "ZProgress.h"
#include "ZSplash.h"

#include <QLabel>
#include <QTest>

#include <stdexcept>

using namespace kvl;

class TestStartWindows : public QObject
{
    Q_OBJECT
private slots:
    void splashLayout();
    void progressWindowLayout();
    void progressScopeShowsAndHidesOnError();
    void progressScopeNested();
};

void TestStartWindows::splashLayout()
{
    TSplash splash;
    QCOMPARE(splash.size(), QSize(402, 252));
    QVERIFY(splash.windowFlags() & Qt::FramelessWindowHint);
    QLabel *image = splash.findChild<QLabel *>("Image1");
    QCOMPARE(image->geometry(), QRect(1, 1, 400, 250));
    const QImage picture = image->pixmap().toImage();
    QCOMPARE(picture.size(), QSize(400, 250));
    // Not a blank picture: it has a gradient and lettering.
    QVERIFY(picture.pixelColor(5, 5) != picture.pixelColor(395, 245));
    splash.showNow();
    const QImage shot = splash.grab().toImage();
    QCOMPARE(shot.pixelColor(0, 0), QColor(Qt::black));
    QCOMPARE(shot.pixelColor(401, 251), QColor(Qt::black));
}

void TestStartWindows::progressWindowLayout()
{
    QWidget mainWindow;
    mainWindow.setGeometry(100, 100, 800, 600);
    TProgress_Frm progress(&mainWindow);
    QCOMPARE(progress.size(), QSize(262, 64));
    QVERIFY(progress.windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(progress.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(!progress.isVisible());
    QCOMPARE(progress.findChild<QLabel *>("Label1")->text(),
             QStringLiteral("正在搜集数据，请稍候......"));
    QCOMPARE(ProgressIndicator::current(), &progress);
    mainWindow.show();
    progress.showProgress(QStringLiteral("正在导入老版本数据，请稍候......"));
    QCOMPARE(progress.frameGeometry().center(), mainWindow.frameGeometry().center());
    // The longest text in use fits on one line beside the animation.
    QLabel *label = progress.Label1;
    QVERIFY(label->fontMetrics().horizontalAdvance(label->text()) <= label->contentsRect().width());
}

void TestStartWindows::progressScopeShowsAndHidesOnError()
{
    TProgress_Frm progress;
    auto *animation = progress.findChild<SearchAnimation *>("Animate1");
    try {
        ProgressScope scope(QStringLiteral("正在恢复，请稍候......"));
        QVERIFY(progress.isVisible());
        QVERIFY(animation->isRunning());
        QCOMPARE(progress.Label1->text(), QStringLiteral("正在恢复，请稍候......"));
        throw std::runtime_error("damaged backup");
    } catch (const std::runtime_error &) {
    }
    QVERIFY(!progress.isVisible());
    QVERIFY(!animation->isRunning());
}

void TestStartWindows::progressScopeNested()
{
    TProgress_Frm progress;
    {
        ProgressScope outer(QStringLiteral("正在整理，请稍候......"));
        {
            ProgressScope inner(QStringLiteral("正在刷新表格，请稍候......"));
            QCOMPARE(progress.Label1->text(), QStringLiteral("正在刷新表格，请稍候......"));
        }
        QVERIFY(progress.isVisible());
        QCOMPARE(progress.Label1->text(), QStringLiteral("正在整理，请稍候......"));
    }
    QVERIFY(!progress.isVisible());
}

QTEST_MAIN(TestStartWindows)
#include "test_start_windows.moc"
