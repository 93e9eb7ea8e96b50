// Speech for words without a recording. Prints the time of the first word
// after start-up (which starts the espeak-ng library), the time per word
// after it in each language of the transcription tables (median, 95th
// percentile, longest), and how long pronounceAndFinish() holds the window's
// thread for a word that still has to be synthesized.
//
//   bench_speech [WORDS_PER_LANGUAGE]   (default 300)

#include <memory>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QTextStream>

#include <algorithm>
#include <cstdio>

#include "config/settings.h"
#include "session/workspace.h"
#include "model/units.h"
#include "speech/espeaksynthesizer.h"
#include "speech/speaker.h"

namespace {

QStringList wordsOf(const QString& table, int count)
{
    QStringList words;
    QFile file(QStringLiteral(VOCABRIUM_SOURCE_DIR "/data/transcriptions/") + table + QStringLiteral(".tsv"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return words;
    QTextStream in(&file);
    while (!in.atEnd() && words.size() < count) {
        const QString word = in.readLine().section(QLatin1Char('\t'), 0, 0).trimmed();
        if (!word.isEmpty() && !word.startsWith(QLatin1Char('#')))
            words.append(word);
    }
    return words;
}

double milliseconds(qint64 nanoseconds)
{
    return double(nanoseconds) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    auto workspace = std::make_unique<Workspace>();
    const int perLanguage = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 300;
    const auto synthesizer = EspeakSynthesizer::shared();

    QElapsedTimer clock;
    clock.start();
    QString error;
    const QByteArray first = synthesizer->synthesize(QStringLiteral("house"), QStringLiteral("en"), &error);
    std::printf("first word after start-up: %.1f ms (%lld bytes of WAV)%s\n", milliseconds(clock.nsecsElapsed()),
                static_cast<long long>(first.size()), first.isEmpty() ? qPrintable(QStringLiteral(", failed: ") + error) : "");

    const QList<QPair<QString, QString>> languages = {{QStringLiteral("en"), QStringLiteral("English")},
                                                      {QStringLiteral("fr"), QStringLiteral("French")},
                                                      {QStringLiteral("de"), QStringLiteral("German")},
                                                      {QStringLiteral("es"), QStringLiteral("Spanish")},
                                                      {QStringLiteral("it"), QStringLiteral("Italian")}};
    for (const auto& [code, table] : languages) {
        const QStringList words = wordsOf(table, perLanguage);
        QList<qint64> times;
        int failed = 0;
        for (const QString& word : words) {
            clock.restart();
            if (synthesizer->synthesize(word, code, nullptr).isEmpty())
                ++failed;
            times.append(clock.nsecsElapsed());
        }
        if (times.isEmpty())
            continue;
        std::sort(times.begin(), times.end());
        std::printf("%s: %lld words, median %.1f ms, 95%% %.1f ms, longest %.1f ms, failed %d\n", qPrintable(code),
                    static_cast<long long>(times.size()), milliseconds(times.at(times.size() / 2)),
                    milliseconds(times.at(times.size() * 95 / 100)), milliseconds(times.last()), failed);
    }

    // The window's side: the call only starts the work.
    workspace->settings.speakEnabled = true;
    workspace->settings.learningLanguage = QStringLiteral("de");
    const QStringList words = wordsOf(QStringLiteral("German"), 100);
    QList<Unit> units;
    for (const QString& word : words)
        units.append({word, QStringLiteral("-")});
    (&workspace->words.units)->setUnits(units);
    Speaker speaker(&workspace->words.units, &workspace->settings);
    qint64 longest = 0;
    for (int key = 0; key < units.size(); ++key) {
        clock.restart();
        speaker.pronounceAndFinish(key);
        longest = std::max(longest, clock.nsecsElapsed());
        speaker.cancel();
    }
    std::printf("pronounceAndFinish() on the window's thread, uncached word: longest %.2f ms of %lld calls\n",
                milliseconds(longest), static_cast<long long>(units.size()));
    return 0;
}
