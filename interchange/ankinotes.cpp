#include "interchange/ankinotes.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <cstring>

#include "interchange/delimitedtext.h"

namespace AnkiNotes {

namespace {

bool isHeaderLine(QStringView line)
{
    static const char* const keys[] = {"separator:", "html:", "columns:", "tags:", "deck:", "notetype:", "guid column:",
                                       "notetype column:", "deck column:", "tags column:"};
    if (!line.startsWith(QLatin1Char('#')))
        return false;
    const QStringView rest = line.mid(1);
    return std::any_of(std::begin(keys), std::end(keys),
                       [rest](const char* key) { return rest.startsWith(QLatin1String(key)); });
}

QChar separatorNamed(const QString& name)
{
    const QString value = name.trimmed().toLower();
    if (value == QLatin1String("tab"))
        return QLatin1Char('\t');
    if (value == QLatin1String("comma"))
        return QLatin1Char(',');
    if (value == QLatin1String("semicolon"))
        return QLatin1Char(';');
    if (value == QLatin1String("space"))
        return QLatin1Char(' ');
    if (value == QLatin1String("pipe"))
        return QLatin1Char('|');
    if (value == QLatin1String("colon"))
        return QLatin1Char(':');
    // A literal character, as older versions wrote it.
    return name.size() == 1 ? name.at(0) : QChar();
}

QString decodeEntity(QStringView name)
{
    if (name.startsWith(QLatin1Char('#'))) {
        bool ok = false;
        const uint code = name.size() > 1 && (name.at(1) == QLatin1Char('x') || name.at(1) == QLatin1Char('X'))
                              ? name.mid(2).toUInt(&ok, 16)
                              : name.mid(1).toUInt(&ok, 10);
        if (!ok || code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return QString();
        const char32_t c = code;
        return QString::fromUcs4(&c, 1);
    }
    struct Entity
    {
        const char* name;
        char16_t code;
    };
    static const Entity entities[] = {
#include "interchange/htmlentities.inc"
    };
    if (name == QLatin1String("apos"))
        return QStringLiteral("'");
    const QByteArray key = name.toLatin1();
    const Entity* end = std::end(entities);
    const Entity* found = std::lower_bound(std::begin(entities), end, key, [](const Entity& entity, const QByteArray& key) {
        return std::strcmp(entity.name, key.constData()) < 0;
    });
    if (found == end || key != found->name)
        return QString();
    // A no-break space between words is a space to the learner.
    return found->code == 0xA0 ? QStringLiteral(" ") : QString(QChar(found->code));
}

// The name of the tag that starts at tag ("<b>", "</div>", "<br/>"), lower-cased.
QString tagName(QStringView tag, bool* closing)
{
    qsizetype i = 1;
    *closing = i < tag.size() && tag.at(i) == QLatin1Char('/');
    if (*closing)
        ++i;
    const qsizetype start = i;
    while (i < tag.size() && (tag.at(i).isLetterOrNumber()))
        ++i;
    return tag.mid(start, i - start).toString().toLower();
}

bool separatesWords(const QString& tag)
{
    static const QSet<QString> blocks{
        QStringLiteral("br"), QStringLiteral("div"), QStringLiteral("p"), QStringLiteral("li"),
        QStringLiteral("ul"), QStringLiteral("ol"), QStringLiteral("tr"), QStringLiteral("td"),
        QStringLiteral("th"), QStringLiteral("table"), QStringLiteral("h1"), QStringLiteral("h2"),
        QStringLiteral("h3"), QStringLiteral("h4"), QStringLiteral("h5"), QStringLiteral("h6"),
        QStringLiteral("hr"), QStringLiteral("blockquote"), QStringLiteral("pre"), QStringLiteral("dt"),
        QStringLiteral("dd"), QStringLiteral("dl"), QStringLiteral("section"), QStringLiteral("article"),
        QStringLiteral("header"), QStringLiteral("footer"), QStringLiteral("center"), QStringLiteral("img"),
        QStringLiteral("thead"), QStringLiteral("tbody"), QStringLiteral("caption"), QStringLiteral("figure"),
    };
    return blocks.contains(tag);
}

// Elements whose content is not part of the text: ruby readings, scripts.
bool dropsContent(const QString& tag)
{
    return tag == QLatin1String("rt") || tag == QLatin1String("rp") || tag == QLatin1String("script")
        || tag == QLatin1String("style");
}

// "{{c1::Paris::capital}}" shows as "Paris" once the card is answered.
QString withoutCloze(const QString& text)
{
    if (!text.contains(QLatin1String("{{c")))
        return text;
    static const QRegularExpression cloze(QStringLiteral("\\{\\{c\\d+::((?:(?!\\}\\}|::).)*)(?:::(?:(?!\\}\\}).)*)?\\}\\}"),
                                          QRegularExpression::DotMatchesEverythingOption);
    QString result = text;
    // Inner deletions first, so a nested one leaves its text to the outer.
    for (int round = 0; round < 8 && result.contains(QLatin1String("{{c")); ++round) {
        const QString replaced = QString(result).replace(cloze, QStringLiteral("\\1"));
        if (replaced == result)
            break;
        result = replaced;
    }
    return result;
}

} // namespace

bool hasHeader(const QString& text)
{
    const qsizetype end = text.indexOf(QLatin1Char('\n'));
    QStringView first = QStringView(text).left(end < 0 ? text.size() : end);
    if (first.startsWith(QChar(0xFEFF)))
        first = first.mid(1);
    if (first.endsWith(QLatin1Char('\r')))
        first.chop(1);
    if (!isHeaderLine(first))
        return false;
    // Our own tab-separated export of a word such as "#html:true" has a tab
    // on the line; Anki's header lines hold none, but for the column names.
    if (first.contains(QLatin1Char('\t')))
        return first.startsWith(QLatin1String("#columns:"));
    const QStringView value = first.mid(first.indexOf(QLatin1Char(':')) + 1).trimmed();
    if (first.startsWith(QLatin1String("#html:")))
        return value == QLatin1String("true") || value == QLatin1String("false");
    if (first.startsWith(QLatin1String("#separator:")))
        return !separatorNamed(value.toString()).isNull();
    return true;
}

bool looksLikeOldExport(const QString& text)
{
    // Before its header lines (Anki 2.1.55), Anki exported the notes' HTML
    // as it is: line breaks and blocks, no-break spaces and sound references
    // give it away.
    const QStringView start = QStringView(text).left(64 * 1024);
    static const char* const marks[] = {"<br>", "<br/>", "<br />", "<div>", "</div>", "&nbsp;", "[sound:"};
    return std::any_of(std::begin(marks), std::end(marks),
                       [start](const char* mark) { return start.contains(QLatin1String(mark), Qt::CaseInsensitive); });
}

QString htmlToText(const QString& source)
{
    const QString html = withoutCloze(source);
    QString text;
    text.reserve(html.size());
    const qsizetype size = html.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = html.at(i);
        if (c == QLatin1Char('<')) {
            if (QStringView(html).mid(i).startsWith(QLatin1String("<!--"))) {
                const qsizetype close = html.indexOf(QLatin1String("-->"), i + 4);
                if (close < 0)
                    break;
                i = close + 2;
                continue;
            }
            const qsizetype close = html.indexOf(QLatin1Char('>'), i + 1);
            if (close < 0)
                break;
            bool closing = false;
            const QString name = tagName(QStringView(html).mid(i, close - i), &closing);
            i = close;
            if (separatesWords(name)) {
                text += QLatin1Char(' ');
            } else if (!closing && dropsContent(name)) {
                const qsizetype end = html.indexOf(QStringLiteral("</") + name, i + 1, Qt::CaseInsensitive);
                if (end < 0)
                    break;
                const qsizetype endClose = html.indexOf(QLatin1Char('>'), end);
                if (endClose < 0)
                    break;
                i = endClose;
            }
        } else if (c == QLatin1Char('&')) {
            const qsizetype semicolon = html.indexOf(QLatin1Char(';'), i + 1);
            const QString decoded = semicolon > i && semicolon - i <= 12
                                        ? decodeEntity(QStringView(html).mid(i + 1, semicolon - i - 1))
                                        : QString();
            if (decoded.isEmpty()) {
                text += c;
            } else {
                text += decoded;
                i = semicolon;
            }
        } else if (c == QLatin1Char('[') && QStringView(html).mid(i).startsWith(QLatin1String("[sound:"))) {
            const qsizetype close = html.indexOf(QLatin1Char(']'), i);
            if (close < 0)
                break;
            i = close;
        } else {
            text += c;
        }
    }
    return text.simplified();
}

QString soundName(const QString& field)
{
    const qsizetype start = field.indexOf(QLatin1String("[sound:"));
    if (start < 0)
        return QString();
    const qsizetype end = field.indexOf(QLatin1Char(']'), start);
    return end < 0 ? QString() : field.mid(start + 7, end - start - 7).trimmed();
}

bool read(const QString& text, WordTable* table, QString* error, bool html)
{
    QChar separator = QLatin1Char('\t');
    QStringList names;
    QSet<int> skipped;
    int line = 1;
    qsizetype pos = text.startsWith(QChar(0xFEFF)) ? 1 : 0;
    while (pos < text.size()) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), pos);
        if (end < 0)
            end = text.size();
        QString header = text.mid(pos, end - pos);
        if (header.endsWith(QLatin1Char('\r')))
            header.chop(1);
        if (!isHeaderLine(header))
            break;
        const qsizetype colon = header.indexOf(QLatin1Char(':'));
        const QString key = header.mid(1, colon - 1).trimmed().toLower();
        const QString value = header.mid(colon + 1);
        if (key == QLatin1String("separator")) {
            separator = separatorNamed(value);
            if (separator.isNull()) {
                *error = QCoreApplication::translate("WordFiles", "Строка %1: неизвестный разделитель «%2».")
                             .arg(line)
                             .arg(value);
                return false;
            }
        } else if (key == QLatin1String("html")) {
            html = value.trimmed().compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
        } else if (key == QLatin1String("columns")) {
            names = value.split(separator);
        } else if (key.endsWith(QLatin1String(" column"))) {
            const int column = value.trimmed().toInt();
            if (column < 1) {
                *error = QCoreApplication::translate("WordFiles", "Строка %1: неверный номер столбца «%2».")
                             .arg(line)
                             .arg(value);
                return false;
            }
            skipped.insert(column - 1);
        }
        ++line;
        pos = end + 1;
    }

    QList<QStringList> rows;
    if (!DelimitedText::parse(text.mid(pos), separator, &rows, error, line))
        return false;
    qsizetype width = names.size();
    for (const QStringList& row : std::as_const(rows))
        width = qMax(width, row.size());
    QList<int> kept;
    for (int column = 0; column < width; ++column) {
        if (!skipped.contains(column))
            kept.append(column);
    }
    for (int column : std::as_const(kept))
        table->columns.append(names.value(column));
    table->rows.reserve(rows.size());
    for (const QStringList& row : std::as_const(rows)) {
        // Anki skips a line that starts with '#' as a comment.
        if (row.value(0).startsWith(QLatin1Char('#')))
            continue;
        QStringList fields;
        fields.reserve(kept.size());
        for (int column : std::as_const(kept))
            fields.append(html ? htmlToText(row.value(column)) : row.value(column));
        table->rows.append(fields);
    }
    return true;
}

} // namespace AnkiNotes
