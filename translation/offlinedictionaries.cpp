#include "translation/offlinedictionaries.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

#include "morphology/hunspellstemmer.h"
#include "translation/articlerules.h"
#include "translation/dictddictionary.h"

namespace {

// A reference is followed this many times at most ("went" → "go").
constexpr int maxReferences = 2;
// The article shown beside a translation: enough for every sense of "go",
// and no more however many dictionaries answer.
constexpr int maxArticleLength = 64 * 1024;
// Headwords offered for a Russian word.
constexpr int maxReverseWords = 3;
constexpr int maxReverseLines = 12;
// English words of a word tried on the way through English.
constexpr int maxEnglishWords = 3;

QString pairKey(const QString& from, const QString& to, const QStringList& folders)
{
    return from + QLatin1Char('-') + to + QLatin1Char('\n') + folders.join(QLatin1Char('\n'));
}

// The word without the article or particle a learner's list writes before
// it ("der Mann", "la maison", "l'homme", "to run"), which dictionaries leave
// out of their headwords; empty when there is none.
QString withoutArticle(const QString& word, const QString& from)
{
    static const QHash<QString, QStringList> articles{
        {QStringLiteral("en"), {QStringLiteral("to"), QStringLiteral("a"), QStringLiteral("an"), QStringLiteral("the")}},
        {QStringLiteral("de"), {QStringLiteral("der"), QStringLiteral("die"), QStringLiteral("das"),
                                QStringLiteral("ein"), QStringLiteral("eine"), QStringLiteral("sich")}},
        {QStringLiteral("fr"), {QStringLiteral("le"), QStringLiteral("la"), QStringLiteral("les"),
                                QStringLiteral("un"), QStringLiteral("une"), QStringLiteral("se")}},
        {QStringLiteral("it"), {QStringLiteral("il"), QStringLiteral("lo"), QStringLiteral("la"),
                                QStringLiteral("i"), QStringLiteral("gli"), QStringLiteral("le"),
                                QStringLiteral("un"), QStringLiteral("uno"), QStringLiteral("una")}},
        {QStringLiteral("es"), {QStringLiteral("el"), QStringLiteral("la"), QStringLiteral("los"),
                                QStringLiteral("las"), QStringLiteral("un"), QStringLiteral("una")}},
    };
    const QString simplified = word.simplified();
    const qsizetype space = simplified.indexOf(QLatin1Char(' '));
    if (space > 0 && articles.value(from.toLower()).contains(simplified.left(space).toLower()))
        return simplified.mid(space + 1);
    // French and Italian elide the article before a vowel: "l'homme", "l’uomo".
    const QString lower = simplified.toLower();
    if ((from == QLatin1String("fr") || from == QLatin1String("it"))
        && (lower.startsWith(QLatin1String("l'")) || lower.startsWith(QStringLiteral("l\u2019"))))
        return simplified.mid(2);
    return QString();
}

} // namespace

QString OfflineDictionaries::threeLetterCode(const QString& code)
{
    static const QHash<QString, QString> codes{
        {QStringLiteral("en"), QStringLiteral("eng")}, {QStringLiteral("ru"), QStringLiteral("rus")},
        {QStringLiteral("uk"), QStringLiteral("ukr")}, {QStringLiteral("de"), QStringLiteral("deu")},
        {QStringLiteral("fr"), QStringLiteral("fra")}, {QStringLiteral("it"), QStringLiteral("ita")},
        {QStringLiteral("es"), QStringLiteral("spa")}, {QStringLiteral("zh-cn"), QStringLiteral("zho")},
        {QStringLiteral("ja"), QStringLiteral("jpn")}, {QStringLiteral("sq"), QStringLiteral("sqi")},
        {QStringLiteral("hy"), QStringLiteral("hye")}, {QStringLiteral("ar"), QStringLiteral("ara")},
        {QStringLiteral("bg"), QStringLiteral("bul")}, {QStringLiteral("be"), QStringLiteral("bel")},
        {QStringLiteral("hu"), QStringLiteral("hun")}, {QStringLiteral("vi"), QStringLiteral("vie")},
        {QStringLiteral("el"), QStringLiteral("ell")}, {QStringLiteral("nl"), QStringLiteral("nld")},
        {QStringLiteral("da"), QStringLiteral("dan")}, {QStringLiteral("ca"), QStringLiteral("cat")},
        {QStringLiteral("ko"), QStringLiteral("kor")}, {QStringLiteral("lv"), QStringLiteral("lav")},
        {QStringLiteral("lt"), QStringLiteral("lit")}, {QStringLiteral("no"), QStringLiteral("nor")},
        {QStringLiteral("pl"), QStringLiteral("pol")}, {QStringLiteral("pt"), QStringLiteral("por")},
        {QStringLiteral("ro"), QStringLiteral("ron")}, {QStringLiteral("sr"), QStringLiteral("srp")},
        {QStringLiteral("sk"), QStringLiteral("slk")}, {QStringLiteral("sl"), QStringLiteral("slv")},
        {QStringLiteral("th"), QStringLiteral("tha")}, {QStringLiteral("tr"), QStringLiteral("tur")},
        {QStringLiteral("fi"), QStringLiteral("fin")}, {QStringLiteral("sv"), QStringLiteral("swe")},
        {QStringLiteral("cs"), QStringLiteral("ces")}, {QStringLiteral("et"), QStringLiteral("est")},
    };
    return codes.value(code.toLower());
}

