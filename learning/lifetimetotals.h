#pragma once

#include "learning/learningrun.h"

/*!
    The learner's totals over every run, kept with the settings: words
    learned, words remembered in review, mistakes and seconds of learning.
*/
class LifetimeTotals
{
public:
    /*! Adds what a finished run taught. Words remembered or learned again
        were learned before: they add to the reviewed count or to none. */
    static void add(const LearningRun::Figures& figures);
    /*! The learner asked to start counting afresh. */
    static void clear();
};
