#include "review/dailyduecount.h"

#include <QTimer>

DailyDueCount::DailyDueCount(Count count, Shown shown, Clock now, QObject* parent)
    : QObject(parent)
    , count(std::move(count))
    , shown(std::move(shown))
    , now(std::move(now))
    , timer(new QTimer(this))
{
    timer->setObjectName(QStringLiteral("midnight"));
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, this, &DailyDueCount::check);
}

void DailyDueCount::refresh()
{
    day = now().date();
    emit counted(count(day));
}

void DailyDueCount::check()
{
    const QDateTime time = now();
    if (shown() && day != time.date())
        refresh();
    const QDateTime midnight(time.date().addDays(1), QTime(0, 0, 1));
    timer->start(int(qBound(qint64(1000), time.msecsTo(midnight), qint64(24 * 3600 * 1000))));
}
