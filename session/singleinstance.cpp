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
    : SingleInstance(lockPath, QStringList(), parent)
{
    defaultFallbacks = true;
}

SingleInstance::SingleInstance(const QString& lockPath, const QStringList& fallbacks, QObject* parent)
    : QObject(parent)
    , lockPaths(QStringList{lockPath} + fallbacks)
    , lockPath(lockPath)
{
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

QStringList SingleInstance::defaultFallbackPaths()
{
    QStringList paths;
    for (const auto location : {QStandardPaths::RuntimeLocation, QStandardPaths::AppDataLocation}) {
        const QString folder = QStandardPaths::writableLocation(location);
        if (!folder.isEmpty())
            paths.append(folder + (location == QStandardPaths::RuntimeLocation ? QStringLiteral("/vocabrium.lock")
                                                                               : QStringLiteral("/running.lock")));
    }
    return paths;
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
    for (qsizetype i = 0; i < lockPaths.size(); ++i) {
        const QString path = lockPaths.at(i);
        QDir().mkpath(QFileInfo(path).absolutePath());
        auto candidate = std::make_unique<QLockFile>(path);
        // A lock is stale only when its process is gone, never after a time.
        candidate->setStaleLockTime(0);
        if (candidate->tryLock(0)) {
            lock = std::move(candidate);
            lockPath = path;
            locked = true;
            break;
        }
        if (candidate->error() == QLockFile::LockFailedError) {
            lockPath = path;
            return false;
        }
        // No lock can be made here at all: the next place every copy tries.
        if (defaultFallbacks) {
            lockPaths += defaultFallbackPaths();
            defaultFallbacks = false;
        }
    }
    // Without any lock the program still starts, but writes nothing.
    if (!locked)
        return true;
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
