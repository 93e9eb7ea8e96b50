#include "interchange/wordfiles.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

#include "interchange/ankinotes.h"
#include "interchange/delimitedtext.h"
#include "interchange/textdecoding.h"
#include "model/boundedfile.h"
#include "model/dictionaryformat.h"

namespace WordFiles {

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("WordFiles", text);
}

QString suffixOf(const QString& fileName)
{
    return QFileInfo(fileName).suffix().toLower();
}

bool saveBytes(const QString& path, const QByteArray& bytes, QString* error)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    *error = tr("Не удалось записать файл %1: %2").arg(path, file.errorString());
    return false;
}

} // namespace

Format detect(const QString& fileName, const QByteArray& data)
{
    if (KvtmlFormat::looksLikeXml(data))
        return Format::Kvtml;
    const QString suffix = suffixOf(fileName);
    if (suffix == QLatin1String("kvtml") || suffix == QLatin1String("xml"))
        return Format::Kvtml;
    if (AnkiNotes::hasHeader(QString::fromUtf8(data.left(256))))
        return Format::Anki;
    if (suffix == QLatin1String("csv"))
        return Format::Csv;
    if (suffix == QLatin1String("tsv") || suffix == QLatin1String("tab") || suffix == QLatin1String("txt"))
        return Format::Tsv;
    const qsizetype lineEnd = data.indexOf('\n');
    return data.left(lineEnd < 0 ? data.size() : lineEnd).contains('\t') ? Format::Tsv : Format::Csv;
}

bool parse(const QString& fileName, const QByteArray& data, WordTable* table, QString* error)
{
    *table = WordTable();
    const Format format = detect(fileName, data);
    bool ok = false;
    if (format == Format::Kvtml) {
        ok = KvtmlFormat::read(data, table, error);
    } else {
        const QString text = TextDecoding::decode(data);
        const qsizetype zero = text.indexOf(QChar(0));
        if (zero >= 0) {
            *error = tr("Строка %1: в файле двоичные данные, а не текст.")
                         .arg(QStringView(text).left(zero).count(QLatin1Char('\n')) + 1);
            return false;
        }
        if (format == Format::Anki)
            ok = AnkiNotes::read(text, table, error);
        else if (format == Format::Csv)
            ok = DelimitedText::read(text, DelimitedText::guessSeparator(text), table, error);
        else
            ok = DelimitedText::read(text, QLatin1Char('\t'), table, error);
    }
    if (!ok)
        return false;
    const bool anyWord = std::any_of(table->rows.cbegin(), table->rows.cend(), [](const QStringList& row) {
        return std::any_of(row.cbegin(), row.cend(), [](const QString& field) { return !field.trimmed().isEmpty(); });
    });
    if (!anyWord) {
        *error = tr("В файле нет ни одного слова.");
        return false;
    }
    return true;
}

bool read(const QString& path, WordTable* table, QString* error)
{
    QByteArray data;
    QString problem;
    if (!BoundedFile::read(path, &data, &problem)) {
        *error = tr("Не удалось открыть файл %1: %2.").arg(path, problem);
        return false;
    }
    return parse(QFileInfo(path).fileName(), data, table, error);
}

bool exportFormat(const QString& path, Format* format)
{
    const QString suffix = suffixOf(path);
    if (suffix == QLatin1String("kvtml"))
        *format = Format::Kvtml;
    else if (suffix == QLatin1String("csv"))
        *format = Format::Csv;
    else if (suffix == QLatin1String("tsv") || suffix == QLatin1String("txt"))
        *format = Format::Tsv;
    else
        return false;
    return true;
}

QByteArray encode(Format format, const QList<Unit>& units, const KvtmlFormat::Language& wordLanguage,
                  const KvtmlFormat::Language& translationLanguage, const QString& title)
{
    switch (format) {
    case Format::Kvtml:
        return KvtmlFormat::write(units, wordLanguage, translationLanguage, title);
    case Format::Csv:
        return QByteArray("\xEF\xBB\xBF") + DelimitedText::write(units, QLatin1Char(','), QStringLiteral("\r\n")).toUtf8();
    case Format::Tsv:
    case Format::Anki:
        break;
    }
    return DelimitedText::write(units, QLatin1Char('\t'), QStringLiteral("\n")).toUtf8();
}

bool write(const QString& path, const QList<Unit>& units, const KvtmlFormat::Language& wordLanguage,
           const KvtmlFormat::Language& translationLanguage, QString* error)
{
    Format format;
    if (!exportFormat(path, &format)) {
        *error = tr("Неизвестный формат файла %1: нужно расширение .kvtml, .csv или .tsv.").arg(path);
        return false;
    }
    return saveBytes(path, encode(format, units, wordLanguage, translationLanguage, QFileInfo(path).completeBaseName()),
                     error);
}

bool writeDictionary(const QString& path, const QList<Unit>& units, QString* error)
{
    const QString problem = DictionaryFormat::sizeProblem(units);
    if (!problem.isEmpty()) {
        *error = tr("Словарь %1 не записан: %2.").arg(path, problem);
        return false;
    }
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && DictionaryFormat::writeUnits(&file, units) && file.commit())
        return true;
    *error = tr("Не удалось записать словарь %1: %2").arg(path, file.errorString());
    return false;
}

} // namespace WordFiles
