#include "app/progresschart.h"

#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QLocale>
#include <QStackedBarSeries>
#include <QValueAxis>

#include "review/reviewschedule.h"

namespace {

constexpr int PastDays = 28;
constexpr int FutureDays = 30;

} // namespace

CountScale countScale(int highest)
{
    const int wanted = qMax(1, (qMax(1, highest) + 4) / 5);
    int step = 1;
    for (int power = 1; step < wanted; power *= 10) {
        for (int factor : {1, 2, 5}) {
            step = factor * power;
            if (step >= wanted)
                break;
        }
    }
    const int top = qMax(1, (highest + step - 1) / step) * step;
    return {top, step};
}

QWidget* createProgressChart(const ReviewSchedule& schedule, const QDate& today, QWidget* parent)
{
    auto* learned = new QBarSet(QObject::tr("Выучено"));
    auto* reviewed = new QBarSet(QObject::tr("Повторено"));
    auto* due = new QBarSet(QObject::tr("Пора повторить"));
    learned->setColor(QColor(0x4e, 0x9a, 0x06));
    reviewed->setColor(QColor(0x34, 0x65, 0xa4));
    due->setColor(QColor(0xf5, 0x79, 0x00));
    const QList<int> forecast = schedule.forecast(today, FutureDays);
    int highest = 1;
    for (int i = -PastDays + 1; i <= FutureDays; ++i) {
        const ReviewSchedule::Day day = i <= 0 ? schedule.history().value(today.addDays(i)) : ReviewSchedule::Day();
        const int ahead = i >= 0 && i < FutureDays ? forecast.at(i) : 0;
        *learned << day.learned;
        *reviewed << day.reviewed;
        *due << ahead;
        highest = qMax(highest, qMax(day.learned + day.reviewed, ahead));
    }
    auto* series = new QStackedBarSeries;
    series->append({learned, reviewed, due});
    series->setBarWidth(0.9);

    auto* chart = new QChart;
    chart->addSeries(series);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setMargins(QMargins(2, 2, 2, 2));
    chart->setBackgroundRoundness(0);

    // Bars stand at 0, 1, 2, ...: "today" is bar PastDays - 1.
    auto* days = new QCategoryAxis;
    days->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    const QLocale russian(QLocale::Russian);
    for (int i = -PastDays + 1; i <= FutureDays; ++i) {
        if (i % 14 != 0)
            continue;
        const QString label = i == 0 ? QObject::tr("сегодня") : russian.toString(today.addDays(i), QStringLiteral("d.MM"));
        days->append(label, i + PastDays - 1);
    }
    days->setRange(-0.5, PastDays + FutureDays - 0.5);
    auto* counts = new QValueAxis;
    // Ticks on whole numbers only: a count of 1.25 words means nothing.
    const CountScale scale = countScale(highest);
    counts->setRange(0, scale.top);
    counts->setLabelFormat(QStringLiteral("%d"));
    counts->setTickType(QValueAxis::TicksDynamic);
    counts->setTickAnchor(0);
    counts->setTickInterval(scale.step);
    chart->addAxis(days, Qt::AlignBottom);
    chart->addAxis(counts, Qt::AlignLeft);
    series->attachAxis(days);
    series->attachAxis(counts);

    auto* view = new QChartView(chart, parent);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(460, 240);
    return view;
}
