// The side-bar dispatcher against working-window kinds registered through the registry:
// which windows open, close and come to the front, and in what order.
#include "CoreTestData.h"
#include "FileDialogAnswers.h"
#include "LoggedWindow.h"
#include "MessageRecorder.h"
#include "ModalHandlers.h"
#include "SideBar.h"
#include "WorkingWindows.h"
#include "datakvl.h"
#include "main.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QToolButton>

#include <memory>

using namespace kvl;

namespace {
QList<LoggedWindow *> windowsIn(QWidget *panel)
{
    return panel->findChildren<LoggedWindow *>(QString(), Qt::FindDirectChildrenOnly);
}

void freeClosedWindows()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
} // namespace

class TestDispatcher : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void choosingItems_data();
    void choosingItems();
    void sameItemTwiceLeavesOneWindow();
    void windowClosedByItselfIsGone();
    void sideBarItemsAndF1ReachTheDispatcher();
    void helpLeavesTheWindowOpen();
    void exitClosesTheWindowBeforeTheQuestion();
    void maintenanceAfterClosingTheWindow();
    void maintenanceNotRegistered();
    void backgroundPictureClosesTheWindowFirst();
    void itemsWithoutWindowsDoNothing();

private:
    std::unique_ptr<CoreTestData> m_data;
    std::unique_ptr<TDataModKvl> m_module;
    QPointer<TFMmain> m_main;
    QStringList m_log;
};

void TestDispatcher::init()
{
    m_data = std::make_unique<CoreTestData>();
    m_data->create();
    m_module = std::make_unique<TDataModKvl>();
    QVERIFY(DbConnected);
    m_main = new TFMmain;
    m_main->show();
    m_log.clear();
    registerLoggedKinds(m_log);
}

void TestDispatcher::cleanup()
{
    delete m_main.data();
    freeClosedWindows();
    removeAllKinds();
    m_module.reset();
    m_data.reset();
}

void TestDispatcher::choosingItems_data()
{
    QTest::addColumn<QList<int>>("chosen");
    QTest::addColumn<int>("openTag");       // -1: none open
    QTest::addColumn<QStringList>("log");

    QTest::newRow("business") << QList<int>{0} << 0 << QStringList{"open 0"};
    // The steps run in their fixed order: the statistics window is made before the partner
    // list is closed.
    QTest::newRow("partners, then unsettled")
        << QList<int>{10, 1} << 1 << QStringList{"open 10", "open 1", "before 10", "close 10"};
    QTest::newRow("unsettled, then partners")
        << QList<int>{1, 10} << 10 << QStringList{"open 1", "before 1", "close 1", "open 10"};
    QTest::newRow("goods, then staff")
        << QList<int>{11, 12} << 12 << QStringList{"open 11", "before 11", "close 11", "open 12"};
    QTest::newRow("every window in turn")
        << QList<int>{0, 1, 2, 10, 11, 12} << 12
        << QStringList{"open 0",  "before 0", "close 0",  "open 1",  "before 1",  "close 1",
                       "open 2",  "before 2", "close 2",  "open 10", "before 10", "close 10",
                       "open 11", "before 11", "close 11", "open 12"};
}

void TestDispatcher::choosingItems()
{
    QFETCH(QList<int>, chosen);
    QFETCH(int, openTag);
    QFETCH(QStringList, log);
    for (int tag : chosen)
        m_main->dxSideBar1ItemClick(tag);
    QCOMPARE(m_log, log);
    for (int tag : WorkingWindows::tags()) {
        QWidget *w = WorkingWindows::window(tag);
        QCOMPARE(w != nullptr, tag == openTag);
    }
    freeClosedWindows();
    const QList<LoggedWindow *> left = windowsIn(m_main->Panel2);
    QCOMPARE(left.size(), 1);
    QCOMPARE(left.constFirst(), WorkingWindows::window(openTag));
    // In the client panel, filling it, above the background picture.
    QWidget *w = left.constFirst();
    QVERIFY(w->isVisible());
    QVERIFY(!w->isWindow());
    QCOMPARE(w->geometry(), m_main->Panel2->rect());
    QVERIFY(m_main->Panel2->children().indexOf(w) > m_main->Panel2->children().indexOf(static_cast<QObject *>(m_main->Image1)));
}

void TestDispatcher::sameItemTwiceLeavesOneWindow()
{
    // 11 brings itself to the front its own way, 10 through the registry's default.
    for (int tag : {11, 10}) {
        m_log.clear();
        m_main->dxSideBar1ItemClick(tag);
        QPointer<QWidget> first = WorkingWindows::window(tag);
        QVERIFY(first);
        m_main->dxSideBar1ItemClick(tag);
        freeClosedWindows();
        QCOMPARE(WorkingWindows::window(tag), first.data());
        QCOMPARE(windowsIn(m_main->Panel2).size(), 1);
        QVERIFY(first->isVisible());
        QCOMPARE(m_log.filter(QStringLiteral("open")), QStringList{QStringLiteral("open %1").arg(tag)});
        QVERIFY(m_log.filter(QStringLiteral("close %1").arg(tag)).isEmpty());
        if (tag == 11)
            QCOMPARE(m_log.constLast(), QStringLiteral("front 11"));
    }
}

void TestDispatcher::windowClosedByItselfIsGone()
{
    m_main->dxSideBar1ItemClick(2);
    QPointer<QWidget> first = WorkingWindows::window(2);
    first->close(); // its own 返回
    QVERIFY(!WorkingWindows::window(2));
    QVERIFY(!WorkingWindows::current());
    freeClosedWindows();
    QVERIFY(!first); // freed itself
    m_main->dxSideBar1ItemClick(2);
    QVERIFY(WorkingWindows::window(2));
    QCOMPARE(m_log, (QStringList{"open 2", "close 2", "open 2"}));
}

