#include "translation/articlerules.h"

#include <QHash>
#include <QRegularExpression>

namespace {

// How much of an article the rules read, and the longest article that can
// be a mere pointer to another headword.
constexpr qsizetype maxRulesLength = 3000;
constexpr qsizetype maxPointerLength = 400;
// FreeDict senses weighed against each other for the plain one.
constexpr int maxFreeDictSenses = 3;

// Stands for a sense number while the article is taken apart.
constexpr char16_t senseMark = 0x1;

bool isCyrillic(QChar c)
{
    return c.unicode() >= 0x400 && c.unicode() <= 0x52f;
}

// Letters of the source languages: English, German, French, Italian,
// Spanish and the like. Their first appearance in a sense starts the
// examples, which the short translation leaves out.
bool isLatin(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= 0xc0 && u <= 0x24f && c.isLetter());
}

bool hasCyrillic(const QString& text)
{
    return std::any_of(text.cbegin(), text.cend(), isCyrillic);
}

// Everything after the headword line, with every sense number ("1.", "2)",
// "а)", Mueller's homonym numbers "_I", "_II") replaced by a sense mark.
QString senses(const QString& article)
{
    static const QRegularExpression number(
        QStringLiteral("(^|\\s)(?:_[IVX]+(?=\\s|$)|\\d{1,3}[.)]|[а-яё]\\))"));
    const qsizetype firstBreak = article.indexOf(QLatin1Char('\n'));
    if (firstBreak < 0)
        return QString();
    QString text = article.mid(firstBreak + 1);
    text.replace(number, QStringLiteral("\\1") + QChar(senseMark));
    return text;
}

// Drops remarks in brackets of every kind (transcriptions, cross-references,
// grammar notes in parentheses, FreeDict's "<n, fem>") and Mueller's labels,
// which start with "_" ("_n.", "_разг.", "_ам."). A bracket left open ends
// at the next sense; a stray closing one is dropped.
QString withoutRemarks(const QString& text)
{
    QString kept;
    kept.reserve(text.size());
    int depth = 0;
    bool inLabel = false;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == senseMark) {
            depth = 0;
            inLabel = false;
            kept.append(c);
            continue;
        }
        if (u == '(' || u == '[' || u == '{' || u == '<') {
            ++depth;
            continue;
        }
        if (u == ')' || u == ']' || u == '}' || u == '>') {
            if (depth > 0)
                --depth;
            continue;
        }
        if (depth > 0)
            continue;
        if (inLabel) {
            if (!c.isSpace() && u != ';' && u != ',')
                continue;
            inLabel = false;
        } else if (u == '_' && (kept.isEmpty() || kept.back().isSpace() || kept.back() == QChar(senseMark))) {
            inLabel = true;
            continue;
        }
        kept.append(c);
    }
    return kept;
}

bool isPointer(const QString& prefix)
{
    return prefix == u"от" || prefix == u"см." || prefix == u"см" || prefix == u"=";
}

// Punctuation left at an item's end once the example after it is cut off.
// A full stop stays: it ends abbreviations ("и т.п.", "кого-л.").
QString trimmedItem(QString item)
{
    item = item.trimmed();
    while (!item.isEmpty() && QStringView(u",:-=\u2014").contains(item.back())) {
        item.chop(1);
        item = item.trimmed();
    }
    return item;
}

// An item as the learner sees it: without stress accents (Italian and
// German FreeDict write "пожило́й"), without "тж." ("also") before it.
QString shownItem(const QString& item)
{
    QString word = item;
    word.remove(QChar(0x301));
    word.remove(QChar(0x300));
    word = trimmedItem(word);
    if (word.startsWith(u"тж. "))
        word = word.mid(4).trimmed();
    return word;
}

// Mueller's grammar notes where a translation would be: "1 л. ед. ч."
// (first person singular), "мн. ч." (plural) and the like.
bool isGrammarNote(const QString& item)
{
    static const QRegularExpression note(
        QStringLiteral("^(?:\\d(?:-е)?\\s*)?(?:л\\.\\s*)?(?:ед|мн)\\.\\s*ч\\.|^тж\\.?$|^\\d(?:-е)?\\s*л\\.$"));
    return note.match(item).hasMatch();
}

