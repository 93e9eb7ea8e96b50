#include "translation/articlerules.h"

#include <QRegularExpression>

namespace {

// How much of an article the rules read, and the longest article that can
// be a mere pointer to another headword.
constexpr qsizetype maxRulesLength = 3000;
constexpr qsizetype maxPointerLength = 400;

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
            const QString word = trimmedItem(item);
            if (hasCyrillic(word) && !found.contains(word))
                found.append(word);
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
    for (const QString& sense : text.split(QChar(senseMark))) {
        const QStringList found = senseItems(sense);
        if (found.isEmpty())
            continue;
        QString translation;
        for (const QString& item : found) {
            const qsizetype length = translation.size() + (translation.isEmpty() ? 0 : 2) + item.size();
            if (length > maxLength)
                break;
            if (!translation.isEmpty())
                translation += QStringLiteral(", ");
            translation += item;
        }
        if (!translation.isEmpty())
            return translation;
    }
    return QString();
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
    const QRegularExpressionMatch match = pointer.match(text.simplified());
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
