#pragma once

#include <QFont>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVariant>

class QSettings;

/*!
    The learner's stored settings: one object, built once by whoever starts
    the program (main(), a test, dictool) and handed to those that read or
    change it. The member initialisers are the defaults, in one place: read()
    keeps a member's default where the store has no value, and the store
    names its keys after the members ("MW_toolBar", "fileName"…), as files
    written by every earlier version expect.
*/
class Settings
{
public:
    Settings();

    /*! Fills every member from \a store (defaults for absent or broken values). */
    void read(const QSettings& store);
    /*! Writes every member to \a store, in the order earlier versions wrote them. */
    void write(QSettings& store) const;
    /*! read() and write() on the user's store, named after the program. */
    void read();
    /*! Returns false when the store could not be written (or writing was
        stopped by keepUnwritten()). */
    bool write() const;
    /*! write() writes nothing from now on: another copy of the program may be
        running and writing the same store. */
    void keepUnwritten() { unwritten = true; }

    /*! Length of the learning model, always at least 1. */
    int modelLength() const;
    /*! Lesson kind of step \a index of the learning model. */
    int modelStep(int index) const;

    // Paths that are not stored.
    QString dictionariesPath;   // home + "/Vocabrium Dictionaries/"
    // The learned-words list's file: beside a build, in the user's data
    // folder for an installed program (DataFolders, decided in main()).
    QString learnedWordsName;

    // Stored values, in the order they are written.
    bool mwToolBar = true;
    bool mwStatusBar = true;
    bool mwFinderBar = false;
    bool mwAlwaysOnTop = false;
    QSize mwSize = QSize(400, 400);
    QPoint mwPos = QPoint(250, 250);
    bool edTranscription = false;
    bool edTranslation = true;
    bool umdStem = false;
    bool umdTranslate = false;
    bool umdExcludeLearned = true;
    bool umdToLower = true;
    bool umdStandardDirection = false;
    int udPrimaryLanguage = 0x04090409;
    int udSecondaryLanguage = 0x04190419;
    int mdModelIndex = 0;
    QList<QVariant> mdUserModel;
    bool speakEnabled = true;          // "speak"
    bool transcriptionEnabled = true;  // "transcription"
    QList<QVariant> learningModel;     // "model"
    // "fileName": the dictionary to open at the next start, without ".dic".
    // While the program runs, the open dictionary's name is the word list's
    // own (Units::fileName()); it is copied here when the settings are stored.
    QString currentFileName;
    QString transcriptionFileName = QStringLiteral("English");
    QStringList recentFiles;
    QString interfaceLanguage = QStringLiteral("ru");
    QString learningLanguage = QStringLiteral("en");
    QString nativeStyle;
    QString styleName = QStringLiteral("cleanlooks");   // "style"
    QFont interfaceFont;
    QFont lessonFont;
    // Lifetime totals; the learning run adds each finished run's figures.
    int learnedCount = 0;
    int mistakesCount = 0;
    QSize edSize = QSize(720, 520);    // "ED_size", the editor's last size
    int reviewedCount = 0;             // learned words asked again and remembered
    double reviewRetention = 0.9;      // the share of words a review should still find remembered
    qint64 learningTime = 0;           // whole seconds of learning, all runs together

private:
    bool unwritten = false;
};

/*! The learning model used when none (or a broken one) is stored. */
QList<QVariant> defaultLearningModel();

/*! The steps of \a model that name a lesson kind 1..4, as ints. */
QList<QVariant> validSteps(const QList<QVariant>& model);

/*!
    validSteps() of \a model; an empty result gives the default model, so
    every consumer can rely on at least one step.
*/
QList<QVariant> sanitizedModel(const QList<QVariant>& model);

constexpr int MinimumFontSize = 6;
constexpr int MaximumInterfaceFontSize = 32;
constexpr int MaximumLessonFontSize = 72;

/*! \a size bounded to what a font sensibly has; \a fallback for no size at all. */
int sensibleFontSize(int size, int fallback, int maximum);

/*! The window's stored size and position brought inside \a available, the
    screen's free area: never larger than it, and wholly on it. */
QRect fitToScreen(const QSize& size, const QPoint& position, const QRect& available);