void TestDispatcher::sideBarItemsAndF1ReachTheDispatcher()
{
    SideBar *bar = m_main->dxSideBar1;
    bar->setActiveGroup(1);
    QToolButton *goods = bar->item(11);
    QVERIFY(goods->isVisible());
    QTest::mouseClick(goods, Qt::LeftButton);
    QVERIFY(WorkingWindows::window(11));
    QVERIFY(!goods->isChecked());

    MessageRecorder messages;
    m_main->Nhelp->trigger();
    QCOMPARE(m_main->Nhelp->shortcut(), QKeySequence(Qt::Key_F1));
    QCOMPARE(messages.transcript().size(), 1);
    QVERIFY(messages.texts().constFirst().startsWith(QStringLiteral("找不到帮助文件")));
}

void TestDispatcher::helpLeavesTheWindowOpen()
{
    m_main->dxSideBar1ItemClick(10);
    QWidget *partners = WorkingWindows::window(10);
    MessageRecorder messages;
    messages.queueAnswer(QMessageBox::No);
    m_main->dxSideBar1ItemClick(87);
    QCOMPARE(messages.transcript().size(), 1);
    QCOMPARE(WorkingWindows::window(10), partners);
    QVERIFY(partners->isVisible());
    QCOMPARE(m_log, QStringList{"open 10"});
}

void TestDispatcher::exitClosesTheWindowBeforeTheQuestion()
{
    m_main->dxSideBar1ItemClick(11);
    auto *goods = static_cast<LoggedWindow *>(WorkingWindows::window(11));
    QPointer<LoggedWindow> guard(goods);
    MessageRecorder messages;
    messages.queueAnswer(QMessageBox::No);
    m_main->dxSideBar1ItemClick(88);
    QCOMPARE(messages.texts(), QStringList{QStringLiteral("现在退出系统吗?")});
    QCOMPARE(messages.transcript().constFirst().kind, MessageKind::Question);
    QCOMPARE(messages.transcript().constFirst().buttons, MessageButtons::YesNo);
    QVERIFY(guard);
    QCOMPARE(goods->messagesAtClose, 0); // closed before the question was asked
    QCOMPARE(m_log, (QStringList{"open 11", "before 11", "close 11"}));
    // No: the main window stays, without its working window.
    QVERIFY(m_main && m_main->isVisible());
    QVERIFY(!WorkingWindows::current());
    QVERIFY(DataModKvl->ConKVL.isConnected());
}

void TestDispatcher::maintenanceAfterClosingTheWindow()
{
    bool windowOpenAtCreation = true;
    QPointer<QDialog> made;
    WorkingWindows::setMaintenanceDialog([&](QWidget *owner) {
        windowOpenAtCreation = WorkingWindows::current() != nullptr;
        auto *d = new QDialog(owner);
        d->setObjectName(QStringLiteral("FMzlsjk"));
        made = d;
        return d;
    });
    m_main->dxSideBar1ItemClick(0);
    ModalHandlers dialogs;
    bool secondRefused = false;
    bool knownWhileOpen = false;
    dialogs.enqueue([&](QDialog &d) {
        knownWhileOpen = WorkingWindows::maintenanceDialog() == &d;
        // No second maintenance dialog while one is open.
        secondRefused = !WorkingWindows::runMaintenanceDialog(m_main);
        d.done(QDialog::Accepted);
    });
    m_main->dxSideBar1ItemClick(21);
    QCOMPARE(dialogs.shown(), QStringList{QStringLiteral("FMzlsjk")});
    QVERIFY(!windowOpenAtCreation);
    QVERIFY(knownWhileOpen);
    QVERIFY(secondRefused);
    QVERIFY(!made); // freed on closing
    QVERIFY(!WorkingWindows::maintenanceDialog());
    QCOMPARE(m_log, (QStringList{"open 0", "before 0", "close 0"}));
}

void TestDispatcher::maintenanceNotRegistered()
{
    m_main->dxSideBar1ItemClick(12);
    ModalHandlers dialogs;
    m_main->dxSideBar1ItemClick(21);
    QVERIFY(dialogs.shown().isEmpty());
    QVERIFY(!WorkingWindows::current());
}

void TestDispatcher::backgroundPictureClosesTheWindowFirst()
{
    m_main->dxSideBar1ItemClick(1);
    FileDialogAnswers files;
    files.cancel();
    MessageRecorder messages;
    m_main->dxSideBar1ItemClick(22);
    QCOMPARE(files.requests().size(), 1);
    QCOMPARE(files.pending(), 0);
    QVERIFY(!WorkingWindows::current());
    QCOMPARE(m_log, (QStringList{"open 1", "before 1", "close 1"}));
    QVERIFY(messages.texts().isEmpty());
}

void TestDispatcher::itemsWithoutWindowsDoNothing()
{
    removeAllKinds();
    MessageRecorder messages;
    ModalHandlers dialogs;
    const QObjectList before = m_main->Panel2->children();
    for (int tag : {0, 1, 2, 10, 11, 12, 21})
        m_main->dxSideBar1ItemClick(tag);
    QCOMPARE(m_main->Panel2->children(), before);
    QVERIFY(messages.texts().isEmpty());
    QVERIFY(dialogs.shown().isEmpty());
    QVERIFY(m_log.isEmpty());
}

QTEST_MAIN(TestDispatcher)
#include "test_dispatcher.moc"
