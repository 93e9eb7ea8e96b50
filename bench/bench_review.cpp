// Times the review schedule of a dictionary of 100 000 learned words:
//   - today's due list and the 30-day forecast,
//   - bringing the schedule in line with the dictionary (done before each),
//   - saving and loading the schedule file.
// Each figure is the best of three runs.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

#include "bench/benchtiming.h"
#include "review/reviewschedule.h"

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QDate today = QDate::currentDate();
    QList<ReviewSchedule::Word> words;
    for (int i = 0; i < 100000; ++i)
        words.append({QStringLiteral("word%1").arg(i), 100});
    ReviewSchedule schedule;
    // Learned over the last 200 days, so due days spread over months.
    for (int day = 200; day >= 0; --day)
        schedule.sync(words.mid(0, 100000 - day * 500), today.addDays(-day));
    qsizetype dueCount = 0;
    const double due = bestOf(3, [&] {
        dueCount = schedule.due(today).size();
        schedule.forecast(today, 30);
    });
    const double sync = bestOf(3, [&] { schedule.sync(words, today); });
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.dic"));
    const double save = bestOf(3, [&] { schedule.save(path); });
    ReviewSchedule loaded;
    const double load = bestOf(3, [&] { loaded.load(path); });
    std::printf("100000 scheduled words, %lld due today\n", qlonglong(dueCount));
    std::printf("due list and 30-day forecast: %.1f ms\n", due);
    std::printf("schedule brought in line with the dictionary: %.1f ms\n", sync);
    std::printf("save: %.1f ms, load: %.1f ms (%d words)\n", save, load, loaded.count());
    return 0;
}
