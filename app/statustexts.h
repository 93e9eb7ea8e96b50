#pragma once

#include <QString>
#include <QTime>

/*! Texts of the status bar, the progress box and the congratulation, kept
    apart from the window so their arithmetic can be checked directly. */
namespace StatusTexts {

/*! Integer part of learned * 100 / total, "0" for an empty dictionary. */
QString percentage(int learned, int total);

QString lessonLabel(const QString& title);
QString learnedLabel(int learned, int total);
QString learningLabel(int inPool);
QString progress(int learned, const QTime& time, int mistakes, int reviewed = 0);
/*! \a reviewed learned words asked again and remembered, counted apart from the newly learned. */
QString congratulation(int learned, int mistakes, const QTime& time, int reviewed = 0);

} // namespace StatusTexts
