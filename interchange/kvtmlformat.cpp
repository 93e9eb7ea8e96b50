#include "interchange/kvtmlformat.h"

#include <QCoreApplication>
#include <QMap>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace KvtmlFormat {

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("WordFiles", text);
}

// "line 12, element <entry>: ..." for whatever the reader stopped at.
QString located(const QXmlStreamReader& xml, const QString& element, const QString& problem)
{
    return tr("Строка %1, элемент <%2>: %3").arg(xml.lineNumber()).arg(element, problem);
}

struct Reader
{
    explicit Reader(const QByteArray& data)
        : xml(data)
    {
    }

    bool run(WordTable* table, QString* error);
    void readIdentifiers();
    void readEntries();
    void readVersionOneEntries();
    bool idOf(QString* id);

    QXmlStreamReader xml;
    QString problem;
    QString problemElement;
    qint64 problemLine = 0;
    // Identifier id → language name; columns come in the order of the ids.
    QMap<int, QString> names;
    QList<QMap<int, QString>> entries;
};

bool Reader::idOf(QString* id)
{
    *id = xml.attributes().value(QLatin1String("id")).toString();
    bool ok = false;
    const int number = id->toInt(&ok);
    if (!ok || number < 0) {
        problemElement = xml.name().toString();
        problemLine = xml.lineNumber();
        problem = tr("нет числового атрибута id.");
        return false;
    }
    return true;
}

void Reader::readIdentifiers()
{
    while (problem.isEmpty() && xml.readNextStartElement()) {
        if (xml.name() != QLatin1String("identifier")) {
            xml.skipCurrentElement();
            continue;
        }
        QString id;
        if (!idOf(&id))
            return;
        QString name;
        QString locale;
        while (xml.readNextStartElement()) {
            if (xml.name() == QLatin1String("name"))
                name = xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
            else if (xml.name() == QLatin1String("locale"))
                locale = xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
            else
                xml.skipCurrentElement();
        }
        names.insert(id.toInt(), name.isEmpty() ? locale : name);
    }
}

void Reader::readEntries()
{
    while (problem.isEmpty() && xml.readNextStartElement()) {
        if (xml.name() != QLatin1String("entry")) {
            xml.skipCurrentElement();
            continue;
        }
        QMap<int, QString> texts;
        while (problem.isEmpty() && xml.readNextStartElement()) {
            if (xml.name() != QLatin1String("translation")) {
                xml.skipCurrentElement();
                continue;
            }
            QString id;
            if (!idOf(&id))
                return;
            while (xml.readNextStartElement()) {
                if (xml.name() == QLatin1String("text"))
                    texts.insert(id.toInt(), xml.readElementText(QXmlStreamReader::IncludeChildElements));
                else
                    xml.skipCurrentElement();
            }
        }
        entries.append(texts);
    }
}

// KVTML 1.0 (KWordQuiz before 0.9, KVocTrain): entries <e> directly under
// the root, the original in <o>, each translation in a <t>, the language in
// the attribute l of the first entry's elements.
void Reader::readVersionOneEntries()
{
    while (xml.readNextStartElement()) {
        if (xml.name() != QLatin1String("e")) {
            xml.skipCurrentElement();
            continue;
        }
        QMap<int, QString> texts;
        int column = 1;
        while (xml.readNextStartElement()) {
            const bool original = xml.name() == QLatin1String("o");
            if (!original && xml.name() != QLatin1String("t")) {
                xml.skipCurrentElement();
                continue;
            }
            const int id = original ? 0 : column++;
            const QString language = xml.attributes().value(QLatin1String("l")).toString();
            if (!language.isEmpty() && !names.contains(id))
                names.insert(id, language);
            texts.insert(id, xml.readElementText(QXmlStreamReader::SkipChildElements));
        }
        entries.append(texts);
    }
}

