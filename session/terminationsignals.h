#pragma once

#include <QObject>

class QSocketNotifier;

/*!
    Turns SIGTERM and SIGHUP (a logout, a shutdown, a plain kill) into a
    Qt signal on the event loop, so the program can save before it ends.
    The handler only writes a byte into a socket pair; everything else
    happens on the GUI thread.
*/
class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

signals:
    void terminationRequested();

private:
    QSocketNotifier* notifier = nullptr;
};
