#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class QLocalServer;

/*!
    Keeps one copy of the program per home folder. Two copies would each save
    the learner's files at exit, and the one closed last would overwrite what
    the other learned.

    The first start holds a lock file in the settings folder (a copy that
    died leaves a stale lock, which the next start takes over) and listens on
    a local socket; a later start finds the lock taken, asks the running copy
    through the socket to show its window, and ends. Where no lock can be
    made in the settings folder (it is write-protected or not a folder), the
    runtime folder and then the data folder take it, in the same order for
    every copy. When none can hold a lock the program still starts, but
    hasLock() is false and it must write nothing.
*/
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    /*! \a lockPath is the lock file, defaultFallbackPaths() the ones tried
        in turn when it cannot be made; the socket's name is derived from the
        lock taken. */
    explicit SingleInstance(const QString& lockPath, QObject* parent = nullptr);
    /*! The same with the fallback lock files \a fallbacks. */
    SingleInstance(const QString& lockPath, const QStringList& fallbacks, QObject* parent = nullptr);
    ~SingleInstance() override;

    /*! The lock file of the user's settings folder. */
    static QString defaultLockPath();

    /*! The lock files of the runtime and the data folder. */
    static QStringList defaultFallbackPaths();

    /*! Takes the first lock that can be made and starts listening; false
        when another copy holds it. */
    bool claim();

    /*! Whether claim() took a lock; without one, another copy may be running. */
    bool hasLock() const { return locked; }

    /*! Asks the copy that holds the lock to show itself; false when it could not be reached. */
    bool activateRunning(int timeoutMilliseconds = 3000);

signals:
    /*! A later start asked for this copy. */
    void activationRequested();

private:
    QString serverName() const;

    QStringList lockPaths;
    // The default fallbacks are looked up only when needed: asking for the
    // runtime folder warns when the session has none.
    bool defaultFallbacks = false;
    QString lockPath;
    std::unique_ptr<QLockFile> lock;
    bool locked = false;
    QLocalServer* server = nullptr;
};