bool Reader::run(WordTable* table, QString* error)
{
    if (!xml.readNextStartElement()) {
        *error = xml.hasError() ? tr("Строка %1, столбец %2: %3")
                                      .arg(xml.lineNumber())
                                      .arg(xml.columnNumber())
                                      .arg(xml.errorString())
                                : tr("В файле нет XML-элементов.");
        return false;
    }
    if (xml.name() != QLatin1String("kvtml")) {
        *error = located(xml, xml.name().toString(), tr("это не документ KVTML."));
        return false;
    }
    const QString version = xml.attributes().value(QLatin1String("version")).toString();
    // KVTML 1.0 carries no version attribute at all.
    if (version.isEmpty() || version.startsWith(QLatin1String("1"))) {
        readVersionOneEntries();
    } else if (!version.startsWith(QLatin1String("2"))) {
        *error = located(xml, QStringLiteral("kvtml"),
                         tr("версия «%1» не поддерживается, нужна KVTML 1.0 или 2.0.").arg(version));
        return false;
    }
    while (!version.isEmpty() && !version.startsWith(QLatin1String("1")) && problem.isEmpty()
           && xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("identifiers"))
            readIdentifiers();
        else if (xml.name() == QLatin1String("entries"))
            readEntries();
        else
            xml.skipCurrentElement();
    }
    if (!problem.isEmpty()) {
        *error = tr("Строка %1, элемент <%2>: %3").arg(problemLine).arg(problemElement, problem);
        return false;
    }
    if (xml.hasError()) {
        *error = tr("Строка %1, столбец %2: %3")
                     .arg(xml.lineNumber())
                     .arg(xml.columnNumber())
                     .arg(xml.errorString());
        return false;
    }

    // Every language an identifier names or a translation uses gets a column.
    QMap<int, QString> columns = names;
    for (const auto& texts : std::as_const(entries)) {
        for (auto it = texts.cbegin(); it != texts.cend(); ++it) {
            if (!columns.contains(it.key()))
                columns.insert(it.key(), QString());
        }
    }
    QMap<int, int> index;
    for (auto it = columns.cbegin(); it != columns.cend(); ++it) {
        index.insert(it.key(), int(table->columns.size()));
        table->columns.append(it.value());
    }
    table->rows.reserve(entries.size());
    for (const auto& texts : std::as_const(entries)) {
        QStringList row(table->columns.size());
        for (auto it = texts.cbegin(); it != texts.cend(); ++it)
            row[index.value(it.key())] = it.value();
        table->rows.append(row);
    }
    return true;
}

// XML 1.0 cannot hold control characters other than tab and line breaks,
// and a dictionary may: they are left out rather than make the file unreadable.
QString xmlSafe(const QString& text)
{
    QString safe = text;
    safe.removeIf([](QChar c) {
        return (c.unicode() < 0x20 && c != QLatin1Char('\t') && c != QLatin1Char('\n') && c != QLatin1Char('\r'))
            || c.unicode() == 0xFFFE || c.unicode() == 0xFFFF;
    });
    return safe;
}

// The offset of the first byte that breaks UTF-8 in data, or -1.
qsizetype invalidUtf8(const QByteArray& data)
{
    const auto* bytes = reinterpret_cast<const uchar*>(data.constData());
    const qsizetype size = data.size();
    qsizetype i = 0;
    while (i < size) {
        const uchar b = bytes[i];
        int follow = 0;
        uint code = 0;
        if (b < 0x80) {
            ++i;
            continue;
        } else if (b >= 0xC2 && b <= 0xDF) {
            follow = 1;
            code = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
            follow = 2;
            code = b & 0x0F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            follow = 3;
            code = b & 0x07;
        } else {
            return i;
        }
        if (i + follow >= size)
            return i;
        for (int k = 1; k <= follow; ++k) {
            if ((bytes[i + k] & 0xC0) != 0x80)
                return i;
            code = (code << 6) | (bytes[i + k] & 0x3F);
        }
        if ((follow == 2 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF)))
            || (follow == 3 && (code < 0x10000 || code > 0x10FFFF)))
            return i;
        i += follow + 1;
    }
    return -1;
}

// Whether the document is in UTF-8: no byte-order mark of UTF-16 and no
// other encoding declared.
bool declaresUtf8(const QByteArray& data)
{
    if (data.startsWith("\xFF\xFE") || data.startsWith("\xFE\xFF"))
        return false;
    const qsizetype end = data.indexOf("?>");
    if (!data.trimmed().startsWith("<?xml") || end < 0)
        return !data.startsWith("\xFF\xFE");
    const QByteArray declaration = data.left(end).toLower();
    const qsizetype at = declaration.indexOf("encoding");
    if (at < 0)
        return true;
    const QByteArray rest = declaration.mid(at + 8);
    return rest.contains("utf-8") || rest.contains("utf8");
}

