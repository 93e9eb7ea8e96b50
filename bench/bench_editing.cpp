// Times the dictionary editor and the import of words from a text:
//   - opening the editor on 20 000 words (list built and shown, offscreen),
//   - ordering those 20 000 words alphabetically (the rebuilt list included),
//   - the word list of a pasted text of 50 000 words against a dictionary of
//     100 000 words and a learned-words list (split, known and learned words
//     left out), without and with reduction to base forms.
// Words come from the build's English morphological dictionary where it is
// there, so the stemming figure reflects real words; each figure is the best
// of three runs.

#include <memory>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>

#include "bench/benchtiming.h"
#include "session/workspace.h"
#include "config/settings.h"
#include "editing/editordialog.h"
#include "editing/textsplitter.h"
#include "editing/unitsmaker.h"
#include "model/random.h"
#include "model/statuses.h"
#include "model/units.h"

namespace {

const QString affixFile = QStringLiteral(VOCABRIUM_BUILD_DIR "/Morphologic/default.aff");
const QString dictionaryFile = QStringLiteral(VOCABRIUM_BUILD_DIR "/Morphologic/default.dic");

// A letters-only word for \a n, never a real English word of this length.
QString syntheticWord(int n)
{
    QString word = QStringLiteral("qz");
    do {
        word += QChar(u'a' + n % 26);
        n /= 26;
    } while (n > 0);
    return word;
}

QStringList englishWords()
{
    QStringList words;
    QFile file(dictionaryFile);
    if (!file.open(QIODevice::ReadOnly))
        return words;
    file.readLine();
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        const QString word = line.section(QLatin1Char('/'), 0, 0);
        if (!word.isEmpty() && !TextSplitter::isSeparator(word.at(0)) && !word.contains(QLatin1Char('\'')))
            words.append(word);
    }
    return words;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The settings, words and dictionaries the program would build at start-up.
    auto workspace = std::make_unique<Workspace>();
    QTemporaryDir dir;
    workspace->settings.read();
    workspace->settings.currentFileName = dir.filePath(QStringLiteral("bench"));
    workspace->words.units.setFileName(workspace->settings.currentFileName + QStringLiteral(".dic"));
    Random::seed(1);

    Units* dictionary = (&workspace->words.units);
    Statuses* statuses = (&workspace->words.statuses);

    // The editor on 20 000 words, a fifth of them learned and some being learned.
    constexpr int editorWords = 20000;
    QList<Unit> units;
    QList<int> values;
    for (int i = 0; i < editorWords; ++i) {
        units.append({syntheticWord(Random::next() % 1000000), QStringLiteral("перевод %1").arg(i)});
        values.append(i % 5 == 0 ? 100 : (i % 7 == 0 ? 6 : 0));
    }
    dictionary->setUnits(units);
    statuses->setList(values);

    EditorDialog editor(workspace.get());
    const double openMs = bestOf(3, [&] {
        QElapsedTimer timer;
        timer.start();
        QTimer::singleShot(0, &editor, [&] {
            // Shown and laid out: the first pass of the dialog's event loop.
            QCoreApplication::processEvents();
            editor.accept();
        });
        editor.exec();
    });
    QAction* abc = nullptr;
    for (QAction* action : editor.findChildren<QAction*>())
        if (action->text() == QStringLiteral("По алфавиту"))
            abc = action;
    const double abcMs = bestOf(3, [&] {
        dictionary->setUnits(units);
        statuses->setList(values);
        abc->trigger();
    });

    // The import: a dictionary of 100 000 words, 5 000 learned words, and a
    // text of 50 000 words, some known, some learned, most English words in
    // their text forms.
    constexpr int dictionaryWords = 100000;
    constexpr int textWords = 50000;
    const QStringList english = englishWords();
    QList<Unit> large;
    for (int i = 0; i < dictionaryWords; ++i)
        large.append({i % 2 == 0 || english.isEmpty() ? syntheticWord(i) : english.at(i % english.size()),
                      QString()});
    dictionary->setUnits(large);
    QList<Unit> learnedUnits;
    for (int i = 0; i < 5000; ++i)
        learnedUnits.append({syntheticWord(dictionaryWords + i), QString()});
    (&workspace->words.learnedUnits)->setUnits(learnedUnits);

    const QStringList endings{QString(), QStringLiteral("s"), QStringLiteral("ed"), QStringLiteral("ing")};
    QString text;
    for (int i = 0; i < textWords; ++i) {
        const int pick = Random::next() % 10;
        QString word;
        if (pick < 3)
            word = syntheticWord(Random::next() % dictionaryWords).toUpper();
        else if (pick < 4)
            word = syntheticWord(dictionaryWords + Random::next() % 5000);
        else if (english.isEmpty())
            word = syntheticWord(2 * dictionaryWords + Random::next() % 30000);
        else
            word = english.at(Random::next() % english.size()) + endings.at(Random::next() % 4);
        text += word + (i % 12 == 11 ? QStringLiteral(".\n") : QStringLiteral(", "));
    }

    UnitsMaker maker(&workspace->words.units, &workspace->words.learnedUnits, affixFile, dictionaryFile);
    int produced = 0;
    const double importMs = bestOf(3, [&] {
        maker.setWords(TextSplitter::split(text));
        maker.excludeKnown();
        maker.excludeLearned();
        produced = int(maker.words().size());
    });
    int stemmed = 0;
    const double stemMs = bestOf(3, [&] {
        maker.setWords(TextSplitter::split(text));
        maker.excludeKnown();
        maker.excludeLearned();
        maker.stem();
        stemmed = int(maker.words().size());
    });

    std::printf("editor open, %d words: %.1f ms\n", editorWords, openMs);
    std::printf("abcOrder, %d words: %.1f ms\n", editorWords, abcMs);
    std::printf("text of %d words against %d: %.1f ms (%d new words)\n", textWords, dictionaryWords,
                importMs, produced);
    if (maker.hasMorphology())
        std::printf("the same with stemming: %.1f ms (%d base forms)\n", stemMs, stemmed);
    else
        std::printf("the same with stemming: no morphology at %s\n", qPrintable(affixFile));
    return 0;
}