// The Russian words at the start of one sense, or nothing when the sense
// starts otherwise (an example, a label left over, a pointer).
QStringList senseItems(const QString& sense)
{
    QStringList found;
    for (const QString& segment : sense.split(QLatin1Char(';'))) {
        const QString text = segment.simplified();
        if (text.isEmpty())
            continue;
        qsizetype latin = 0;
        while (latin < text.size() && !isLatin(text.at(latin)))
            ++latin;
        const QString prefix = trimmedItem(text.left(latin));
        const QString head = prefix.section(QLatin1Char(' '), 0, 0);
        if (isPointer(prefix) || (latin < text.size() && isPointer(head) && prefix == head)) {
            // "от go 1" in the middle of a sense points elsewhere; the next
            // segment may still hold words of its own.
            continue;
        }
        if (!hasCyrillic(prefix))
            break;
        for (const QString& item : prefix.split(QLatin1Char(','))) {
            const QString word = shownItem(item);
            if (!hasCyrillic(word) || isGrammarNote(word))
                continue;
            // FreeDict repeats a sense in capitals ("Бык, бык"); the
            // lower-case one is the word.
            const auto same = std::find_if(found.begin(), found.end(), [&word](const QString& known) {
                return known.compare(word, Qt::CaseInsensitive) == 0;
            });
            const qsizetype known = same == found.end() ? -1 : same - found.begin();
            if (known < 0)
                found.append(word);
            else if (word.front().isLower())
                found[known] = word;
        }
        // Latin letters after the Russian words start an example.
        if (latin < text.size())
            break;
    }
    return found;
}

} // namespace

