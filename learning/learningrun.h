#pragma once

#include <QDate>
#include <QHash>
#include <QObject>
#include <QSet>

#include <functional>

#include "model/statistics.h"
#include "review/reviewschedule.h"

class LessonSelector;
class Questions;
class Settings;
class WordModel;
class Statuses;
class Units;
class Variants;

/*!
    One learning run and the review schedule it feeds, without widgets: which
    word is asked next and in which lesson, the review of due words, what
    the run taught, and how a run ends or is cut short.

    A review run is the ordinary run with the due words put into the pools
    at the model's last recall step. A right answer there is "remembered", a
    mistake a lapse that sends the word back to the start of the model.
    Words are counted once each: newly learned, remembered, or forgotten and
    learned again.

    Whatever ends the program, a save writes the state at the last finished
    exercise: saveAsOfLastExercise() judges an answer already given and
    writes review words still waiting as learned, then puts them back, so a
    save that does not end the run leaves it going.
*/
class LearningRun : public QObject
{
    Q_OBJECT

public:
    struct Figures
    {
        int learned = 0;
        int mistakes = 0;
        qint64 seconds = 0;
        int reviewed = 0;
        int relearned = 0;
    };

    /*! A run over \a words, following the learning model of \a settings,
        whose lifetime totals it adds to as each run finishes. */
    LearningRun(WordModel* words, Settings* settings, QObject* parent = nullptr);

    /*! Keeps the pools and statuses in step with the word list: a word
        added gets a status, a word removed leaves the pools, a word set to
        the model's start enters them and one learned or unlearned leaves
        the questions. The models outlive a window, so a second call wires
        nothing twice. */
    void connectPools();

    ReviewSchedule& schedule() { return reviewSchedule; }
    const ReviewSchedule& schedule() const { return reviewSchedule; }

    /*! Whether a run is going (its figures are being counted). */
    bool isRunning() const { return counting; }
    /*! Review words not yet answered: still learned as far as the learner knows. */
    int waitingReviews() const { return int(reviewKeys.size()); }

    /*! The lesson kind of the next question, after judging the one before;
        -1 when the pool is empty and the run is over. Starts the run's
        clock with its first question. */
    int next();

    /*! Puts the words due \a today into the pools at the model's last
        recall step; returns how many. */
    int startReview(const QDate& today);
    /*! The review did not start after all: its words are learned again. */
    void cancelReview();

    /*! The run's figures so far. */
    Figures figures() const;
    /*! Ends the run: judges the answer given, empties the pools, restores
        the reviews not asked, adds the run's figures to the lifetime totals
        and returns them. A run cut short by quitting is saved, not finished,
        and adds nothing. */
    Figures finish();
    /*! The lifetime totals start again from nothing. */
    void resetTotals();

    /*! The learner clears the statuses: during a run (\a duringRun) only
        the words being learned, which the run is then to end with;
        otherwise every word of the dictionary. */
    void clearStatuses(bool duringRun);
    /*! The word being asked is learned; false, and nothing changes, when
        no word of the dictionary is being asked. */
    bool markAskedLearned();
    /*! The learning model got shorter: the run's words start it again from
        its first step, so that none is left past its end, and the review
        words still waiting are asked at the new model's last recall step. */
    void restartAtShorterModel();
    /*! Whether the run can go on after its words were edited: the choice
        lesson needs six words to choose from. */
    bool canGoOn() const;

    /*! Statuses changed outside the lessons (the editor) are no part of the
        run: a run going stops counting, and resumeCounting() takes up only
        a count that was paused. */
    void pauseCounting();
    void resumeCounting();

    /*! Runs \a save with the statuses as they stood at the last finished exercise. */
    void saveAsOfLastExercise(const std::function<void()>& save);

    /*! Brings the schedule in line with the statuses; review words count as learned. */
    void syncSchedule(const QDate& today);
    /*! How many learned words are due for review \a today, the schedule brought up to date first. */
    int dueCount(const QDate& today);

    /*! The dictionary was reordered: the key now at index i was
        \a previousKeys[i]. The pools follow their words to the new keys, so
        the run goes on with the same words; keys no longer there leave. */
    void renumberPools(const QList<int>& previousKeys);

private:
    int reviewStatus() const;
    void judge(int key);
    void judgeAnswerGiven();
    void noteLearned(int key);
    void noteMistake();
    void restoreUnasked();
    void startCounting();
    void stopCounting();

    Settings* settings;
    Units* units;
    Statuses* statuses;
    Questions* questions;
    Variants* variants;
    LessonSelector* selector;
    ReviewSchedule reviewSchedule;
    Statistics statistics;
    bool counting = false;
    bool paused = false;
    // Words of the running review, with the status they were asked at.
    QHash<int, int> reviewKeys;
    int askedKey = -1;
    QSet<int> newlyLearned;
    QSet<int> remembered;
    QSet<int> relearned;
};
