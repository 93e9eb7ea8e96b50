#include "learning/learningrun.h"

#include <QSignalBlocker>

#include "config/settings.h"
#include "model/wordmodel.h"

LearningRun::LearningRun(WordModel* words, Settings* settings, QObject* parent)
    : QObject(parent)
    , settings(settings)
    , units(&words->units)
    , statuses(&words->statuses)
    , questions(&words->questions)
    , variants(&words->variants)
    , selector(&words->selector)
{
    // A mistake in review is a lapse at once, whatever the lesson does next.
    connect(statuses, &Statuses::decremented, this, &LearningRun::noteMistake);
    // A corrected spelling keeps the word's review card.
    connect(units, &Units::edited, this, [this](int key, const QString& previousWord) {
        reviewSchedule.rename(previousWord, units->word(key));
    });
}

void LearningRun::connectPools()
{
    const auto unique = Qt::UniqueConnection;
    connect(units, &Units::added, statuses, &Statuses::add, unique);
    connect(units, &Units::removed, statuses, &Statuses::remove, unique);
    connect(units, &Units::removed, questions, &Questions::remove, unique);
    connect(units, &Units::removed, variants, &Variants::remove, unique);
    connect(statuses, &Statuses::unlearned, questions, &Questions::remove, unique);
    connect(statuses, &Statuses::initial, questions, &Questions::add, unique);
    connect(statuses, &Statuses::initial, variants, &Variants::add, unique);
    connect(statuses, &Statuses::learned, questions, &Questions::remove, unique);
}

int LearningRun::next()
{
    judgeAnswerGiven();
    askedKey = -1;
    if (questions->count() == 0)
        return -1;
    if (!counting) {
        startCounting();
        statistics.start();
    }
    questions->next();
    askedKey = questions->current();
    return selector->currentLesson();
}

int LearningRun::reviewStatus() const
{
    // Asked at the model's last step that tests recall (choice, card or
    // writing): a right answer there makes the word learned again.
    int step = settings->modelLength() - 1;
    while (step > 0 && settings->modelStep(step) == 1)
        --step;
    return Statuses::Initial + step;
}

int LearningRun::startReview(const QDate& today)
{
    syncSchedule(today);
    const int askedAt = reviewStatus();
    const QStringList due = reviewSchedule.due(today);
    for (const QString& word : due) {
        const int key = units->find(word);
        if (key < 0 || statuses->status(key) != Statuses::Learned)
            continue;
        reviewKeys.insert(key, askedAt);
        statuses->setStatus(key, askedAt);
        questions->add(key);
        variants->add(key);
    }
    return int(reviewKeys.size());
}

void LearningRun::cancelReview()
{
    restoreUnasked();
}

LearningRun::Figures LearningRun::figures() const
{
    return {int(newlyLearned.size()), statistics.mistakesCount(), statistics.learningSeconds(),
            int(remembered.size()), int(relearned.size())};
}

LearningRun::Figures LearningRun::finish()
{
    judgeAnswerGiven();
    askedKey = -1;
    const Figures result = figures();
    // Remembered and relearned words were learned before: they count apart.
    settings->learnedCount += result.learned;
    settings->reviewedCount += result.reviewed;
    settings->mistakesCount += result.mistakes;
    settings->learningTime += result.seconds;
    newlyLearned.clear();
    remembered.clear();
    relearned.clear();
    statistics.reset();
    questions->clear();
    variants->clear();
    stopCounting();
    restoreUnasked();
    return result;
}

void LearningRun::resetTotals()
{
    settings->learnedCount = 0;
    settings->mistakesCount = 0;
    settings->reviewedCount = 0;
    settings->learningTime = 0;
}

void LearningRun::clearStatuses(bool duringRun)
{
    if (duringRun)
        statuses->setStatuses(questions->list(), Statuses::Unlearned);
    else
        statuses->resetAll();
}

bool LearningRun::markAskedLearned()
{
    // A shortcut queued before the run ended, or the word removed since.
    const int key = questions->current();
    if (!units->contains(key))
        return false;
    statuses->setStatus(key, Statuses::Learned);
    return true;
}

void LearningRun::restartAtShorterModel()
{
    // A review word is judged by leaving the status it is asked at: set to
    // the first step, a word not yet answered would count as remembered.
    const int askedAt = reviewStatus();
    for (int key : questions->list()) {
        const auto review = reviewKeys.find(key);
        if (review != reviewKeys.end() && statuses->status(key) == *review) {
            *review = askedAt;
            statuses->setStatus(key, askedAt);
        } else {
            statuses->setStatus(key, Statuses::Initial);
        }
    }
}

bool LearningRun::canGoOn() const
{
    return variants->count() > 5;
}

void LearningRun::pauseCounting()
{
    paused = counting;
    if (counting)
        stopCounting();
}

void LearningRun::resumeCounting()
{
    if (paused)
        startCounting();
    paused = false;
}

