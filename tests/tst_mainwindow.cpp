#include <memory>
#include <QFile>
#include <QMessageBox>
#include <QSettings>
#include <QSignalSpy>
#include <QTimer>

#include "app/mainwindow.h"
#include "editing/editordialog.h"
#include "editing/importdialog.h"
#include "languages/dictionarylanguage.h"
#include "model/dictionaryfiles.h"
#include "model/dictionaryformat.h"
#include "model/questions.h"
#include "model/statuses.h"
#include "model/units.h"
#include "review/reviewschedule.h"
#include "interchange/wordfiles.h"
#include "speech/speaker.h"
#include "tests/ankitestpackage.h"
#include "tests/dialoghelpers.h"
#include "tests/testfiles.h"
#include "session/workspace.h"
#include "testenvironment.h"

#include <QComboBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QTableWidget>
#include <QTemporaryDir>

namespace {

// English words, and the language beside them as the window keeps it: a
// window opening them need not read the system's spelling dictionaries to
// tell their language.
void writeDictionary(const QString& path, const QStringList& words)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QList<Unit> units;
    for (const QString& word : words)
        units.append({word, word.toUpper()});
    QVERIFY(DictionaryFormat::writeUnits(&file, units));
    QCOMPARE(DictionaryLanguage::write(path, QStringLiteral("en")), QString());
}

QStringList wordsIn(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList words;
    for (const Unit& unit : DictionaryFormat::readUnits(file.readAll()))
        words.append(unit.word);
    return words;
}

QList<int> statusesIn(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return DictionaryFormat::readIntList(file.readAll());
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

    // Each test function starts as a first run, on a window of its own over
    // a workspace of its own, which outlives the window.
    std::unique_ptr<Workspace> workspace;
    std::unique_ptr<MainWindow> window;

private slots:
    void init();
    void cleanup();
    void firstRunCopiesDefaultDictionaries();
    void secondRunLeavesFolderAlone();
    void poolsAreEmptyAfterStart();
    void openingSwitchesAndSavesTheDictionary();
    void damagedFileIsReportedAndLeftAlone();
    void failedSaveAtCloseLetsTheUserStay();
    void reopeningMovesToFrontOfRecentFiles();
    void newFileEmptiesAndForgetsStatuses_data();
    void newFileEmptiesAndForgetsStatuses();
    void refusedNewFileLeavesTheEndedRunsPage();
    void importAsksForColumnsAndNameThenOpens();
    void ankiImportKeepsTheRecordings();
    void importWritesNothing_data();
    void importWritesNothing();
    void exportWritesTheOpenDictionary();
    void closingSavesEverythingButNotTheRun();
    void openingTheLearnedWordsFileKeepsItsLatestWords();

private:
    QString dictionaries() const { return QDir::homePath() + QStringLiteral("/Vocabrium Dictionaries/"); }
    void openWindow() { window = std::make_unique<MainWindow>(workspace.get()); }
};

void TestMainWindow::init()
{
    QVERIFY(emptyHomeFolder());
    QVERIFY(QDir().mkpath(QStringLiteral("Default Dictionaries")));
    writeDictionary(QStringLiteral("Default Dictionaries/default.dic"),
                    {"one", "two", "three", "four", "five", "six", "seven"});
    writeDictionary(QStringLiteral("Default Dictionaries/animals.dic"), {"cat", "dog"});
    workspace = storedWorkspace();
    openWindow();
}

void TestMainWindow::cleanup()
{
    window.reset();
    workspace.reset();
}

void TestMainWindow::firstRunCopiesDefaultDictionaries()
{
    QVERIFY(QFile::exists(dictionaries() + QStringLiteral("default.dic")));
    QVERIFY(QFile::exists(dictionaries() + QStringLiteral("animals.dic")));
    QCOMPARE((&workspace->words.units)->count(), 7);
    QCOMPARE(window->windowTitle(), QStringLiteral("default - Vocabrium"));
    QCOMPARE(window->currentPage(), 0);
}

