#include <memory>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <functional>

#include "config/settings.h"
#include "editing/textsplitter.h"
#include "editing/unitsmaker.h"
#include "morphology/hunspellstemmer.h"
#include "editing/unitsmakerdialog.h"
#include "model/units.h"
#include "morphology/baseforms.h"
#include "tests/dialoghelpers.h"
#include "tests/testenvironment.h"
#include "tests/translatorsetup.h"
#include "tools/translationserver.h"
#include "translation/translator.h"

namespace {

const QString buildAffix = QStringLiteral(VOCABRIUM_BUILD_DIR "/Morphologic/default.aff");
const QString buildDictionary = QStringLiteral(VOCABRIUM_BUILD_DIR "/Morphologic/default.dic");
const QString buildExceptions = QStringLiteral(VOCABRIUM_BUILD_DIR "/Morphologic/verb.exc");

QCheckBox* checkBox(QWidget* parent, const QString& text)
{
    for (QCheckBox* box : parent->findChildren<QCheckBox*>())
        if (box->text() == text)
            return box;
    return nullptr;
}

QStringList words(const QList<Unit>& units)
{
    QStringList result;
    for (const Unit& unit : units)
        result.append(unit.word);
    return result;
}

} // namespace

class TestUnitsMaker : public QObject
{
    Q_OBJECT

    // The settings, words and tables of one test function, built afresh
    // for each, before the dialog that points into them.
    std::unique_ptr<Workspace> workspace;

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void splitting_data();
    void splitting();
    void stemmingWithTheBuiltDictionary();
    void baseForms_data();
    void baseForms();
    void names_data();
    void names();
    void stemmingKeepsTheDeclaredEncoding_data();
    void stemmingKeepsTheDeclaredEncoding();
    void missingMorphologyLeavesWordsAsTyped();
    void otherLanguagesStemWithTheirOwnPair_data();
    void otherLanguagesStemWithTheirOwnPair();
    void knownAndLearnedWordsAreLeftOut();

    void savingFollowsTheOptions_data();
    void savingFollowsTheOptions();
    void nothingNewKeepsTheDialogOpen();
    void cancelAddsNothingAndStoresOptions();
    void translationInEitherDirection_data();
    void translationInEitherDirection();
    void reverseImportSkipsKnownTranslationsAndUntranslatedWords();
    void helpExplainsTheOptions();

private:
    // Opens the dialog (made at the first call of a function, as it loads
    // the morphology), runs \a steps inside it, and returns exec()'s result.
    int runDialog(const std::function<void()>& steps);

    // One server with its word list for the whole run.
    TranslationServer server;
    Units* dictionary = nullptr;
    Units* learned = nullptr;
    std::unique_ptr<UnitsMakerDialog> makerDialog;
    UnitsMakerDialog* dialog = nullptr;
};

void TestUnitsMaker::initTestCase()
{
    QVERIFY(server.loadWordList(QStringLiteral(VOCABRIUM_SOURCE_DIR "/data/dictionaries/default.tsv")));
    QVERIFY(server.listen());

    // The dialog reads the morphology from the working folder, as the program does.
    if (QFile::exists(buildAffix)) {
        QVERIFY(QDir().mkpath(QStringLiteral("Morphologic")));
        QVERIFY(QFile::copy(buildAffix, QStringLiteral("Morphologic/default.aff")));
        QVERIFY(QFile::copy(buildDictionary, QStringLiteral("Morphologic/default.dic")));
        for (const char* list : {"common.exc", "verb.exc", "noun.exc", "adj.exc", "adv.exc"})
            QFile::copy(QStringLiteral(VOCABRIUM_BUILD_DIR "/Morphologic/") + QLatin1String(list),
                        QStringLiteral("Morphologic/") + QLatin1String(list));
    }
}

