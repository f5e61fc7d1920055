// Working-window kinds for tests: real widgets registered through the same registry as the
// program's windows, writing what happens to them into one shared log.
#pragma once

#include "MessageRecorder.h"
#include "WorkingWindows.h"

#include <QCloseEvent>
#include <QStringList>
#include <QWidget>

namespace kvl {

class LoggedWindow : public QWidget
{
    Q_OBJECT
public:
    LoggedWindow(int tag, QStringList &log, QWidget *parent = nullptr)
        : QWidget(parent), m_tag(tag), m_log(log)
    {
        setObjectName(QStringLiteral("Logged%1").arg(tag));
    }

    // How many message boxes had been shown when the window closed.
    int messagesAtClose = -1;

protected:
    void closeEvent(QCloseEvent *event) override
    {
        m_log << QStringLiteral("close %1").arg(m_tag);
        if (MessageRecorder *r = MessageRecorder::active())
            messagesAtClose = int(r->transcript().size());
        event->accept();
    }

private:
    int m_tag;
    QStringList &m_log;
};

// The six working-window tags, each with a logged window. The goods list (11) brings
// itself to the front its own way; the others use the registry's default.
inline void registerLoggedKinds(QStringList &log)
{
    for (int tag : {0, 1, 2, 10, 11, 12}) {
        WorkingWindowKind kind;
        kind.tag = tag;
        kind.open = [tag, &log](QWidget *panel) {
            auto *w = new LoggedWindow(tag, log);
            WorkingWindows::placeIn(w, panel);
            w->show();
            log << QStringLiteral("open %1").arg(tag);
            return w;
        };
        kind.beforeClose = [tag, &log](QWidget *) { log << QStringLiteral("before %1").arg(tag); };
        if (tag == 11)
            kind.bringToFront = [&log](QWidget *w) {
                w->raise();
                log << QStringLiteral("front 11");
            };
        WorkingWindows::add(kind);
    }
}

inline void removeAllKinds()
{
    for (int tag : WorkingWindows::tags())
        WorkingWindows::remove(tag);
    WorkingWindows::setMaintenanceDialog(nullptr);
}

} // namespace kvl
