// Program-wide notifications between parts that do not know each other, such
// as the maintenance dialog re-creating the data module while the main window
// shows the company name from it.
#pragma once

#include <QObject>

namespace kvl {

class AppEvents : public QObject
{
    Q_OBJECT
public:
    static AppEvents *instance();

signals:
    // The data module was released and created again; values read from PH are new.
    void dataModuleReplaced();
};

} // namespace kvl