void TestUnitsMaker::init()
{
    workspace = storedWorkspace();
    workspace->settings.learningLanguage = QStringLiteral("en");
    workspace->settings.interfaceLanguage = QStringLiteral("ru");
    useOnlyV2Service(workspace.get(), server.url(), 3000);
    server.reset();
    dictionary = &workspace->words.units;
    learned = &workspace->words.learnedUnits;
    dictionary->setUnits({Unit{QStringLiteral("cat"), QStringLiteral("кошка")}});
    learned->setUnits({Unit{QStringLiteral("Dog"), QStringLiteral("собака")}});
}

void TestUnitsMaker::cleanup()
{
    dialog = nullptr;
    makerDialog.reset();
    dictionary = nullptr;
    learned = nullptr;
    workspace.reset();
}

void TestUnitsMaker::splitting_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("words");

    QTest::newRow("punctuation, digits, repetition")
        << "one, two; two 3three" << QStringList{"one", "two", "three"};
    QTest::newRow("dashes and quotes of every kind separate")
        << "word—another–third “quoted” ‘single’ «angle» \"plain\""
        << QStringList{"word", "another", "third", "quoted", "single", "angle", "plain"};
    QTest::newRow("possessive loses its s")
        << "brother's brothers' Brother’s" << QStringList{"brother", "brothers"};
    QTest::newRow("contractions are no words")
        << "it's hasn't we'll I'd you're they've I'm don't That’s" << QStringList{};
    QTest::newRow("inner apostrophes stay") << "o'clock l’homme" << QStringList{"o'clock", "l’homme"};
    QTest::newRow("hyphenated words stay whole")
        << "well-known e-mail -dash- x - y" << QStringList{"well-known", "e-mail", "dash"};
    QTest::newRow("letter case makes one word, lower case preferred")
        << "The and the, Paris" << QStringList{"the", "and", "Paris"};
    QTest::newRow("unicode spaces and digits")
        << QString::fromUtf8("кот\u00a0пёс\u0663дом\u2003\tмир\n") << QStringList{"кот", "пёс", "дом", "мир"};
    QTest::newRow("signs and symbols separate")
        << QString::fromUtf8("naïve 50€ a😀b a𐐨b") << QStringList{"naïve", "a", "a𐐨b"};
    QTest::newRow("addresses and list markers are no words")
        << "See https://www.gnu.org/licenses/ or mail info@example.org. b) I d) a" << QStringList{"See", "or", "mail", "I", "a"};
    QTest::newRow("overlong token is no word")
        << QString(10000, QLatin1Char('a')) + " cat " + QString(150, QLatin1Char('b'))
        << QStringList{"cat", QString(150, QLatin1Char('b'))};
    QTest::newRow("separators only") << " ,.; 123 -- ' " << QStringList{};
    QTest::newRow("empty") << "" << QStringList{};
}

void TestUnitsMaker::splitting()
{
    QFETCH(QString, text);
    QFETCH(QStringList, words);
    QCOMPARE(TextSplitter::split(text), words);
}

void TestUnitsMaker::stemmingWithTheBuiltDictionary()
{
    if (!QFile::exists(buildAffix))
        QSKIP("The build has no morphological dictionary (hunspell-en-us missing)");
    UnitsMaker maker(&workspace->words.units, &workspace->words.learnedUnits, buildAffix, buildDictionary);
    QVERIFY(maker.hasMorphology());
    maker.setWords({"books", "book", "helped", "Кошки", "café", "xyzzyq"});
    maker.stem();
    QCOMPARE(maker.words(), (QStringList{"book", "help", "Кошки", "café", "xyzzyq"}));
}