namespace ArticleRules {

QString shortTranslation(const QString& article, int maxLength)
{
    if (!reference(article).isEmpty())
        return QString();
    // The first sense with Russian words comes early; the rest of a long
    // article ("go" has 17 000 characters of idioms) only costs time.
    const qsizetype lineEnd = article.indexOf(QLatin1Char('\n'), maxRulesLength);
    const QString text = withoutRemarks(senses(lineEnd < 0 ? article : article.left(lineEnd)));
    // FreeDict often puts a narrow sense first ("chien": "кобель", then
    // "пёс, собака"; "voir": "прозреть", then "видеть, увидеть…"); of its
    // first senses the one with the most words is the plain one. Mueller's
    // first sense is the main one.
    const QString headLine = article.section(QLatin1Char('\n'), 0, 0);
    const bool freeDict = headLine.contains(QLatin1String(" /")) || headLine.contains(QLatin1String(" <"));
    QStringList best;
    int sensesSeen = 0;
    for (const QString& sense : text.split(QChar(senseMark))) {
        const QStringList items = senseItems(sense);
        if (items.isEmpty())
            continue;
        if (items.size() > best.size())
            best = items;
        if (!freeDict || ++sensesSeen == maxFreeDictSenses)
            break;
    }
    QString translation;
    for (const QString& item : std::as_const(best)) {
        const qsizetype length = translation.size() + (translation.isEmpty() ? 0 : 2) + item.size();
        if (length > maxLength)
            break;
        if (!translation.isEmpty())
            translation += QStringLiteral(", ");
        translation += item;
    }
    return translation;
}

QString reference(const QString& article)
{
    // A pointer is a line or two; a long article is a real one.
    if (article.size() > maxPointerLength)
        return QString();
    static const QRegularExpression pointer(
        QStringLiteral("^(?:(?:и|,)\\s*)*(?:от|=|см\\.?)\\s*([^;,=]+?)(?:\\s+(?:\\d+|[IVX]+)(?:\\s*,\\s*\\d+)*)?$"));
    QString text = withoutRemarks(senses(article));
    text.replace(QChar(senseMark), QLatin1Char(' '));
    // "am": "1 л. ед. ч. настоящего времени гл. to be" is a form of "be".
    static const QRegularExpression form(
        QStringLiteral("^[;,\\s]*(?:\\d(?:-е)?\\s*)?(?:л\\.\\s*)?(?:ед|мн)\\.\\s*ч\\.[^;]*?\\sгл\\.\\s+(?:to\\s+)?([a-z]+)$"));
    QRegularExpressionMatch match = pointer.match(text.simplified());
    if (!match.hasMatch())
        match = form.match(text.simplified());
    if (!match.hasMatch())
        return QString();
    const QString target = match.captured(1).trimmed();
    return std::any_of(target.cbegin(), target.cend(), isLatin) && !hasCyrillic(target) ? target
                                                                                         : QString();
}

QString headword(const QString& article)
{
    QString line = article.section(QLatin1Char('\n'), 0, 0);
    for (const char* start : {" /", " [", " <"}) {
        const qsizetype at = line.indexOf(QLatin1String(start));
        if (at > 0)
            line.truncate(at);
    }
    return line.trimmed();
}

QStringList homonyms(const QString& article)
{
    static const QRegularExpression number(QStringLiteral("(?:^|\n)[ \t]*_[IVX]+(?=[\\s\\[])"));
    const qsizetype firstBreak = article.indexOf(QLatin1Char('\n'));
    if (firstBreak < 0)
        return {article};
    // Mueller's first homonym number opens the line after the headword.
    const QStringView second = QStringView(article).mid(firstBreak + 1, 8).trimmed();
    if (!second.startsWith(QLatin1String("_I")))
        return {article};
    const QString headLine = article.left(firstBreak + 1);
    QList<qsizetype> starts;
    QRegularExpressionMatchIterator it = number.globalMatch(article, firstBreak);
    while (it.hasNext())
        starts.append(it.next().capturedStart());
    if (starts.size() < 2)
        return {article};
    QStringList found;
    for (qsizetype i = 0; i < starts.size(); ++i) {
        const qsizetype end = i + 1 < starts.size() ? starts.at(i + 1) : article.size();
        QString body = article.mid(starts.at(i), end - starts.at(i));
        while (body.startsWith(QLatin1Char('\n')))
            body.remove(0, 1);
        found.append(headLine + body);
    }
    return found;
}

bool isProperName(const QString& article)
{
    const QString line = article.section(QLatin1Char('\n'), 0, 0);
    if (line.contains(QLatin1String("<pn")))
        return true;
    // The first Russian letter after the headword line: cheaper than the
    // short translation, and the same letter for a name.
    const qsizetype start = article.indexOf(QLatin1Char('\n'));
    if (start < 0)
        return false;
    const auto first = std::find_if(article.cbegin() + start, article.cend(), isCyrillic);
    return first != article.cend() && first->isUpper();
}

int partOfSpeechRank(const QString& article)
{
    static const QRegularExpression note(QStringLiteral("<([a-z]+)"));
    const QRegularExpressionMatch match = note.match(article.section(QLatin1Char('\n'), 0, 0));
    if (!match.hasMatch())
        return 2;
    static const QHash<QString, int> ranks{
        {QStringLiteral("num"), 0}, {QStringLiteral("numeral"), 0}, {QStringLiteral("n"), 2},
        {QStringLiteral("masc"), 2}, {QStringLiteral("fem"), 2}, {QStringLiteral("neut"), 2},
        {QStringLiteral("v"), 1}, {QStringLiteral("vi"), 1}, {QStringLiteral("vt"), 1},
        {QStringLiteral("adj"), 3}, {QStringLiteral("adv"), 4}, {QStringLiteral("pn"), 6}};
    return ranks.value(match.captured(1), 5);
}

QStringList latinTranslation(const QString& article)
{
    const QString text = withoutRemarks(senses(article));
    for (const QString& sense : text.split(QChar(senseMark))) {
        QStringList found;
        for (const QString& item : sense.section(QLatin1Char('\n'), 0, 0).split(QRegularExpression(QStringLiteral("[,;]")))) {
            const QString word = trimmedItem(item);
            if (!word.isEmpty() && std::any_of(word.cbegin(), word.cend(), isLatin) && !found.contains(word))
                found.append(word);
        }
        if (!found.isEmpty())
            return found;
    }
    return {};
}

QStringList items(const QString& translation)
{
    QStringList found;
    for (const QString& item : translation.split(QLatin1Char(','))) {
        const QString trimmed = item.trimmed();
        if (!trimmed.isEmpty())
            found.append(trimmed);
    }
    return found;
}

} // namespace ArticleRules
