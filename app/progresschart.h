#pragma once

#include <QDate>

class QWidget;
class ReviewSchedule;

/*! A chart for the progress box: words learned and reviewed on each of the
    last four weeks' days, and the words falling due on each of the next 30. */
QWidget* createProgressChart(const ReviewSchedule& schedule, const QDate& today, QWidget* parent = nullptr);
