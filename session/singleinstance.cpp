#include "session/singleinstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

namespace {

const QByteArray ActivateRequest = QByteArrayLiteral("activate\n");

} // namespace

SingleInstance::SingleInstance(const QString& lockPath, QObject* parent)
    : QObject(parent)
    , lock(lockPath)
    , lockPath(lockPath)
{
    // A lock is stale only when its process is gone, never after a time.
    lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance()
{
    if (server)
        server->close();
}

QString SingleInstance::defaultLockPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)
           + QStringLiteral("/running.lock");
}

QString SingleInstance::serverName() const
{
    // One name per lock file, so two users (or two test folders) never meet.
    const QByteArray path = QFileInfo(lockPath).absoluteFilePath().toUtf8();
    return QStringLiteral("vocabrium-")
           + QString::fromLatin1(QCryptographicHash::hash(path, QCryptographicHash::Sha1).toHex().left(16));
}

bool SingleInstance::claim()
{
    QDir().mkpath(QFileInfo(lockPath).absolutePath());
    if (!lock.tryLock(0)) {
        // A folder where no lock can be made at all must not keep the
        // program from starting.
        if (lock.error() != QLockFile::LockFailedError)
            return true;
        return false;
    }
    server = new QLocalServer(this);
    // A copy that crashed leaves its socket behind; the lock proves it is gone.
    QLocalServer::removeServer(serverName());
    server->setSocketOptions(QLocalServer::UserAccessOption);
    server->listen(serverName());
    connect(server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->readAll().contains(ActivateRequest.trimmed()))
                    emit activationRequested();
                socket->disconnectFromServer();
            });
        }
    });
    return true;
}

bool SingleInstance::activateRunning(int timeoutMilliseconds)
{
    // The running copy may still be starting up; try until the time is over.
    QDeadlineTimer deadline(timeoutMilliseconds);
    do {
        QLocalSocket socket;
        socket.connectToServer(serverName());
        if (socket.waitForConnected(int(qMax<qint64>(1, deadline.remainingTime())))) {
            socket.write(ActivateRequest);
            const bool written = socket.waitForBytesWritten(int(qMax<qint64>(1, deadline.remainingTime())));
            socket.disconnectFromServer();
            return written;
        }
        QThread::msleep(50);
    } while (!deadline.hasExpired());
    return false;
}