void TestMainWindow::secondRunLeavesFolderAlone()
{
    window.reset();
    QFile::remove(dictionaries() + QStringLiteral("animals.dic"));
    openWindow();
    QVERIFY(!QFile::exists(dictionaries() + QStringLiteral("animals.dic")));
}

void TestMainWindow::poolsAreEmptyAfterStart()
{
    // Words chosen or half-learned in an earlier run wait on the selection
    // page: their statuses are read before the pools are wired, and reach no pool.
    const QString chosen = dictionaries() + QStringLiteral("chosen.dic");
    writeDictionary(chosen, {"sun", "moon", "star"});
    QCOMPARE(DictionaryFiles::writeStatuses(chosen, {Statuses::StatusFileMarker, 5, 7, 100}), QString());
    window.reset();
    workspace->settings.currentFileName = chosen.chopped(4);
    openWindow();
    QCOMPARE(workspace->words.statuses.status(1), 7);
    QCOMPARE(window->currentPage(), 0);
    QCOMPARE(workspace->words.questions.count(), 0);
    QCOMPARE(workspace->words.variants.count(), 0);
}

void TestMainWindow::openingSwitchesAndSavesTheDictionary()
{
    const QString other = dictionaries() + QStringLiteral("other.dic");
    writeDictionary(other, {"a", "b", "c"});
    (&workspace->words.units)->add(QStringLiteral("eight"), QStringLiteral("восемь"));
    (&workspace->words.statuses)->setStatus(0, 100);

    window->openFile(other);
    QCOMPARE(openDictionaryBase(*workspace), dictionaries() + QStringLiteral("other"));
    QCOMPARE(window->windowTitle(), QStringLiteral("other - Vocabrium"));
    QCOMPARE((&workspace->words.units)->count(), 3);
    QCOMPARE(wordsIn(dictionaries() + QStringLiteral("default.dic")).size(), 8);
    QCOMPARE(statusesIn(dictionaries() + QStringLiteral("default.inf")),
             (QList<int>{999, 100, 0, 0, 0, 0, 0, 0, 0}));

    // Words chosen for learning in the newly opened dictionary enter the pools.
    (&workspace->words.statuses)->setStatus(1, 5);
    window->openFile(dictionaries() + QStringLiteral("default.dic"));
    window->openFile(other);
    QCOMPARE((&workspace->words.questions)->list(), QList<int>{1});
}

void TestMainWindow::damagedFileIsReportedAndLeftAlone()
{
    const QString broken = dictionaries() + QStringLiteral("broken.dic");
    QFile file(broken);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("word\tслово\n");
    file.close();
    const QString before = openDictionaryBase(*workspace);
    BoxAnswerer answerer(QMessageBox::Ok);
    window->openFile(broken);
    QCOMPARE(answerer.titles, QStringList{QStringLiteral("Ошибка")});
    QVERIFY(answerer.texts.first().contains(broken));
    QCOMPARE(openDictionaryBase(*workspace), before);
    window->openFile(dictionaries() + QStringLiteral("default.dic"));
    window->openFile(before + QStringLiteral(".dic"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("word\tслово\n"));
}

void TestMainWindow::failedSaveAtCloseLetsTheUserStay()
{
    const QString statusFile = DictionaryFiles::statusesPath(workspace->words.units.fileName());
    QFile::remove(statusFile);
    QVERIFY(QDir().mkdir(statusFile));
    window->show();
    {
        BoxAnswerer answerer(QMessageBox::Cancel);
        QVERIFY(!window->close());
        QCOMPARE(answerer.titles, QStringList{QStringLiteral("Ошибка")});
        QVERIFY(answerer.texts.first().contains(statusFile));
    }
    QVERIFY(window->isVisible());
    QDir().rmdir(statusFile);
}

void TestMainWindow::reopeningMovesToFrontOfRecentFiles()
{
    const QString first = dictionaries() + QStringLiteral("default.dic");
    const QString second = dictionaries() + QStringLiteral("other.dic");
    writeDictionary(second, {"a", "b", "c"});
    window->openFile(first);
    window->openFile(second);
    QCOMPARE(workspace->settings.recentFiles.first(), second);
    (&workspace->words.units)->add(QStringLiteral("d"), QString());
    window->openFile(second);
    QCOMPARE(workspace->settings.recentFiles.first(), second);
    QCOMPARE(workspace->settings.recentFiles.count(second), 1);
    QCOMPARE((&workspace->words.units)->count(), 4);
}

void TestMainWindow::newFileEmptiesAndForgetsStatuses_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("expectedBase");
    QTest::addColumn<bool>("openFirst");

    QTest::newRow("with suffix") << QStringLiteral("fresh.dic") << QStringLiteral("fresh") << false;
    QTest::newRow("without suffix") << QStringLiteral("bare") << QStringLiteral("bare") << false;
    QTest::newRow("dotted name") << QStringLiteral("my.words") << QStringLiteral("my.words") << false;
    // Over the open dictionary: its words in memory must not come back.
    QTest::newRow("the open dictionary") << QStringLiteral("opened.dic") << QStringLiteral("opened") << true;
}

