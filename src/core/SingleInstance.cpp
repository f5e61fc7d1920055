// Local-socket handshake between a new start and the running instance.
#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

namespace kvl {

namespace {
const QByteArray kActivate = "activate\n";
}

SingleInstance::SingleInstance(const QString &key, QObject *parent) : QObject(parent)
{
    // One name per user, so two users on one machine each run their own.
    const QByteArray who = QDir::homePath().toUtf8();
    m_name = key + QLatin1Char('-')
             + QString::fromLatin1(QCryptographicHash::hash(who, QCryptographicHash::Sha1).toHex().left(12));
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::activateRunning()
{
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(500))
        return false;
    socket.write(kActivate);
    socket.waitForBytesWritten(1000);
    socket.disconnectFromServer();
    return true;
}

bool SingleInstance::listen()
{
    if (m_server)
        return true;
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_name)) {
        // A crashed instance can leave its socket file behind; nobody answered on it.
        QLocalServer::removeServer(m_name);
        if (!m_server->listen(m_name)) {
            delete m_server;
            m_server = nullptr;
            return false;
        }
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *s = m_server->nextPendingConnection()) {
            connect(s, &QLocalSocket::readyRead, this, [this, s] {
                if (s->readAll().contains(kActivate.trimmed()))
                    emit activationRequested();
            });
            connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
        }
    });
    return true;
}

} // namespace kvl
