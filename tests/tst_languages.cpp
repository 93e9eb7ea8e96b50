#include <memory>
#include <QDir>
#include <QInputDialog>
#include <QTemporaryDir>

#include "app/mainwindow.h"
#include "config/settings.h"
#include "languages/dictionarylanguage.h"
#include "languages/languagedetector.h"
#include "languages/learninglanguage.h"
#include "model/dictionaryfiles.h"
#include "model/statuses.h"
#include "model/units.h"
#include "speech/speaker.h"
#include "speech/transcriptions.h"
#include "tests/dialoghelpers.h"
#include "tests/testfiles.h"
#include "session/workspace.h"
#include "testenvironment.h"

class TestLanguages : public QObject
{
    Q_OBJECT

    // The settings, words and tables of one test function, built afresh
    // for each.
    std::unique_ptr<Workspace> workspace;

private slots:
    void init();
    void cleanup();
    void detectsTheLanguageOfShortDictionaries_data();
    void detectsTheLanguageOfShortDictionaries();
    void undeclaredDictionaryDecision_data();
    void undeclaredDictionaryDecision();
    void languageFromColumnNames_data();
    void languageFromColumnNames();
    void sidecarOutcomes_data();
    void sidecarOutcomes();
    void openDictionaryGivesTheLearningLanguage_data();
    void openDictionaryGivesTheLearningLanguage();
    void eachDictionaryKeepsItsLanguage();
};

void TestLanguages::init()
{
    // The window's test moves to the build folder, where the tables lie;
    // every function starts in the throw-away one.
    QVERIFY(QDir::setCurrent(QDir::home().absoluteFilePath(QStringLiteral("work"))));
    QVERIFY(emptyHomeFolder());
    workspace = std::make_unique<Workspace>();
}

void TestLanguages::cleanup()
{
    workspace.reset();
}

void TestLanguages::detectsTheLanguageOfShortDictionaries_data()
{
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("sure");
    QTest::newRow("English") << QStringList{"house", "water", "to go", "tree", "friend", "window", "bread", "night"}
                             << "en" << true;
    QTest::newRow("French") << QStringList{"la maison", "l'eau", "le chien", "manger", "œuf", "neige", "chat", "pays"}
                            << "fr" << true;
    QTest::newRow("German") << QStringList{"das Haus", "der Hund", "die Katze", "Schnee", "gehen", "groß", "Ei", "Butter"}
                            << "de" << true;
    QTest::newRow("Italian") << QStringList{"la casa", "il cane", "gatto", "neve", "uovo", "mangiare", "città", "perché"}
                             << "it" << true;
    QTest::newRow("Spanish") << QStringList{"la casa", "el perro", "gato", "nieve", "huevo", "comer", "año", "niño"}
                             << "es" << true;
    // Half English, half French: no language stands out, the learner is asked.
    QTest::newRow("mixed") << QStringList{"house", "water", "friend", "window", "maison", "chien", "neige", "œuf"}
                           << QString() << false;
    // Words that several languages share.
    QTest::newRow("unsure") << QStringList{"radio", "hotel", "piano"} << QString() << false;
}

void TestLanguages::detectsTheLanguageOfShortDictionaries()
{
    QFETCH(QStringList, words);
    QFETCH(QString, language);
    QFETCH(bool, sure);
    static LanguageDetector detector;
    if (detector.available().size() < 5)
        QSKIP("the Hunspell dictionaries of the five languages are not installed");
    const LanguageDetector::Guess guess = detector.detect(words);
    QCOMPARE(guess.sure, sure);
    if (!language.isEmpty())
        QCOMPARE(guess.language, language);
}

void TestLanguages::undeclaredDictionaryDecision_data()
{
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<QString>("guessed");
    QTest::addColumn<double>("share");
    QTest::addColumn<bool>("sure");
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("keep");
    QTest::addColumn<bool>("ask");
    const QStringList some{"maison", "chien"};
    QTest::newRow("empty: the default, kept") << QStringList() << QString() << 0.0 << false << "de" << true << false;
    QTest::newRow("sure: kept") << some << "fr" << 0.9 << true << "fr" << true << false;
    QTest::newRow("unsure: used and asked") << some << "fr" << 0.6 << false << "fr" << false << true;
    QTest::newRow("no language's words") << some << "fr" << 0.1 << false << "de" << false << false;
}

