// Offline translation of every word of the shipped English dictionary from
// the installed dictd dictionaries (tools/deps.sh installs them). Prints the
// share of words that get a translation, the share whose translation shares
// a word with the shipped one, the time of the first lookup (which opens the
// dictionaries), the time per word after it, and the time of a 2000-word
// batch through the translator the window uses.
//
// Then, for each list of everyday words in bench/data/offline (one file per
// language: word, TAB, the Russian words a learner expects first, "|"
// between alternatives), the share whose first sense is one of those, and
// the time per word once the dictionaries and Hunspell are open. Spanish has
// no Russian dictionary and goes through English.
//
//   bench_offline [--misses] [DICTD_FOLDER...]   (default: /usr/share/dictd)

#include <memory>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTextStream>

#include <cstdio>

#include "config/settings.h"
#include "session/workspace.h"
#include "translation/offlinedictionaries.h"
#include "translation/translator.h"
#include "translation/translatorsettings.h"

namespace {

QSet<QString> wordsOf(const QString& text)
{
    static const QRegularExpression separators(QStringLiteral("[^\\p{L}-]+"));
    QSet<QString> words;
    for (QString word : text.toLower().split(separators, Qt::SkipEmptyParts)) {
        word.replace(QChar(0x451), QChar(0x435)); // ё and е are one letter to a reader
        words.insert(word);
    }
    return words;
}

// The words of the first sense of a translation: "хороший, добрый; хорошо"
// gives "хороший".
QSet<QString> firstSenseWords(const QString& translation)
{
    return wordsOf(translation.section(QLatin1Char(','), 0, 0).section(QLatin1Char(';'), 0, 0));
}

void everydayWords(OfflineDictionaries* dictionaries, const QStringList& folders, bool showMisses)
{
    const QDir lists(QStringLiteral(VOCABRIUM_SOURCE_DIR "/bench/data/offline"));
    const QStringList targets{QStringLiteral("en 85"), QStringLiteral("fr 85"), QStringLiteral("de 85"),
                              QStringLiteral("it 85"), QStringLiteral("es 70")};
    std::printf("\neveryday words, first sense right (to Russian):\n");
    for (const QString& target : targets) {
        const QString language = target.section(QLatin1Char(' '), 0, 0);
        QFile file(lists.filePath(language + QStringLiteral(".tsv")));
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            continue;
        QList<QPair<QString, QSet<QString>>> words;
        QTextStream in(&file);
        while (!in.atEnd()) {
            const QString line = in.readLine();
            if (line.startsWith(QLatin1Char('#')) || !line.contains(QLatin1Char('\t')))
                continue;
            QSet<QString> expected;
            for (const QString& sense : line.section(QLatin1Char('\t'), 1).split(QLatin1Char('|')))
                expected.unite(wordsOf(sense));
            words.append({line.section(QLatin1Char('\t'), 0, 0), expected});
        }
        // The first pass opens the dictionaries and the Hunspell pair; the
        // second is what every later word costs.
        QElapsedTimer clock;
        clock.start();
        for (const auto& word : std::as_const(words))
            dictionaries->translate(word.first, language, QStringLiteral("ru"), folders);
        const double firstPassMs = double(clock.nsecsElapsed()) / 1e6;
        int right = 0;
        bool indirect = false;
        clock.restart();
        for (const auto& word : std::as_const(words)) {
            const OfflineDictionaries::Answer answer =
                dictionaries->translate(word.first, language, QStringLiteral("ru"), folders);
            indirect = indirect || !answer.via.isEmpty();
            if (firstSenseWords(answer.translation).intersects(word.second))
                ++right;
            else if (showMisses)
                std::printf("  wrong\t%s\t%s\t%s\n", qPrintable(language), qPrintable(word.first),
                            qPrintable(answer.translation));
        }
        const double perWordMs = double(clock.nsecsElapsed()) / 1e6 / double(words.size());
        std::printf("  %s%s: %5.1f %% of %lld  (target >= %s %%), %.4f ms a word (target < 0.2 ms), "
                    "first pass %.0f ms\n",
                    qPrintable(language), indirect ? " (through English)" : "",
                    100.0 * right / double(words.size()), qint64(words.size()),
                    qPrintable(target.section(QLatin1Char(' '), 1)), perWordMs, firstPassMs);
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // The settings, words and dictionaries the program would build at start-up.
    auto workspace = std::make_unique<Workspace>();
    QStringList folders;
    bool showMisses = false;
    for (const QString& argument : QCoreApplication::arguments().mid(1)) {
        if (argument == QLatin1String("--misses"))
            showMisses = true;
        else
            folders.append(argument);
    }
    if (folders.isEmpty())
        folders = {QStringLiteral("/usr/share/dictd")};

    QList<QPair<QString, QString>> entries;
    QFile list(QStringLiteral(VOCABRIUM_SOURCE_DIR "/data/dictionaries/default.tsv"));
    if (!list.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "bench_offline: cannot read %s\n", qPrintable(list.fileName()));
        return 1;
    }
    QTextStream in(&list);
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (line.contains(QLatin1Char('\t')))
            entries.append({line.section(QLatin1Char('\t'), 0, 0).trimmed(),
                            line.section(QLatin1Char('\t'), 1).trimmed()});
    }

