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

#include "app/settings.h"
#include "editing/textsplitter.h"
#include "editing/unitsmaker.h"
#include "editing/unitsmakerdialog.h"
#include "model/units.h"
#include "tests/dialoghelpers.h"
#include "tests/testenvironment.h"
#include "tests/translatorsetup.h"
#include "tools/translationserver.h"
#include "translation/translator.h"

namespace {

const QString buildAffix = QStringLiteral(VOCABRIUM_BUILD_DIR "/Morphologic/default.aff");
const QString buildDictionary = QStringLiteral(VOCABRIUM_BUILD_DIR "/Morphologic/default.dic");

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

private slots:
    void initTestCase();
    void init();

    void splitting_data();
    void splitting();
    void stemmingWithTheBuiltDictionary();
    void stemmingKeepsTheDeclaredEncoding_data();
    void stemmingKeepsTheDeclaredEncoding();
    void missingMorphologyLeavesWordsAsTyped();
    void knownAndLearnedWordsAreLeftOut();

    void savingFollowsTheOptions_data();
    void savingFollowsTheOptions();
    void nothingNewKeepsTheDialogOpen();
    void cancelAddsNothingAndStoresOptions();
    void translationInEitherDirection_data();
    void translationInEitherDirection();
    void helpExplainsTheOptions();

private:
    // Opens the dialog, runs \a steps inside it, and returns exec()'s result.
    int runDialog(const std::function<void()>& steps);

    TranslationServer server;
    Units* dictionary = nullptr;
    Units* learned = nullptr;
    UnitsMakerDialog* dialog = nullptr;
};

void TestUnitsMaker::initTestCase()
{
    readSettings();
    learningLanguage = QStringLiteral("en");
    interfaceLanguage = QStringLiteral("ru");
    dictionary = Units::instance(0);
    learned = Units::instance(1);
    QVERIFY(server.loadWordList(QStringLiteral(VOCABRIUM_SOURCE_DIR "/data/dictionaries/default.tsv")));
    QVERIFY(server.listen());
    useOnlyV2Service(server.url(), 3000);

    // The dialog reads the morphology from the working folder, as the program does.
    if (QFile::exists(buildAffix)) {
        QVERIFY(QDir().mkpath(QStringLiteral("Morphologic")));
        QVERIFY(QFile::copy(buildAffix, QStringLiteral("Morphologic/default.aff")));
        QVERIFY(QFile::copy(buildDictionary, QStringLiteral("Morphologic/default.dic")));
    }
    dialog = new UnitsMakerDialog;
}

void TestUnitsMaker::init()
{
    dictionary->setUnits({Unit{QStringLiteral("cat"), QStringLiteral("кошка")}});
    learned->setUnits({Unit{QStringLiteral("Dog"), QStringLiteral("собака")}});
}

void TestUnitsMaker::splitting_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("words");

    QTest::newRow("punctuation, digits, repetition")
        << "one, two; two 3three" << QStringList{"one", "two", "three"};
    QTest::newRow("apostrophes stay inside words")
        << "don't it's l’homme" << QStringList{"don't", "it's", "l’homme"};
    QTest::newRow("hyphen splits") << "e-mail" << QStringList{"e", "mail"};
    QTest::newRow("letter case makes another word")
        << "The and the" << QStringList{"The", "and", "the"};
    QTest::newRow("every separator")
        << "a,b.c:d;e~f!g@h#i$j%k^l&m*n(o)p{q}r\\s/t[u]v<w>x|y?z-A_B+C=D\"E"
        << QString("abcdefghijklmnopqrstuvwxyzABCDE").split(QString(), Qt::SkipEmptyParts);
    QTest::newRow("unicode spaces and digits")
        << QString::fromUtf8("кот\u00a0пёс\u0663дом\u2003\tмир\n") << QStringList{"кот", "пёс", "дом", "мир"};
    QTest::newRow("other signs belong to words")
        << QString::fromUtf8("naïve «quote» 50€ a😀b") << QStringList{"naïve", "«quote»", "€", "a😀b"};
    QTest::newRow("separators only") << " ,.; 123 -- " << QStringList{};
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
    UnitsMaker maker(buildAffix, buildDictionary);
    QVERIFY(maker.hasMorphology());
    maker.setWords({"books", "book", "helped", "Кошки", "café", "xyzzyq"});
    maker.stem();
    QCOMPARE(maker.words(), (QStringList{"book", "help", "Кошки", "café", "xyzzyq"}));
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
    UnitsMaker maker(base + ".aff", base + ".dic");
    QVERIFY(maker.hasMorphology());
    QCOMPARE(maker.stemOf(word), stem);
}