bool OfflineDictionaries::pairOf(const QString& baseName, QString* from, QString* to)
{
    const QString name = baseName.toLower();
    if (name.startsWith(QLatin1String("mueller"))) {
        *from = QStringLiteral("eng");
        *to = QStringLiteral("rus");
        return true;
    }
    const QStringList parts = name.split(QRegularExpression(QStringLiteral("[-_.]")));
    if (parts.size() < 2)
        return false;
    const auto normalized = [](const QString& part) {
        return part.size() == 2 ? threeLetterCode(part) : part.size() == 3 ? part : QString();
    };
    *from = normalized(parts.at(parts.size() - 2));
    *to = normalized(parts.last());
    return !from->isEmpty() && !to->isEmpty() && *from != *to;
}

void OfflineDictionaries::setHunspellFolder(const QString& folder)
{
    hunspellFolder = folder;
    stemmers.clear();
}

void OfflineDictionaries::reload()
{
    opened.clear();
    folderContents.clear();
    pairs.clear();
    reverse.clear();
    stemmers.clear();
}

QList<DictdDictionary*> OfflineDictionaries::dictionaries(const QString& from, const QString& to,
                                                          const QStringList& folders)
{
    const QString wantedFrom = threeLetterCode(from);
    const QString wantedTo = threeLetterCode(to);
    QList<DictdDictionary*> found;
    if (wantedFrom.isEmpty() || wantedTo.isEmpty())
        return found;
    for (const QString& folder : folders) {
        auto contents = folderContents.find(folder);
        if (contents == folderContents.end()) {
            QFileInfoList files = QDir(folder).entryInfoList({QStringLiteral("*.index")}, QDir::Files);
            std::stable_sort(files.begin(), files.end(), [](const QFileInfo& a, const QFileInfo& b) {
                return a.size() > b.size();
            });
            QStringList paths;
            for (const QFileInfo& file : std::as_const(files)) {
                // The pair is read from the name once: a word through English
                // asks for several pairs.
                QString pairFrom;
                QString pairTo;
                if (!pairOf(file.completeBaseName(), &pairFrom, &pairTo))
                    continue;
                paths.append(file.absoluteFilePath());
                pairs.insert(file.absoluteFilePath(), pairFrom + QLatin1Char('-') + pairTo);
            }
            contents = folderContents.insert(folder, paths);
        }
        const QString wantedPair = wantedFrom + QLatin1Char('-') + wantedTo;
        for (const QString& path : std::as_const(contents.value())) {
            if (pairs.value(path) != wantedPair)
                continue;
            std::shared_ptr<DictdDictionary>& dictionary = opened[path];
            if (!dictionary)
                dictionary = std::make_shared<DictdDictionary>(path);
            if (dictionary->isValid())
                found.append(dictionary.get());
        }
    }
    return found;
}

