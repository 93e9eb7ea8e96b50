#pragma once

#include <QWidget>

class QFrame;
class QLabel;
class Questions;
class Speaker;
class Statuses;
class Transcriptions;
class Units;
class Variants;
class Settings;
class Workspace;

/*!
    A lesson runs one short exercise on one word and reports that it is done
    with finished(). The main window owns one instance of each kind and shows
    them in a stack whose page index is the lesson kind.
*/
class AbstractLesson : public QWidget
{
    Q_OBJECT

public:
    /*! A lesson over the words of \a workspace. */
    explicit AbstractLesson(Workspace* workspace, QWidget* parent = nullptr);

    virtual void setupFonts() = 0;
    virtual QString title() const = 0;
    virtual void start() = 0;

    int currentKey() const { return currentUnit; }

    /*! Forgets the exercise on screen: an end still pending (the pause or
        the pronunciation after an answer) is never reported. */
    void abandon();

signals:
    void finished();

protected:
    virtual void createWidgets() = 0;
    virtual void createConnections() = 0;
    virtual void createLayout() = 0;

    /*! The word followed by its transcription, ready for a rich-text label;
        the word itself is escaped so that no markup from a dictionary is
        interpreted. */
    QString wordWithTranscription(int key) const;
    /*! The translation, escaped for a rich-text label. */
    QString escapedTranslation(int key) const;

    static QFrame* horizontalLine();

    /*! A label for words and translations: it wraps and takes the width the
        page gives it, so no text from a dictionary can widen the window. */
    static QLabel* contentLabel();

    const Settings* settings;
    Units* units;
    Statuses* statuses;
    Questions* questions;
    Variants* variants;
    Transcriptions* transcriptions;
    Speaker* speaker;
    int currentUnit = 0;
};

/*! Fixed height of the lessons' action buttons. */
constexpr int LessonButtonHeight = 35;
