#include "interchange/delimitedtext.h"

#include <QCoreApplication>
#include <QHash>
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

// Column labels, each with the thing it names: a header names different
// things ("word", "translation"), a word pair names one thing in two
// languages ("word", "слово").
const QHash<QString, QString>& headerLabels()
{
    static const QHash<QString, QString> labels = [] {
        const char* const groups[][8] = {
            {"word", "words", "term", "слово", "слова", "термин"},
            {"translation", "translations", "перевод", "переводы"},
            {"meaning", "definition", "значение", "определение"},
            {"front", "лицевая сторона"},
            {"back", "оборот", "обратная сторона"},
            {"question", "вопрос"},
            {"answer", "ответ"},
            {"foreign", "иностранный"},
            {"native", "родной"},
            {"source", "источник"},
            {"target", "цель"},
            {"transcription", "транскрипция"},
            {"example", "examples", "пример", "примеры"},
            {"comment", "комментарий"},
            {"note", "notes", "примечание", "примечания"},
            {"tags", "теги", "метки"},
        };
        QHash<QString, QString> hash;
        for (const auto& group : groups) {
            for (const char* label : group) {
                if (label)
                    hash.insert(QString::fromUtf8(label), QString::fromUtf8(group[0]));
            }
        }
        // A language is named by its code in English and in Russian.
        for (const auto& language : languages())
            hash.insert(language.second.toLower(), language.first);
        const char* const english[][2] = {
            {"english", "en"}, {"russian", "ru"}, {"german", "de"}, {"french", "fr"}, {"spanish", "es"},
            {"italian", "it"}, {"portuguese", "pt"}, {"polish", "pl"}, {"ukrainian", "uk"}, {"chinese", "zh-CHS"},
            {"japanese", "ja"}, {"turkish", "tr"}, {"dutch", "nl"}, {"swedish", "sv"}, {"finnish", "fi"},
        };
        for (const auto& pair : english)
            hash.insert(QString::fromLatin1(pair[0]), QString::fromLatin1(pair[1]));
        return hash;
    }();
    return labels;
}

// KWordQuiz starts its CSV with the document's title and author.
bool isDocumentLine(const QStringList& row)
{
    static const QSet<QString> labels{QStringLiteral("title:"), QStringLiteral("author:"),
                                      QStringLiteral("заголовок:"), QStringLiteral("название:"),
                                      QStringLiteral("автор:"), QStringLiteral("titel:"), QStringLiteral("autor:")};
    return row.size() <= 2 && labels.contains(row.value(0).trimmed().toLower());
}

// Field counts of the first records of text split at separator.
QList<int> fieldCounts(const QString& text, QChar separator, int records)
{
    QList<int> counts;
    int fields = 1;
    bool quoted = false;
    bool atFieldStart = true;
    bool blank = true;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size && counts.size() < records; ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < size && text.at(i + 1) == QLatin1Char('"'))
                    ++i;
                else
                    quoted = false;
            }
            continue;
        }
        if (c == QLatin1Char('"') && atFieldStart) {
            quoted = true;
            atFieldStart = false;
            blank = false;
        } else if (c == separator) {
            ++fields;
            atFieldStart = true;
        } else if (isLineEnd(c)) {
            if (!blank)
                counts.append(fields);
            fields = 1;
            atFieldStart = true;
            blank = true;
        } else {
            atFieldStart = false;
            if (!c.isSpace())
                blank = false;
        }
    }
    if (!blank && counts.size() < records)
        counts.append(fields);
    return counts;
}

} // namespace

bool parse(const QString& text, QChar separator, QList<QStringList>* rows, QString* error,
           int firstLine, Quoting quoting)
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
            const qsizetype opening = i;
            const int openedOn = line;
            bool closed = false;
            ++i;
            for (;;) {
                if (i >= size) {
                    if (quoting == Quoting::Lenient)
                        break;
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
                    closed = true;
                    break;
                }
                if (c == QLatin1Char('\n'))
                    ++line;
                else if (c == QLatin1Char('\r') && !(i + 1 < size && data[i + 1] == QLatin1Char('\n')))
                    ++line;
                field += c;
                ++i;
            }
            // Not a quoted field after all: the quote is part of the text.
            if (quoting == Quoting::Lenient
                && (!closed || !(i == size || data[i] == separator || isLineEnd(data[i])))) {
                i = opening;
                line = openedOn;
                field.clear();
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
    // A Russian translation often holds a comma ("её, ей"), so one line says
    // little; the separator is the one that gives most lines the same number
    // of fields, more than one. On a tie the rarer character inside words wins.
    const QChar candidates[] = {QLatin1Char('\t'), QLatin1Char(';'), QLatin1Char(',')};
    QChar best = QLatin1Char(',');
    int bestScore = 0;
    for (QChar candidate : candidates) {
        const QList<int> counts = fieldCounts(text, candidate, 200);
        QHash<int, int> histogram;
        for (int count : counts) {
            if (count > 1)
                ++histogram[count];
        }
        int score = 0;
        for (auto it = histogram.cbegin(); it != histogram.cend(); ++it)
            score = qMax(score, it.value());
        if (score > bestScore) {
            bestScore = score;
            best = candidate;
        }
    }
    return best;
}

bool isHeader(const QStringList& row)
{
    QSet<QString> named;
    for (const QString& field : row) {
        const QString label = field.trimmed().toLower();
        if (label.isEmpty())
            continue;
        const auto thing = headerLabels().constFind(label);
        if (thing == headerLabels().cend() || named.contains(*thing))
            return false;
        named.insert(*thing);
    }
    return !named.isEmpty();
}

bool read(const QString& text, QChar separator, WordTable* table, QString* error, Header header)
{
    const Quoting quoting = separator == QLatin1Char('\t') ? Quoting::Lenient : Quoting::Strict;
    if (!parse(text, separator, &table->rows, error, 1, quoting))
        return false;
    table->separator = separator;
    for (int i = 0; i < 2 && !table->rows.isEmpty() && isDocumentLine(table->rows.constFirst()); ++i)
        table->rows.removeFirst();
    qsizetype width = 0;
    for (const QStringList& row : std::as_const(table->rows))
        width = qMax(width, row.size());
    table->headerUncertain = !table->rows.isEmpty();
    const bool take = header == Header::Yes
        || (header == Header::Guess && !table->rows.isEmpty() && isHeader(table->rows.constFirst()));
    if (take && !table->rows.isEmpty()) {
        table->columns = table->rows.takeFirst();
        table->headerTaken = true;
    }
    while (table->columns.size() < width)
        table->columns.append(QString());
    return true;
}

QString write(const QList<Unit>& units, QChar separator, const QString& lineEnd)
{
    const QChar quote = QLatin1Char('"');
    const bool plain = separator == QLatin1Char('\t');
    auto field = [&](const QString& value) -> QString {
        if (plain) {
            QString flat = value;
            for (QChar& c : flat) {
                if (c == separator || isLineEnd(c))
                    c = QLatin1Char(' ');
            }
            return flat;
        }
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
