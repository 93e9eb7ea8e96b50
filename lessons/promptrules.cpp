#include "lessons/promptrules.h"

namespace PromptRules {

QString initialPrompt(const QString& word)
{
    return QString(word.size(), QLatin1Char('?'));
}

QString coloredPrompt(const QString& prompt, int typedLength)
{
    if (typedLength > prompt.size())
        return QStringLiteral("<font color=red>") + prompt.toHtmlEscaped() + QStringLiteral("</font>");
    return QStringLiteral("<font color=blue>") + prompt.left(typedLength).toHtmlEscaped()
        + QStringLiteral("</font>") + prompt.mid(typedLength).toHtmlEscaped();
}

QString uncoverOne(const QString& prompt, const QString& word, int typedLength)
{
    QString result = prompt;
    const qsizetype from = typedLength < prompt.size() ? typedLength : 0;
    const qsizetype hidden = result.indexOf(QLatin1Char('?'), from);
    if (hidden >= 0 && hidden < word.size())
        result[hidden] = word.at(hidden);
    return result;
}

bool isRight(const QString& typed, const QString& word)
{
    return typed.toLower() == word.toLower();
}

} // namespace PromptRules
