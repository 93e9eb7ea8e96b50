#pragma once

#include <QDate>
#include <QHash>
#include <QList>
#include <QMap>
#include <QString>

#include "review/fsrs.h"

/*!
    The review schedule of one dictionary: for every learned word its memory
    (FSRS stability and difficulty), the day of its last review and the day it
    is due again, plus how many words were learned and reviewed on each day.

    Words are matched by their text (trimmed, lower-cased), never by
    position, so a reordered or edited dictionary keeps its schedule, and the
    dictionary's own ".dic" and ".inf" files are never touched: the schedule
    lives in "name.rev" beside them.
*/
class ReviewSchedule
{
public:
    struct Card
    {
        Fsrs::Memory memory;
        QDate last;
        QDate due;          // null while the word is being learned again after a lapse
        int reviews = 0;
        int lapses = 0;
    };

    struct Day
    {
        int learned = 0;
        int reviewed = 0;
    };

    /*! A word of the dictionary with its learning status. */
    struct Word
    {
        QString text;
        int status = 0;
    };

    static QString schedulePath(const QString& dicPath);

    void setRequestedRetention(double retention);
    double requestedRetention() const { return fsrs.requestedRetention(); }

    /*! Reads the schedule of \a dicPath: an empty string when it was read whole
        or is missing (a new, empty schedule); otherwise what is wrong, and the
        file will not be written over. */
    QString load(const QString& dicPath);
    /*! Writes the schedule through QSaveFile; an empty string on success.
        A schedule that has not changed since it was read or written is
        not written again. */
    QString save(const QString& dicPath) const;

    QByteArray toBytes() const;
    /*! Replaces the schedule with \a bytes; what is wrong, or an empty string. */
    QString fromBytes(const QByteArray& bytes);

    /*! Brings the schedule in line with the dictionary: a word that became
        learned gets its first memory (or, after a lapse, its next due day), a
        word that is no longer learned or no longer there is dropped. The
        history is not touched: a word marked as known, ticked in the editor
        or already learned in an older dictionary was not learned today. */
    void sync(const QList<Word>& words, const QDate& today);

    /*! Counts one word as newly learned on \a today in the history. */
    void countLearned(const QDate& today);

    /*! The word's spelling was corrected: its card goes with it. */
    void rename(const QString& from, const QString& to);

    /*! Records a review: a right answer moves the due day on, a wrong one
        records a lapse and leaves the word to be learned again. */
    void reviewed(const QString& word, bool right, const QDate& today);

    /*! Words due on \a today or earlier, most overdue first (words of one day in no set order). */
    QStringList due(const QDate& today) const;
    /*! How many words fall due on each of \a days days from \a today (the first counts the overdue too). */
    QList<int> forecast(const QDate& today, int days) const;

    const QMap<QDate, Day>& history() const { return days; }
    bool contains(const QString& word) const;
    Card card(const QString& word) const;
    int count() const { return int(cards.size()); }
    bool isSaveable() const { return saveable; }
    bool existed() const { return fileExisted; }

private:
    static QString normalized(const QString& word);

    Fsrs fsrs;
    QHash<QString, Card> cards;
    QMap<QDate, Day> days;
    bool saveable = true;
    bool fileExisted = false;
    // What the file holds since the last load or save, to leave an
    // unchanged schedule alone.
    mutable QByteArray onDisk;
};