void TestUnitsMaker::baseForms_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("base");

    // Hunspell's own last stem for the first six is "the", "tee", "ha", "i", "new", "doe".
    QTest::newRow("not a stem that only begins alike") << "things" << "thing";
    QTest::newRow("irregular plural") << "teeth" << "tooth";
    QTest::newRow("has") << "has" << "have";
    QTest::newRow("is") << "is" << "be";
    QTest::newRow("a word in its own right") << "news" << "news";
    QTest::newRow("does") << "does" << "do";
    QTest::newRow("irregular past") << "ran" << "run";
    QTest::newRow("went") << "went" << "go";
    QTest::newRow("children") << "children" << "child";
    QTest::newRow("mice") << "mice" << "mouse";
    QTest::newRow("feet") << "feet" << "foot";
    QTest::newRow("women") << "women" << "woman";
    QTest::newRow("irregular comparative") << "better" << "good";
    QTest::newRow("plural") << "books" << "book";
    QTest::newRow("capital at sentence start") << "Books" << "book";
    QTest::newRow("y to ies") << "carried" << "carry";
    QTest::newRow("doubled consonant") << "stopped" << "stop";
    QTest::newRow("derivation is another word") << "unhappy" << "unhappy";
    QTest::newRow("adverb is another word") << "quickly" << "quickly";
    QTest::newRow("name") << "Paris" << "Paris";
    QTest::newRow("root word, not the shorter one it begins with") << "thing" << "thing";
    QTest::newRow("noun, not a comparative") << "number" << "number";
    QTest::newRow("verb, not a comparative") << "offer" << "offer";
    QTest::newRow("noun ending in -er") << "danger" << "danger";
    QTest::newRow("plain ending before a spelling variant") << "installed" << "install";
    QTest::newRow("single consonant is not doubled") << "hoping" << "hope";
    QTest::newRow("plural listed as a word") << "activities" << "activity";
    QTest::newRow("plural listed as a word, -s") << "researchers" << "researcher";
    QTest::newRow("unknown") << "xyzzyq" << "xyzzyq";
}

void TestUnitsMaker::baseForms()
{
    QFETCH(QString, word);
    QFETCH(QString, base);
    if (!QFile::exists(buildAffix) || !QFile::exists(buildExceptions))
        QSKIP("The build has no morphology (hunspell-en-us or wordnet-base missing)");
    static BaseForms forms(buildAffix, buildDictionary, QStringLiteral(VOCABRIUM_BUILD_DIR "/Morphologic"));
    QCOMPARE(forms.baseForm(word), base);
}

void TestUnitsMaker::names_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("sentenceStart");
    QTest::addColumn<bool>("name");
    QTest::newRow("surname") << "Smith" << false << true;
    QTest::newRow("city") << "Paris" << false << true;
    QTest::newRow("city at sentence start") << "Paris" << true << true;
    QTest::newRow("unknown capitalised word") << "Pennarun" << false << true;
    QTest::newRow("common word at sentence start") << "House" << true << false;
    QTest::newRow("plural at sentence start") << "Books" << true << false;
    QTest::newRow("capitals throughout") << "TITLE" << false << false;
    QTest::newRow("lower case") << "smith" << false << false;
}

void TestUnitsMaker::names()
{
    QFETCH(QString, word);
    QFETCH(bool, sentenceStart);
    QFETCH(bool, name);
    if (!QFile::exists(buildAffix))
        QSKIP("The build has no morphology (hunspell-en-us missing)");
    static BaseForms forms(buildAffix, buildDictionary, QStringLiteral(VOCABRIUM_BUILD_DIR "/Morphologic"));
    QCOMPARE(forms.isName(word, sentenceStart), name);
}

void TestUnitsMaker::stemmingKeepsTheDeclaredEncoding_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("stem");

    QTest::newRow("utf-8 accented") << "utf8" << "cafés" << "café";
    QTest::newRow("utf-8 cyrillic") << "utf8" << "коты" << "кот";
    QTest::newRow("utf-8 ascii") << "utf8" << "books" << "book";
    QTest::newRow("latin-1 accented") << "latin1" << "cafés" << "café";
    QTest::newRow("latin-1 ascii") << "latin1" << "books" << "book";
    QTest::newRow("latin-1 cannot hold cyrillic") << "latin1" << "коты" << "коты";
    QTest::newRow("unknown word") << "latin1" << "über" << "über";
}

void TestUnitsMaker::stemmingKeepsTheDeclaredEncoding()
{
    QFETCH(QString, name);
    QFETCH(QString, word);
    QFETCH(QString, stem);
    const QString base = QFINDTESTDATA("data/morphology/" + name + ".aff").chopped(4);
    QVERIFY(!base.isEmpty());
    UnitsMaker maker(&workspace->words.units, &workspace->words.learnedUnits, base + ".aff", base + ".dic");
    QVERIFY(maker.hasMorphology());
    QCOMPARE(maker.stemOf(word), stem);
}

