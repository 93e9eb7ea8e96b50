// Times the import of a word list of 100 000 lines in each format the window
// imports: the file's bytes read into a table (parse), the entries taken from
// it and the ".dic" written to a temporary folder; then the import of an Anki
// package of 20 000 notes with HTML and 200 recordings in both layouts
// (the target is under 2 s). Each figure is the best of three runs.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

#include "bench/benchtiming.h"
#include "interchange/wordfiles.h"
#include "tests/ankitestpackage.h"

namespace {

constexpr int lineCount = 100000;
constexpr int noteCount = 20000;

QList<Unit> sampleUnits()
{
    QList<Unit> units;
    units.reserve(lineCount);
    for (int i = 0; i < lineCount; ++i) {
        const QString n = QString::number(i);
        // Every tenth entry needs quoting in CSV: a comma and a quote inside.
        units.append(i % 10 == 0 ? Unit{QStringLiteral("word ") + n, QStringLiteral("слово, \"") + n + QLatin1Char('"')}
                                 : Unit{QStringLiteral("word") + n, QStringLiteral("перевод") + n});
    }
    return units;
}

QByteArray ankiNotes(const QList<Unit>& units)
{
    QByteArray data = "#separator:tab\n#html:true\n#tags column:3\n";
    for (const Unit& unit : units)
        data += "<b>" + unit.word.toUtf8() + "</b>\t" + unit.translation.toUtf8() + "&nbsp;<br>\ttag\n";
    return data;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QList<Unit> units = sampleUnits();
    const KvtmlFormat::Language english{QStringLiteral("Английский"), QStringLiteral("en")};
    const KvtmlFormat::Language russian{QStringLiteral("Русский"), QStringLiteral("ru")};
    const struct
    {
        const char* label;
        const char* name;
        QByteArray data;
    } samples[] = {
        {"tab-separated", "words.tsv", WordFiles::encode(WordFiles::Format::Tsv, units, english, russian, {})},
        {"comma-separated", "words.csv", WordFiles::encode(WordFiles::Format::Csv, units, english, russian, {})},
        {"KVTML 2.0", "words.kvtml", WordFiles::encode(WordFiles::Format::Kvtml, units, english, russian, {})},
        {"Anki notes", "words.txt", ankiNotes(units)},
    };
    std::printf("importing %d entries (best of 3):\n", lineCount);
    for (const auto& sample : samples) {
        int imported = 0;
        QString error;
        const double parse = bestOf(3, [&] {
            WordTable table;
            WordFiles::parse(QString::fromLatin1(sample.name), sample.data, &table, &error);
        });
        const double whole = bestOf(3, [&] {
            WordTable table;
            if (!WordFiles::parse(QString::fromLatin1(sample.name), sample.data, &table, &error))
                return;
            const QList<Unit> result = table.units();
            imported = int(result.size());
            WordFiles::writeDictionary(dir.filePath(QStringLiteral("out.dic")), result, &error);
        });
        std::printf("  %-16s %6.1f MB: parse %7.1f ms, import into .dic %7.1f ms (%d entries)%s\n", sample.label,
                    sample.data.size() / 1e6, parse, whole, imported,
                    error.isEmpty() ? "" : qPrintable(QStringLiteral(" ERROR ") + error));
    }

    QList<AnkiTestPackage::Note> notes;
    QList<QPair<QString, QByteArray>> media;
    notes.reserve(noteCount);
    for (int i = 0; i < noteCount; ++i) {
        const QString n = QString::number(i);
        QString front = QStringLiteral("ph<b>o</b>to&nbsp;") + n;
        if (i % 100 == 0) {
            front += QStringLiteral("[sound:word") + n + QStringLiteral(".mp3]");
            media.append({QStringLiteral("word") + n + QStringLiteral(".mp3"), QByteArray(8000, char(i))});
        }
        notes.append({1, {front, QStringLiteral("<div>фото&mdash;") + n + QStringLiteral("</div>"), QStringLiteral("пример")}});
    }
    std::printf("importing an Anki package of %d notes, %d recordings (best of 3, target under 2000 ms):\n", noteCount,
                int(media.size()));
    for (const auto layout : {AnkiTestPackage::Layout::Legacy, AnkiTestPackage::Layout::Latest}) {
        const QString package = dir.filePath(QStringLiteral("deck.apkg"));
        AnkiTestPackage::write(package, {{1, {QStringLiteral("Front"), QStringLiteral("Back"), QStringLiteral("Example")}}},
                               notes, media, layout);
        int imported = 0;
        int recordings = 0;
        QString error;
        const double whole = bestOf(3, [&] {
            WordTable table;
            if (!WordFiles::read(package, &table, &error))
                return;
            const QList<Unit> result = table.units();
            imported = int(result.size());
            const QString target = dir.filePath(QStringLiteral("deck.dic"));
            WordFiles::writeDictionary(target, result, &error);
            recordings = WordFiles::writeRecordings(target, table, 0, &error);
        });
        std::printf("  %-18s %5.1f MB: import into .dic with recordings %7.1f ms (%d entries, %d recordings)%s\n",
                    layout == AnkiTestPackage::Layout::Legacy ? "collection.anki2" : "collection.anki21b",
                    QFileInfo(package).size() / 1e6, whole, imported, recordings,
                    error.isEmpty() ? "" : qPrintable(QStringLiteral(" ERROR ") + error));
    }
    return 0;
}
