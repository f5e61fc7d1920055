// The start order: its early ends, the login branch, a second start, the program folder.
#include "CoreTestData.h"
#include "MessageRecorder.h"
#include "ModalHandlers.h"
#include "SingleInstance.h"
#include "Startup.h"
#include "ZProgress.h"
#include "ZSplash.h"
#include "Zlogin.h"
#include "datakvl.h"
#include "main.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>

using namespace kvl;

namespace {

QString uniqueKey(const char *what)
{
    static int n = 0;
    return QStringLiteral("KavStart-%1-%2-%3").arg(QString::fromLatin1(what)).arg(QCoreApplication::applicationPid()).arg(++n);
}

// What the pause saw: how long it was asked to wait and whether the splash was up meanwhile.
struct PauseProbe
{
    QList<int> waits;
    bool splashShowing = false;

    StartupOptions options(const QString &appDir, const char *what)
    {
        StartupOptions o;
        o.instanceKey = uniqueKey(what);
        o.appDir = appDir;
        o.wait = [this](int ms) {
            waits << ms;
            for (QWidget *w : QApplication::topLevelWidgets()) {
                if (qobject_cast<TSplash *>(w) && w->isVisible())
                    splashShowing = true;
            }
        };
        return o;
    }
};

int visibleTopLevels()
{
    int n = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        n += w->isVisible() ? 1 : 0;
    return n;
}

enum class Login { None, Type, CloseBox, Escape };

} // namespace

Q_DECLARE_METATYPE(Login)
Q_DECLARE_METATYPE(StartupOutcome)

class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    void earlyEnds_data();
    void earlyEnds();
    void runningWithoutPassword();
    void login_data();
    void login();
    void secondStartEndsWithoutWindow();
    void secondStartRestoresMinimisedMainWindow();
    void programDirectory_data();
    void programDirectory();
};

void TestStartup::earlyEnds_data()
{
    QTest::addColumn<bool>("damaged");
    QTest::addColumn<StartupOutcome>("outcome");
    QTest::addColumn<QString>("message");
    QTest::newRow("no data file") << false << StartupOutcome::NoDataFile << QStringLiteral("找不到本系统的数据库！");
    // The data module says why; start-up adds no second message.
    QTest::newRow("file that cannot be opened")
        << true << StartupOutcome::NotConnected << QStringLiteral("不能连接数据库！请稍后再试 或 咨询我们。");
}

void TestStartup::earlyEnds()
{
    QFETCH(bool, damaged);
    QFETCH(StartupOutcome, outcome);
    QFETCH(QString, message);
    CoreTestData data;
    if (damaged)
        data.createDamaged();
    MessageRecorder messages;
    ModalHandlers dialogs;
    PauseProbe pause;
    {
        Startup start(pause.options(data.folder(), "early"));
        QCOMPARE(start.run(), outcome);
        QCOMPARE(messages.texts(), QStringList{message});
        QCOMPARE(messages.transcript().constFirst().kind, MessageKind::Warning);
        // The pause comes after the message, the splash still up; then no window is left.
        QCOMPARE(pause.waits, QList<int>{1000});
        QVERIFY(pause.splashShowing);
        QVERIFY(!start.mainWindow());
        QVERIFY(!FMmain);
        QCOMPARE(visibleTopLevels(), 0);
        QVERIFY(!DbConnected);
    }
    QVERIFY(!DataModKvl);
    QVERIFY(dialogs.shown().isEmpty());
}

void TestStartup::runningWithoutPassword()
{
    CoreTestData data;
    data.create(QStringLiteral("远航贸易"));
    MessageRecorder messages;
    ModalHandlers dialogs;
    PauseProbe pause;
    Startup start(pause.options(data.folder(), "running"));
    QCOMPARE(start.run(), StartupOutcome::Running);
    QCOMPARE(AppDir, data.folder());
    QVERIFY(DataModKvl && DataModKvl->ConKVL.isConnected());
    QVERIFY(pause.splashShowing);
    QVERIFY(!start.splash());
    TFMmain *main = start.mainWindow();
    QVERIFY(main && main->isVisible());
    QVERIFY(main->windowState() & Qt::WindowMaximized);
    QCOMPARE(main->windowTitle(), QStringLiteral("《Kavelo》应收应付款管理系统 3.6"));
    auto *progress = main->findChild<TProgress_Frm *>();
    QVERIFY(progress);
    QVERIFY(!progress->isVisible());
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Kavelo"));
    QCOMPARE(QApplication::style()->name().toLower(), QStringLiteral("fusion"));
    QCOMPARE(QApplication::font().family(), QStringLiteral("Noto Sans CJK SC"));
    // Empty PH.pass: no login.
    QVERIFY(dialogs.shown().isEmpty());
    QVERIFY(messages.texts().isEmpty());
}