void TestLanguages::undeclaredDictionaryDecision()
{
    QFETCH(QStringList, words);
    QFETCH(QString, guessed);
    QFETCH(double, share);
    QFETCH(bool, sure);
    QFETCH(QString, language);
    QFETCH(bool, keep);
    QFETCH(bool, ask);
    LanguageDetector::Guess guess;
    guess.language = guessed;
    guess.sure = sure;
    if (!guessed.isEmpty())
        guess.shares.insert(guessed, share);
    const LanguageDetector::Decision decision = LanguageDetector::decide(words, guess, QStringLiteral("de"));
    QCOMPARE(decision.language, language);
    QCOMPARE(decision.keep, keep);
    QCOMPARE(decision.ask, ask);
}

void TestLanguages::languageFromColumnNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("language");
    QTest::newRow("code") << "fr" << "fr";
    QTest::newRow("locale") << "de_DE" << "de";
    QTest::newRow("English name") << "English" << "en";
    QTest::newRow("own name") << "Español" << "es";
    QTest::newRow("Russian name") << "Итальянский" << "it";
    QTest::newRow("the learner's own") << "Русский" << "";
    QTest::newRow("a header") << "Word" << "";
}

void TestLanguages::languageFromColumnNames()
{
    QFETCH(QString, name);
    QFETCH(QString, language);
    QCOMPARE(DictionaryLanguage::fromName(name), language);
}

void TestLanguages::sidecarOutcomes_data()
{
    QTest::addColumn<QByteArray>("content");   // "<folder>" makes the sidecar a folder
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("foreign");
    QTest::addColumn<bool>("writable");
    QTest::newRow("missing") << QByteArray() << int(DictionaryLanguage::Reading::Missing) << QString() << true;
    QTest::newRow("whole") << QByteArray("foreign=fr\nnative=ru\n") << int(DictionaryLanguage::Reading::Whole)
                           << "fr" << true;
    QTest::newRow("random bytes") << QByteArray("\x01\xff\x00garbage", 10) << int(DictionaryLanguage::Reading::Damaged)
                                  << QString() << true;
    QTest::newRow("not a code") << QByteArray("foreign=French!\n") << int(DictionaryLanguage::Reading::Damaged)
                                << QString() << true;
    QTest::newRow("too large") << QByteArray(10000, 'x') << int(DictionaryLanguage::Reading::Damaged) << QString() << true;
    // Cannot be read as a file nor written over: a folder in its place.
    QTest::newRow("not writable") << QByteArray("<folder>") << int(DictionaryLanguage::Reading::Damaged) << QString()
                                  << false;
}

void TestLanguages::sidecarOutcomes()
{
    QFETCH(QByteArray, content);
    QFETCH(int, kind);
    QFETCH(QString, foreign);
    QFETCH(bool, writable);
    QTemporaryDir dir;
    const QString dic = dir.filePath(QStringLiteral("words.dic"));
    writeWords(dic, {"maison", "chien"});
    writeFile(dir.filePath(QStringLiteral("words.inf")), QByteArray("\0\0\0\1\0\0\3\xe7", 8));
    const QByteArray dicBefore = readFile(dic);
    const QString sidecar = DictionaryLanguage::sidecarPath(dic);
    QCOMPARE(sidecar, dir.filePath(QStringLiteral("words.lang")));
    if (content == "<folder>")
        QVERIFY(QDir().mkdir(sidecar));
    else if (!content.isEmpty())
        writeFile(sidecar, content);

    const DictionaryLanguage::Reading reading = DictionaryLanguage::read(dic);
    QCOMPARE(int(reading.kind), kind);
    QCOMPARE(reading.foreign, foreign);
    QCOMPARE(reading.kind == DictionaryLanguage::Reading::Damaged, !reading.problem.isEmpty());
    // Written again (as after detection), it reads whole, or says why not.
    const QString error = DictionaryLanguage::write(dic, QStringLiteral("fr"));
    QCOMPARE(error.isEmpty(), writable);
    if (writable)
        QCOMPARE(DictionaryLanguage::read(dic).foreign, QStringLiteral("fr"));
    // Whatever happened, the dictionary's own files are as they were.
    QCOMPARE(readFile(dic), dicBefore);
    QCOMPARE(readFile(dir.filePath(QStringLiteral("words.inf"))), QByteArray("\0\0\0\1\0\0\3\xe7", 8));
}

