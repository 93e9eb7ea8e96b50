#include "unitsmaker.h"

#include <QRegularExpression>
#include <QSet>

#include "model/units.h"

UnitsMaker::UnitsMaker(const Units* dictionary, const Units* learnedList, const QString& affixFile,
                       const QString& dictionaryFile, const QString& exceptionFolder)
    : dictionary(dictionary)
    , learnedList(learnedList)
    , baseForms(affixFile, dictionaryFile, exceptionFolder)
{
}

void UnitsMaker::setLanguage(const QString& code)
{
    const QString lower = code.toLower();
    if (lower == language)
        return;
    language = lower;
    stemmer.reset();
    if (!language.startsWith(QLatin1String("en")))
        stemmer = std::make_unique<HunspellStemmer>(language);
}

QStringList UnitsMaker::words() const
{
    return wordList;
}

void UnitsMaker::setWords(const QStringList& words)
{
    wordList = words;
}

void UnitsMaker::clear()
{
    wordList.clear();
}

void UnitsMaker::excludeKnown(bool reverse)
{
    exclude(dictionary, reverse);
}

void UnitsMaker::excludeLearned(bool reverse)
{
    exclude(learnedList, reverse);
}

void UnitsMaker::exclude(const Units* list, bool reverse)
{
    if (!reverse) {
        // find() is a hash look-up, so this stays linear in the number of words.
        wordList.removeIf([list](const QString& word) { return list->find(word) >= 0; });
        return;
    }
    // A translation often lists several meanings ("кот, кошка"); each counts.
    static const QRegularExpression meaningSeparators(QStringLiteral("[,;]"));
    QSet<QString> known;
    for (const Unit& unit : list->unitList()) {
        known.insert(unit.translation.trimmed().toLower());
        for (const QString& meaning : unit.translation.split(meaningSeparators, Qt::SkipEmptyParts))
            known.insert(meaning.trimmed().toLower());
    }
    wordList.removeIf([&known](const QString& word) { return known.contains(word.trimmed().toLower()); });
}

bool UnitsMaker::hasMorphology() const
{
    return stemmer ? stemmer->isValid() : baseForms.hasMorphology();
}

QString UnitsMaker::stemOf(const QString& word)
{
    // English rules would turn "gatti" into "gatti" at best and French
    // "chats" into "chat" by luck; each language has its own pair.
    return stemmer ? stemmer->baseForm(word) : baseForms.baseForm(word);
}

bool UnitsMaker::isName(const QString& word, bool sentenceStart)
{
    return baseForms.isName(word, sentenceStart);
}

void UnitsMaker::stem()
{
    QSet<QString> seen;
    QStringList result;
    result.reserve(wordList.size());
    for (const QString& word : std::as_const(wordList)) {
        const QString base = stemOf(word);
        if (!seen.contains(base.toLower())) {
            seen.insert(base.toLower());
            result.append(base);
        }
    }
    wordList = result;
}
