// The start order of the program, with its early ends.
#include "Startup.h"

#include "Messages.h"
#include "ProgramValues.h"
#include "SingleInstance.h"
#include "ZProgress.h"
#include "ZSplash.h"
#include "Zlogin.h"
#include "datakvl.h"
#include "main.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QScreen>
#include <QStyleFactory>
#include <QTimer>
#include <QTranslator>

namespace kvl {

namespace {

void pauseWithEvents(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    // The splash keeps painting; clicks and keys wait until the main window is there.
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void installChineseQtTexts()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    // Qt's own buttons and dialogs ("是", "否", "取消", the file dialog) in Chinese when the
    // translations are installed; English otherwise.
    auto *translator = new QTranslator(qApp);
    const QStringList places = {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                                QCoreApplication::applicationDirPath() + QStringLiteral("/translations")};
    for (const QString &dir : places) {
        if (translator->load(QStringLiteral("qtbase_zh_CN"), dir)) {
            QCoreApplication::installTranslator(translator);
            return;
        }
    }
    delete translator;
}

} // namespace

Startup::Startup(StartupOptions options) : m_options(std::move(options)) {}

Startup::~Startup()
{
    delete m_main.data();
    m_splash.reset();
    // The maintenance operations may have replaced the module; the current one goes.
    if (m_createdModule)
        delete DataModKvl;
}

QString Startup::missingDataFileText()
{
    return QStringLiteral("找不到本系统的数据库！");
}

QString Startup::programDirectory(const QString &executableDir)
{
    QString dir = executableDir.trimmed();
#ifdef Q_OS_WIN
    for (QChar &c : dir) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 'a' + 'A');
    }
#endif
    if (!dir.endsWith(QLatin1Char('/')) && !dir.endsWith(QLatin1Char('\\')))
        dir += QLatin1Char('/');
    return dir;
}

void Startup::applyProgramLook()
{
    QCoreApplication::setApplicationName(QStringLiteral("Kavelo"));
    if (QStyle *fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(fusion);
    const QString family = QStringLiteral("Noto Sans CJK SC");
    if (QFontDatabase::families().contains(family)) {
        QFont font = QApplication::font();
        font.setFamilies({family});
        QApplication::setFont(font);
    }
    installChineseQtTexts();
}

void Startup::bringToFront(QWidget *window)
{
    if (!window)
        return;
    window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window->show();
    window->raise();
    window->activateWindow();
}

StartupOutcome Startup::run()
{
    m_instance = std::make_unique<SingleInstance>(m_options.instanceKey);
    if (m_instance->activateRunning())
        return StartupOutcome::AlreadyRunning;
    m_instance->listen();
    QObject::connect(m_instance.get(), &SingleInstance::activationRequested, m_instance.get(),
                     [this] { bringToFront(m_main.data()); });

    applyProgramLook();

    m_splash = std::make_unique<TSplash>();
    m_splash->showNow();

    AppDir = programDirectory(m_options.appDir.isEmpty() ? QCoreApplication::applicationDirPath()
                                                         : m_options.appDir);

    DbConnected = false;
    const bool haveDataFile = QFileInfo(AppDir + QStringLiteral("KVL.DTA")).isFile();
    if (haveDataFile) {
        new TDataModKvl; // becomes DataModKvl; a failure has shown its one message
        m_createdModule = true;
    } else {
        Messages::warning(missingDataFileText());
    }

    if (m_options.wait)
        m_options.wait(kSplashPause);
    else
        pauseWithEvents(kSplashPause);

    if (!DbConnected) {
        m_splash.reset();
        return haveDataFile ? StartupOutcome::NotConnected : StartupOutcome::NoDataFile;
    }

    m_main = new TFMmain;
    // Where no window manager maximises (a kiosk session), the window still covers the screen.
    if (QScreen *screen = QGuiApplication::primaryScreen())
        m_main->setGeometry(screen->availableGeometry());
    m_main->showMaximized();
    m_progress = new TProgress_Frm(m_main);
    m_splash.reset();

    if (!LoginPassword.isEmpty() && !TFmLogin::ask(LoginPassword, m_main)) {
        m_main->closeWithoutQuestion();
        return StartupOutcome::LoginCancelled;
    }
    return StartupOutcome::Running;
}

TFMmain *Startup::mainWindow() const
{
    return m_main.data();
}

TSplash *Startup::splash() const
{
    return m_splash.get();
}

SingleInstance *Startup::instance() const
{
    return m_instance.get();
}

} // namespace kvl
