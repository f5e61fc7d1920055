// Side bar and status-bar panes: groups and items, tags out, key-state and clock panes.
#include "ClockPane.h"
#include "GlyphIcon.h"
#include "KeyStatePane.h"
#include "LinkPane.h"
#include "SideBar.h"
#include "SizePanel.h"

#include <QSplitterHandle>

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

using namespace kvl;

class TestSideBarPanes : public QObject
{
    Q_OBJECT
private slots:
    void itemsCarryTagsAndCaptions();
    void headersSwitchGroups();
    void itemTextIsWhite();
    void keyStatePaneFollowsSource_data();
    void keyStatePaneFollowsSource();
    void keyStatePaneRereadsOnLockKey();
    void clockPaneShowsTime();
    void linkPaneClick();
    void sizePanelCollapsesAndRestores();
};

void TestSideBarPanes::itemsCarryTagsAndCaptions()
{
    SideBar bar;
    const int g0 = bar.addGroup(QStringLiteral("收付款管理"));
    const int g1 = bar.addGroup(QStringLiteral("系统管理"));
    const QIcon icon = GlyphIcon::make(QStringLiteral("业"), Qt::blue);
    bar.addItem(g0, QStringLiteral("办理业务"), 0, icon);
    bar.addItem(g0, QStringLiteral("未结帐统计"), 1, icon);
    bar.addItem(g1, QStringLiteral("帮助"), 87, icon);
    bar.addItem(g1, QStringLiteral("退出本系统"), 88, icon);
    QCOMPARE(bar.tags(g0), (QList<int>{0, 1}));
    QCOMPARE(bar.tags(g1), (QList<int>{87, 88}));
    QCOMPARE(bar.item(88)->text(), QStringLiteral("退出本系统"));
    QCOMPARE(bar.item(1)->iconSize(), QSize(32, 32));
    QVERIFY(!bar.item(1)->isCheckable());
    QVERIFY(!bar.item(5));

    bar.show();
    QSignalSpy clicked(&bar, &SideBar::itemClicked);
    QTest::mouseClick(bar.item(1), Qt::LeftButton);
    bar.setActiveGroup(g1);
    QTest::mouseClick(bar.item(87), Qt::LeftButton);
    QCOMPARE(clicked.count(), 2);
    QCOMPARE(clicked.at(0).at(0).toInt(), 1);
    QCOMPARE(clicked.at(1).at(0).toInt(), 87);
}

void TestSideBarPanes::headersSwitchGroups()
{
    SideBar bar;
    const int g0 = bar.addGroup(QStringLiteral("收付款管理"));
    const int g1 = bar.addGroup(QStringLiteral("基础资料"));
    bar.addItem(g0, QStringLiteral("办理业务"), 0, QIcon());
    bar.addItem(g1, QStringLiteral("往来单位"), 10, QIcon());
    bar.show();
    QCOMPARE(bar.activeGroup(), g0);
    QVERIFY(bar.item(0)->isVisible());
    QVERIFY(!bar.item(10)->isVisible());
    QTest::mouseClick(bar.groupHeader(g1), Qt::LeftButton);
    QCOMPARE(bar.activeGroup(), g1);
    QVERIFY(!bar.item(0)->isVisible());
    QVERIFY(bar.item(10)->isVisible());
    QCOMPARE(bar.groupHeader(g1)->text(), QStringLiteral("基础资料"));
}

void TestSideBarPanes::itemTextIsWhite()
{
    SideBar bar;
    bar.addItem(bar.addGroup("g"), QStringLiteral("帮助"), 87, QIcon());
    QCOMPARE(bar.item(87)->palette().color(QPalette::Active, QPalette::ButtonText),
             QColor(Qt::white));
    bar.setItemTextColor(Qt::yellow);
    QCOMPARE(bar.item(87)->palette().color(QPalette::Active, QPalette::ButtonText),
             QColor(Qt::yellow));
}

