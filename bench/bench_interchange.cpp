// Times the import of a word list of 100 000 lines in each format the window
// imports: the file's bytes read into a table (parse), the entries taken from
// it and the ".dic" written to a temporary folder. Each figure is the best of
// three runs.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

#include "bench/benchtiming.h"
#include "interchange/wordfiles.h"

namespace {

constexpr int lineCount = 100000;

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
    return 0;
}
