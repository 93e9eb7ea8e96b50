#pragma once

#include <QString>

#include "learning/learningrun.h"

/*! Texts of the status bar, the progress box and the congratulation, kept
    apart from the window so their arithmetic can be checked directly. */
namespace StatusTexts {

/*! Integer part of learned * 100 / total, "0" for an empty dictionary. */
QString percentage(int learned, int total);

/*! \a seconds as hours, minutes and seconds, "26:05:10" past a day. */
QString durationText(qint64 seconds);

QString lessonLabel(const QString& title);
QString learnedLabel(int learned, int total);
QString learningLabel(int inPool);
QString progress(int learned, qint64 seconds, int mistakes, int reviewed = 0);

/*! The congratulation after a run. Words remembered in review and words
    forgotten and learned again are counted apart from the newly learned. */
QString congratulation(const LearningRun::Figures& run);

} // namespace StatusTexts