void TestUnitsMaker::otherLanguagesStemWithTheirOwnPair_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<QStringList>("stems");

    QTest::newRow("french plurals") << "fr" << QStringList{"chevaux", "chats", "cheval"}
                                    << QStringList{"cheval", "chat"};
    QTest::newRow("german plural") << "de" << QStringList{"Häuser", "Hunde"} << QStringList{"Haus", "Hund"};
    QTest::newRow("italian plural") << "it" << QStringList{"gatti", "cani"} << QStringList{"gatto", "cane"};
    QTest::newRow("spanish plural") << "es" << QStringList{"perros", "ciudades"}
                                    << QStringList{"perro", "ciudad"};
}

void TestUnitsMaker::otherLanguagesStemWithTheirOwnPair()
{
    QFETCH(QString, language);
    QFETCH(QStringList, words);
    QFETCH(QStringList, stems);
    if (!HunspellStemmer(language).isValid())
        QSKIP("no Hunspell pair for the language (tools/deps.sh installs it)");
    // The English morphology of the working folder must not answer for them.
    UnitsMaker maker(&workspace->words.units, &workspace->words.learnedUnits, buildAffix, buildDictionary);
    maker.setLanguage(language);
    QVERIFY(maker.hasMorphology());
    maker.setWords(words);
    maker.stem();
    QCOMPARE(maker.words(), stems);
}

void TestUnitsMaker::missingMorphologyLeavesWordsAsTyped()
{
    UnitsMaker maker(&workspace->words.units, &workspace->words.learnedUnits, QStringLiteral("absent.aff"), QStringLiteral("absent.dic"));
    QVERIFY(!maker.hasMorphology());
    maker.setWords({"books", "book"});
    maker.stem();
    QCOMPARE(maker.words(), (QStringList{"books", "book"}));
}

void TestUnitsMaker::knownAndLearnedWordsAreLeftOut()
{
    UnitsMaker maker(&workspace->words.units, &workspace->words.learnedUnits, QStringLiteral("absent.aff"), QStringLiteral("absent.dic"));
    maker.setWords({"bird", "CAT", "dog", "cow", "cat"});
    maker.excludeKnown();
    QCOMPARE(maker.words(), (QStringList{"bird", "dog", "cow"}));
    maker.excludeLearned();
    QCOMPARE(maker.words(), (QStringList{"bird", "cow"}));
    maker.clear();
    QVERIFY(maker.words().isEmpty());
}

int TestUnitsMaker::runDialog(const std::function<void()>& steps)
{
    if (!dialog) {
        makerDialog = std::make_unique<UnitsMakerDialog>(workspace.get());
        dialog = makerDialog.get();
    }
    QTimer::singleShot(0, dialog, [this, steps] {
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        steps();
        if (dialog->isVisible())
            dialog->reject();
    });
    return dialog->exec();
}

void TestUnitsMaker::savingFollowsTheOptions_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("stem");
    QTest::addColumn<bool>("lower");
    QTest::addColumn<bool>("excludeLearned");
    QTest::addColumn<QStringList>("added");

    QTest::newRow("lower case, names kept") << "The and THE, Paris. We met Smith" << false << true << true
                                            << QStringList{"the", "and", "Paris", "we", "met", "Smith"};
    QTest::newRow("letter case kept") << "The and THE, Paris" << false << false << true
                                      << QStringList{"The", "and", "Paris"};
    QTest::newRow("base forms merge") << "books, book; helped" << true << true << true
                                      << QStringList{"book", "help"};
    QTest::newRow("base form already in the dictionary")
        << "cats books" << true << true << true << QStringList{"book"};
    QTest::newRow("base form already learned") << "dogs books" << true << true << true
                                               << QStringList{"book"};
    QTest::newRow("known and learned left out")
        << "Cat dog bird" << false << true << true << QStringList{"bird"};
    QTest::newRow("learned kept on request")
        << "Cat dog bird" << false << true << false << QStringList{"dog", "bird"};
}

