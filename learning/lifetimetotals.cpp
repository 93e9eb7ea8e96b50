#include "learning/lifetimetotals.h"

#include "config/settings.h"

void LifetimeTotals::add(const LearningRun::Figures& figures)
{
    learnedCount += figures.learned;
    reviewedCount += figures.reviewed;
    mistakesCount += figures.mistakes;
    learningTime += figures.seconds;
}

void LifetimeTotals::clear()
{
    learnedCount = 0;
    mistakesCount = 0;
    reviewedCount = 0;
    learningTime = 0;
}
