#include "morphology/baseforms.h"

#include <QFile>
#include <QSet>

#include <hunspell/hunspell.hxx>

#include <string>
#include <vector>

namespace {

const char* const wordNetFolder = "/usr/share/wordnet";
const char* const wordNetLists[] = {"verb.exc", "noun.exc", "adj.exc", "adv.exc"};

// Hunspell's names for the encodings it reads, where they differ from the
// names Qt's converters know.
QByteArray converterName(const char* hunspellName)
{
    const QByteArray name = QByteArray(hunspellName).trimmed();
    if (name.compare("microsoft-cp1251", Qt::CaseInsensitive) == 0)
        return "windows-1251";
    if (name.compare("TIS620-2533", Qt::CaseInsensitive) == 0)
        return "TIS-620";
    return name;
}

bool isAscii(QStringView text)
{
    for (QChar c : text) {
        if (c.unicode() > 0x7f)
            return false;
    }
    return true;
}

bool isAscii(const std::string& bytes)
{
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) > 0x7f)
            return false;
    }
    return true;
}

// Written in the Latin alphabet: the English endings apply.
bool isLatin(QStringView word)
{
    for (QChar c : word) {
        if (c.isLetter() && c.script() != QChar::Script_Latin)
            return false;
    }
    return true;
}

bool isVowel(QChar c)
{
    return QStringView(u"aeiou").contains(c);
}

// One syllable of a single vowel letter closed by one consonant: "hop",
// "shin", "stop", but not "hope", "rain", "box" or "show".
bool endsShortSyllable(QStringView stem)
{
    const qsizetype n = stem.size();
    if (n < 3 || isVowel(stem.at(n - 1)) || QStringView(u"wxy").contains(stem.at(n - 1)) || !isVowel(stem.at(n - 2))
        || isVowel(stem.at(n - 3)))
        return false;
    for (qsizetype i = 0; i < n - 2; ++i) {
        if (isVowel(stem.at(i)))
            return false;
    }
    return true;
}

} // namespace

BaseForms::BaseForms(const QString& affixFile, const QString& dictionaryFile, const QString& exceptionFolder)
    : exceptionFolder(exceptionFolder)
{
    loadExceptions(exceptionFolder + QLatin1Char('/') + ownExceptionFile(), true);
    for (const char* name : wordNetLists) {
        const QString local = exceptionFolder + QLatin1Char('/') + QLatin1String(name);
        loadExceptions(QFile::exists(local) ? local
                                            : QLatin1String(wordNetFolder) + QLatin1Char('/') + QLatin1String(name),
                       false);
    }

    // Hunspell complains on the console about files it cannot open; missing
    // files simply mean no morphology.
    if (!QFile::exists(affixFile) || !QFile::exists(dictionaryFile))
        return;
    morphology = std::make_unique<Hunspell>(QFile::encodeName(affixFile).constData(),
                                            QFile::encodeName(dictionaryFile).constData());
    const QByteArray name = converterName(morphology->get_dic_encoding());
    encoder = QStringEncoder(name.constData());
    decoder = QStringDecoder(name.constData());
    if (!encoder.isValid() || !decoder.isValid()) {
        asciiOnly = true;
        encoder = QStringEncoder(QStringConverter::Latin1);
        decoder = QStringDecoder(QStringConverter::Latin1);
    }
}

BaseForms::~BaseForms() = default;

bool BaseForms::hasMorphology() const
{
    return morphology != nullptr;
}

int BaseForms::exceptionCount() const
{
    return int(exceptions.size());
}

void BaseForms::loadExceptions(const QString& path, bool ownList)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    QSet<QString> inThisList;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() < 2)
            continue;
        const QString form = QString::fromUtf8(fields.at(0)).toLower();
        // The first base is the commonest reading ("better" → "good", not
        // "well"), but a base that is the form without its ending wins over
        // a spelling variant ("installed" → "install", not "instal").
        QString base = QString::fromUtf8(fields.at(1)).toLower();
        for (qsizetype i = 2; i < fields.size(); ++i) {
            const QString other = QString::fromUtf8(fields.at(i)).toLower();
            if (form.startsWith(other) && other.size() > base.size() && form.startsWith(base))
                base = other;
        }
        // WordNet lists a form as its own base too when it is a word of its
        // own ("offer offer" beside "offer off"): such a form stays.
        if (!ownList && form == base) {
            if (!exceptions.contains(form) || inThisList.contains(form))
                exceptions.insert(form, form);
            continue;
        }
        // Phrases ("brothers_in_law") never come out of a text as one word.
        if (form.contains(QLatin1Char('_')) || base.contains(QLatin1Char('_')))
            continue;
        if (!exceptions.contains(form)) {
            exceptions.insert(form, base);
            inThisList.insert(form);
        }
    }
}

