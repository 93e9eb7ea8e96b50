#include <memory>
#include <QBuffer>
#include <QTemporaryDir>

#include <numeric>

#include "model/dictionaryformat.h"
#include "review/fsrs.h"
#include "review/reviewschedule.h"
#include "testenvironment.h"
#include "testfiles.h"

class TestReview : public QObject
{
    Q_OBJECT

private slots:
    void intervalsFollowTheModel_data();
    void intervalsFollowTheModel();
    void memoryMatchesTheReference_data();
    void memoryMatchesTheReference();
    void scheduleFollowsWordsNotPositions();
    void fileRoundTripsAndDamageIsRefused_data();
    void fileRoundTripsAndDamageIsRefused();

private:
    QTemporaryDir dir;
};

void TestReview::intervalsFollowTheModel_data()
{
    QTest::addColumn<QList<double>>("weights");
    QTest::addColumn<QList<int>>("grades");
    QTest::addColumn<QList<int>>("intervals");
    // The reference sequence of the FSRS implementations' own tests, with
    // the weights those tests use; each review on the day it falls due.
    const QList<double> reference{1.14, 1.01, 5.44, 14.67, 5.3024, 1.5662, 1.2503, 0.0028, 1.5489,
                                  0.1763, 0.9953, 2.7473, 0.0179, 0.3105, 0.3976, 0.0, 2.0902};
    QTest::newRow("reference, good every time") << reference << QList<int>{3, 3, 3, 3, 3}
                                                << QList<int>{5, 16, 43, 106, 236};
    QTest::newRow("reference, then forgotten") << reference << QList<int>{3, 3, 3, 3, 3, 1}
                                               << QList<int>{5, 16, 43, 106, 236, 12};
    QTest::newRow("default weights") << Fsrs::defaultWeights() << QList<int>{3, 3, 3}
                                     << QList<int>{4, 15, 49};
}

void TestReview::intervalsFollowTheModel()
{
    QFETCH(QList<double>, weights);
    QFETCH(QList<int>, grades);
    QFETCH(QList<int>, intervals);
    const Fsrs fsrs(0.9, weights);
    QList<int> got;
    Fsrs::Memory memory = fsrs.first(Fsrs::Grade(grades.first()));
    got.append(fsrs.intervalDays(memory.stability));
    for (qsizetype i = 1; i < grades.size(); ++i) {
        memory = fsrs.next(memory, got.last(), Fsrs::Grade(grades.at(i)));
        got.append(fsrs.intervalDays(memory.stability));
    }
    QCOMPARE(got, intervals);
    // At the due day recall is at the requested retention; a higher one asks sooner.
    QVERIFY(qAbs(Fsrs::retrievability(memory.stability, memory.stability) - 0.9) < 1e-9);
    QVERIFY(Fsrs(0.97, weights).intervalDays(memory.stability) < fsrs.intervalDays(memory.stability));
}

void TestReview::memoryMatchesTheReference_data()
{
    // Each row: the first grade, then (grade, days since the previous
    // review) pairs, and after every step the stability, difficulty and
    // interval that ts-fsrs 3.5.7 (an FSRS-4.5 implementation) gives with
    // the default weights, no fuzz and a retention of 90 %.
    QTest::addColumn<QList<double>>("steps");
    QTest::addColumn<QList<double>>("expected");
    QTest::newRow("good on the due days") << QList<double>{3, 3, 3, 3, 10, 3, 30}
        << QList<double>{3.7145, 5.1618, 4, 12.2624, 5.1618, 12, 36.4439, 5.1618, 36, 98.9037, 5.1618, 99};
    QTest::newRow("lapse long after the due day") << QList<double>{3, 3, 3, 3, 10, 1, 400, 3, 1}
        << QList<double>{3.7145, 5.1618, 4, 12.2624, 5.1618, 12, 36.4439, 5.1618, 36,
                         8.7571, 6.9012, 9, 10.6735, 6.8472, 11};
    // Forgotten a year after a four-day interval: the stability after the
    // lapse comes out above the one before it, and stays so.
    QTest::newRow("lapse a year late") << QList<double>{3, 1, 365, 3, 4}
        << QList<double>{3.7145, 5.1618, 4, 4.2815, 6.9012, 4, 12.0293, 6.8472, 12};
    QTest::newRow("hard, easy, lapse on time") << QList<double>{2, 2, 1, 4, 3, 1, 20, 3, 2}
        << QList<double>{1.4003, 6.3916, 1, 1.9898, 7.2232, 2, 18.1638, 6.2896, 18,
                         3.4788, 7.994, 3, 6.5117, 7.9062, 7};
}

void TestReview::memoryMatchesTheReference()
{
    QFETCH(QList<double>, steps);
    QFETCH(QList<double>, expected);
    const Fsrs fsrs;
    QList<double> got;
    Fsrs::Memory memory = fsrs.first(Fsrs::Grade(int(steps.first())));
    got << memory.stability << memory.difficulty << fsrs.intervalDays(memory.stability);
    for (qsizetype i = 1; i + 1 < steps.size(); i += 2) {
        memory = fsrs.next(memory, steps.at(i + 1), Fsrs::Grade(int(steps.at(i))));
        got << memory.stability << memory.difficulty << fsrs.intervalDays(memory.stability);
    }
    QCOMPARE(got.size(), expected.size());
    for (qsizetype i = 0; i < got.size(); ++i)
        QVERIFY2(qAbs(got.at(i) - expected.at(i)) < 1e-3,
                 qPrintable(QStringLiteral("value %1: %2, expected %3").arg(i).arg(got.at(i)).arg(expected.at(i))));
}

