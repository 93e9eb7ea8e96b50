#include "app/statustexts.h"

#include <QCoreApplication>

#include "model/wordcount.h"

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("MainWindow", text);
}

QString colored(const QString& text, const char* color)
{
    // Qt's rich text knows no "color" attribute on a span; a style does.
    return QStringLiteral("<span style=\"color:%1\">%2</span>").arg(QLatin1String(color), text);
}

} // namespace

namespace StatusTexts {

QString percentage(int learned, int total)
{
    if (total == 0)
        return QStringLiteral("0");
    return QString::number(qint64(double(learned) * 100.0 / double(total)));
}

QString durationText(qint64 seconds)
{
    const qint64 s = qMax<qint64>(0, seconds);
    return QStringLiteral("%1:%2:%3")
        .arg(s / 3600, 2, 10, QLatin1Char('0'))
        .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'));
}

QString lessonLabel(const QString& title)
{
    return QStringLiteral("<span>") + title + QStringLiteral("</span>");
}

QString learnedLabel(int learned, int total)
{
    return tr("Изучено: ") + colored(QString::number(double(learned), 'g', 6), "blue") + QLatin1Char('/')
        + colored(QString::number(double(total), 'g', 6), "darkred") + QStringLiteral(" (")
        + percentage(learned, total) + QStringLiteral("%)");
}

QString learningLabel(int inPool)
{
    return tr("Изучается: ") + colored(QString::number(inPool), "darkred");
}

QString progress(int learned, qint64 seconds, int mistakes, int reviewed)
{
    return tr("Вы изучили: <b>") + WordCount::text(learned) + QStringLiteral("</b>.<br>")
        + (reviewed > 0 ? tr("Повторено и вспомнено: <b>") + QString::number(reviewed) + QStringLiteral("</b><br>")
                        : QString())
        + tr("Общее время изучения: <b>") + durationText(seconds)
        + tr("</b><br>Количество ошибок: <b>") + QString::number(mistakes)
        + QStringLiteral("</b>");
}

QString congratulation(const LearningRun::Figures& run)
{
    // A run of reviews alone taught nothing new: it says what was
    // remembered and what had to be learned again instead.
    const bool reviewOnly = run.learned == 0 && run.reviewed + run.relearned > 0;
    QString text;
    if (!reviewOnly)
        text += tr("Только что вы изучили <b>") + WordCount::text(run.learned) + QStringLiteral("!</b><br>");
    if (run.reviewed > 0 || reviewOnly)
        text += tr("Повторено и вспомнено: <b>") + QString::number(run.reviewed) + QStringLiteral("</b><br>");
    if (run.relearned > 0)
        text += tr("Забыто и выучено заново: <b>") + QString::number(run.relearned) + QStringLiteral("</b><br>");
    return text + tr("Ошибок: <b>") + QString::number(run.mistakes) + QStringLiteral("</b><br>")
        + tr("Потраченное время: <b>") + durationText(run.seconds) + QStringLiteral("</b>");
}

} // namespace StatusTexts
