#include <memory>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "model/lessonselector.h"
#include "model/questions.h"
#include "model/random.h"
#include "model/statistics.h"
#include "model/statuses.h"
#include "model/units.h"
#include "model/variants.h"
#include "session/workspace.h"
#include "testenvironment.h"

class TestPools : public QObject
{
    Q_OBJECT

    // The settings, words and tables of one test function, built afresh
    // for each.
    std::unique_ptr<Workspace> workspace;

private slots:
    void init();
    void cleanup();

    void singleKeyIsAlwaysDrawn();
    void twoKeysAlternate();
    void neverTheSameWordTwiceInARow();
    void previousSurvivesClear();
    void addAndRemoveKeepKeysUnique();

    void variantsHoldTheCurrentKey_data();
    void variantsHoldTheCurrentKey();
    void shortVariantPoolGivesWhatItHas();

    void lessonFollowsStatus_data();
    void lessonFollowsStatus();

    void learnedWordLeavesQuestionsButNotVariants();

    void statisticsCount();

private:
    std::unique_ptr<QTemporaryDir> dir;
    Questions* questions = nullptr;
    Variants* variants = nullptr;
    Statuses* statuses = nullptr;
};

void TestPools::init()
{
    dir = freshFolders();
    QVERIFY(dir);
    workspace = workspaceOpenIn(*dir);
    questions = (&workspace->words.questions);
    variants = (&workspace->words.variants);
    statuses = (&workspace->words.statuses);
    QObject::connect(statuses, &Statuses::initial, questions, &Questions::add);
    QObject::connect(statuses, &Statuses::initial, variants, &Variants::add);
    QObject::connect(statuses, &Statuses::learned, questions, &Questions::remove);
    QObject::connect(statuses, &Statuses::unlearned, questions, &Questions::remove);
    Random::seed(12345);
    workspace->settings.learningModel = defaultLearningModel();
}

void TestPools::cleanup()
{
    questions = nullptr;
    variants = nullptr;
    statuses = nullptr;
    workspace.reset();
    dir.reset();
}

void TestPools::singleKeyIsAlwaysDrawn()
{
    questions->add(7);
    for (int i = 0; i < 5; ++i) {
        questions->next();
        QCOMPARE(questions->current(), 7);
    }
}

void TestPools::twoKeysAlternate()
{
    questions->add(3);
    questions->add(8);
    questions->next();
    int last = questions->current();
    for (int i = 0; i < 20; ++i) {
        questions->next();
        QVERIFY(questions->current() != last);
        last = questions->current();
    }
}

void TestPools::neverTheSameWordTwiceInARow()
{
    for (int key : {1, 2, 3, 4, 5})
        questions->add(key);
    QSet<int> seen;
    int last = -1;
    for (int i = 0; i < 200; ++i) {
        questions->next();
        QVERIFY(questions->current() != last);
        last = questions->current();
        seen.insert(last);
    }
    QCOMPARE(seen.size(), 5);
}

void TestPools::previousSurvivesClear()
{
    questions->add(1);
    questions->add(2);
    questions->next();
    const int last = questions->current();
    questions->clear();
    QCOMPARE(questions->current(), last);
    questions->add(1);
    questions->add(2);
    questions->next();
    QVERIFY(questions->current() != last);
}

void TestPools::addAndRemoveKeepKeysUnique()
{
    questions->add(4);
    questions->add(4);
    questions->remove(9);
    QCOMPARE(questions->list(), QList<int>{4});
    variants->add(4);
    variants->add(4);
    variants->remove(9);
    QCOMPARE(variants->count(), 1);
}

void TestPools::variantsHoldTheCurrentKey_data()
{
    QTest::addColumn<QList<int>>("pool");
    QTest::addColumn<int>("current");

    QTest::newRow("exactly six holding the current") << QList<int>{10, 11, 12, 13, 14, 15} << 12;
    QTest::newRow("current outside the pool") << QList<int>{10, 11, 12, 13, 14, 15} << 99;
    QTest::newRow("large pool") << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12} << 5;
}

void TestPools::variantsHoldTheCurrentKey()
{
    QFETCH(QList<int>, pool);
    QFETCH(int, current);
    for (int key : pool)
        variants->add(key);
    questions->add(current);
    questions->next();
    QCOMPARE(questions->current(), current);

    QSet<int> positions;
    for (int round = 0; round < 60; ++round) {
        const QList<int> drawn = variants->variants(6);
        QCOMPARE(drawn.size(), 6);
        QCOMPARE(QSet<int>(drawn.begin(), drawn.end()).size(), 6);
        QVERIFY(drawn.contains(current));
        positions.insert(int(drawn.indexOf(current)));
        for (int key : drawn)
            QVERIFY(key == current || pool.contains(key));
    }
    // The right answer must not sit in a fixed place.
    QVERIFY(positions.size() > 3);
    if (pool.size() == 6 && pool.contains(current)) {
        const QList<int> drawn = variants->variants(6);
        QCOMPARE(QSet<int>(drawn.begin(), drawn.end()), QSet<int>(pool.begin(), pool.end()));
    }
}

void TestPools::shortVariantPoolGivesWhatItHas()
{
    for (int key : {1, 2, 3})
        variants->add(key);
    questions->add(9);
    questions->next();
    const QList<int> drawn = variants->variants(6);
    QCOMPARE(QSet<int>(drawn.begin(), drawn.end()), (QSet<int>{1, 2, 3, 9}));
    QVERIFY(variants->variants(0).isEmpty());
}

void TestPools::lessonFollowsStatus_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("lesson");

    // Default model: 1, 2, 2, 3, 2, 4, 2, 4
    QTest::newRow("mistakes stay on the first step") << 3 << 1;
    QTest::newRow("chosen") << 5 << 1;
    QTest::newRow("second step") << 6 << 2;
    QTest::newRow("fourth step") << 8 << 3;
    QTest::newRow("past the end") << 5 + 8 + 2 << 4;
}

void TestPools::lessonFollowsStatus()
{
    QFETCH(int, status);
    QFETCH(int, lesson);
    questions->add(4);
    questions->next();
    statuses->setStatus(4, status);
    QCOMPARE((&workspace->words.selector)->currentLesson(), lesson);

    workspace->settings.learningModel = {3};
    QCOMPARE((&workspace->words.selector)->currentLesson(), 3);
}

void TestPools::learnedWordLeavesQuestionsButNotVariants()
{
    statuses->setStatus(2, 5);
    QVERIFY(questions->list().contains(2));
    QVERIFY(variants->list().contains(2));
    statuses->setStatus(2, 100);
    QVERIFY(!questions->list().contains(2));
    QVERIFY(variants->list().contains(2));
}

void TestPools::statisticsCount()
{
    Statistics statistics;
    statistics.incrementLearned();
    statistics.incrementMistakes();
    statistics.incrementMistakes();
    QCOMPARE(statistics.learnedCount(), 1);
    QCOMPARE(statistics.mistakesCount(), 2);
    statistics.reset();
    QCOMPARE(statistics.learnedCount() + statistics.mistakesCount(), 0);
}

VOCABRIUM_TEST_MAIN(TestPools)
#include "tst_pools.moc"
