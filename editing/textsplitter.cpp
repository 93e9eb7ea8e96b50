#include "textsplitter.h"

#include <QHash>
#include <QRegularExpression>

namespace TextSplitter {

namespace {

bool isApostrophe(char32_t c)
{
    return c == U'\'' || c == U'\u2019' || c == U'\u02BC';
}

bool isHyphen(char32_t c)
{
    return c == U'-' || c == U'\u2010' || c == U'\u2011';
}

bool isLetter(char32_t c)
{
    return QChar::isLetter(c) || QChar::isMark(c);
}

// Pronouns and adverbs after which "'s" means "is" or "has", not a possessive.
bool takesVerbS(const QString& lower)
{
    static const QStringList words = {
        QStringLiteral("it"),    QStringLiteral("he"),    QStringLiteral("she"),  QStringLiteral("that"),
        QStringLiteral("what"),  QStringLiteral("there"), QStringLiteral("here"), QStringLiteral("who"),
        QStringLiteral("where"), QStringLiteral("how"),   QStringLiteral("let"),  QStringLiteral("when"),
        QStringLiteral("why"),   QStringLiteral("this"),
    };
    return words.contains(lower);
}

} // namespace

bool isSeparator(QChar c)
{
    return !isLetter(c.unicode()) && !isApostrophe(c.unicode()) && !isHyphen(c.unicode())
        && !c.isSurrogate();
}

QString cleanWord(const QString& token)
{
    if (token.size() > maxWordLength)
        return QString();
    const qsizetype apostrophe = [&token] {
        for (qsizetype i = token.size() - 1; i > 0; --i) {
            if (isApostrophe(token.at(i).unicode()))
                return i;
        }
        return qsizetype(-1);
    }();
    if (apostrophe < 0)
        return token;
    const QString ending = token.mid(apostrophe + 1).toLower();
    const QString body = token.left(apostrophe);
    if (ending == QLatin1String("s"))
        return takesVerbS(body.toLower()) ? QString() : body;
    if (ending == QLatin1String("t") && body.endsWith(QLatin1Char('n'), Qt::CaseInsensitive))
        return QString();
    for (const char* contraction : {"re", "ve", "ll", "d", "m"}) {
        if (ending == QLatin1String(contraction))
            return QString();
    }
    return token;
}

namespace {

// Addresses are no words to learn: "https://www.gnu.org/licenses/" would
// give "https", "www", "gnu", "org". The span of every whitespace-separated
// chunk that is a web address or an e-mail address is blanked out.
QString withoutAddresses(const QString& text)
{
    if (!text.contains(QLatin1Char('@')) && !text.contains(QLatin1String("://")) && !text.contains(QLatin1String("www.")))
        return text;
    QString result = text;
    const qsizetype size = text.size();
    qsizetype i = 0;
    while (i < size) {
        while (i < size && text.at(i).isSpace())
            ++i;
        const qsizetype start = i;
        while (i < size && !text.at(i).isSpace())
            ++i;
        const QStringView chunk = QStringView(text).mid(start, i - start);
        const qsizetype at = chunk.indexOf(QLatin1Char('@'));
        const bool address = chunk.contains(QLatin1String("://"))
            || chunk.startsWith(QLatin1String("www."), Qt::CaseInsensitive)
            || chunk.mid(1).startsWith(QLatin1String("www."), Qt::CaseInsensitive)
            || (at > 0 && chunk.indexOf(QLatin1Char('.'), at) > at + 1);
        if (address) {
            for (qsizetype k = start; k < i; ++k)
                result[k] = QLatin1Char(' ');
        }
    }
    return result;
}

} // namespace

QStringList split(const QString& source)
{
    const QString text = withoutAddresses(source);
    QStringList words;
    QHash<QString, qsizetype> positions;
    auto take = [&](qsizetype start, qsizetype end) {
        // A 10 000-letter token is cut off here before it is copied.
        if (end - start > maxWordLength)
            return;
        const QString word = cleanWord(text.mid(start, end - start));
        if (word.isEmpty())
            return;
        // A lone letter is a list marker ("b)") or an initial, except the
        // two English words of one letter.
        if (word.size() == 1 && word != QLatin1String("a") && word != QLatin1String("A") && word != QLatin1String("I"))
            return;
        const QString lower = word.toLower();
        const auto seen = positions.constFind(lower);
        if (seen == positions.cend()) {
            positions.insert(lower, words.size());
            words.append(word);
        } else if (word == lower) {
            words[*seen] = word;
        }
    };

    // Code points, so that a letter outside the basic plane is one letter.
    const qsizetype size = text.size();
    qsizetype start = -1;
    char32_t previous = 0;
    qsizetype i = 0;
    while (i < size) {
        char32_t c = text.at(i).unicode();
        qsizetype width = 1;
        if (QChar::isHighSurrogate(c) && i + 1 < size && text.at(i + 1).isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
            width = 2;
        }
        if (isLetter(c)) {
            if (start < 0)
                start = i;
        } else if ((isApostrophe(c) || isHyphen(c)) && start >= 0 && isLetter(previous)) {
            // Joins only when a letter follows too; decided at that letter.
            qsizetype next = i + width;
            char32_t after = next < size ? text.at(next).unicode() : 0;
            if (QChar::isHighSurrogate(after) && next + 1 < size && text.at(next + 1).isLowSurrogate())
                after = QChar::surrogateToUcs4(text.at(next), text.at(next + 1));
            if (!isLetter(after)) {
                take(start, i);
                start = -1;
            }
        } else if (start >= 0) {
            take(start, i);
            start = -1;
        }
        previous = c;
        i += width;
    }
    if (start >= 0)
        take(start, size);
    return words;
}

bool isMostlyCyrillic(const QString& text)
{
    qsizetype cyrillic = 0;
    qsizetype other = 0;
    for (const QChar c : text) {
        if (!c.isLetter())
            continue;
        if (c.script() == QChar::Script_Cyrillic)
            ++cyrillic;
        else
            ++other;
    }
    return cyrillic > other;
}

QSet<QString> sentenceStarts(const QString& text)
{
    static const QRegularExpression start(
        QStringLiteral("(?:^|[.!?\u2026][\\s\"'\u00AB\u201C\u2018(\\[]*\\s|\\n)[\\s\"'\u00AB\u201C\u2018(\\[]*"
                       "([\\p{L}][\\p{L}\\p{M}'\u2019-]*)"),
        QRegularExpression::UseUnicodePropertiesOption);
    QSet<QString> words;
    for (auto it = start.globalMatch(text); it.hasNext();) {
        const QString word = cleanWord(it.next().captured(1));
        if (!word.isEmpty())
            words.insert(word);
    }
    return words;
}

} // namespace TextSplitter