// A file that says UTF-8 but was saved with a few Latin-1 letters in it
// ("bj\xF6rn" in Debian's Swedish animals): each such letter stands alone
// between ASCII bytes, which text in UTF-8 or in a Cyrillic code page never
// does, and becomes the letter it was meant to be. Anything else stays for
// the error message.
QByteArray withLatin1Repaired(const QByteArray& data)
{
    QByteArray repaired;
    repaired.reserve(data.size() + 64);
    qsizetype done = 0;
    qsizetype offset = 0;
    for (;;) {
        const QByteArray rest = QByteArray::fromRawData(data.constData() + offset, data.size() - offset);
        const qsizetype found = invalidUtf8(rest);
        if (found < 0)
            break;
        const qsizetype bad = offset + found;
        const uchar byte = uchar(data.at(bad));
        const bool alone = byte >= 0xA0 && (bad == 0 || uchar(data.at(bad - 1)) < 0x80)
            && (bad + 1 == data.size() || uchar(data.at(bad + 1)) < 0x80);
        if (!alone)
            return data;
        repaired += data.mid(done, bad - done);
        repaired += QString(QChar(byte)).toUtf8();
        done = bad + 1;
        offset = bad + 1;
    }
    repaired += data.mid(done);
    return repaired;
}

} // namespace

bool looksLikeXml(const QByteArray& data)
{
    QByteArray start = data.left(4096);
    if (start.startsWith("\xEF\xBB\xBF"))
        start.remove(0, 3);
    const qsizetype lineEnd = start.indexOf('\n');
    const QByteArray first = start.left(lineEnd < 0 ? start.size() : lineEnd).trimmed();
    // A word list whose first word is "<?xml" has a separator on that line
    // and ends with its translation, not with the end of a tag.
    if (first.contains('\t') || !first.endsWith('>'))
        return false;
    return first.startsWith("<?xml") || first.startsWith("<kvtml") || first.startsWith("<!DOCTYPE");
}

bool read(const QByteArray& source, WordTable* table, QString* error)
{
    QByteArray data = source;
    if (declaresUtf8(data) && invalidUtf8(data) >= 0)
        data = withLatin1Repaired(data);
    if (declaresUtf8(data)) {
        // The stream reader reports a bad byte against the line it decodes
        // in chunks from, not the byte's own; tell the learner where it is.
        const qsizetype bad = invalidUtf8(data);
        if (bad >= 0) {
            const qsizetype lineStart = data.lastIndexOf('\n', bad) + 1;
            const QByteArray before = data.left(bad);
            *error = tr("Строка %1, столбец %2: байт 0x%3 не может стоять в тексте UTF-8.")
                         .arg(before.count('\n') + 1)
                         .arg(QString::fromUtf8(data.mid(lineStart, bad - lineStart)).size() + 1)
                         .arg(uchar(data.at(bad)), 2, 16, QLatin1Char('0'));
            return false;
        }
    }
    Reader reader(data);
    return reader.run(table, error);
}

QByteArray write(const QList<Unit>& units, const Language& wordLanguage,
                 const Language& translationLanguage, const QString& title)
{
    QByteArray data;
    QXmlStreamWriter xml(&data);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(1);
    xml.writeStartDocument();
    xml.writeDTD(QStringLiteral("<!DOCTYPE kvtml PUBLIC \"kvtml2.dtd\" \"http://edu.kde.org/kvtml/kvtml2.dtd\">"));
    xml.writeStartElement(QStringLiteral("kvtml"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("2.0"));

    xml.writeStartElement(QStringLiteral("information"));
    xml.writeTextElement(QStringLiteral("generator"), QStringLiteral("Vocabrium 1.2"));
    xml.writeTextElement(QStringLiteral("title"), xmlSafe(title));
    xml.writeEndElement();

    xml.writeStartElement(QStringLiteral("identifiers"));
    const Language languages[] = {wordLanguage, translationLanguage};
    for (int id = 0; id < 2; ++id) {
        xml.writeStartElement(QStringLiteral("identifier"));
        xml.writeAttribute(QStringLiteral("id"), QString::number(id));
        xml.writeTextElement(QStringLiteral("name"), languages[id].name);
        xml.writeTextElement(QStringLiteral("locale"), languages[id].locale);
        xml.writeEndElement();
    }
    xml.writeEndElement();

    xml.writeStartElement(QStringLiteral("entries"));
    for (qsizetype i = 0; i < units.size(); ++i) {
        xml.writeStartElement(QStringLiteral("entry"));
        xml.writeAttribute(QStringLiteral("id"), QString::number(i));
        const QString texts[] = {xmlSafe(units.at(i).word), xmlSafe(units.at(i).translation)};
        for (int id = 0; id < 2; ++id) {
            xml.writeStartElement(QStringLiteral("translation"));
            xml.writeAttribute(QStringLiteral("id"), QString::number(id));
            xml.writeTextElement(QStringLiteral("text"), texts[id]);
            xml.writeEndElement();
        }
        xml.writeEndElement();
    }
    xml.writeEndElement();

    xml.writeEndElement();
    xml.writeEndDocument();
    return data;
}

} // namespace KvtmlFormat
