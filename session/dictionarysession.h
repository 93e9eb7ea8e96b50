#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class Settings;
class DictionaryFiles;
class LearningRun;
class Statuses;
class Units;

/*!
    What happens to the open dictionary when the learner changes it, without
    widgets: switching to another file, a download or a new dictionary in
    its place, the end of a run, and the saves that go with each.

    Every save writes the state at the last finished exercise together with
    the review schedule, so a run in progress is never written half-judged.
    A switch saves the open dictionary first and does not happen when that
    save fails. A file replaced on disk under the open dictionary (a download,
    a new empty dictionary of the same name) is read again without saving
    what memory holds of the old words over it.

    Results are Russian sentences for the window to show; dictionaryRead()
    tells it that a dictionary's words are in memory, before its schedule is
    read, so that it can apply the dictionary's language.
*/
class DictionarySession : public QObject
{
    Q_OBJECT

public:
    struct Outcome
    {
        enum Kind { Refused, Opened, Reloaded };
        Kind kind = Refused;
        QString error;
    };

    DictionarySession(Settings* settings, DictionaryFiles* files, LearningRun* run, Units* learnedUnits,
                      Statuses* statuses, QObject* parent = nullptr);

    /*! The learner's folder of dictionaries, in the home folder. */
    static QString dictionariesFolder();
    /*! \a path with the ".dic" suffix, added when it is missing. */
    static QString withDictionarySuffix(const QString& path);
    /*! The first run: creates the dictionaries folder and copies the files
        of \a defaultsFolder into it. False when the folder was there (or
        cannot be made), and nothing was done. */
    static bool setUpDictionariesFolder(const QString& defaultsFolder);

    /*! Opens \a storedDicPath again once the default dictionaries were
        copied, as at start-up (the statuses reach no pool), with its
        schedule and the learned-words list. Returns the problems met. */
    QStringList reopenAtStartUp(const QString& storedDicPath);

    /*! Reads the open dictionary's review schedule. */
    QString loadSchedule();

    /*! Saves the dictionary, its statuses and the schedule as of the last
        finished exercise; the run goes on unchanged. */
    QString save();
    /*! save() and the settings: accepted edits reach the disk at once. */
    QString saveWithSettings();
    /*! Everything that outlives the program: the pair, the schedule, the
        learned-words list and the settings. Returns what could not be saved. */
    QStringList saveEverything();

    /*! The run is over: its figures join the totals, and what was learned
        is saved at once, to survive a crash or a kill. */
    QString endRun();

    /*! Saves the open dictionary, then opens \a dicPath. Refused (the open
        dictionary stays) when the save fails. */
    Outcome switchTo(const QString& dicPath);

    /*! Whether one of \a paths is the open dictionary's file. */
    bool isOpenAmong(const QStringList& paths) const;
    /*! The open dictionary's files were replaced on disk: reads them again. */
    QString reloadReplaced();

    /*! Nothing is written from now on: another copy of the program may be
        writing the same files. \a reason says why when a save is asked for. */
    void keepUnchanged(const QString& reason);

    /*! Makes \a dicPath an empty dictionary and opens it. Over the open
        dictionary the files are emptied and read again; otherwise the open
        dictionary is saved first, and nothing is created when that fails. */
    Outcome create(const QString& dicPath);

signals:
    void dictionaryRead();

private:
    QString afterRead(const QString& error);
    /*! Stores the settings, the open dictionary as the one to open next. */
    void storeSettings();

    Settings* settings;
    DictionaryFiles* files;
    LearningRun* run;
    Units* learnedUnits;
    Statuses* statuses;
};
