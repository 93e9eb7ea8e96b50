#pragma once

#include <QString>

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

/*! The figures of one run. \a reviewed learned words were asked again and
    remembered, \a relearned were forgotten and learned again; both are
    counted apart from the newly \a learned. */
struct Run
{
    int learned = 0;
    int mistakes = 0;
    qint64 seconds = 0;
    int reviewed = 0;
    int relearned = 0;
};
QString congratulation(const Run& run);

} // namespace StatusTexts
