#include <memory>
#include <QSignalSpy>

#include "config/settings.h"
#include "learning/learningrun.h"
#include "model/lessonselector.h"
#include "model/questions.h"
#include "model/statuses.h"
#include "model/units.h"
#include "model/variants.h"
#include "session/workspace.h"
#include "testenvironment.h"

// The run's rules without a window: the pools are wired as the window
// wires them, and answers are given as the lessons give them.
class TestLearningRules : public QObject
{
    Q_OBJECT

    // The settings, words and tables this test run works on; built first,
    // as the members below may point into it.
    std::unique_ptr<Workspace> workspace = std::make_unique<Workspace>();

private slots:
    void initTestCase();
    void reviewAnswersAndInterruptions_data();
    void reviewAnswersAndInterruptions();
};

void TestLearningRules::initTestCase()
{
    Statuses* statuses = (&workspace->words.statuses);
    Questions* questions = (&workspace->words.questions);
    connect(statuses, &Statuses::initial, questions, &Questions::add);
    connect(statuses, &Statuses::initial, (&workspace->words.variants), &Variants::add);
    connect(statuses, &Statuses::learned, questions, &Questions::remove);
    connect(statuses, &Statuses::unlearned, questions, &Questions::remove);
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
    QList<Unit> words;
    for (const char* word : {"one", "two", "three", "four", "five", "six", "seven"})
        words.append({QString::fromLatin1(word), QStringLiteral("перевод")});
    units->setLoaded(words, true);
    statuses->setList({});
    for (int key = 0; key < 5; ++key)
        statuses->setStatus(key, Statuses::Learned);
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
    workspace->settings.learningModel = defaultLearningModel();
}

VOCABRIUM_TEST_MAIN(TestLearningRules)
#include "tst_learningrules.moc"
