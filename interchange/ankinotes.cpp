#include "interchange/ankinotes.h"

#include <QCoreApplication>
#include <QSet>

#include <algorithm>

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
    static const QList<QPair<QLatin1String, QChar>> named = {
        {QLatin1String("amp"), QLatin1Char('&')},   {QLatin1String("lt"), QLatin1Char('<')},
        {QLatin1String("gt"), QLatin1Char('>')},    {QLatin1String("quot"), QLatin1Char('"')},
        {QLatin1String("apos"), QLatin1Char('\'')}, {QLatin1String("nbsp"), QLatin1Char(' ')},
    };
    for (const auto& entry : named) {
        if (name == entry.first)
            return QString(entry.second);
    }
    return QString();
}

} // namespace

bool hasHeader(const QString& text)
{
    const qsizetype end = text.indexOf(QLatin1Char('\n'));
    QStringView first = QStringView(text).left(end < 0 ? text.size() : end);
    if (first.startsWith(QChar(0xFEFF)))
        first = first.mid(1);
    return isHeaderLine(first);
}

QString htmlToText(const QString& html)
{
    QString text;
    text.reserve(html.size());
    const qsizetype size = html.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = html.at(i);
        if (c == QLatin1Char('<')) {
            const qsizetype close = html.indexOf(QLatin1Char('>'), i + 1);
            if (close < 0)
                break;
            // Line breaks and blocks separate the words on either side.
            text += QLatin1Char(' ');
            i = close;
        } else if (c == QLatin1Char('&')) {
            const qsizetype semicolon = html.indexOf(QLatin1Char(';'), i + 1);
            const QString decoded = semicolon > i && semicolon - i <= 10
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
        QStringList fields;
        fields.reserve(kept.size());
        for (int column : std::as_const(kept))
            fields.append(html ? htmlToText(row.value(column)) : row.value(column));
        table->rows.append(fields);
    }
    return true;
}

} // namespace AnkiNotes
