// The release and re-creation of the data module around the operations that
// need KVL.DTA closed: backup, restore, tidy, rebuild and import.
#pragma once

#include <QPointer>
#include <QObject>

namespace kvl {

class DataModuleCycle
{
public:
    // Destroys the data module (a heap object, as start-up creates it), which
    // closes both connections and every dataset. Windows hold no datasets of
    // their own and the side bar closed the working windows before the dialog
    // opened, so nothing points into it any more. Does nothing when released.
    void release();

    // A new data module under the old one's parent: it reconnects, opens the
    // master data and reads PH (showing its own message when that fails). The
    // main window hears of it to refresh its status pane. Does nothing unless
    // release() ran.
    void recreate();

    bool released() const { return m_released; }

    // Re-creates when the scope ends after a release that was not undone, so
    // every path out of an operation, errors included, leaves a data module.
    ~DataModuleCycle();

private:
    bool m_released = false;
    QPointer<QObject> m_parent;
};

} // namespace kvl