void TestSideBarPanes::keyStatePaneFollowsSource_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("caption");
    QTest::newRow("num lock") << int(LockKey::NumLock) << "数字";
    QTest::newRow("caps lock") << int(LockKey::CapsLock) << "大写";
}

void TestSideBarPanes::keyStatePaneFollowsSource()
{
    QFETCH(int, key);
    QFETCH(QString, caption);
    std::optional<bool> numLock = true, capsLock = false;
    KeyStatePane pane(LockKey(key), caption);
    pane.setStateSource([&](LockKey k) { return k == LockKey::NumLock ? numLock : capsLock; });
    std::optional<bool> &mine = LockKey(key) == LockKey::NumLock ? numLock : capsLock;
    for (std::optional<bool> state : {std::optional<bool>(true), std::optional<bool>(false),
                                      std::optional<bool>()}) {
        mine = state;
        pane.refresh();
        QCOMPARE(pane.isKnown(), state.has_value());
        QCOMPARE(pane.isOn(), state.value_or(false));
        QCOMPARE(pane.isEnabled(), state.value_or(false));
        QCOMPARE(pane.text(), caption);
    }
    QVERIFY(pane.width() >= pane.fontMetrics().horizontalAdvance(caption));
}

void TestSideBarPanes::keyStatePaneRereadsOnLockKey()
{
    bool caps = false;
    QWidget window;
    auto *pane = new KeyStatePane(LockKey::CapsLock, QStringLiteral("大写"), &window);
    pane->setStateSource([&](LockKey) { return std::optional<bool>(caps); });
    window.show();
    caps = true;
    QTest::keyClick(&window, Qt::Key_CapsLock);
    QVERIFY(pane->isOn());
}

void TestSideBarPanes::clockPaneShowsTime()
{
    ClockPane pane;
    QCOMPARE(pane.width(), 124);
    QVERIFY(pane.timer().isActive());
    QCOMPARE(pane.timer().interval(), 1000);
    pane.showTime(QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5)));
    QCOMPARE(pane.text(), QStringLiteral("2026-01-02 03:04:05"));
    QVERIFY(pane.fontMetrics().horizontalAdvance(pane.text()) <= pane.contentsRect().width());
}

void TestSideBarPanes::linkPaneClick()
{
    QPixmap globe(16, 16);
    globe.fill(Qt::blue);
    LinkPane pane(globe, QStringLiteral("访问网站以获取最新版本"));
    pane.show();
    QCOMPARE(pane.cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(pane.toolTip(), QStringLiteral("访问网站以获取最新版本"));
    QSignalSpy clicked(&pane, &LinkPane::clicked);
    QTest::mouseClick(&pane, Qt::LeftButton);
    QTest::mouseClick(&pane, Qt::RightButton);
    QCOMPARE(clicked.count(), 1);
}

void TestSideBarPanes::sizePanelCollapsesAndRestores()
{
    auto *side = new QWidget;
    auto *client = new QWidget;
    SizePanel panel(side, client, 98);
    panel.resize(800, 400);
    panel.show();
    QCOMPARE(panel.sideWidth(), 98);
    QCOMPARE(panel.handleWidth(), 7);
    QSplitterHandle *bar = panel.handle(1);
    // A click on the size bar collapses the panel, a second click brings it back.
    QTest::mouseClick(bar, Qt::LeftButton);
    QVERIFY(panel.isCollapsed());
    QCOMPARE(client->width(), 800 - 7);
    QTest::mouseClick(bar, Qt::LeftButton);
    QCOMPARE(panel.sideWidth(), 98);
    // A width the user dragged to is the one restored after a collapse.
    panel.setSizes({150, 643});
    emit panel.splitterMoved(150, 1);
    panel.setCollapsed(true);
    panel.setCollapsed(false);
    QCOMPARE(panel.sideWidth(), 150);
}

QTEST_MAIN(TestSideBarPanes)
#include "test_side_bar_panes.moc"
