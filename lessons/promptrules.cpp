#include "lessons/promptrules.h"

#include <QList>

namespace PromptRules {

// The mask counts characters, not UTF-16 code units: a letter outside the
// Basic Multilingual Plane is one "?" and is uncovered whole.

int characterCount(const QString& text)
{
    return int(text.toUcs4().size());
}

QString initialPrompt(const QString& word)
{
    return QString(characterCount(word), QLatin1Char('?'));
}

QString coloredPrompt(const QString& prompt, int typedLength)
{
    const QList<uint> characters = prompt.toUcs4();
    if (typedLength > characters.size())
        return QStringLiteral("<font color=red>") + prompt.toHtmlEscaped() + QStringLiteral("</font>");
    const QString typed = QString::fromUcs4(reinterpret_cast<const char32_t*>(characters.constData()), typedLength);
    const QString rest = QString::fromUcs4(reinterpret_cast<const char32_t*>(characters.constData()) + typedLength,
                                           characters.size() - typedLength);
    return QStringLiteral("<font color=blue>") + typed.toHtmlEscaped() + QStringLiteral("</font>")
        + rest.toHtmlEscaped();
}

QString uncoverOne(const QString& prompt, const QString& word, int typedLength)
{
    QList<uint> result = prompt.toUcs4();
    const QList<uint> letters = word.toUcs4();
    const qsizetype from = typedLength < result.size() ? typedLength : 0;
    const qsizetype hidden = result.indexOf(uint('?'), from);
    if (hidden >= 0 && hidden < letters.size())
        result[hidden] = letters.at(hidden);
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(result.constData()), result.size());
}

bool isRight(const QString& typed, const QString& word)
{
    return typed.toLower() == word.toLower();
}

} // namespace PromptRules
