#include "interchange/wordfiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

#include "interchange/ankinotes.h"
#include "interchange/ankipackage.h"
#include "interchange/delimitedtext.h"
#include "interchange/textdecoding.h"
#include "model/boundedfile.h"
#include "model/dictionaryfiles.h"
#include "model/dictionaryformat.h"
#include "speech/dictionaryrecordings.h"

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
    *error = DictionaryFiles::writeFile(path, bytes);
    return error->isEmpty();
}

} // namespace

Format detect(const QString& fileName, const QByteArray& data)
{
    const QString suffix = suffixOf(fileName);
    if (suffix == QLatin1String("apkg") || AnkiPackage::looksLikePackage(data))
        return Format::AnkiPackage;
    if (KvtmlFormat::looksLikeXml(data))
        return Format::Kvtml;
    if (suffix == QLatin1String("kvtml") || suffix == QLatin1String("xml"))
        return Format::Kvtml;
    if (AnkiNotes::hasHeader(QString::fromUtf8(data.left(1024))))
        return Format::Anki;
    if (suffix == QLatin1String("csv"))
        return Format::Csv;
    if (suffix == QLatin1String("tsv") || suffix == QLatin1String("tab") || suffix == QLatin1String("txt"))
        return Format::Tsv;
    const qsizetype lineEnd = data.indexOf('\n');
    return data.left(lineEnd < 0 ? data.size() : lineEnd).contains('\t') ? Format::Tsv : Format::Csv;
}

bool parse(const QString& fileName, const QByteArray& data, WordTable* table, QString* error,
           const ReadOptions& options)
{
    *table = WordTable();
    const Format format = detect(fileName, data);
    bool ok = false;
    if (format == Format::AnkiPackage) {
        ok = AnkiPackage::read(data, table, error);
    } else if (format == Format::Kvtml) {
        ok = KvtmlFormat::read(data, table, error);
    } else {
        const QString text = TextDecoding::decode(data);
        const qsizetype zero = text.indexOf(QChar(0));
        if (zero >= 0) {
            *error = tr("Строка %1: в файле двоичные данные, а не текст.")
                         .arg(QStringView(text).left(zero).count(QLatin1Char('\n')) + 1);
            return false;
        }
        if (format == Format::Anki) {
            ok = AnkiNotes::read(text, table, error);
        } else if (options.separator.isNull() && format == Format::Tsv && suffixOf(fileName) == QLatin1String("txt")
                   && AnkiNotes::looksLikeOldExport(text)) {
            ok = AnkiNotes::read(text, table, error, true);
        } else {
            QChar separator = options.separator;
            if (separator.isNull())
                separator = format == Format::Csv ? DelimitedText::guessSeparator(text) : QLatin1Char('\t');
            ok = DelimitedText::read(text, separator, table, error, options.header);
        }
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

bool read(const QString& path, WordTable* table, QString* error, const ReadOptions& options)
{
    QByteArray data;
    QString problem;
    if (!BoundedFile::read(path, &data, &problem)) {
        *error = tr("Не удалось открыть файл %1: %2.").arg(path, problem);
        return false;
    }
    return parse(QFileInfo(path).fileName(), data, table, error, options);
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
                  const KvtmlFormat::Language& translationLanguage, const QString& title, QChar csvSeparator)
{
    switch (format) {
    case Format::Kvtml:
        return KvtmlFormat::write(units, wordLanguage, translationLanguage, title);
    case Format::Csv:
        return QByteArray("\xEF\xBB\xBF") + DelimitedText::write(units, csvSeparator, QStringLiteral("\r\n")).toUtf8();
    case Format::Tsv:
    case Format::Anki:
    case Format::AnkiPackage:
        break;
    }
    return DelimitedText::write(units, QLatin1Char('\t'), QStringLiteral("\n")).toUtf8();
}

bool write(const QString& path, const QList<Unit>& units, const KvtmlFormat::Language& wordLanguage,
           const KvtmlFormat::Language& translationLanguage, QString* error, QChar csvSeparator)
{
    Format format;
    if (!exportFormat(path, &format)) {
        *error = tr("Неизвестный формат файла %1: нужно расширение .kvtml, .csv или .tsv.").arg(path);
        return false;
    }
    return saveBytes(path,
                     encode(format, units, wordLanguage, translationLanguage, QFileInfo(path).completeBaseName(),
                            csvSeparator),
                     error);
}

bool writeDictionary(const QString& path, const QList<Unit>& units, QString* error)
{
    const QString problem = DictionaryFormat::sizeProblem(units);
    if (!problem.isEmpty()) {
        *error = tr("Словарь %1 не записан: %2.").arg(path, problem);
        return false;
    }
    return saveBytes(path, DictionaryFormat::encodeUnits(units), error);
}

QString recordingFolder(const QString& dictionaryPath)
{
    return DictionaryRecordings::folder(dictionaryPath);
}

int writeRecordings(const QString& dictionaryPath, const WordTable& table, int wordColumn, QString* error)
{
    QDir folder(recordingFolder(dictionaryPath));
    // Recordings of an earlier dictionary of this name belong to other words.
    if (folder.exists() && !folder.removeRecursively()) {
        *error = tr("Не удалось удалить старые записи произношения в %1.").arg(folder.path());
        return -1;
    }
    const QList<QPair<QString, QString>> recordings = table.wordRecordings(wordColumn);
    if (recordings.isEmpty())
        return 0;
    if (!QDir().mkpath(folder.path())) {
        *error = tr("Не удалось создать папку %1.").arg(folder.path());
        return -1;
    }
    QSet<QString> done;
    int written = 0;
    for (const auto& [word, media] : recordings) {
        const auto bytes = table.recordings.constFind(media);
        if (bytes == table.recordings.cend() || done.contains(word) || word.contains(QLatin1Char('/'))
            || word.contains(QLatin1Char('\\')) || word.contains(QChar(0)))
            continue;
        done.insert(word);
        const QString suffix = QFileInfo(media).suffix().toLower();
        QString ignored;
        if (saveBytes(folder.filePath(word + QLatin1Char('.') + suffix), *bytes, &ignored))
            ++written;
    }
    return written;
}

} // namespace WordFiles