void TestMainWindow::newFileEmptiesAndForgetsStatuses()
{
    QFETCH(QString, chosen);
    QFETCH(QString, expectedBase);
    QFETCH(bool, openFirst);
    const QString base = dictionaries() + expectedBase;
    writeDictionary(base + QStringLiteral(".dic"), {"old", "words"});
    {
        QFile inf(base + QStringLiteral(".inf"));
        QVERIFY(inf.open(QIODevice::WriteOnly));
        QVERIFY(DictionaryFormat::writeIntList(&inf, {999, 100, 100}));
    }
    ReviewSchedule oldSchedule;
    oldSchedule.sync({{"old", 100}, {"words", 100}}, QDate::currentDate());
    QCOMPARE(oldSchedule.save(base + QStringLiteral(".dic")), QString());
    if (openFirst) {
        window->openFile(base + QStringLiteral(".dic"));
        QCOMPARE((&workspace->words.units)->count(), 2);
    }
    // The editor opens on the new, empty dictionary for the first words.
    int editorWords = -1;
    QTimer::singleShot(0, window.get(), [&] {
        auto* editor = qobject_cast<EditorDialog*>(QApplication::activeModalWidget());
        QVERIFY(editor);
        editorWords = (&workspace->words.units)->count();
        editor->accept();
    });
    window->newFile(dictionaries() + chosen);
    QCOMPARE(editorWords, 0);
    QCOMPARE(openDictionaryBase(*workspace), base);
    QCOMPARE((&workspace->words.units)->count(), 0);
    QCOMPARE((&workspace->words.statuses)->countOf(100), 0);
    // On disk too: an empty word list, no statuses and no old schedule.
    const DictionaryFiles::Reading reading = DictionaryFiles::read(base + QStringLiteral(".dic"));
    QCOMPARE(reading.kind, DictionaryFiles::Reading::Whole);
    QVERIFY(reading.units.isEmpty());
    QVERIFY(DictionaryFiles::readStatusValues(base + QStringLiteral(".dic")).size() <= 1);
    QVERIFY(!QFile::exists(base + QStringLiteral(".rev")));
}

void TestMainWindow::refusedNewFileLeavesTheEndedRunsPage()
{
    for (int key = 0; key < 6; ++key)
        workspace->words.statuses.setStatus(key, Statuses::Initial);
    window->startNextLesson();
    QVERIFY(window->currentPage() != 0);
    // The open dictionary can no longer be saved: the run ends all the same,
    // and the new dictionary is refused.
    const QString statusFile = DictionaryFiles::statusesPath(workspace->words.units.fileName());
    QVERIFY(QDir().mkdir(statusFile));
    BoxAnswerer answerer;
    window->newFile(dictionaries() + QStringLiteral("fresh.dic"));
    QCOMPARE(answerer.titles.size(), 2);
    QVERIFY(!QFile::exists(dictionaries() + QStringLiteral("fresh.dic")));
    QCOMPARE(window->currentPage(), 0);
}

