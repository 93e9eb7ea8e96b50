#pragma once

#include <QList>

/*!
    The memory model of the free spaced-repetition scheduler (FSRS, version
    4.5): a remembered word has a stability S (the days after which recall
    drops to 90 %) and a difficulty D (1..10); the probability of recall t
    days after a review is R = (1 + 19/81 * t / S)^-0.5. Every review updates
    S and D from the grade and from R at that moment, and the next review is
    due when R falls to the requested retention.

    A pure class: no clock, no files; days are whole or fractional numbers.
*/
class Fsrs
{
public:
    enum Grade { Again = 1, Hard = 2, Good = 3, Easy = 4 };

    struct Memory
    {
        double stability = 0;
        double difficulty = 0;
    };

    /*! The published default weights of FSRS 4.5. */
    static QList<double> defaultWeights();

    explicit Fsrs(double requestedRetention = 0.9, QList<double> weights = defaultWeights());

    double requestedRetention() const { return retention; }

    /*! The memory after the first successful recall with \a grade. */
    Memory first(Grade grade) const;

    /*! The memory after a review \a elapsedDays after the previous one. */
    Memory next(const Memory& memory, double elapsedDays, Grade grade) const;

    /*! Probability of recall \a elapsedDays after a review. */
    static double retrievability(double elapsedDays, double stability);

    /*! Whole days until recall falls to the requested retention (1..36500). */
    int intervalDays(double stability) const;

private:
    double initialDifficulty(Grade grade) const;

    double retention;
    QList<double> w;
};
