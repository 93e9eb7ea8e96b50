#pragma once

#include <QDate>
#include <QDateTime>
#include <QObject>

#include <functional>

class QTimer;

/*!
    The count of words due for review belongs to one day: counted when asked,
    and again once the date has changed while it is on show. A timer wakes
    just after each midnight to look.
*/
class DailyDueCount : public QObject
{
    Q_OBJECT

public:
    using Count = std::function<int(const QDate&)>;
    using Shown = std::function<bool()>;
    using Clock = std::function<QDateTime()>;

    /*! Counts with \a count, while \a shown says the count is on screen, by the time of \a now. */
    DailyDueCount(Count count, Shown shown, Clock now, QObject* parent = nullptr);

    /*! Counts for today now. */
    void refresh();
    /*! Counts again if the day changed while on show; waits for the next midnight. */
    void check();

signals:
    void counted(int due);

private:
    Count count;
    Shown shown;
    Clock now;
    QDate day;
    QTimer* timer;
};
