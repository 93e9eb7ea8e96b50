#include "morphology/hunspellstemmer.h"

#include <QFile>
#include <QHash>

#include <algorithm>

#include <hunspell/hunspell.hxx>

namespace {

// Hunspell copies a word into fixed buffers; longer ones are no word anyway.
constexpr qsizetype maxWordLength = 100;

} // namespace

QString HunspellStemmer::pairName(const QString& language)
{
    static const QHash<QString, QString> names{
        {QStringLiteral("en"), QStringLiteral("en_US")}, {QStringLiteral("fr"), QStringLiteral("fr_FR")},
        {QStringLiteral("de"), QStringLiteral("de_DE")}, {QStringLiteral("it"), QStringLiteral("it_IT")},
        {QStringLiteral("es"), QStringLiteral("es_ES")}};
    return names.value(language.toLower());
}

HunspellStemmer::HunspellStemmer(const QString& language, const QString& folder)
{
    const QString name = pairName(language);
    if (name.isEmpty())
        return;
    const QString base = folder + QLatin1Char('/') + name;
    const QString affix = base + QStringLiteral(".aff");
    const QString words = base + QStringLiteral(".dic");
    if (!QFile::exists(affix) || !QFile::exists(words))
        return;
    hunspell = std::make_unique<Hunspell>(QFile::encodeName(affix).constData(), QFile::encodeName(words).constData());
    // Every Debian pair of these languages is in UTF-8; another encoding
    // would need converters this class does not carry.
    if (QByteArray(hunspell->get_dic_encoding()).trimmed().compare("UTF-8", Qt::CaseInsensitive) != 0)
        hunspell.reset();
}

HunspellStemmer::~HunspellStemmer() = default;

QStringList HunspellStemmer::allStems(const QString& word) const
{
    QStringList found;
    if (!hunspell || word.isEmpty() || word.size() > maxWordLength || word.contains(QChar(0)))
        return found;
    for (const std::string& stem : hunspell->stem(word.toUtf8().toStdString())) {
        const QString text = QString::fromUtf8(stem.data(), qsizetype(stem.size()));
        if (!text.isEmpty() && !found.contains(text))
            found.append(text);
    }
    return found;
}

QStringList HunspellStemmer::stems(const QString& word) const
{
    const QString trimmed = word.trimmed();
    QStringList found = allStems(trimmed);
    // German Hunspell gives "häuser" beside "Haus" for "Häuser": a spelling
    // of the word itself is no stem, and the stem written with the word's
    // capital comes first.
    found.removeIf([&trimmed](const QString& stem) { return stem.compare(trimmed, Qt::CaseInsensitive) == 0; });
    const bool capital = !trimmed.isEmpty() && trimmed.front().isUpper();
    std::stable_partition(found.begin(), found.end(),
                          [capital](const QString& stem) { return stem.front().isUpper() == capital; });
    return found;
}

QString HunspellStemmer::baseForm(const QString& word) const
{
    // A word that is a base form of its own stays ("été" the summer, not
    // "être"), whatever else it could be a form of.
    if (allStems(word.trimmed()).contains(word.trimmed()))
        return word;
    const QStringList found = stems(word);
    return found.isEmpty() ? word : found.first();
}
