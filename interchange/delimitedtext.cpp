#include "interchange/delimitedtext.h"

#include <QCoreApplication>
#include <QSet>

#include "translation/translator.h"

namespace DelimitedText {

namespace {

bool isLineEnd(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r');
}

bool blankRow(const QStringList& row)
{
    for (const QString& field : row) {
        if (!field.trimmed().isEmpty())
            return false;
    }
    return true;
}

const QSet<QString>& headerLabels()
{
    static const QSet<QString> labels = [] {
        QSet<QString> set{
            QStringLiteral("word"), QStringLiteral("words"), QStringLiteral("term"),
            QStringLiteral("translation"), QStringLiteral("translations"), QStringLiteral("meaning"),
            QStringLiteral("definition"), QStringLiteral("front"), QStringLiteral("back"),
            QStringLiteral("question"), QStringLiteral("answer"), QStringLiteral("foreign"),
            QStringLiteral("native"), QStringLiteral("source"), QStringLiteral("target"),
            QStringLiteral("english"), QStringLiteral("russian"), QStringLiteral("german"),
            QStringLiteral("french"), QStringLiteral("spanish"), QStringLiteral("italian"),
            QStringLiteral("слово"), QStringLiteral("слова"), QStringLiteral("перевод"),
            QStringLiteral("переводы"), QStringLiteral("значение"), QStringLiteral("термин"),
            QStringLiteral("вопрос"), QStringLiteral("ответ"), QStringLiteral("транскрипция"),
            QStringLiteral("example"), QStringLiteral("examples"), QStringLiteral("comment"),
            QStringLiteral("note"), QStringLiteral("notes"), QStringLiteral("tags"),
            QStringLiteral("пример"), QStringLiteral("примеры"), QStringLiteral("комментарий"),
            QStringLiteral("примечание"),
        };
        for (const auto& language : languages())
            set.insert(language.second.toLower());
        return set;
    }();
    return labels;
}

} // namespace

bool parse(const QString& text, QChar separator, QList<QStringList>* rows, QString* error,
           int firstLine)
{
    const QChar quote = QLatin1Char('"');
    const qsizetype size = text.size();
    const QChar* data = text.constData();
    int line = firstLine;
    QStringList row;
    QString field;
    qsizetype i = 0;
    while (i < size) {
        // At the start of a field.
        if (data[i] == quote) {
            const int openedOn = line;
            ++i;
            for (;;) {
                if (i >= size) {
                    *error = QCoreApplication::translate(
                                 "WordFiles", "Строка %1: кавычка, открывающая поле, не закрыта.")
                                 .arg(openedOn);
                    return false;
                }
                const QChar c = data[i];
                if (c == quote) {
                    if (i + 1 < size && data[i + 1] == quote) {
                        field += quote;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                if (c == QLatin1Char('\n'))
                    ++line;
                else if (c == QLatin1Char('\r') && !(i + 1 < size && data[i + 1] == QLatin1Char('\n')))
                    ++line;
                field += c;
                ++i;
            }
        }
        // The unquoted part, or what follows a closing quote: kept as it is,
        // the way spreadsheets read a stray quote.
        const qsizetype start = i;
        while (i < size && data[i] != separator && !isLineEnd(data[i]))
            ++i;
        field += QStringView(data + start, i - start);
        row.append(field);
        field.clear();
        if (i < size && data[i] == separator) {
            ++i;
            if (i == size || isLineEnd(data[i]))
                row.append(QString());
            else
                continue;
        }
        if (i < size && data[i] == QLatin1Char('\r'))
            ++i;
        if (i < size && data[i] == QLatin1Char('\n'))
            ++i;
        ++line;
        if (!blankRow(row))
            rows->append(row);
        row.clear();
        // Blank lines end no field.
        while (i < size && isLineEnd(data[i])) {
            if (data[i] == QLatin1Char('\r') && i + 1 < size && data[i + 1] == QLatin1Char('\n'))
                ++i;
            ++i;
            ++line;
        }
    }
    return true;
}

QChar guessSeparator(const QString& text)
{
    int comma = 0;
    int semicolon = 0;
    int tab = 0;
    bool quoted = false;
    for (QChar c : text) {
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (quoted)
            continue;
        else if (isLineEnd(c))
            break;
        else if (c == QLatin1Char(','))
            ++comma;
        else if (c == QLatin1Char(';'))
            ++semicolon;
        else if (c == QLatin1Char('\t'))
            ++tab;
    }
    if (tab > comma && tab >= semicolon)
        return QLatin1Char('\t');
    if (semicolon > comma)
        return QLatin1Char(';');
    return QLatin1Char(',');
}

bool isHeader(const QStringList& row)
{
    int labels = 0;
    for (const QString& field : row) {
        const QString label = field.trimmed().toLower();
        if (label.isEmpty())
            continue;
        if (!headerLabels().contains(label))
            return false;
        ++labels;
    }
    return labels > 0;
}

bool read(const QString& text, QChar separator, WordTable* table, QString* error)
{
    if (!parse(text, separator, &table->rows, error))
        return false;
    qsizetype width = 0;
    for (const QStringList& row : std::as_const(table->rows))
        width = qMax(width, row.size());
    if (!table->rows.isEmpty() && isHeader(table->rows.constFirst()))
        table->columns = table->rows.takeFirst();
    while (table->columns.size() < width)
        table->columns.append(QString());
    return true;
}

QString write(const QList<Unit>& units, QChar separator, const QString& lineEnd)
{
    const QChar quote = QLatin1Char('"');
    auto field = [&](const QString& value) -> QString {
        bool needsQuotes = value.startsWith(quote);
        for (QChar c : value) {
            if (c == separator || c == quote || isLineEnd(c)) {
                needsQuotes = true;
                break;
            }
        }
        if (!needsQuotes)
            return value;
        QString quoted = value;
        quoted.replace(quote, QStringLiteral("\"\""));
        return quote + quoted + quote;
    };
    QString text;
    text.reserve(units.size() * 24);
    for (const Unit& unit : units)
        text += field(unit.word) + separator + field(unit.translation) + lineEnd;
    return text;
}

} // namespace DelimitedText