QStringList BaseForms::stems(const QString& word)
{
    QStringList result;
    // A NUL would cut the word short inside Hunspell.
    if (!morphology || word.isEmpty() || word.contains(QChar(0)))
        return result;
    if (asciiOnly && !isAscii(word))
        return result;
    encoder.resetState();
    const QByteArray bytes = encoder.encode(word);
    // A character the dictionary's encoding cannot hold would reach Hunspell
    // as a replacement character and could match some other word.
    if (encoder.hasError())
        return result;
    for (const std::string& stem : morphology->stem(bytes.toStdString())) {
        if (stem.empty() || (asciiOnly && !isAscii(stem)))
            continue;
        decoder.resetState();
        const QString decoded = decoder.decode(QByteArrayView(stem.data(), qsizetype(stem.size())));
        if (!decoder.hasError())
            result.append(decoded);
    }
    return result;
}

bool BaseForms::isRoot(const QString& word)
{
    for (const QString& stem : stems(word)) {
        if (stem.compare(word, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

BaseForms::Ending BaseForms::inflection(const QString& word, const QString& stem)
{
    if (stem.isEmpty() || word.size() <= stem.size())
        return Ending::None;
    auto kindOf = [](QStringView ending) {
        if (ending.endsWith(u"s") || ending.endsWith(u"s'"))
            return Ending::Plural;
        if (ending.endsWith(u"ed") || ending.endsWith(u"ing") || ending == u"d")
            return Ending::Verbal;
        return Ending::Comparative;
    };
    if (word.startsWith(stem)) {
        const QStringView ending = QStringView(word).mid(stem.size());
        static const char16_t* const plain[] = {u"s", u"es", u"'s", u"s'", u"’s", u"ed", u"ing", u"er", u"est"};
        for (const char16_t* candidate : plain) {
            if (ending != QStringView(candidate))
                continue;
            // A stem of one short syllable doubles its last consonant
            // before a vowel: "hop" gives "hopping", so "hoping" is "hope".
            if (ending == u"ed" || ending == u"ing" || ending == u"er" || ending == u"est") {
                if (endsShortSyllable(stem))
                    return Ending::None;
            }
            return kindOf(ending);
        }
        const QChar last = stem.back();
        // use → used, large → larger, largest
        if (last == QLatin1Char('e') && (ending == u"d" || ending == u"r" || ending == u"st"))
            return kindOf(ending);
        // stop → stopped, big → bigger
        if (!isVowel(last) && ending.size() >= 3 && ending.front() == last) {
            const QStringView rest = ending.mid(1);
            if (rest == u"ed" || rest == u"ing" || rest == u"er" || rest == u"est")
                return kindOf(rest);
        }
    }
    const QStringView body = QStringView(stem).chopped(1);
    if (!QStringView(word).startsWith(body))
        return Ending::None;
    const QStringView ending = QStringView(word).mid(body.size());
    // carry → carries, carried, happier, happiest
    if (stem.endsWith(QLatin1Char('y'))
        && (ending == u"ies" || ending == u"ied" || ending == u"ier" || ending == u"iest"))
        return kindOf(ending);
    // make → making
    if (stem.endsWith(QLatin1Char('e')) && !stem.endsWith(QLatin1String("ie")) && ending == u"ing")
        return Ending::Verbal;
    // die → dying
    if (stem.endsWith(QLatin1String("ie")) && QStringView(word).mid(stem.size() - 2) == u"ying")
        return Ending::Verbal;
    return Ending::None;
}

void BaseForms::loadWordClasses()
{
    if (classesLoaded)
        return;
    classesLoaded = true;
    const struct
    {
        const char* name;
        QSet<QString>* set;
    } indexes[] = {{"index.noun", &nouns}, {"index.verb", &verbs}, {"index.adj", &adjectives}};
    for (const auto& index : indexes) {
        const QString local = exceptionFolder + QLatin1Char('/') + QLatin1String(index.name);
        QFile file(QFile::exists(local) ? local
                                        : QLatin1String(wordNetFolder) + QLatin1Char('/') + QLatin1String(index.name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray data = file.readAll();
        index.set->reserve(data.count('\n'));
        qsizetype pos = 0;
        while (pos < data.size()) {
            qsizetype end = data.indexOf('\n', pos);
            if (end < 0)
                end = data.size();
            // The licence at the top is indented; every entry starts with its lemma.
            if (data.at(pos) != ' ') {
                const qsizetype space = data.indexOf(' ', pos);
                if (space > pos && space < end)
                    index.set->insert(QString::fromUtf8(data.constData() + pos, space - pos));
            }
            pos = end + 1;
        }
    }
    hasClasses = !nouns.isEmpty() && !verbs.isEmpty() && !adjectives.isEmpty();
}

// Whether \a stem, with the ending of \a kind, reads as the base of an inflection.
bool BaseForms::fitsWordClass(const QString& stem, Ending kind) const
{
    // A stem WordNet does not know at all ("café") has nothing against it.
    if (!hasClasses || (!nouns.contains(stem) && !verbs.contains(stem) && !adjectives.contains(stem)))
        return true;
    switch (kind) {
    case Ending::Plural:
        return nouns.contains(stem) || verbs.contains(stem);
    case Ending::Verbal:
        return verbs.contains(stem);
    case Ending::Comparative:
        return adjectives.contains(stem);
    case Ending::None:
        break;
    }
    return false;
}

bool BaseForms::isName(const QString& word, bool sentenceStart)
{
    if (!morphology || word.size() < 2 || !word.at(0).isUpper() || word.toUpper() == word)
        return false;
    const QString lower = word.toLower();
    const bool lowerIsWord = !stems(lower).isEmpty() || exceptions.contains(lower);
    if (sentenceStart)
        return !lowerIsWord;
    const QStringList found = stems(word);
    return found.contains(word) || (found.isEmpty() && !lowerIsWord);
}

bool BaseForms::isLemma(const QString& lower) const
{
    return hasClasses && (nouns.contains(lower) || verbs.contains(lower) || adjectives.contains(lower));
}

QString BaseForms::strippedForm(const QString& lower)
{
    // Endings in the order that reads the word most plainly; the first
    // candidate the dictionary knows as a word of its own wins.
    struct Rule
    {
        const char16_t* ending;
        const char16_t* replacement;
    };
    static const Rule rules[] = {
        {u"ies", u"y"}, {u"ied", u"y"}, {u"iest", u"y"}, {u"ier", u"y"}, {u"sses", u"ss"},
        {u"shes", u"sh"}, {u"ches", u"ch"}, {u"xes", u"x"}, {u"zes", u"z"}, {u"oes", u"o"},
        {u"'s", u""}, {u"s", u""}, {u"ing", u""}, {u"ing", u"e"}, {u"ed", u""}, {u"ed", u"e"},
        {u"est", u""}, {u"est", u"e"}, {u"er", u""}, {u"er", u"e"}, {u"ses", u"s"},
    };
    // A candidate WordNet knows beats one only Hunspell lists ("derived"
    // is "derive", not the abbreviation "deriv").
    QString fallback;
    auto consider = [&](const QString& candidate) {
        const Ending kind = inflection(lower, candidate);
        if (kind == Ending::None || !fitsWordClass(candidate, kind))
            return false;
        if (isLemma(candidate))
            return true;
        if (fallback.isEmpty() && isRoot(candidate))
            fallback = candidate;
        return false;
    };
    for (const Rule& rule : rules) {
        const QStringView ending(rule.ending);
        if (!lower.endsWith(ending) || lower.size() - ending.size() < 2)
            continue;
        QString candidate = lower.chopped(ending.size()) + QStringView(rule.replacement);
        if (candidate.size() < 3)
            continue;
        if (consider(candidate))
            return candidate;
        // stopped → stop, bigger → big
        const qsizetype n = candidate.size();
        if (QStringView(rule.replacement).isEmpty() && n >= 3 && candidate.at(n - 1) == candidate.at(n - 2)
            && !isVowel(candidate.at(n - 1))) {
            candidate.chop(1);
            if (consider(candidate))
                return candidate;
        }
    }
    return fallback;
}

QString BaseForms::baseForm(const QString& word)
{
    if (word.isEmpty())
        return word;
    const QString lower = word.toLower();
    const auto exception = exceptions.constFind(lower);
    if (exception != exceptions.cend())
        return *exception;

    const QStringList found = stems(word);
    if (found.isEmpty() && !morphology)
        return word;
    const bool latin = isLatin(lower);
    if (latin)
        loadWordClasses();
    bool root = false;
    QString best;
    Ending bestKind = Ending::None;
    for (const QString& stem : found) {
        const QString lowerStem = stem.toLower();
        if (lowerStem == lower) {
            root = true;
            continue;
        }
        if (!latin) {
            if (lower.startsWith(lowerStem) && stem.size() > best.size())
                best = stem;
            continue;
        }
        // Two letters are too few to tell an ending from a word: "us", "his", "as".
        const Ending kind = inflection(lower, lowerStem);
        if (kind == Ending::None || lowerStem.size() < 3 || !fitsWordClass(lowerStem, kind))
            continue;
        // Hunspell pairs some words with a shorter one that merely begins
        // alike ("thing" with "the"); a word of its own is reduced only to a
        // base that WordNet knows.
        if (hasClasses && isRoot(word) && !nouns.contains(lowerStem) && !verbs.contains(lowerStem)
            && !adjectives.contains(lowerStem))
            continue;
        if (stem.size() > best.size()) {
            best = stem;
            bestKind = kind;
        }
    }
    // WordNet lists base forms (and a few plurals and -ing nouns of their
    // own): a word in -er it lists is a word of its own even where Hunspell
    // derives it from a shorter one ("offer" from "off").
    if (latin && (lower.endsWith(QLatin1String("er")) || lower.endsWith(QLatin1String("est"))) && isLemma(lower))
        root = true;
    if (latin && !best.isEmpty()) {
        // "installed": Hunspell offers the British "instal"; the plain
        // ending gives "install", the reading to prefer.
        const QString plain = strippedForm(lower);
        if (plain.size() > best.size() || (!plain.isEmpty() && isLemma(plain) && !isLemma(best.toLower()))) {
            best = plain;
            bestKind = inflection(lower, plain);
        }
    }
    if (root) {
        // A plural that Hunspell lists as a word of its own ("kinds",
        // "activities") is still the plural of its noun, unless WordNet
        // has it as a noun of its own ("news"); a past participle it lists
        // as an adjective ("confused", "removed") is still the verb's form.
        if (best.isEmpty() && hasClasses && latin) {
            const bool plural = lower.endsWith(QLatin1Char('s')) && !nouns.contains(lower);
            const bool participle = lower.endsWith(QLatin1String("ed"));
            const QString stripped = plural || participle ? strippedForm(lower) : QString();
            const Ending kind = inflection(lower, stripped);
            if (!stripped.isEmpty() && ((plural && kind == Ending::Plural) || (participle && kind == Ending::Verbal)))
                return stripped;
        }
        // A word of its own stays, unless it is a verb form or a comparative
        // that the dictionary also lists, say as an adjective ("decided"), a
        // noun ("saying") or for its prefixes ("asked" for "unasked"). A
        // plural that is a noun of its own ("news"), an -ing adjective
        // ("interesting") or a noun or verb that only looks like a
        // comparative ("number", "offer") stays too, and without WordNet's
        // word classes to tell them apart every word of the dictionary stays.
        if (best.isEmpty() || !hasClasses || (bestKind == Ending::Plural && nouns.contains(lower))
            || (bestKind == Ending::Verbal && lower.endsWith(QLatin1String("ing")) && adjectives.contains(lower))
            || (bestKind == Ending::Comparative && (nouns.contains(lower) || verbs.contains(lower))))
            return word;
    }
    if (!best.isEmpty())
        return best;
    if (latin) {
        const QString stripped = strippedForm(lower);
        if (!stripped.isEmpty())
            return stripped;
    }
    return word;
}