void TestUnitsMaker::missingMorphologyLeavesWordsAsTyped()
{
    UnitsMaker maker(QStringLiteral("absent.aff"), QStringLiteral("absent.dic"));
    QVERIFY(!maker.hasMorphology());
    maker.setWords({"books", "book"});
    maker.stem();
    QCOMPARE(maker.words(), (QStringList{"books", "book"}));
}

void TestUnitsMaker::knownAndLearnedWordsAreLeftOut()
{
    UnitsMaker maker(QStringLiteral("absent.aff"), QStringLiteral("absent.dic"));
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

    QTest::newRow("lower case stores both as the")
        << "The and the" << false << true << true << QStringList{"the", "and", "the"};
    QTest::newRow("letter case kept") << "The and the" << false << false << true
                                      << QStringList{"The", "and", "the"};
    QTest::newRow("base forms merge") << "books, book; helped" << true << true << true
                                      << QStringList{"book", "help"};
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
        checkBox(dialog, QStringLiteral("Приводить к нижему регистру"))->setChecked(lower);
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
    QCOMPARE(umdStem, stem);
    QCOMPARE(umdToLower, lower);
}

void TestUnitsMaker::nothingNewKeepsTheDialogOpen()
{
    bool stillOpen = false;
    runDialog([&] {
        checkBox(dialog, QStringLiteral("Исключать изученные"))->setChecked(true);
        dialog->findChild<QPlainTextEdit*>()->setPlainText(QStringLiteral("CAT, cat... 42 dog"));
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Save)->click();
        stillOpen = dialog->isVisible();
        QCOMPARE(dialog->findChild<QPlainTextEdit*>()->toPlainText(), QStringLiteral("CAT, cat... 42 dog"));
    });
    QVERIFY(stillOpen);
    QCOMPARE(dictionary->count(), 1);
}

void TestUnitsMaker::cancelAddsNothingAndStoresOptions()
{
    umdStem = false;
    const int result = runDialog([&] {
        QVERIFY(dialog->findChild<QPlainTextEdit*>()->toPlainText().isEmpty());
        dialog->findChild<QPlainTextEdit*>()->setPlainText(QStringLiteral("bird cow"));
        checkBox(dialog, QStringLiteral("Приводить к начальной форме"))->setChecked(true);
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
    });
    QCOMPARE(result, int(QDialog::Rejected));
    QCOMPARE(dictionary->count(), 1);
    QVERIFY(umdStem);
    // The batch's progress window appears only while a batch runs.
    QTest::qWait(50);
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
        checkBox(dialog, QStringLiteral("Приводить к нижему регистру"))->setChecked(true);
        for (QGroupBox* box : dialog->findChildren<QGroupBox*>())
            if (box->isCheckable())
                box->setChecked(true);
        const auto radios = dialog->findChildren<QRadioButton*>();
        QCOMPARE(radios.at(0)->text(), QStringLiteral("Английский -> Русский"));
        QCOMPARE(radios.at(1)->text(), QStringLiteral("Русский -> Английский"));
        radios.at(reverse ? 1 : 0)->setChecked(true);
        dialog->findChild<QPlainTextEdit*>()->setPlainText(text);
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Save)->click();
    });
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(answerer.texts, QStringList{report});
    QCOMPARE(dictionary->unitList().mid(1), added);
    QCOMPARE(learningLanguage, QStringLiteral("en"));
    QCOMPARE(interfaceLanguage, QStringLiteral("ru"));
    QCOMPARE(umdStandardDirection, !reverse);
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
