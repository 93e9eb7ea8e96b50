#pragma once

#include <QFont>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTime>
#include <QVariant>

/*!
    Application-wide values. readSettings() fills every one of them from the
    settings store at start-up (defaults for absent keys); the owners read and
    change them directly; writeSettings() stores them all back at exit.
*/

// Paths that are not settings.
extern QString dictionariesPath;   // home + "/Vocabrium Dictionaries/"
// The learned-words list's file: beside a build, in the user's data folder
// for an installed program (DataFolders, decided in main()).
extern QString learnedWordsName;

// Stored values, in the order they are written.
extern bool mwToolBar;
extern bool mwStatusBar;
extern bool mwFinderBar;
extern bool mwAlwaysOnTop;
extern QSize mwSize;
extern QPoint mwPos;
extern bool edTranscription;
extern bool edTranslation;
extern bool umdStem;
extern bool umdTranslate;
extern bool umdExcludeLearned;
extern bool umdToLower;
extern bool umdStandardDirection;
extern int udPrimaryLanguage;
extern int udSecondaryLanguage;
extern int mdModelIndex;
extern QList<QVariant> mdUserModel;
extern bool speakEnabled;          // "speak"
extern bool transcriptionEnabled;  // "transcription"
extern QList<QVariant> learningModel; // "model"
extern QString currentFileName;    // "fileName", the open dictionary without ".dic"
extern QString transcriptionFileName;
extern QStringList recentFiles;
extern QString interfaceLanguage;
extern QString learningLanguage;
extern QString nativeStyle;
extern QString styleName;          // "style"
extern QFont interfaceFont;
extern QFont lessonFont;
extern int learnedCount;
extern int mistakesCount;
extern QSize edSize;               // "ED_size", the editor's last size
extern int reviewedCount;          // learned words asked again and remembered
extern double reviewRetention;     // the share of words a review should still find remembered
extern qint64 learningTime;      // whole seconds of learning, all runs together

// Fixed style sheets shared by the lessons and the main window.
extern QString plainCardStyleSheet;
extern QString choiceCardStyleSheet;
extern QString answerButtonStyleSheet;
extern QString wrongAnswerStyleSheet;
extern QString stackStyleSheet;

/*! The learning model used when none (or a broken one) is stored. */
QList<QVariant> defaultLearningModel();

/*! The steps of \a model that name a lesson kind 1..4, as ints. */
QList<QVariant> validSteps(const QList<QVariant>& model);

/*!
    validSteps() of \a model; an empty result gives the default model, so
    every consumer can rely on at least one step.
*/
QList<QVariant> sanitizedModel(const QList<QVariant>& model);

/*! Length of the learning model in force, always at least 1. */
int modelLength();

/*! Lesson kind of step \a index of the model in force. */
int modelStep(int index);

constexpr int MinimumFontSize = 6;
constexpr int MaximumInterfaceFontSize = 32;
constexpr int MaximumLessonFontSize = 72;

/*! \a size bounded to what a font sensibly has; \a fallback for no size at all. */
int sensibleFontSize(int size, int fallback, int maximum);

/*! The window's stored size and position brought inside \a available, the
    screen's free area: never larger than it, and wholly on it. */
QRect fitToScreen(const QSize& size, const QPoint& position, const QRect& available);

void readSettings();
void writeSettings();
/*! writeSettings() writes nothing from now on: another copy of the program
    may be running and writing the same store. */
void keepSettingsUnwritten();
