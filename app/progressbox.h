#pragma once

#include <QMessageBox>

class QDate;
class ReviewSchedule;

/*
    The Progress box: the learner's totals, the chart of the review
    schedule under them, and a Reset button that the window asks about.
*/
class ProgressBox : public QMessageBox
{
    Q_OBJECT

public:
    ProgressBox(const QString& totals, const ReviewSchedule& schedule, const QDate& today, QWidget* parent);
};
