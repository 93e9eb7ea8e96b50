#pragma once

#include <QDate>

class QWidget;
class ReviewSchedule;

/*! A chart for the progress box: words learned and reviewed on each of the
    last four weeks' days, and the words falling due on each of the next 30. */
QWidget* createProgressChart(const ReviewSchedule& schedule, const QDate& today, QWidget* parent = nullptr);

/*! The count axis for bars up to \a highest: a top value and a whole-number
    step (1, 2 or 5 times a power of ten) that gives at most five intervals. */
struct CountScale
{
    int top = 1;
    int step = 1;
};
CountScale countScale(int highest);