QString OfflineDictionaries::lookUp(DictdDictionary* dictionary, const QString& word, QString* article,
                                    bool intoLatin)
{
    struct Choice
    {
        QString text;
        bool otherCase;
        bool properName;
        int rank;
        qsizetype length;
    };
    QString wanted = word;
    for (int step = 0; step <= maxReferences; ++step) {
        const QStringList articles = dictionary->articles(wanted);
        if (articles.isEmpty())
            return QString();
        for (const QString& text : articles) {
            if (article->size() < maxArticleLength)
                *article += (article->isEmpty() ? QString() : QStringLiteral("\n\n")) + text.trimmed();
        }
        // The index ignores case, the learner does not: "gut" is the
        // adjective, "Gut" the estate. Then ordinary words before proper
        // names, the part of speech FreeDict notes, and the longest article
        // or Mueller homonym, which is the commoner sense ("saw" the tool,
        // not the saying; "train" the noun).
        const QString written = wanted.simplified();
        QList<Choice> choices;
        for (const QString& text : articles) {
            const bool otherCase = ArticleRules::headword(text) != written;
            for (const QString& homonym : ArticleRules::homonyms(text)) {
                choices.append(Choice{homonym, otherCase, ArticleRules::isProperName(homonym),
                                      ArticleRules::partOfSpeechRank(homonym), homonym.size()});
            }
        }
        std::stable_sort(choices.begin(), choices.end(), [](const Choice& a, const Choice& b) {
            if (a.otherCase != b.otherCase)
                return b.otherCase;
            if (a.properName != b.properName)
                return b.properName;
            if (a.rank != b.rank)
                return a.rank < b.rank;
            return a.length > b.length;
        });
        QString pointer;
        for (const Choice& choice : std::as_const(choices)) {
            const QString translation = intoLatin
                ? ArticleRules::latinTranslation(choice.text).join(QStringLiteral(", "))
                : ArticleRules::shortTranslation(choice.text);
            if (!translation.isEmpty())
                return translation;
            if (pointer.isEmpty())
                pointer = ArticleRules::reference(choice.text);
        }
        if (pointer.isEmpty() || DictdDictionary::key(pointer) == DictdDictionary::key(wanted))
            return QString();
        wanted = pointer;
    }
    return QString();
}

HunspellStemmer* OfflineDictionaries::stemmer(const QString& language)
{
    std::shared_ptr<HunspellStemmer>& made = stemmers[language];
    if (!made)
        made = std::make_shared<HunspellStemmer>(language, hunspellFolder);
    return made->isValid() ? made.get() : nullptr;
}

QString OfflineDictionaries::lookUpAll(const QList<DictdDictionary*>& found, const QString& word,
                                       const QString& from, QString* article, bool intoLatin)
{
    if (found.isEmpty())
        return QString();
    const auto inEvery = [&](const QString& wanted) {
        QString translation;
        for (DictdDictionary* dictionary : found) {
            const QString own = lookUp(dictionary, wanted, article, intoLatin);
            if (translation.isEmpty())
                translation = own;
        }
        return translation;
    };
    QString translation = inEvery(word);
    const QString bare = withoutArticle(word, from);
    if (translation.isEmpty() && !bare.isEmpty())
        translation = inEvery(bare);
    if (!translation.isEmpty())
        return translation;
    // A plural or an inflected form is rarely a headword: "chevaux" is
    // under "cheval", "Häuser" under "Haus".
    HunspellStemmer* forms = stemmer(from);
    if (!forms)
        return QString();
    const QString simplified = (bare.isEmpty() ? word : bare).simplified();
    if (simplified.contains(QLatin1Char(' ')))
        return QString();
    for (const QString& stem : forms->stems(simplified)) {
        translation = inEvery(stem);
        if (!translation.isEmpty())
            return translation;
    }
    return QString();
}

OfflineDictionaries::Answer OfflineDictionaries::throughEnglish(const QString& word, const QString& from,
                                                                const QString& to, const QStringList& folders)
{
    Answer answer;
    const QString english = QStringLiteral("en");
    const QList<DictdDictionary*> intoEnglish = dictionaries(from, english, folders);
    const QList<DictdDictionary*> fromEnglish = dictionaries(english, to, folders);
    if (intoEnglish.isEmpty() || fromEnglish.isEmpty())
        return answer;
    answer.havePair = true;
    const QStringList words = ArticleRules::items(lookUpAll(intoEnglish, word, from, &answer.article, true));
    // The first English word is the sense meant; the next ones help only
    // when the first is missing from the English dictionaries.
    for (const QString& item : words.mid(0, maxEnglishWords)) {
        QString article;
        const QString translation = lookUpAll(fromEnglish, item, english, &article, false);
        if (translation.isEmpty())
            continue;
        answer.translation = translation;
        answer.via = {item};
        answer.article += QStringLiteral("\n\n") + article;
        break;
    }
    return answer;
}

