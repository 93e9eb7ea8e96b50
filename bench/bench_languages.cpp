// Detects the language of dictionaries cut from the site's lists and the
// default dictionary, at several sizes, and prints the share detected right
// and sure, and the time to detect one of 1 000 words.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>

#include <cstdio>

#include "benchtiming.h"
#include "languages/languagedetector.h"

namespace {

struct Source
{
    QString language;
    QStringList words;
};

Source readTsv(const QString& path)
{
    Source source{QStringLiteral("en"), {}};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return source;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("# language:")))
            source.language = line.mid(11).trimmed();
        else if (!line.startsWith(QLatin1Char('#')) && !line.trimmed().isEmpty())
            source.words.append(line.section(QLatin1Char('\t'), 0, 0));
    }
    return source;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QList<Source> sources;
    const QDir site(QStringLiteral(VOCABRIUM_SOURCE_DIR "/site/dictionaries"));
    for (const QString& name : site.entryList({QStringLiteral("*.tsv")}, QDir::Files, QDir::Name))
        sources.append(readTsv(site.filePath(name)));
    sources.append(readTsv(QStringLiteral(VOCABRIUM_SOURCE_DIR "/data/dictionaries/default.tsv")));

    LanguageDetector detector;
    QElapsedTimer loading;
    loading.start();
    detector.load();
    std::printf("Hunspell dictionaries: %s, loaded in %.0f ms\n",
                qPrintable(detector.available().join(QLatin1Char(' '))), double(loading.nsecsElapsed()) / 1e6);

    int total = 0;
    int right = 0;
    int sure = 0;
    int sureWrong = 0;
    for (int size : {20, 50, 200, 1000}) {
        int sizeTotal = 0;
        int sizeRight = 0;
        for (const Source& source : std::as_const(sources)) {
            // Consecutive slices: a dictionary is a run of related words.
            for (qsizetype from = 0; from + size <= source.words.size(); from += qMax(size, 100)) {
                const LanguageDetector::Guess guess = detector.detect(source.words.mid(from, size));
                ++sizeTotal;
                sizeRight += guess.language == source.language;
                sure += guess.sure;
                sureWrong += guess.sure && guess.language != source.language;
            }
        }
        std::printf("%4d words: %d dictionaries, %.1f %% right\n", size, sizeTotal, 100.0 * sizeRight / qMax(1, sizeTotal));
        total += sizeTotal;
        right += sizeRight;
    }
    std::printf("all: %d dictionaries, %.1f %% right, %.1f %% sure, %d sure and wrong\n", total,
                100.0 * right / qMax(1, total), 100.0 * sure / qMax(1, total), sureWrong);

    for (const Source& source : std::as_const(sources)) {
        if (source.words.size() < 1000)
            continue;
        const QStringList thousand = source.words.mid(0, 1000);
        const double ms = bestOf(5, [&] { detector.detect(thousand); });
        std::printf("detecting a 1000-word dictionary: %.1f ms\n", ms);
        break;
    }
    return 0;
}
