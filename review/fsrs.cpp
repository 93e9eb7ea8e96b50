#include "review/fsrs.h"

#include <QtMath>

#include <cmath>

namespace {

constexpr double Decay = -0.5;
constexpr double Factor = 19.0 / 81.0; // 0.9^(1 / Decay) - 1: R(S, S) = 0.9
constexpr int MaximumInterval = 36500;

double clampDifficulty(double difficulty)
{
    return qBound(1.0, difficulty, 10.0);
}

} // namespace

// The default weights published with FSRS 4.5 (the open-spaced-repetition
// project's fsrs4anki scheduler, version 4.5), trained on Anki review logs.
QList<double> Fsrs::defaultWeights()
{
    return {0.4872, 1.4003, 3.7145, 13.8206, 5.1618, 1.2298, 0.8975, 0.031, 1.6474,
            0.1367, 1.0461, 2.1072, 0.0793, 0.3246, 1.587, 0.2272, 2.8755};
}

Fsrs::Fsrs(double requestedRetention, QList<double> weights)
    : retention(qBound(0.7, requestedRetention, 0.99))
    , w(weights.size() == 17 ? std::move(weights) : defaultWeights())
{
}

double Fsrs::initialDifficulty(Grade grade) const
{
    return w[4] - (grade - 3) * w[5];
}

Fsrs::Memory Fsrs::first(Grade grade) const
{
    return {qMax(0.1, w[grade - 1]), clampDifficulty(initialDifficulty(grade))};
}

double Fsrs::retrievability(double elapsedDays, double stability)
{
    if (stability <= 0)
        return 0;
    return std::pow(1 + Factor * qMax(0.0, elapsedDays) / stability, Decay);
}

Fsrs::Memory Fsrs::next(const Memory& memory, double elapsedDays, Grade grade) const
{
    const double s = qMax(0.1, memory.stability);
    const double d = clampDifficulty(memory.difficulty);
    const double r = retrievability(elapsedDays, s);

    // Difficulty moves with the grade and reverts a little toward that of a
    // first "good", so it cannot drift to an extreme for good.
    const double moved = d - w[6] * (grade - 3);
    const double difficulty = clampDifficulty(w[7] * initialDifficulty(Good) + (1 - w[7]) * moved);

    double stability;
    if (grade == Again) {
        // FSRS 4.5 has no cap at the stability before the lapse (later
        // versions added one): a word forgotten long after its due day may
        // come out of the lapse more stable than it went in.
        stability = w[11] * std::pow(d, -w[12]) * (std::pow(s + 1, w[13]) - 1) * std::exp(w[14] * (1 - r));
    } else {
        const double hardPenalty = grade == Hard ? w[15] : 1.0;
        const double easyBonus = grade == Easy ? w[16] : 1.0;
        stability = s * (std::exp(w[8]) * (11 - d) * std::pow(s, -w[9]) * (std::exp(w[10] * (1 - r)) - 1)
                             * hardPenalty * easyBonus
                         + 1);
    }
    return {qMax(0.1, stability), difficulty};
}

int Fsrs::intervalDays(double stability) const
{
    const double days = stability / Factor * (std::pow(retention, 1 / Decay) - 1);
    return qBound(1, int(std::lround(days)), MaximumInterval);
}