void TestUnitsMaker::savingFollowsTheOptions()
{
    QFETCH(QString, text);
    QFETCH(bool, stem);
    QFETCH(bool, lower);
    QFETCH(bool, excludeLearned);
    QFETCH(QStringList, added);
    if (stem && !QFile::exists(buildAffix))
        QSKIP("The build has no morphological dictionary (hunspell-en-us missing)");

    const int result = runDialog([&] {
        checkBox(dialog, QStringLiteral("Приводить к начальной форме"))->setChecked(stem);
        checkBox(dialog, QStringLiteral("Приводить к нижнему регистру"))->setChecked(lower);
        checkBox(dialog, QStringLiteral("Исключать изученные"))->setChecked(excludeLearned);
        for (QGroupBox* box : dialog->findChildren<QGroupBox*>())
            if (box->isCheckable())
                box->setChecked(false);
        // The reverse direction means nothing without translation: words stay words.
        dialog->findChildren<QRadioButton*>().at(1)->setChecked(true);
        dialog->findChild<QPlainTextEdit*>()->setPlainText(text);
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Save)->click();
    });
    QCOMPARE(result, int(QDialog::Accepted));

    const QList<Unit> units = dictionary->unitList();
    QCOMPARE(words(units).mid(1), added);
    for (const Unit& unit : units.mid(1))
        QCOMPARE(unit.translation, QString());
    QCOMPARE(workspace->settings.umdStem, stem);
    QCOMPARE(workspace->settings.umdToLower, lower);
}

void TestUnitsMaker::nothingNewKeepsTheDialogOpen()
{
    bool stillOpen = false;
    BoxAnswerer answerer(QMessageBox::Ok);
    runDialog([&] {
        checkBox(dialog, QStringLiteral("Исключать изученные"))->setChecked(true);
        dialog->findChild<QPlainTextEdit*>()->setPlainText(QStringLiteral("CAT, cat... 42 dog"));
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Save)->click();
        stillOpen = dialog->isVisible();
        QCOMPARE(dialog->findChild<QPlainTextEdit*>()->toPlainText(), QStringLiteral("CAT, cat... 42 dog"));
    });
    QVERIFY(stillOpen);
    QCOMPARE(dictionary->count(), 1);
    // Said, not silent.
    QCOMPARE(answerer.titles, QStringList{QStringLiteral("Информация")});
}

void TestUnitsMaker::cancelAddsNothingAndStoresOptions()
{
    workspace->settings.umdStem = false;
    const int result = runDialog([&] {
        QVERIFY(dialog->findChild<QPlainTextEdit*>()->toPlainText().isEmpty());
        dialog->findChild<QPlainTextEdit*>()->setPlainText(QStringLiteral("bird cow"));
        checkBox(dialog, QStringLiteral("Приводить к начальной форме"))->setChecked(true);
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
    });
    QCOMPARE(result, int(QDialog::Rejected));
    QCOMPARE(dictionary->count(), 1);
    QVERIFY(workspace->settings.umdStem);
    // The batch's progress window appears only while a batch runs, not when
    // a timer of its own runs out.
    QVERIFY(fireRunningTimers(dialog->findChild<QProgressDialog*>()));
    QVERIFY(!dialog->findChild<QProgressDialog*>()->isVisible());
}

void TestUnitsMaker::translationInEitherDirection_data()
{
    QTest::addColumn<bool>("reverse");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<Unit>>("added");
    QTest::addColumn<QString>("report");

    const QString allTranslated = QStringLiteral("Переведено слов: 2 из 2. Без перевода: 0.");
    QTest::newRow("standard") << false << "House, book"
                              << QList<Unit>{Unit{"house", "дом"}, Unit{"book", "книга"}} << allTranslated;
    QTest::newRow("reverse") << true << "дом книга"
                             << QList<Unit>{Unit{"house", "дом"}, Unit{"book", "книга"}} << allTranslated;
    QTest::newRow("a word without translation")
        << false << "house zzyzx" << QList<Unit>{Unit{"house", "дом"}, Unit{"zzyzx", QString()}}
        << "Переведено слов: 1 из 2. Без перевода: 1.\n"
           "Чаще всего: сервис V2: сервис не знает перевода (слов: 1).\n"
           "Слова без перевода добавляются с пустым переводом; в редакторе их выделяет команда "
           "«Все слова без перевода».";
}

