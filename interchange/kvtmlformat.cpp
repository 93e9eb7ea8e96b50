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
    if (!version.startsWith(QLatin1String("2"))) {
        *error = located(xml, QStringLiteral("kvtml"),
                         tr("версия «%1» не поддерживается, нужна KVTML 2.0.").arg(version));
        return false;
    }
    while (problem.isEmpty() && xml.readNextStartElement()) {
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

} // namespace

bool looksLikeXml(const QByteArray& data)
{
    QByteArray start = data.left(256);
    if (start.startsWith("\xEF\xBB\xBF"))
        start.remove(0, 3);
    start = start.trimmed();
    return start.startsWith("<?xml") || start.startsWith("<kvtml") || start.startsWith("<!DOCTYPE");
}

bool read(const QByteArray& data, WordTable* table, QString* error)
{
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
