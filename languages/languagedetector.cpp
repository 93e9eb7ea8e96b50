#include "languages/languagedetector.h"

#include <QFile>
#include <QStringConverter>

#include <hunspell/hunspell.hxx>

#include "languages/dictionarylanguage.h"

struct LanguageDetector::Speller
{
    QString language;
    std::unique_ptr<Hunspell> hunspell;
    bool utf8 = true;
};

namespace {

// The file names Debian gives each language's Hunspell pair.
QString hunspellName(const QString& language)
{
    static const QHash<QString, QString> names{
        {QStringLiteral("en"), QStringLiteral("en_US")}, {QStringLiteral("fr"), QStringLiteral("fr_FR")},
        {QStringLiteral("de"), QStringLiteral("de_DE")}, {QStringLiteral("it"), QStringLiteral("it_IT")},
        {QStringLiteral("es"), QStringLiteral("es_ES")}};
    return names.value(language);
}

// Letters only some of the languages write: a word holding one counts for them.
QString ownLetters(const QString& language)
{
    static const QHash<QString, QString> letters{
        {QStringLiteral("fr"), QStringLiteral("çœæâêîôûëïÿ")},
        {QStringLiteral("de"), QStringLiteral("äöüß")},
        {QStringLiteral("it"), QStringLiteral("ìò")},
        {QStringLiteral("es"), QStringLiteral("ñáíóú¿¡")}};
    return letters.value(language);
}

// Enough words to judge any dictionary, few enough to stay fast on large ones.
constexpr int SampleTokens = 400;

QStringList sample(const QStringList& words)
{
    QStringList tokens;
    const qsizetype step = qMax<qsizetype>(1, words.size() / SampleTokens);
    for (qsizetype i = 0; i < words.size() && tokens.size() < SampleTokens; i += step) {
        QString token;
        const QString text = words.at(i) + QLatin1Char(' ');
        for (const QChar c : text) {
            if (c.isLetter() || c == QLatin1Char('\'') || c == QChar(0x2019) || c == QLatin1Char('-')) {
                token += c == QChar(0x2019) ? QLatin1Char('\'') : c;
                continue;
            }
            // Elided articles ("l'eau", "dell'acqua") are their language's
            // own; the word after them is checked alone.
            while (token.size() > 1 && (token.endsWith(QLatin1Char('-')) || token.endsWith(QLatin1Char('\''))))
                token.chop(1);
            if (token.size() > 1)
                tokens.append(token);
            token.clear();
        }
    }
    return tokens;
}

} // namespace

LanguageDetector::LanguageDetector(const QString& hunspellFolder)
    : folder(hunspellFolder)
{
}

LanguageDetector::~LanguageDetector() = default;

void LanguageDetector::load()
{
    if (loaded)
        return;
    loaded = true;
    for (const QString& language : DictionaryLanguage::supported()) {
        const QString base = folder + QLatin1Char('/') + hunspellName(language);
        if (!QFile::exists(base + QStringLiteral(".aff")) || !QFile::exists(base + QStringLiteral(".dic")))
            continue;
        auto speller = std::make_unique<Speller>();
        speller->language = language;
        speller->hunspell = std::make_unique<Hunspell>(QFile::encodeName(base + QStringLiteral(".aff")).constData(),
                                                       QFile::encodeName(base + QStringLiteral(".dic")).constData());
        speller->utf8 = QByteArray(speller->hunspell->get_dic_encoding()).trimmed().compare("UTF-8", Qt::CaseInsensitive) == 0;
        spellers.push_back(std::move(speller));
    }
}

QStringList LanguageDetector::available()
{
    load();
    QStringList languages;
    for (const auto& speller : spellers)
        languages.append(speller->language);
    return languages;
}

LanguageDetector::Guess LanguageDetector::detect(const QStringList& words)
{
    load();
    Guess guess;
    const QStringList tokens = sample(words);
    if (tokens.isEmpty() || spellers.empty())
        return guess;

    QHash<QString, double> scores;
    for (const auto& speller : spellers) {
        int accepted = 0;
        int lettered = 0;
        const QString letters = ownLetters(speller->language);
        for (const QString& token : tokens) {
            // Hunspell reads bytes in its dictionary's encoding: UTF-8 for
            // every Debian pair used here, Latin-1 otherwise.
            const QByteArray bytes = speller->utf8 ? token.toUtf8() : token.toLatin1();
            if (speller->hunspell->spell(bytes.toStdString()))
                ++accepted;
            const QString lower = token.toLower();
            if (!letters.isEmpty() && std::any_of(lower.cbegin(), lower.cend(), [&](QChar c) { return letters.contains(c); }))
                ++lettered;
        }
        const double share = double(accepted) / double(tokens.size());
        guess.shares.insert(speller->language, share);
        scores.insert(speller->language, share + 0.5 * double(lettered) / double(tokens.size()));
    }

    QString best;
    double bestScore = -1;
    double secondScore = -1;
    for (auto it = scores.cbegin(); it != scores.cend(); ++it) {
        if (it.value() > bestScore) {
            secondScore = bestScore;
            bestScore = it.value();
            best = it.key();
        } else if (it.value() > secondScore) {
            secondScore = it.value();
        }
    }
    guess.language = best;
    // Sure only when most words are the best language's and it stands well
    // clear of the next; a handful of words needs a wider margin.
    const double margin = bestScore - qMax(0.0, secondScore);
    const double wanted = tokens.size() >= 20 ? 0.12 : 0.25;
    guess.sure = guess.shares.value(best) >= 0.5 && margin >= wanted;
    return guess;
}

LanguageDetector::Decision LanguageDetector::decide(const QStringList& words, const Guess& guess,
                                                    const QString& defaultLanguage)
{
    if (words.isEmpty())
        return {defaultLanguage, true, false};
    // Below this share the words are no language's: nothing to ask about.
    if (guess.language.isEmpty() || guess.shares.value(guess.language) < 0.3)
        return {defaultLanguage, false, false};
    return {guess.language, guess.sure, !guess.sure};
}