void TestUnitsMaker::translationInEitherDirection()
{
    QFETCH(bool, reverse);
    QFETCH(QString, text);
    QFETCH(QList<Unit>, added);
    QFETCH(QString, report);

    BoxAnswerer answerer;
    const int result = runDialog([&] {
        checkBox(dialog, QStringLiteral("Приводить к начальной форме"))->setChecked(false);
        checkBox(dialog, QStringLiteral("Приводить к нижнему регистру"))->setChecked(true);
        for (QGroupBox* box : dialog->findChildren<QGroupBox*>())
            if (box->isCheckable())
                box->setChecked(true);
        const auto radios = dialog->findChildren<QRadioButton*>();
        QCOMPARE(radios.at(0)->text(), QStringLiteral("Английский -> Русский"));
        QCOMPARE(radios.at(1)->text(), QStringLiteral("Русский -> Английский"));
        // Set against the text's language: the text decides.
        radios.at(reverse ? 0 : 1)->setChecked(true);
        dialog->findChild<QPlainTextEdit*>()->setPlainText(text);
        QCOMPARE(radios.at(1)->isChecked(), reverse);
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Save)->click();
    });
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(answerer.texts, QStringList{report});
    QCOMPARE(dictionary->unitList().mid(1), added);
    QCOMPARE(workspace->settings.learningLanguage, QStringLiteral("en"));
    QCOMPARE(workspace->settings.interfaceLanguage, QStringLiteral("ru"));
    QCOMPARE(workspace->settings.umdStandardDirection, !reverse);
}

void TestUnitsMaker::reverseImportSkipsKnownTranslationsAndUntranslatedWords()
{
    server.setFault(TranslationServer::Fault::HttpError, QStringLiteral("ничто"));
    BoxAnswerer answerer;
    const int result = runDialog([&] {
        checkBox(dialog, QStringLiteral("Приводить к нижнему регистру"))->setChecked(true);
        checkBox(dialog, QStringLiteral("Исключать изученные"))->setChecked(true);
        for (QGroupBox* box : dialog->findChildren<QGroupBox*>())
            if (box->isCheckable())
                box->setChecked(true);
        dialog->findChildren<QRadioButton*>().at(1)->setChecked(true);
        // "кошка" and "собака" are the translations of a known and a learned word.
        dialog->findChild<QPlainTextEdit*>()->setPlainText(QStringLiteral("Кошка, собака, дом — книга; ничто"));
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Save)->click();
    });
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(dictionary->unitList().mid(1), (QList<Unit>{Unit{"house", "дом"}, Unit{"book", "книга"}}));
    // One report, and it says what happened to the word without a translation.
    QCOMPARE(answerer.texts.size(), 1);
    QVERIFY(answerer.texts.first().contains(QStringLiteral("Без перевода: 1.")));
    QVERIFY(answerer.texts.first().contains(
        QStringLiteral("Слова без перевода не добавлены: у них нет иностранного слова (не добавлено: 1).")));
}

void TestUnitsMaker::helpExplainsTheOptions()
{
    QString title;
    QString text;
    runDialog([&] {
        QTimer::singleShot(0, dialog, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            title = box->windowTitle();
            text = box->text();
            box->button(QMessageBox::Ok)->click();
        });
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Help)->click();
    });
    QCOMPARE(title, QStringLiteral("Информация"));
    QVERIFY(text.contains(QStringLiteral("books = book, helped = help")));
    QCOMPARE(dictionary->count(), 1);
}

VOCABRIUM_TEST_MAIN(TestUnitsMaker)
#include "tst_unitsmaker.moc"
