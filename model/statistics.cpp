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

qint64 Statistics::learningSeconds() const
{
    return clock.isValid() ? clock.elapsed() / 1000 : 0;
}

void Statistics::start()
{
    clock.start();
}

void Statistics::reset()
{
    learned = 0;
    mistakes = 0;
}

void Statistics::incrementLearned()
{
    ++learned;
}

void Statistics::incrementMistakes()
{
    ++mistakes;
}