void TestReview::scheduleFollowsWordsNotPositions()
{
    const QDate today(2026, 12, 8);
    ReviewSchedule schedule;
    schedule.sync({{"cat", 100}, {"dog", 100}, {"owl", 5}}, today);
    QCOMPARE(schedule.count(), 2);
    // Scheduled is not learned today: only the window counts a word it taught.
    QCOMPARE(schedule.history().value(today).learned, 0);
    QCOMPARE(schedule.due(today.addDays(3)), QStringList());
    QStringList due = schedule.due(today.addDays(4));
    due.sort();
    QCOMPARE(due, (QStringList{"cat", "dog"}));

    // Reordered and with "cat" removed: "dog" keeps its card by its text.
    schedule.reviewed(QStringLiteral("Dog "), true, today.addDays(4));
    schedule.sync({{"owl", 100}, {"DOG", 100}}, today.addDays(4));
    QCOMPARE(schedule.count(), 2);
    QVERIFY(!schedule.contains(QStringLiteral("cat")));
    QCOMPARE(schedule.card(QStringLiteral("dog")).due, today.addDays(4 + 15));

    // A lapse leaves the word to be learned again; learned again, it is due by its memory.
    schedule.reviewed(QStringLiteral("owl"), false, today.addDays(8));
    QCOMPARE(schedule.card(QStringLiteral("owl")).lapses, 1);
    QVERIFY(!schedule.due(today.addDays(100)).contains(QStringLiteral("owl")));
    schedule.sync({{"owl", 5}, {"dog", 100}}, today.addDays(8));
    QVERIFY(schedule.contains(QStringLiteral("owl")));
    schedule.sync({{"owl", 100}, {"dog", 100}}, today.addDays(9));
    QVERIFY(schedule.card(QStringLiteral("owl")).due.isValid());
    const QList<int> forecast = schedule.forecast(today.addDays(9), 30);
    QCOMPARE(forecast.size(), 30);
    QCOMPARE(std::accumulate(forecast.cbegin(), forecast.cend(), 0), 2);
    // A corrected spelling keeps the card; a word reset to "not learned" loses it.
    schedule.rename(QStringLiteral("dog"), QStringLiteral("dogs"));
    schedule.sync({{"owl", 0}, {"dogs", 100}}, today.addDays(9));
    QCOMPARE(schedule.count(), 1);
    QCOMPARE(schedule.card(QStringLiteral("dogs")).reviews, 1);
}

void TestReview::fileRoundTripsAndDamageIsRefused_data()
{
    QTest::addColumn<int>("cut");
    QTest::addColumn<QByteArray>("extra");
    QTest::addColumn<bool>("whole");
    QTest::newRow("whole") << 0 << QByteArray() << true;
    QTest::newRow("cut short") << 7 << QByteArray() << false;
    QTest::newRow("trailing bytes") << 0 << QByteArray("x") << false;
}

void TestReview::fileRoundTripsAndDamageIsRefused()
{
    QFETCH(int, cut);
    QFETCH(QByteArray, extra);
    QFETCH(bool, whole);
    const QDate today(2026, 12, 8);
    ReviewSchedule schedule;
    schedule.sync({{"cat", 100}, {"кот", 100}}, today);
    schedule.countLearned(today);
    schedule.countLearned(today);
    schedule.reviewed(QStringLiteral("cat"), false, today.addDays(4));
    const QString dic = dir.filePath(QStringLiteral("words.dic"));
    QCOMPARE(schedule.save(dic), QString());
    const QString rev = ReviewSchedule::schedulePath(dic);
    // The same schedule is the same bytes whatever order its words came
    // in, and an unchanged one is not written again.
    ReviewSchedule reversed;
    reversed.sync({{"кот", 100}, {"cat", 100}}, today);
    reversed.countLearned(today);
    reversed.countLearned(today);
    reversed.reviewed(QStringLiteral("cat"), false, today.addDays(4));
    QCOMPARE(reversed.toBytes(), schedule.toBytes());
    const QDateTime written = QFileInfo(rev).lastModified();
    {
        QFile file(rev);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(written.addSecs(-3600), QFileDevice::FileModificationTime));
    }
    QCOMPARE(schedule.save(dic), QString());
    QCOMPARE(QFileInfo(rev).lastModified(), written.addSecs(-3600));
    QByteArray bytes = readFile(rev);
    bytes.chop(cut);
    bytes += extra;
    writeFile(rev, bytes);

    ReviewSchedule again;
    const QString problem = again.load(dic);
    QCOMPARE(problem.isEmpty(), whole);
    QCOMPARE(again.isSaveable(), whole);
    if (whole) {
        for (const QString& word : {QStringLiteral("cat"), QStringLiteral("кот")}) {
            QCOMPARE(again.card(word).due, schedule.card(word).due);
            QCOMPARE(again.card(word).memory.stability, schedule.card(word).memory.stability);
        }
        QCOMPARE(again.card(QStringLiteral("cat")).lapses, 1);
        QCOMPARE(again.history().value(today).learned, 2);
    } else {
        // A damaged schedule is never written over.
        again.sync({{"dog", 100}}, today);
        QCOMPARE(again.save(dic), QString());
        QCOMPARE(readFile(rev), bytes);
    }
}

VOCABRIUM_TEST_MAIN(TestReview)
#include "tst_review.moc"
