#include <memory>
#include <QSignalSpy>

#include "config/settings.h"
#include "learning/learningrun.h"
#include "model/lessonselector.h"
#include "model/questions.h"
#include "model/random.h"
#include "model/statuses.h"
#include "model/units.h"
#include "model/variants.h"
#include "session/workspace.h"
#include "testenvironment.h"

// The run's rules without a window: the pools are wired as the window
// wires them, and answers are given as the lessons give them.
namespace {

// Seven words, the first five of them learned.
void loadSevenWordsFiveLearned(Units* units, Statuses* statuses)
{
    QList<Unit> words;
    for (const char* word : {"one", "two", "three", "four", "five", "six", "seven"})
        words.append({QString::fromLatin1(word), QStringLiteral("перевод")});
    units->setLoaded(words, true);
    statuses->setList({});
    for (int key = 0; key < 5; ++key)
        statuses->setStatus(key, Statuses::Learned);
}

} // namespace

class TestLearningRules : public QObject
{
    Q_OBJECT

    // The settings, words and tables of one test row, built afresh for each.
    std::unique_ptr<Workspace> workspace;

private slots:
    void init();
    void reviewAnswersAndInterruptions_data();
    void reviewAnswersAndInterruptions();
    void reorderingKeepsTheRunsWords_data();
    void reorderingKeepsTheRunsWords();
    void changesFromTheMenus_data();
    void changesFromTheMenus();
};

void TestLearningRules::init()
{
    workspace = std::make_unique<Workspace>();
    // Which word a run asks first is drawn: the same draw for every row,
    // whatever ran before.
    Random::seed(1);
    // The wiring outlives the run that makes it.
    LearningRun(&workspace->words, &workspace->settings).connectPools();
}

void TestLearningRules::reviewAnswersAndInterruptions_data()
{
    QTest::addColumn<bool>("remember");
    QTest::newRow("remembered") << true;
    QTest::newRow("forgotten, then learned again") << false;
}

void TestLearningRules::reviewAnswersAndInterruptions()
{
    QFETCH(bool, remember);
    workspace->settings.learningModel = {2};
    Units* units = (&workspace->words.units);
    Statuses* statuses = (&workspace->words.statuses);
    loadSevenWordsFiveLearned(units, statuses);
    const QDate today = QDate::currentDate();
    LearningRun run(&workspace->words, &workspace->settings);
    run.schedule().sync({{"one", 100}, {"two", 100}, {"three", 100}, {"four", 100}, {"five", 100}}, today.addDays(-60));

    QCOMPARE(run.startReview(today), 5);
    QCOMPARE(run.next(), 2);
    const int asked = (&workspace->words.questions)->current();
    if (remember)
        statuses->increment(asked);
    else
        statuses->decrement(asked);
    QCOMPARE(run.next(), 2); // the next word; the answer is judged
    QCOMPARE(run.schedule().card(units->word(asked)).lapses, remember ? 0 : 1);

    // A save now finds every unanswered word learned, and the run goes on.
    QList<int> saved;
    run.saveAsOfLastExercise([&] {
        for (int key = 0; key < 5; ++key)
            saved.append(statuses->status(key));
    });
    QList<int> expected(5, int(Statuses::Learned));
    if (!remember)
        expected[asked] = Statuses::Initial;
    QCOMPARE(saved, expected);
    QCOMPARE(run.waitingReviews(), 4);
    QVERIFY(statuses->status((&workspace->words.questions)->current()) != Statuses::Learned);

    if (!remember) {
        // Learned again in the same run: counted apart from new words.
        statuses->setStatus(asked, Statuses::Learned);
    }
    const LearningRun::Figures figures = run.finish();
    QCOMPARE(figures.learned, 0);
    QCOMPARE(figures.reviewed, remember ? 1 : 0);
    QCOMPARE(figures.relearned, remember ? 0 : 1);
    QCOMPARE(figures.mistakes, remember ? 0 : 1);
    for (int key = 0; key < 5; ++key)
        QCOMPARE(statuses->status(key), int(Statuses::Learned));
    QCOMPARE((&workspace->words.questions)->count(), 0);
}

void TestLearningRules::reorderingKeepsTheRunsWords_data()
{
    // The editor's new order, as positions in the old one.
    QTest::addColumn<QList<int>>("positions");
    QTest::newRow("unchanged") << QList<int>{0, 1, 2, 3, 4, 5, 6};
    QTest::newRow("reversed") << QList<int>{6, 5, 4, 3, 2, 1, 0};
    QTest::newRow("rotated") << QList<int>{3, 4, 5, 6, 0, 1, 2};
}

