// How often the import of words from a text chooses the right base form:
// the words of bench/data/baseforms-text.txt (a story of about 4 000
// words) are split as the words-from-text dialog splits them and reduced
// with the build's morphology; bench/data/baseforms-expected.txt lists the
// right base form of each, written by hand ("form base", or "form" alone
// when the form is its own base). Prints the share right over the distinct
// words and over the running text, then every miss.

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QRegularExpression>

#include <cstdio>

#include "editing/textsplitter.h"
#include "morphology/baseforms.h"

namespace {

QString readText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString folder = QStringLiteral(VOCABRIUM_BUILD_DIR "/Morphologic");
    BaseForms forms(folder + QStringLiteral("/default.aff"), folder + QStringLiteral("/default.dic"), folder);
    if (!forms.hasMorphology() || forms.exceptionCount() == 0) {
        std::fprintf(stderr, "The build has no morphology or no exception lists (hunspell-en-us, wordnet-base)\n");
        return 1;
    }
    const QString text = readText(QStringLiteral(VOCABRIUM_SOURCE_DIR "/bench/data/baseforms-text.txt"));
    QHash<QString, QString> expected;
    const QStringList lines = readText(QStringLiteral(VOCABRIUM_SOURCE_DIR "/bench/data/baseforms-expected.txt"))
                                  .split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        const QStringList fields = line.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (fields.isEmpty() || fields.first().startsWith(QLatin1Char('#')))
            continue;
        expected.insert(fields.first().toLower(), fields.value(1, fields.first()).toLower());
    }

    // Running words: every occurrence, split by the same rules.
    QHash<QString, int> occurrences;
    int running = 0;
    for (const QString& chunk : text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)) {
        for (const QString& word : TextSplitter::split(chunk)) {
            ++occurrences[word.toLower()];
            ++running;
        }
    }

    const QStringList words = TextSplitter::split(text);
    int right = 0;
    int runningRight = 0;
    int unlisted = 0;
    QStringList misses;
    for (const QString& word : words) {
        const QString lower = word.toLower();
        const auto want = expected.constFind(lower);
        if (want == expected.cend()) {
            ++unlisted;
            misses.append(QStringLiteral("  %1: not in the expected list").arg(word));
            continue;
        }
        const QString got = forms.baseForm(word);
        if (got.toLower() == *want) {
            ++right;
            runningRight += occurrences.value(lower);
        } else {
            misses.append(QStringLiteral("  %1: %2, expected %3").arg(word, got, *want));
        }
    }
    std::printf("base forms right: %d of %d distinct words (%.1f %%), %d of %d running words (%.1f %%)\n",
                right, int(words.size()), 100.0 * right / qMax<qsizetype>(1, words.size()), runningRight, running,
                100.0 * runningRight / qMax(1, running));
    if (unlisted > 0)
        std::printf("%d words are missing from the expected list\n", unlisted);
    for (const QString& miss : std::as_const(misses))
        std::printf("%s\n", qPrintable(miss));
    return 0;
}