const OfflineDictionaries::ReverseIndex&
OfflineDictionaries::reverseIndex(const QString& from, const QString& to, const QStringList& folders)
{
    const QString key = pairKey(from, to, folders);
    auto built = reverse.find(key);
    if (built != reverse.end())
        return built.value();
    ReverseIndex index;
    // The Russian side of "to → from" dictionaries, e.g. en → ru for ru → en.
    for (DictdDictionary* dictionary : dictionaries(to, from, folders)) {
        dictionary->forEachArticle([&index](const QString& headword, const QString& article) {
            const QStringList items = ArticleRules::items(ArticleRules::shortTranslation(article));
            QString written = ArticleRules::headword(article);
            if (DictdDictionary::key(written) != headword
                && DictdDictionary::strippedKey(written) != headword)
                written = headword;
            for (int i = 0; i < items.size(); ++i) {
                QList<Candidate>& candidates = index[items.at(i).toLower()];
                const bool known = std::any_of(candidates.cbegin(), candidates.cend(),
                                               [&](const Candidate& c) { return c.headword == written; });
                if (!known)
                    candidates.append(Candidate{written, i, int(items.size()), int(article.size())});
            }
        });
    }
    return reverse.insert(key, index).value();
}

OfflineDictionaries::Answer OfflineDictionaries::translate(const QString& word, const QString& from,
                                                           const QString& to, const QStringList& folders)
{
    Answer answer;
    const QList<DictdDictionary*> direct = dictionaries(from, to, folders);
    answer.havePair = !direct.isEmpty();
    answer.translation = lookUpAll(direct, word, from, &answer.article, false);
    if (!answer.translation.isEmpty())
        return answer;
    // Spanish into Russian: Debian has Spanish-English and English-Russian.
    // The same way serves a word the direct dictionaries lack (the small
    // Italian-Russian one has no "bambino", "grande" or "parlare").
    if (threeLetterCode(from) != QLatin1String("eng")
        && threeLetterCode(to) != QLatin1String("eng")) {
        const Answer through = throughEnglish(word, from, to, folders);
        if (!through.translation.isEmpty() || (through.havePair && dictionaries(to, from, folders).isEmpty()))
            return through;
        answer.havePair = answer.havePair || through.havePair;
    }
    if (dictionaries(to, from, folders).isEmpty())
        return answer;

    answer.havePair = true;
    QList<Candidate> candidates = reverseIndex(from, to, folders).value(DictdDictionary::key(word));
    // Plain words before phrases and compounds ("cat" before
    // "cat-o'-nine-tails"); then by the length of the article, which is
    // longer for commoner words, weighed down by how late in the sense the
    // Russian word comes.
    const auto plain = [](const QString& headword) {
        return std::all_of(headword.cbegin(), headword.cend(), [](QChar c) { return c.isLetter(); });
    };
    std::stable_sort(candidates.begin(), candidates.end(), [&plain](const Candidate& a, const Candidate& b) {
        const bool aPlain = plain(a.headword);
        const bool bPlain = plain(b.headword);
        if (aPlain != bPlain)
            return aPlain;
        return double(a.articleLength) / (a.position + 1) > double(b.articleLength) / (b.position + 1);
    });
    QStringList words;
    QStringList lines;
    for (const Candidate& candidate : std::as_const(candidates)) {
        if (words.size() < maxReverseWords
            && !words.contains(candidate.headword, Qt::CaseInsensitive))
            words.append(candidate.headword);
        if (lines.size() < maxReverseLines)
            lines.append(candidate.headword);
    }
    answer.translation = words.join(QStringLiteral(", "));
    if (!lines.isEmpty())
        answer.article = DictdDictionary::key(word) + QStringLiteral(": ") + lines.join(QStringLiteral(", "));
    return answer;
}

QStringList OfflineDictionaries::dictionaryNames(const QString& from, const QString& to,
                                                 const QStringList& folders)
{
    QStringList names;
    for (DictdDictionary* dictionary : dictionaries(from, to, folders))
        names.append(dictionary->name());
    if (names.isEmpty()) {
        for (DictdDictionary* dictionary : dictionaries(to, from, folders))
            names.append(dictionary->name() + QStringLiteral(" ↔"));
    }
    return names;
}