void TestLearningRules::reorderingKeepsTheRunsWords()
{
    QFETCH(QList<int>, positions);
    Units* units = (&workspace->words.units);
    Statuses* statuses = (&workspace->words.statuses);
    Questions* questions = (&workspace->words.questions);
    loadSevenWordsFiveLearned(units, statuses);
    statuses->setStatus(5, Statuses::Initial);
    const QDate today = QDate::currentDate();
    LearningRun run(&workspace->words, &workspace->settings);
    run.schedule().sync({{"one", 100}, {"two", 100}, {"three", 100}, {"four", 100}, {"five", 100}}, today.addDays(-60));
    QCOMPARE(run.startReview(today), 5);
    QVERIFY(run.next() >= 0);
    const QString asked = units->word(questions->current());
    // The rows are about a review word being asked across the reorder.
    QVERIFY(statuses->status(units->find(asked)) != Statuses::Initial);
    const int reviewsBefore = run.schedule().card(asked).reviews;
    const auto pooledWords = [&] {
        QStringList pooled;
        for (int key : questions->list())
            pooled.append(units->word(key));
        pooled.sort();
        return pooled;
    };
    const QStringList pooledBefore = pooledWords();

    // As the editor reorders: words and statuses together, then the keys.
    QList<Unit> ordered;
    QList<int> orderedStatuses;
    for (int position : positions) {
        ordered.append(units->unit(position));
        orderedStatuses.append(statuses->status(position));
    }
    units->setUnits(ordered);
    statuses->setList(orderedStatuses);
    run.renumberPools(positions);

    QCOMPARE(pooledWords(), pooledBefore);
    // The word being asked is answered right after the reorder.
    statuses->setStatus(units->find(asked), Statuses::Learned);
    const LearningRun::Figures figures = run.finish();
    QCOMPARE(figures.reviewed, 1);
    QCOMPARE(run.schedule().card(asked).reviews, reviewsBefore + 1);
    for (const char* word : {"one", "two", "three", "four", "five"})
        QCOMPARE(statuses->status(units->find(QString::fromLatin1(word))), int(Statuses::Learned));
    QCOMPARE(statuses->status(units->find(QStringLiteral("six"))), int(Statuses::Initial));
    QCOMPARE(statuses->status(units->find(QStringLiteral("seven"))), int(Statuses::Unlearned));
}

void TestLearningRules::changesFromTheMenus_data()
{
    QTest::addColumn<QString>("change");
    // Learned as the status bar counts them (waiting reviews too), and left to ask.
    QTest::addColumn<int>("learned");
    QTest::addColumn<int>("pooled");
    QTest::newRow("clearing during a run unlearns its words") << "clear run" << 5 << 0;
    QTest::newRow("clearing on the selection page unlearns all") << "clear all" << 0 << 0;
    QTest::newRow("the asked word marked learned") << "mark" << 6 << 1;
    QTest::newRow("no mark once the asked word is removed") << "remove, mark" << 5 << 1;
    QTest::newRow("a shorter model restarts the run's words") << "shorten" << 5 << 2;
    // The five learned words are being reviewed as well.
    QTest::newRow("a shorter model keeps the reviews waiting") << "shorten a review" << 5 << 7;
}

void TestLearningRules::changesFromTheMenus()
{
    QFETCH(QString, change);
    QFETCH(int, learned);
    QFETCH(int, pooled);
    Units* units = (&workspace->words.units);
    Statuses* statuses = (&workspace->words.statuses);
    Questions* questions = (&workspace->words.questions);
    workspace->settings.learningModel = {2, 3};
    loadSevenWordsFiveLearned(units, statuses);
    statuses->setStatuses({5, 6}, Statuses::Initial);
    LearningRun run(&workspace->words, &workspace->settings);
    if (change == QLatin1String("shorten a review")) {
        const QDate today = QDate::currentDate();
        run.schedule().sync({{"one", 100}, {"two", 100}, {"three", 100}, {"four", 100}, {"five", 100}}, today.addDays(-60));
        QCOMPARE(run.startReview(today), 5);
    }
    QVERIFY(run.next() >= 0);
    const int asked = questions->current();

    if (change == QLatin1String("clear run")) {
        run.clearStatuses(true);
    } else if (change == QLatin1String("clear all")) {
        run.clearStatuses(false);
    } else if (change == QLatin1String("mark")) {
        QVERIFY(run.markAskedLearned());
    } else if (change == QLatin1String("remove, mark")) {
        units->remove(asked);
        QVERIFY(!run.markAskedLearned());
    } else if (change == QLatin1String("shorten")) {
        statuses->setStatuses({5, 6}, Statuses::Initial + 1);
        workspace->settings.learningModel = {2};
        run.restartAtShorterModel();
        for (int key : {5, 6})
            QCOMPARE(statuses->status(key), int(Statuses::Initial));
    } else if (change == QLatin1String("shorten a review")) {
        workspace->settings.learningModel = {2};
        run.restartAtShorterModel();
        // None is answered: a save writes them all as learned.
        QList<int> saved;
        run.saveAsOfLastExercise([&] {
            for (int key = 0; key < 5; ++key)
                saved.append(statuses->status(key));
        });
        QCOMPARE(saved, QList<int>(5, int(Statuses::Learned)));
    }
    run.next();
    QCOMPARE(statuses->countOf(Statuses::Learned) + run.waitingReviews(), learned);
    QCOMPARE(questions->count(), pooled);
    QCOMPARE(run.figures().reviewed, 0);
    run.finish();
}

VOCABRIUM_TEST_MAIN(TestLearningRules)
#include "tst_learningrules.moc"
