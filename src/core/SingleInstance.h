// One running instance per user: a second start asks the first, over a local
// socket (a named pipe on Windows), to bring its main window to the front.
#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace kvl {

class SingleInstance : public QObject
{
    Q_OBJECT
public:
    explicit SingleInstance(const QString &key = QStringLiteral("Kavelo"), QObject *parent = nullptr);
    ~SingleInstance() override;

    // True when another instance is running; it has then been asked to come to the front.
    bool activateRunning();
    // Starts answering later starts. False when the name cannot be taken.
    bool listen();

signals:
    void activationRequested();

private:
    QString m_name;
    QLocalServer *m_server = nullptr;
};

} // namespace kvl