namespace {

QAction* fileAction(QWidget* window, const QString& text)
{
    for (QAction* action : window->findChildren<QAction*>())
        if (action->text() == text)
            return action;
    return nullptr;
}

// Picks \a path in the next file dialog.
// Chooses \a path in the next file dialog, then runs \a next: a wait for
// the dialog that follows starts only then, so that it cannot take the file
// dialog (a QDialog too) for its own.
void chooseFile(const QString& path, const std::function<void()>& next = {})
{
    whenModal<QFileDialog>([path, next](QFileDialog* dialog) {
        dialog->selectFile(path);
        static_cast<QDialog*>(dialog)->accept();
        if (next)
            next();
    });
}

// Types \a name into the next name prompt, then runs \a next.
void typeName(const QString& name, const std::function<void()>& next = {})
{
    whenModal<QInputDialog>([name, next](QInputDialog* dialog) {
        if (next)
            next();
        dialog->setTextValue(name);
        dialog->accept();
    });
}

} // namespace

void TestMainWindow::importAsksForColumnsAndNameThenOpens()
{
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("lesson.csv"));
    writeFile(source, "English,German,Russian\ndog,Hund,собака\ncat,Katze,кошка\n");
    writeDictionary(dictionaries() + QStringLiteral("animals.dic"), {"cat", "dog"});
    const QByteArray animals = readFile(dictionaries() + QStringLiteral("animals.dic"));

    chooseFile(source, [] { whenModal<ImportDialog>([](ImportDialog* dialog) {
        auto* translations = dialog->findChild<QComboBox*>(QStringLiteral("translationColumn"));
        QVERIFY(translations);
        QCOMPARE(translations->count(), 3);
        translations->setCurrentIndex(2);
        auto* preview = dialog->findChild<QTableWidget*>(QStringLiteral("preview"));
        QVERIFY(preview);
        QCOMPARE(preview->item(0, 1)->text(), QStringLiteral("собака"));
        // An existing name is asked about; "No" asks for the name again.
        typeName(QStringLiteral("animals"), [] {
            auto* answerer = new BoxAnswerer(QList<QMessageBox::StandardButton>{QMessageBox::No});
            typeName(QStringLiteral("zoo"), [answerer] { delete answerer; });
        });
        dialog->accept();
    }); });
    fileAction(window.get(), QStringLiteral("Импорт..."))->trigger();

    QCOMPARE(readFile(dictionaries() + QStringLiteral("animals.dic")), animals);
    QCOMPARE(openDictionaryBase(*workspace), dictionaries() + QStringLiteral("zoo"));
    QCOMPARE((&workspace->words.units)->unitList(),
             (QList<Unit>{Unit{"dog", "собака"}, Unit{"cat", "кошка"}}));
}

void TestMainWindow::ankiImportKeepsTheRecordings()
{
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("deck.apkg"));
    QVERIFY(AnkiTestPackage::write(source, {{1, {"Front", "Back"}}},
                                   {{1, {"horse[sound:horse.mp3]", "лошадь"}}, {1, {"cow", "корова"}}},
                                   {{"horse.mp3", "ID3"}}, AnkiTestPackage::Layout::Latest));
    chooseFile(source, [] { whenModal<ImportDialog>([](ImportDialog* dialog) {
        typeName(QStringLiteral("deck"));
        dialog->accept();
    }); });
    fileAction(window.get(), QStringLiteral("Импорт..."))->trigger();
    QCOMPARE(openDictionaryBase(*workspace), dictionaries() + QStringLiteral("deck"));
    QCOMPARE((&workspace->words.units)->unitList(), (QList<Unit>{Unit{"horse", "лошадь"}, Unit{"cow", "корова"}}));
    QCOMPARE(Speaker(&workspace->words.units, &workspace->settings).soundFile(0), dictionaries() + QStringLiteral("deck.sounds/horse.mp3"));
}

void TestMainWindow::importWritesNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("message");
    QTest::newRow("quote never closed") << "lesson.csv" << QByteArray("cat,кошка\ndog,\"собака\n") << "Ошибка"
                                        << "Строка 2";
    QTest::newRow("not an Anki package") << "deck.apkg" << QByteArray("cat\tкошка\n") << "Ошибка" << "zip";
    QTest::newRow("words without translations, answered No")
        << "hangman.kvtml"
        << QByteArray("<?xml version=\"1.0\"?>\n<kvtml version=\"2.0\">\n<identifiers><identifier id=\"0\">"
                      "<locale>en</locale></identifier></identifiers>\n<entries><entry id=\"0\"><translation id=\"0\">"
                      "<text>bear</text></translation></entry></entries></kvtml>\n")
        << "Вопрос" << "перевод будет пустым";
}

