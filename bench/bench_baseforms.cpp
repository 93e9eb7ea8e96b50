// How often the import of words from a text chooses the right base form,
// on three texts: bench/data/baseforms-text.txt (a story of about 4 000
// words written for this benchmark), and two that no one here wrote and
// Debian ships, the Apache licence 2.0 and the git-subtree manual. Their
// words are split as the words-from-text dialog splits them and reduced
// with the build's morphology; bench/data/baseforms-*expected.txt list the
// right base form of each distinct word, written by hand ("form base", or
// "form" alone when the form is its own base; a word the import leaves out
// is not listed). Prints the share right over the distinct words and over
// the running text, then every miss. A text missing on this system is
// passed over.

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

struct Sample
{
    const char* name;
    QString text;
    QString expected;
};

void measure(BaseForms& forms, const Sample& sample)
{
    const QString text = readText(sample.text);
    if (text.isEmpty()) {
        std::printf("%s: %s is not installed, passed over\n", sample.name, qPrintable(sample.text));
        return;
    }
    QHash<QString, QString> expected;
    const QStringList lines = readText(sample.expected).split(QLatin1Char('\n'));
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
        const QString got = forms.baseForm(word);
        const auto want = expected.constFind(lower);
        if (want == expected.cend()) {
            ++unlisted;
            misses.append(QStringLiteral("  %1: %2, not in the expected list").arg(word, got));
            continue;
        }
        if (got.toLower() == *want) {
            ++right;
            runningRight += occurrences.value(lower);
        } else {
            misses.append(QStringLiteral("  %1: %2, expected %3").arg(word, got, *want));
        }
    }
    std::printf("%s: base forms right: %d of %d distinct words (%.1f %%), %d of %d running words (%.1f %%)\n",
                sample.name, right, int(words.size()), 100.0 * right / qMax<qsizetype>(1, words.size()), runningRight,
                running, 100.0 * runningRight / qMax(1, running));
    if (unlisted > 0)
        std::printf("%d words are missing from the expected list\n", unlisted);
    for (const QString& miss : std::as_const(misses))
        std::printf("%s\n", qPrintable(miss));
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
    const QString data = QStringLiteral(VOCABRIUM_SOURCE_DIR "/bench/data/");
    const Sample samples[] = {
        {"story", data + QStringLiteral("baseforms-text.txt"), data + QStringLiteral("baseforms-expected.txt")},
        {"Apache licence", QStringLiteral("/usr/share/common-licenses/Apache-2.0"),
         data + QStringLiteral("baseforms-apache-expected.txt")},
        {"git-subtree manual", QStringLiteral("/usr/share/doc/git/contrib/subtree/git-subtree.txt"),
         data + QStringLiteral("baseforms-git-subtree-expected.txt")},
    };
    for (const Sample& sample : samples)
        measure(forms, sample);
    return 0;
}
