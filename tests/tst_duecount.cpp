#include <QSignalSpy>
#include <QTest>

#include "review/dailyduecount.h"

class TestDueCount : public QObject
{
    Q_OBJECT

private slots:
    void countsOncePerDay_data();
    void countsOncePerDay();
};

void TestDueCount::countsOncePerDay_data()
{
    QTest::addColumn<QDateTime>("later");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<int>("recounts");
    const QDate day(2026, 3, 9);
    QTest::newRow("same day") << QDateTime(day, QTime(23, 59)) << true << 0;
    QTest::newRow("after midnight") << QDateTime(day.addDays(1), QTime(0, 0, 1)) << true << 1;
    QTest::newRow("days later") << QDateTime(day.addDays(3), QTime(12, 0)) << true << 1;
    QTest::newRow("not on show") << QDateTime(day.addDays(1), QTime(0, 0, 1)) << false << 0;
}

void TestDueCount::countsOncePerDay()
{
    QFETCH(QDateTime, later);
    QFETCH(bool, shown);
    QFETCH(int, recounts);
    QDateTime time(QDate(2026, 3, 9), QTime(10, 0));
    QList<QDate> asked;
    DailyDueCount count([&](const QDate& day) { asked.append(day); return int(asked.size()); },
                        [&] { return shown; }, [&] { return time; });
    QSignalSpy counted(&count, &DailyDueCount::counted);
    count.refresh();
    time = later;
    // The timer and a second look the same day recount nothing more.
    count.check();
    count.check();
    QCOMPARE(counted.size(), 1 + recounts);
    QCOMPARE(asked.last(), recounts ? later.date() : QDate(2026, 3, 9));
    QCOMPARE(counted.last().at(0).toInt(), 1 + recounts);
}

QTEST_GUILESS_MAIN(TestDueCount)
#include "tst_duecount.moc"
