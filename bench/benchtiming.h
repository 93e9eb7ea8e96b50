#pragma once

#include <QElapsedTimer>

#include <algorithm>
#include <functional>

/*! Milliseconds of the fastest of \a runs runs of \a work: the figure least
    disturbed by whatever else the machine is doing. */
inline double bestOf(int runs, const std::function<void()>& work)
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, double(timer.nsecsElapsed()) / 1e6);
    }
    return best;
}