void TestMainWindow::importWritesNothing()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, title);
    QFETCH(QString, message);
    QTemporaryDir dir;
    writeFile(dir.filePath(name), content);
    const QString open = openDictionaryBase(*workspace);
    const QStringList before = QDir(dictionaries()).entryList(QDir::Files);
    BoxAnswerer answerer(QMessageBox::No);
    // The preview is accepted as it stands; a file that cannot be read never
    // shows it, and the wait for it ends with the window.
    chooseFile(dir.filePath(name), [this] {
        whenModal<ImportDialog>([](ImportDialog* dialog) { dialog->accept(); }, window.get());
    });
    fileAction(window.get(), QStringLiteral("Импорт..."))->trigger();
    QCOMPARE(answerer.titles, QStringList{title});
    QVERIFY2(answerer.texts.value(0).contains(message), qPrintable(answerer.texts.value(0)));
    QCOMPARE(QDir(dictionaries()).entryList(QDir::Files), before);
    QCOMPARE(openDictionaryBase(*workspace), open);
}

void TestMainWindow::exportWritesTheOpenDictionary()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.kvtml"));
    (&workspace->words.units)->add(QStringLiteral("export"), QStringLiteral("экспорт"));
    BoxAnswerer answerer;
    chooseFile(path);
    fileAction(window.get(), QStringLiteral("Экспорт..."))->trigger();
    QCOMPARE(answerer.titles, QStringList{"Информация"});
    WordTable table;
    QString error;
    QVERIFY2(WordFiles::read(path, &table, &error), qPrintable(error));
    QCOMPARE(table.units(), (&workspace->words.units)->unitList());
}

void TestMainWindow::closingSavesEverythingButNotTheRun()
{
    const QString path = dictionaries() + QStringLiteral("closing.dic");
    writeDictionary(path, {"x", "y"});
    window->openFile(path);
    (&workspace->words.units)->add(QStringLiteral("z"), QString());
    (&workspace->words.statuses)->setStatus(2, 100);
    (&workspace->words.learnedUnits)->add(QStringLiteral("known"), QStringLiteral("известно"));
    workspace->settings.learnedCount = 4;

    window->close();
    QCOMPARE(wordsIn(path), (QStringList{"x", "y", "z"}));
    QCOMPARE(statusesIn(dictionaries() + QStringLiteral("closing.inf")),
             (QList<int>{999, 0, 0, 100}));
    QCOMPARE(wordsIn(workspace->settings.learnedWordsName), QStringList{"known"});
    QSettings s(QSettings::NativeFormat, QSettings::UserScope,
                QStringLiteral("Vocabrium"), QStringLiteral("Vocabrium"));
    QCOMPARE(s.value(QStringLiteral("fileName")).toString(), dictionaries() + QStringLiteral("closing"));
    QCOMPARE(s.value(QStringLiteral("learnedCount")).toInt(), 4);
    QVERIFY(s.contains(QStringLiteral("MW_size")));
}

void TestMainWindow::openingTheLearnedWordsFileKeepsItsLatestWords()
{
    writeDictionary(workspace->settings.learnedWordsName, {"known"});
    workspace->words.learnedUnits.load();
    (&workspace->words.learnedUnits)->add(QStringLiteral("fresh"), QString());
    window->openFile(workspace->settings.learnedWordsName);
    QCOMPARE((&workspace->words.units)->find(QStringLiteral("fresh")), 1);
    (&workspace->words.units)->add(QStringLiteral("added while open"), QString());
    window->close();
    // The open dictionary is the learned-words file; the second list must not
    // overwrite what was just saved.
    QCOMPARE(wordsIn(workspace->settings.learnedWordsName).size(), 3);
}

VOCABRIUM_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