void TestStartup::login_data()
{
    QTest::addColumn<QStringList>("typed");   // attempts before the last action
    QTest::addColumn<Login>("last");
    QTest::addColumn<StartupOutcome>("outcome");
    QTest::addColumn<int>("refusals");
    QTest::newRow("right password with blanks") << QStringList{"  Mi31 "} << Login::Type << StartupOutcome::Running << 0;
    QTest::newRow("wrong, then right")
        << QStringList{"mi31", "Mi3", "Mi31"} << Login::Type << StartupOutcome::Running << 2;
    QTest::newRow("close box with the right password") << QStringList{"Mi31"} << Login::CloseBox
                                                       << StartupOutcome::Running << 0;
    QTest::newRow("other case refused, then Esc")
        << QStringList{"MI31"} << Login::Escape << StartupOutcome::LoginCancelled << 1;
    QTest::newRow("Esc at once") << QStringList{} << Login::Escape << StartupOutcome::LoginCancelled << 0;
}

void TestStartup::login()
{
    QFETCH(QStringList, typed);
    QFETCH(Login, last);
    QFETCH(StartupOutcome, outcome);
    QFETCH(int, refusals);
    CoreTestData data;
    data.create(QStringLiteral("远航贸易"), QStringLiteral("Mi31"));
    MessageRecorder messages;
    ModalHandlers dialogs;
    bool overMainWindow = false;
    dialogs.enqueue([&](QDialog &d) {
        auto &login = static_cast<TFmLogin &>(d);
        overMainWindow = FMmain && FMmain->isVisible() && login.parentWidget() == FMmain;
        for (int i = 0; i < typed.size(); ++i) {
            login.kllr->clear();
            login.kllr->insert(typed[i]);
            if (i + 1 == typed.size() && last == Login::CloseBox)
                login.close();
            else
                QTest::mouseClick(login.RzBitBtn1, Qt::LeftButton);
        }
        if (last == Login::Escape)
            QTest::keyClick(login.kllr, Qt::Key_Escape);
    });
    PauseProbe pause;
    Startup start(pause.options(data.folder(), "login"));
    QCOMPARE(start.run(), outcome);
    QCOMPARE(dialogs.shown(), QStringList{QStringLiteral("FmLogin")});
    QCOMPARE(dialogs.leftOpen(), 0);
    QVERIFY(overMainWindow);
    QCOMPARE(messages.texts(), QStringList(refusals, QStringLiteral("密码不正确,请重新录入！")));
    if (outcome == StartupOutcome::Running) {
        QVERIFY(start.mainWindow()->isVisible());
    } else {
        // Cancelling ends the program without the exit question.
        QVERIFY(!start.mainWindow() || !start.mainWindow()->isVisible());
        QVERIFY(!DataModKvl->ConKVL.isConnected());
    }
}

void TestStartup::secondStartEndsWithoutWindow()
{
    CoreTestData data;
    data.create();
    PauseProbe pause;
    StartupOptions options = pause.options(data.folder(), "second");
    SingleInstance running(options.instanceKey);
    QVERIFY(running.listen());
    QSignalSpy asked(&running, &SingleInstance::activationRequested);
    MessageRecorder messages;
    {
        Startup second(options);
        QCOMPARE(second.run(), StartupOutcome::AlreadyRunning);
        QCOMPARE(visibleTopLevels(), 0);
        QVERIFY(!DataModKvl);
        QVERIFY(pause.waits.isEmpty());
    }
    QVERIFY(asked.wait(5000));
    QVERIFY(messages.texts().isEmpty());
}

void TestStartup::secondStartRestoresMinimisedMainWindow()
{
    CoreTestData data;
    data.create();
    PauseProbe pause;
    StartupOptions options = pause.options(data.folder(), "restore");
    Startup first(options);
    QCOMPARE(first.run(), StartupOutcome::Running);
    TFMmain *main = first.mainWindow();
    main->showMinimized();
    QVERIFY(main->isMinimized());

    SingleInstance second(options.instanceKey);
    QVERIFY(second.activateRunning());
    QTRY_VERIFY_WITH_TIMEOUT(!main->isMinimized(), 5000);
    QVERIFY(main->isVisible());
    // It comes back as it was before, maximised.
    QVERIFY(main->windowState() & Qt::WindowMaximized);
}

void TestStartup::programDirectory_data()
{
    QTest::addColumn<QString>("executableDir");
    QTest::addColumn<QString>("appDir");
    QTest::newRow("separator added") << "/opt/kavelo" << "/opt/kavelo/";
    QTest::newRow("blanks trimmed") << "  /opt/kavelo/ " << "/opt/kavelo/";
#ifdef Q_OS_WIN
    QTest::newRow("upper case") << "C:/Program Files/Kavelo" << "C:/PROGRAM FILES/KAVELO/";
#else
    // Linux file names are case-sensitive: the folder stays as it is written.
    QTest::newRow("case kept") << "/home/li/Kavelo 3.6" << "/home/li/Kavelo 3.6/";
#endif
}

void TestStartup::programDirectory()
{
    QFETCH(QString, executableDir);
    QFETCH(QString, appDir);
    QCOMPARE(Startup::programDirectory(executableDir), appDir);
}

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
