// The program's start: one instance, the splash, the data file check, the data module, the
// main window and the login, in that order. kvl.cpp runs it and then the message loop.
#pragma once

#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class QWidget;

namespace kvl {

class SingleInstance;
class TFMmain;
class TProgress_Frm;
class TSplash;

enum class StartupOutcome {
    AlreadyRunning, // another instance runs; it was asked to come to the front
    NoDataFile,     // "找不到本系统的数据库！" was shown
    NotConnected,   // the data module could not connect and said so
    LoginCancelled, // the login was cancelled
    Running,        // the main window is up: run the message loop
};

struct StartupOptions
{
    QString instanceKey = QStringLiteral("Kavelo");
    // Empty: the folder of the executable.
    QString appDir;
    // The pause with the splash showing; empty: waits with the events running.
    std::function<void(int milliseconds)> wait;
};

class Startup
{
public:
    explicit Startup(StartupOptions options = {});
    // Frees what the start created that is still alive: the main window, then the data module.
    ~Startup();
    Startup(const Startup &) = delete;
    Startup &operator=(const Startup &) = delete;

    StartupOutcome run();

    static constexpr int kSplashPause = 1000;
    static QString missingDataFileText(); // "找不到本系统的数据库！"

    // `executableDir` trimmed, ending with the separator; upper-cased (ASCII letters) only
    // where file names ignore case, since upper-casing breaks paths on Linux.
    static QString programDirectory(const QString &executableDir);
    // Application title, Fusion style, the Chinese interface font and Qt's own Chinese texts.
    static void applyProgramLook();
    // Brings `window` to the front, restored when minimised (maximised stays maximised).
    static void bringToFront(QWidget *window);

    TFMmain *mainWindow() const;
    TSplash *splash() const;
    SingleInstance *instance() const;

private:
    StartupOptions m_options;
    std::unique_ptr<SingleInstance> m_instance;
    std::unique_ptr<TSplash> m_splash;
    QPointer<TFMmain> m_main;
    QPointer<TProgress_Frm> m_progress;
    bool m_createdModule = false;
};

} // namespace kvl