    OfflineDictionaries* dictionaries = (&workspace->dictionaries);
    const QString from = QStringLiteral("en");
    const QString to = QStringLiteral("ru");
    std::printf("dictionaries: %s\n",
                qPrintable(dictionaries->dictionaryNames(from, to, folders).join(QStringLiteral(", "))));

    QElapsedTimer clock;
    clock.start();
    QList<QString> translations;
    translations.append(dictionaries->translate(entries.first().first, from, to, folders).translation);
    const double firstMs = double(clock.nsecsElapsed()) / 1e6;
    clock.restart();
    for (int i = 1; i < entries.size(); ++i)
        translations.append(dictionaries->translate(entries.at(i).first, from, to, folders).translation);
    const double restMs = double(clock.nsecsElapsed()) / 1e6;

    int translated = 0;
    int agreeing = 0;
    for (int i = 0; i < entries.size(); ++i) {
        const QString& translation = translations.at(i);
        if (translation.isEmpty()) {
            if (showMisses)
                std::printf("miss\t%s\n", qPrintable(entries.at(i).first));
            continue;
        }
        ++translated;
        if (wordsOf(translation).intersects(wordsOf(entries.at(i).second)))
            ++agreeing;
        else if (showMisses)
            std::printf("differs\t%s\t%s\t%s\n", qPrintable(entries.at(i).first),
                        qPrintable(translation), qPrintable(entries.at(i).second));
    }
    const double total = double(entries.size());

    std::printf("%lld words of default.tsv, en -> ru\n", qint64(entries.size()));
    std::printf("translated:               %5.1f %%  (target >= 95 %%)\n", 100.0 * translated / total);
    std::printf("sharing a word with ours: %5.1f %%  (target >= 70 %%)\n", 100.0 * agreeing / total);
    std::printf("first lookup:             %7.2f ms (target < 100 ms)\n", firstMs);
    std::printf("per word after the first: %7.4f ms (target < 0.2 ms)\n", restMs / (total - 1));

    // Russian into English through the inverted index.
    clock.restart();
    const QString reverse = dictionaries->translate(QStringLiteral("кошка"), to, from, folders).translation;
    std::printf("ru -> en, first lookup (builds the inverted index): %.0f ms (кошка: %s)\n",
                double(clock.nsecsElapsed()) / 1e6, qPrintable(reverse));
    for (const char* word : {"дом", "время", "собака", "вода", "идти", "красивый", "книга"})
        std::printf("  %s: %s\n", word,
                    qPrintable(dictionaries->translate(QString::fromUtf8(word), to, from, folders).translation));
    clock.restart();
    int reverseTranslated = 0;
    for (const auto& entry : std::as_const(entries)) {
        const QString first = entry.second.section(QLatin1Char(','), 0, 0).trimmed();
        reverseTranslated += dictionaries->translate(first, to, from, folders).translation.isEmpty() ? 0 : 1;
    }
    std::printf("ru -> en, shipped translations: %.1f %% translated, %.4f ms a word\n",
                100.0 * reverseTranslated / total, double(clock.nsecsElapsed()) / 1e6 / total);

    // A batch of 2000 through the translator the window uses, answers queued.
    TranslatorSettings settings = workspace->translatorSettings;
    settings.engines = {TranslatorSettings::dictionariesEngine()};
    settings.dictionaryFolder.clear();
    settings.standardFolders = folders;
    workspace->translatorSettings = settings;
    workspace->settings.learningLanguage = from;
    workspace->settings.interfaceLanguage = to;
    QStringList batch;
    for (int i = 0; batch.size() < 2000; ++i) {
        const QString& word = entries.at(i % entries.size()).first;
        batch.append(i < entries.size() ? word : word.left(1).toUpper() + word.mid(1));
    }
    Translator translator(&workspace->settings, &workspace->translatorSettings, &workspace->dictionaries);
    int answers = 0;
    QEventLoop loop;
    QObject::connect(&translator, &Translator::translated, &loop, [&] {
        if (++answers == batch.size())
            loop.quit();
    });
    clock.restart();
    for (const QString& word : std::as_const(batch))
        translator.translate(word);
    if (answers < batch.size())
        loop.exec();
    std::printf("batch of %lld words through the translator: %lld ms\n", qint64(batch.size()),
                clock.elapsed());

    everydayWords(dictionaries, folders, showMisses);
    return 0;
}
