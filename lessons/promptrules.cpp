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

int firstMistake(const QString& typed, const QString& word)
{
    const QList<uint> a = typed.toLower().toUcs4();
    const QList<uint> b = word.toLower().toUcs4();
    const qsizetype common = qMin(a.size(), b.size());
    for (qsizetype i = 0; i < common; ++i) {
        if (a.at(i) != b.at(i))
            return int(i);
    }
    return a.size() == b.size() ? -1 : int(common);
}

QString mistakePrompt(const QString& prompt, const QString& typed, const QString& word)
{
    const int at = firstMistake(typed, word);
    if (at < 0)
        return prompt.toHtmlEscaped();
    const QList<uint> mask = prompt.toUcs4();
    const QList<uint> letters = word.toUcs4();
    const QList<uint> typedLetters = typed.toUcs4();
    auto text = [](const QList<uint>& list, qsizetype from, qsizetype count) {
        count = qBound<qsizetype>(0, count, list.size() - from);
        return QString::fromUcs4(reinterpret_cast<const char32_t*>(list.constData()) + from, count).toHtmlEscaped();
    };
    const QString wrong = at < typedLetters.size() ? text(typedLetters, at, 1) : QStringLiteral("?");
    QString result = QStringLiteral("<font color=blue>") + text(letters, 0, at) + QStringLiteral("</font>")
        + QStringLiteral("<font color=red><u>") + wrong + QStringLiteral("</u></font>");
    if (at + 1 < mask.size())
        result += text(mask, at + 1, mask.size() - at - 1);
    return result;
}

bool isRight(const QString& typed, const QString& word)
{
    return typed.toLower() == word.toLower();
}

} // namespace PromptRules
