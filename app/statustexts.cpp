#include "app/statustexts.h"

#include <QCoreApplication>

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("MainWindow", text);
}

QString timeText(const QTime& time)
{
    return (time.isValid() ? time : QTime(0, 0, 0, 0)).toString(Qt::TextDate);
}

} // namespace

namespace StatusTexts {

QString percentage(int learned, int total)
{
    if (total == 0)
        return QStringLiteral("0");
    return QString::number(qint64(double(learned) * 100.0 / double(total)));
}

QString lessonLabel(const QString& title)
{
    return QStringLiteral("<span>") + title + QStringLiteral("</span>");
}

QString learnedLabel(int learned, int total)
{
    return tr("Изучено: ") + QStringLiteral("<span color=blue>")
        + QString::number(double(learned), 'g', 6)
        + QStringLiteral("</span>/<span color=darkred>")
        + QString::number(double(total), 'g', 6) + QStringLiteral("</span> (")
        + percentage(learned, total) + QStringLiteral("%)");
}

QString learningLabel(int inPool)
{
    return tr("Изучается: <span color=darkred>") + QString::number(inPool)
        + QStringLiteral("</span>");
}

QString progress(int learned, const QTime& time, int mistakes, int reviewed)
{
    return tr("Вы изучили: <b>") + QString::number(learned)
        + tr(" слов(а)</b>.<br>")
        + (reviewed > 0 ? tr("Повторено и вспомнено: <b>") + QString::number(reviewed) + QStringLiteral("</b><br>")
                        : QString())
        + tr("Общее время изучения: <b>") + timeText(time)
        + tr("</b><br>Количество ошибок: <b>") + QString::number(mistakes)
        + QStringLiteral("</b>");
}

QString congratulation(int learned, int mistakes, const QTime& time, int reviewed)
{
    const QString reviewLine = reviewed > 0
        ? tr("Повторено и вспомнено: <b>") + QString::number(reviewed) + QStringLiteral("</b><br>")
        : QString();
    return tr("Только что вы изучили <b>") + QString::number(learned)
        + tr(" слов(а)!</b><br>") + reviewLine + tr("Ошибок: <b>") + QString::number(mistakes)
        + QStringLiteral("</b><br>") + tr("Потраченное время: <b>") + timeText(time)
        + QStringLiteral("</b>");
}

} // namespace StatusTexts
