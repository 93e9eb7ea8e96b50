#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

#include "model/boundedfile.h"
#include "model/unit.h"

class Statuses;
class Units;
class WordModel;

/*!
    The open dictionary's files as one unit: its ".dic" word list, its
    ".inf" statuses beside it, and the learned-words list that may be the
    very same file.

    Reading tells a whole dictionary from anything else (a cut-short file,
    a count that disagrees with the records, trailing bytes, a file far too
    large, a folder or an unreadable path); a file that was not read whole
    is never written over.

    The dictionary and its statuses are paired by position, so they are saved
    together or not at all. A save writes both new files beside the old ones
    ("name.dic.new", "name.inf.new"), then a marker ("name.saving") that says
    both are complete, then moves each over its old file and removes the
    marker. Whatever moment a save is interrupted at, the next read finds
    either no marker (the old pair stands; leftovers are removed) or the
    marker (the new pair is completed). Where a folder does not allow new
    files, the new pair is first written whole into a staging folder of the
    user's data (or cache) folder and read back, with a copy of the old pair
    beside it, and only then copied over the two files and checked; until
    that check passed, every read takes the staged pair and the next read or
    save copies it into place again.

    A dictionary file of zero bytes whose statuses name words is damaged, not
    empty. A statuses file that is not whole is moved aside
    ("name.inf.damaged") before the words start at status 0, and the move is
    reported.

    The class shows no messages: every operation returns an empty string on
    success and otherwise a Russian sentence naming the file and the reason,
    for the window to show.
*/
class DictionaryFiles
{
public:
    /*! The points between the steps of a pair save. */
    enum class SaveStep { DictionaryWritten, StatusesWritten, Committed, DictionaryReplaced, StatusesReplaced };

    /*! Told of every step reached; returning false stops the save right
        there and leaves the files as a crash at that moment would. */
    using StepObserver = std::function<bool(SaveStep)>;

    /*! Far beyond any real dictionary (100 000 words take about 3 MB). */
    static constexpr qint64 MaximumFileSize = BoundedFile::DefaultLimit;

    struct Reading
    {
        enum Kind { Whole, Missing, Unreadable, Damaged };
        Kind kind = Whole;
        QList<Unit> units;  // for a damaged file, the records read before the damage
        QString problem;    // what is wrong, for Unreadable and Damaged
        QString notice;     // for Whole: read from a staged copy, and why
    };

    explicit DictionaryFiles(WordModel* words, StepObserver observer = StepObserver());

    /*! Makes \a dicPath the open dictionary when it reads whole, loading its
        statuses too; otherwise nothing changes and the problem is returned.
        Opening empties the question and variant pools: their keys belong to
        the dictionary that was open before. */
    QString open(const QString& dicPath);

    /*! Opens \a storedDicPath, falling back to \a defaultDicPath when
        that cannot be had (a missing default is created empty). Returns the
        problems met on the way, one sentence each. */
    QStringList openAtStartUp(const QString& storedDicPath, const QString& defaultDicPath);

    /*! Reads the open dictionary's pair again without saving what memory
        holds, for files that were replaced on disk (a download over the
        open dictionary writes the new words with fresh statuses). */
    QString reloadReplaced();

    /*! What opening the last dictionary reported besides success (a damaged
        statuses file moved aside, a staged copy taken), emptied on reading. */
    QStringList takeNotices();

    /*! Memory no longer holds the open file's words (a download replaced
        it): nothing is saved until the next open. */
    void forgetReplaced();

    /*! Nothing is written from now on, for the reason given (another copy
        of the program may be writing the same files). */
    void setReadOnly(const QString& reason);

    /*! Saves the open dictionary and its statuses, both or neither. */
    QString save();

    /*! Saves the learned-words list, unless it is the open dictionary's file
        (saved with the pair) or was not read whole. */
    QString saveLearned();

    /*! Whether the open dictionary may be written: it was read whole, or it
        did not exist yet, and nothing forbids writing. */
    bool isSaveable() const;

    /*! Whether the open dictionary's file is the learned-words file. */
    bool openIsLearnedFile() const;

    QString openFileName() const;

    // The file-level operations, also for callers that handle one file.

    /*! Reads a ".dic" file, finishing or undoing an interrupted pair save first. */
    static Reading read(const QString& dicPath);

    /*! The raw values of the statuses file that belongs to \a dicPath. */
    static QList<int> readStatusValues(const QString& dicPath);

    /*! Writes one word list through QSaveFile. */
    static QString writeDictionary(const QString& dicPath, const QList<Unit>& units);

    /*! Writes \a bytes to \a path through QSaveFile, checking the flush and
        the sync to disk; \a inPlace allows rewriting the file itself in a
        folder that refuses new files. Returns a Russian sentence naming the
        file and what happened (a full disk, a write-protected file), or an
        empty string. */
    static QString writeFile(const QString& path, const QByteArray& bytes, bool inPlace = false);

    /*! Writes the statuses file of \a dicPath alone through QSaveFile. */
    static QString writeStatuses(const QString& dicPath, const QList<int>& statusValues);

    /*! The pair save described above; \a statusValues are the file's values, marker included. */
    static QString writePair(const QString& dicPath, const QList<Unit>& units,
                             const QList<int>& statusValues,
                             const StepObserver& observer = StepObserver());

    /*! Completes or rolls back an interrupted pair save of \a dicPath.
        Returns false when a pending save could not be completed. */
    static bool recover(const QString& dicPath);

    /*! Makes \a dicPath an empty dictionary: an empty word list with
        empty statuses, saved as a pair, and no review schedule of that
        name left over. */
    static QString createEmpty(const QString& dicPath);

    /*! Whether two paths name the same file (links and relative paths resolved). */
    static bool sameFile(const QString& first, const QString& second);

    static QString statusesPath(const QString& dicPath);

private:
    void adopt(const QString& dicPath, const QList<Unit>& units, bool whole);
    void adoptWhole(const QString& dicPath, const Reading& reading, QStringList* messages);
    static bool setAsideDamagedStatuses(const QString& dicPath, QString* notice);

    WordModel* words;
    Units* dictionary;
    Units* learned;
    Statuses* statuses;
    StepObserver observer;
    QStringList notices;
    QString readOnlyReason;
};