void TestLanguages::openDictionaryGivesTheLearningLanguage_data()
{
    QTest::addColumn<QString>("kept");
    QTest::addColumn<bool>("unchangedFiles");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("keptAfter");
    QTest::newRow("kept beside it") << "fr" << false << "fr" << "fr";
    QTest::newRow("an empty one takes the default") << "" << false << "de" << "de";
    QTest::newRow("files kept unchanged get none") << "" << true << "de" << "";
}

void TestLanguages::openDictionaryGivesTheLearningLanguage()
{
    QFETCH(QString, kept);
    QFETCH(bool, unchangedFiles);
    QFETCH(QString, expected);
    QFETCH(QString, keptAfter);
    QTemporaryDir dir;
    const QString dic = dir.filePath(QStringLiteral("words.dic"));
    writeWords(dic, {});
    if (!kept.isEmpty())
        QCOMPARE(DictionaryLanguage::write(dic, kept), QString());
    DictionaryFiles files(&workspace->words);
    QCOMPARE(files.open(dic), QString());
    if (unchangedFiles)
        files.setReadOnly(QStringLiteral("another copy is writing"));
    workspace->settings.learningLanguage = QStringLiteral("de");
    LearningLanguage language(&workspace->settings, &files, (&workspace->words.units), (&workspace->transcriptions));

    QVERIFY(!language.applyOpen());
    QCOMPARE(workspace->settings.learningLanguage, expected);
    QCOMPARE(DictionaryLanguage::read(dic).foreign, keptAfter);
    // The learner's own answer is kept the same way.
    QVERIFY(language.choose(dic, QStringLiteral("it")));
    QCOMPARE(workspace->settings.learningLanguage, QStringLiteral("it"));
    QCOMPARE(workspace->settings.transcriptionFileName, QStringLiteral("Italian"));
    QCOMPARE(DictionaryLanguage::read(dic).foreign, unchangedFiles ? QString() : QStringLiteral("it"));
}

void TestLanguages::eachDictionaryKeepsItsLanguage()
{
    if (LanguageDetector().available().size() < 5)
        QSKIP("the Hunspell dictionaries of the five languages are not installed");
    workspace->settings.read();
    workspace->settings.speakEnabled = false;
    // The tables the build lays out, found from the working directory.
    QVERIFY(QDir::setCurrent(QStringLiteral(VOCABRIUM_BUILD_DIR)));
    const QString folder = QDir::homePath() + QStringLiteral("/Vocabrium Dictionaries");
    QVERIFY(QDir().mkpath(folder));
    const QString english = folder + QStringLiteral("/english.dic");
    const QString french = folder + QStringLiteral("/french.dic");
    writeWords(english, {"house", "water", "friend", "window", "bread", "night", "tree", "city"});
    writeWords(french, {"maison", "eau", "ami", "fenêtre", "pain", "nuit", "arbre", "ville"});
    workspace->settings.currentFileName = folder + QStringLiteral("/english");
    workspace->words.units.setFileName(workspace->settings.currentFileName + QStringLiteral(".dic"));
    workspace->settings.learningLanguage = QStringLiteral("de");

    // No question: both are told apart by their words.
    int questions = 0;
    QTimer watcher;
    connect(&watcher, &QTimer::timeout, this, [&] {
        if (auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget())) {
            ++questions;
            dialog->reject();
        }
    });
    watcher.start(5);
    MainWindow window(workspace.get());
    window.show();
    QCOMPARE(workspace->settings.learningLanguage, QStringLiteral("en"));
    QCOMPARE((&workspace->transcriptions)->lookup(QStringLiteral("house")).isEmpty(), false);
    window.openFile(french);
    QCOMPARE(workspace->settings.learningLanguage, QStringLiteral("fr"));
    QCOMPARE(workspace->settings.transcriptionFileName, QStringLiteral("French"));
    QVERIFY(!(&workspace->transcriptions)->lookup(QStringLiteral("maison")).isEmpty());
    QCOMPARE(DictionaryLanguage::read(french).foreign, QStringLiteral("fr"));
    window.openFile(english);
    QCOMPARE(workspace->settings.learningLanguage, QStringLiteral("en"));
    QCOMPARE(workspace->settings.transcriptionFileName, QStringLiteral("English"));
    window.openFile(french);
    // A question would have been queued for the event loop.
    QCoreApplication::processEvents();
    QCOMPARE(questions, 0);
    QCOMPARE(DictionaryLanguage::read(english).foreign, QStringLiteral("en"));
}

VOCABRIUM_TEST_MAIN(TestLanguages)
#include "tst_languages.moc"
