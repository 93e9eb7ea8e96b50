#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>

class QLocalServer;

/*!
    Keeps one copy of the program per home folder. Two copies would each save
    the learner's files at exit, and the one closed last would overwrite what
    the other learned.

    The first start holds a lock file in the settings folder (a copy that
    died leaves a stale lock, which the next start takes over) and listens on
    a local socket; a later start finds the lock taken, asks the running copy
    through the socket to show its window, and ends.
*/
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    /*! \a lockPath is the lock file; the socket's name is derived from it. */
    explicit SingleInstance(const QString& lockPath, QObject* parent = nullptr);
    ~SingleInstance() override;

    /*! The lock file of the user's settings folder. */
    static QString defaultLockPath();

    /*! Takes the lock and starts listening; false when another copy holds it. */
    bool claim();

    /*! Asks the copy that holds the lock to show itself; false when it could not be reached. */
    bool activateRunning(int timeoutMilliseconds = 3000);

signals:
    /*! A later start asked for this copy. */
    void activationRequested();

private:
    QString serverName() const;

    QLockFile lock;
    QString lockPath;
    QLocalServer* server = nullptr;
};