void LearningRun::saveAsOfLastExercise(const std::function<void()>& save)
{
    judgeAnswerGiven();
    QList<int> unasked;
    for (auto it = reviewKeys.cbegin(); it != reviewKeys.cend(); ++it) {
        if (units->contains(it.key()) && statuses->status(it.key()) == it.value())
            unasked.append(it.key());
    }
    const auto setQuietly = [this, &unasked](bool learned) {
        const QSignalBlocker blocker(statuses);
        for (int key : std::as_const(unasked))
            statuses->setStatus(key, learned ? int(Statuses::Learned) : reviewKeys.value(key));
    };
    setQuietly(true);
    save();
    setQuietly(false);
}

void LearningRun::syncSchedule(const QDate& today)
{
    // Review words are at a learning status only while they are asked.
    QList<ReviewSchedule::Word> words;
    const QList<int> keys = units->keys();
    words.reserve(keys.size());
    for (int key : keys) {
        const int status = reviewKeys.contains(key) ? int(Statuses::Learned) : statuses->status(key);
        words.append({units->word(key), status});
    }
    reviewSchedule.sync(words, today);
}

int LearningRun::dueCount(const QDate& today)
{
    syncSchedule(today);
    return int(reviewSchedule.due(today).size());
}

void LearningRun::renumberPools(const QList<int>& previousKeys)
{
    QHash<int, int> newKeys;
    newKeys.reserve(previousKeys.size());
    for (int i = 0; i < previousKeys.size(); ++i)
        newKeys.insert(previousKeys.at(i), i);
    const QList<int> questionKeys = questions->list();
    const QList<int> variantKeys = variants->list();
    questions->clear();
    variants->clear();
    for (int key : questionKeys) {
        if (newKeys.contains(key))
            questions->add(newKeys.value(key));
    }
    for (int key : variantKeys) {
        if (newKeys.contains(key))
            variants->add(newKeys.value(key));
    }
    // The run's own bookkeeping names words by key as well: a review word
    // left at its old key would be judged and restored as another word.
    QHash<int, int> renumberedReviews;
    for (auto it = reviewKeys.cbegin(); it != reviewKeys.cend(); ++it) {
        if (newKeys.contains(it.key()))
            renumberedReviews.insert(newKeys.value(it.key()), it.value());
    }
    reviewKeys = renumberedReviews;
    askedKey = newKeys.value(askedKey, -1);
    for (QSet<int>* counted : {&newlyLearned, &remembered, &relearned}) {
        QSet<int> renumbered;
        for (int key : std::as_const(*counted)) {
            if (newKeys.contains(key))
                renumbered.insert(newKeys.value(key));
        }
        *counted = renumbered;
    }
}

void LearningRun::judge(int key)
{
    const auto it = reviewKeys.constFind(key);
    if (it == reviewKeys.cend())
        return;
    const int status = statuses->status(key);
    // Still at the status it was asked at: the exercise ended unanswered.
    if (status == *it)
        return;
    reviewKeys.remove(key);
    reviewSchedule.reviewed(units->word(key), true, QDate::currentDate());
    remembered.insert(key);
    if (status != Statuses::Learned)
        statuses->setStatus(key, Statuses::Learned);
}

void LearningRun::judgeAnswerGiven()
{
    if (askedKey >= 0)
        judge(askedKey);
}

void LearningRun::noteLearned(int key)
{
    // A review word that reached the end of the model was remembered; it
    // is counted when it is judged.
    if (reviewKeys.contains(key) || remembered.contains(key) || !units->contains(key))
        return;
    // A word with a card was learned before and forgotten since.
    if (reviewSchedule.contains(units->word(key))) {
        relearned.insert(key);
        return;
    }
    if (!newlyLearned.contains(key)) {
        newlyLearned.insert(key);
        reviewSchedule.countLearned(QDate::currentDate());
    }
}

void LearningRun::noteMistake()
{
    const int key = questions->current();
    if (!counting || !reviewKeys.contains(key))
        return;
    // Forgotten: a lapse for the schedule, and the word is learned again
    // from the start of the model.
    reviewKeys.remove(key);
    reviewSchedule.reviewed(units->word(key), false, QDate::currentDate());
    statuses->setStatus(key, Statuses::Initial);
}

void LearningRun::restoreUnasked()
{
    const QHash<int, int> left = reviewKeys;
    reviewKeys.clear();
    for (auto it = left.cbegin(); it != left.cend(); ++it) {
        if (units->contains(it.key()) && statuses->status(it.key()) == it.value()) {
            statuses->setStatus(it.key(), Statuses::Learned);
            variants->remove(it.key());
        }
    }
}

void LearningRun::startCounting()
{
    if (counting)
        return;
    connect(statuses, &Statuses::learned, &statistics, &Statistics::incrementLearned);
    connect(statuses, &Statuses::decremented, &statistics, &Statistics::incrementMistakes);
    connect(statuses, &Statuses::learned, this, &LearningRun::noteLearned);
    counting = true;
}

void LearningRun::stopCounting()
{
    counting = false;
    disconnect(statuses, &Statuses::learned, &statistics, &Statistics::incrementLearned);
    disconnect(statuses, &Statuses::decremented, &statistics, &Statistics::incrementMistakes);
    disconnect(statuses, &Statuses::learned, this, &LearningRun::noteLearned);
}
