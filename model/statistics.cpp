#include "model/statistics.h"

Statistics::Statistics(QObject* parent)
    : QObject(parent)
{
}

int Statistics::learnedCount() const
{
    return learned;
}

int Statistics::mistakesCount() const
{
    return mistakes;
}

QTime Statistics::learningTime() const
{
    const qint64 elapsed = (clock.isValid() ? clock.elapsed() : 0) + elapsedOffset;
    constexpr qint64 day = 24 * 60 * 60 * 1000;
    return QTime(0, 0, 0, 0).addMSecs(int(elapsed % day));
}

void Statistics::start()
{
    clock.start();
    elapsedOffset = 0;
}

void Statistics::reset()
{
    learned = 0;
    mistakes = 0;
}

QTime Statistics::addedTime(const QTime& total, const QTime& run)
{
    const QTime midnight(0, 0, 0, 0);
    const QTime base = total.isValid() ? total : midnight;
    const int seconds = run.isValid() ? midnight.secsTo(run) : 0;
    return base.addSecs(seconds);
}

void Statistics::setElapsedForTesting(qint64 msecs)
{
    clock.start();
    elapsedOffset = msecs;
}

void Statistics::incrementLearned()
{
    ++learned;
}

void Statistics::incrementMistakes()
{
    ++mistakes;
}
