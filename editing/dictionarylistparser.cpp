#include "editing/dictionarylistparser.h"

#include <QRegularExpression>
#include <QStringDecoder>

namespace DictionaryListParser {

namespace {

constexpr auto Options = QRegularExpression::DotMatchesEverythingOption;
constexpr auto MinimalOptions = Options | QRegularExpression::InvertedGreedinessOption;

// Capture 1 of the first match of \a pattern in \a text, empty without one.
QString firstCapture(const QRegularExpression& pattern, const QString& text)
{
    const QRegularExpressionMatch match = pattern.match(text);
    return match.hasMatch() ? match.captured(1) : QString();
}

} // namespace

QList<Entry> parse(const QString& page, const QString& siteRoot)
{
    static const QRegularExpression region(QStringLiteral("<p>(.*)</p>"), Options);
    static const QRegularExpression entryEnd(QStringLiteral("(.*)<br>"), MinimalOptions);
    static const QRegularExpression quoted(QStringLiteral("\"(.*)\""), MinimalOptions);
    // Inverted greediness makes "*?" greedy again: the count takes all the
    // digits right after "<num>", and the rest of the element stays out.
    static const QRegularExpression count(QStringLiteral("<num>([0-9]*?)(.*)</num>"), MinimalOptions);
    static const QRegularExpression author(QStringLiteral("<author>(.*)</author>"), MinimalOptions);
    static const QRegularExpression description(QStringLiteral("<inf>(.*)</inf>"), MinimalOptions);
    static const QRegularExpression link(QStringLiteral(">(.*)</a>"), MinimalOptions);
    static const QRegularExpression language(QStringLiteral("<a\\s[^>]*hreflang=([a-z]{2,3})[\\s>]"));

    const QRegularExpressionMatch regionMatch = region.match(page);
    const QString text = regionMatch.hasMatch() ? regionMatch.captured(0) : QString();

    // One pass over the page: matching again from each position would check
    // the whole subject every time, which made large pages quadratic.
    QStringList entryTexts;
    QRegularExpressionMatchIterator matches = entryEnd.globalMatch(text);
    while (matches.hasNext())
        entryTexts.append(matches.next().captured(1));

    QList<Entry> entries;
    for (const QString& entryText : std::as_const(entryTexts)) {
        const QString entryCount = firstCapture(count, entryText);
        const QString entryAuthor = firstCapture(author, entryText);
        const QString entryDescription = firstCapture(description, entryText);
        qsizetype from = 0;
        for (;;) {
            const QRegularExpressionMatch target = quoted.match(entryText, from);
            if (!target.hasMatch())
                break;
            const QRegularExpressionMatch name = link.match(entryText, target.capturedStart(0));
            entries.append(Entry{name.hasMatch() ? name.captured(1) : QString(), entryCount,
                                 entryDescription, entryAuthor, siteRoot + target.captured(1),
                                 firstCapture(language, entryText)});
            from = target.capturedEnd(0);
        }
    }
    return entries;
}

QString decodePage(const QByteArray& body)
{
    QStringDecoder decoder("windows-1251");
    if (!decoder.isValid())
        return QString::fromLatin1(body);
    return decoder.decode(body);
}

} // namespace DictionaryListParser
