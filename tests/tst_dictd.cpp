#include <memory>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "morphology/hunspellstemmer.h"
#include "tests/testenvironment.h"
#include "translation/articlerules.h"
#include "translation/dictddictionary.h"
#include "translation/offlinedictionaries.h"

namespace {

QString fixtures()
{
    return QFINDTESTDATA("data/dictd/sample-eng-rus.index").section(QLatin1Char('/'), 0, -2);
}

QString article(const QString& name)
{
    QFile file(fixtures() + QStringLiteral("/articles/") + name + QStringLiteral(".txt"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

class TestDictd : public QObject
{
    Q_OBJECT

    // The dictionaries the translator would use, opened once for the run.
    OfflineDictionaries dictionaries;

private slots:
    void articlesAreReadWhole_data();
    void articlesAreReadWhole();
    void damagedDictzipGivesNoArticle();
    void shortTranslation_data();
    void shortTranslation();
    void reference_data();
    void reference();
    void dictionaryPairFromName_data();
    void dictionaryPairFromName();
    void offlineTranslation_data();
    void offlineTranslation();
    void inflectedFormFoundByItsBaseForm_data();
    void inflectedFormFoundByItsBaseForm();
    void dictoolTranslatesAList();
};

void TestDictd::articlesAreReadWhole_data()
{
    QTest::addColumn<QString>("dictionary");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QStringList>("articles");

    QTest::newRow("dictzip, one chunk") << "sample-eng-rus" << "cat" << QStringList{"mueller-cat"};
    QTest::newRow("dictzip, across chunks") << "sample-eng-rus" << "colour" << QStringList{"mueller-colour"};
    QTest::newRow("plain gzip, several articles")
        << "sample-fra-rus" << "maison" << QStringList{"fra-maison-1", "fra-maison-2"};
    QTest::newRow("plain text") << "sample-deu-rus" << "katze" << QStringList{"deu-katze"};
    QTest::newRow("upper case, spaces") << "sample-deu-rus" << "  KATZE " << QStringList{"deu-katze"};
    QTest::newRow("missing headword") << "sample-deu-rus" << "hund" << QStringList{};
    QTest::newRow("offset not a number") << "sample-deu-rus" << "kaputt" << QStringList{};
    QTest::newRow("line without fields") << "sample-deu-rus" << "leer" << QStringList{};
    QTest::newRow("offset past the end") << "sample-deu-rus" << "weit" << QStringList{};
    QTest::newRow("length past the end") << "sample-deu-rus" << "lang" << QStringList{};
    QTest::newRow("dictfmt's own entry") << "sample-deu-rus" << "00-database-utf8" << QStringList{};
}

void TestDictd::articlesAreReadWhole()
{
    QFETCH(QString, dictionary);
    QFETCH(QString, word);
    QFETCH(QStringList, articles);
    DictdDictionary dictd(fixtures() + QLatin1Char('/') + dictionary + QStringLiteral(".index"));
    QStringList expected;
    for (const QString& name : std::as_const(articles))
        expected.append(article(name));
    QCOMPARE(dictd.articles(word), expected);
}

void TestDictd::damagedDictzipGivesNoArticle()
{
    // The article file cut off in the middle: its chunk table promises more
    // than there is, so nothing is read rather than garbage.
    QTemporaryDir folder;
    QFile source(fixtures() + QStringLiteral("/sample-eng-rus.dict.dz"));
    QVERIFY(source.open(QIODevice::ReadOnly));
    const QByteArray bytes = source.readAll();
    QFile cut(folder.filePath(QStringLiteral("cut-eng-rus.dict.dz")));
    QVERIFY(cut.open(QIODevice::WriteOnly));
    cut.write(bytes.left(bytes.size() / 2));
    cut.close();
    QVERIFY(QFile::copy(fixtures() + QStringLiteral("/sample-eng-rus.index"),
                        folder.filePath(QStringLiteral("cut-eng-rus.index"))));
    DictdDictionary dictd(folder.filePath(QStringLiteral("cut-eng-rus.index")));
    QCOMPARE(dictd.articles(QStringLiteral("afternoon")), QStringList());
    QCOMPARE(dictd.articles(QStringLiteral("went")), QStringList());
}

void TestDictd::shortTranslation_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("translation");

    QTest::newRow("mueller, first sense of a noun") << "mueller-cat" << "кот, кошка";
    QTest::newRow("mueller, sense on the transcription line")
        << "mueller-afternoon" << "время после полудня, послеобеденное время";
    QTest::newRow("mueller, pointer as first sense") << "mueller-gone" << "ушедший, уехавший";
    QTest::newRow("mueller, part of speech line first") << "mueller-building"
                                                        << "здание, постройка, строение, сооружение";
    QTest::newRow("mueller, homonyms") << "mueller-back" << "большой чан";
    QTest::newRow("mueller, only a pointer") << "mueller-went" << "";
    QTest::newRow("freedict deu, trailing sense number") << "deu-katze" << "кошка, кот";
    QTest::newRow("freedict deu, numbered senses")
        << "deu-gehen" << "идти, ходить, пойти, отправиться, отправляться";
    QTest::newRow("freedict fra, noun") << "fra-maison-2" << "дом";
    QTest::newRow("freedict ita, stray braces") << "ita-gatto" << "кот, кошка";
    QTest::newRow("freedict eng") << "eng-house" << "дом";
    QTest::newRow("freedict, plain sense after a narrow one") << "fra-chien" << "пёс, собака";
    QTest::newRow("freedict, stress accents dropped") << "deu-alt-2" << "старый, пожилой";
    QTest::newRow("freedict, sense repeated in capitals") << "ita-toro-2" << "бык";
    QTest::newRow("mueller, grammar note only") << "mueller-am" << "";
}

void TestDictd::shortTranslation()
{
    QFETCH(QString, file);
    QFETCH(QString, translation);
    QCOMPARE(ArticleRules::shortTranslation(article(file)), translation);
}

void TestDictd::reference_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("target");

    QTest::newRow("past tense") << "mueller-went" << "go";
    QTest::newRow("plural") << "mueller-children" << "child";
    QTest::newRow("spelling") << "mueller-color" << "colour";
    QTest::newRow("real article") << "mueller-cat" << "";
    QTest::newRow("pointer among senses") << "mueller-gone" << "";
    QTest::newRow("form of a verb") << "mueller-am" << "be";
}

void TestDictd::reference()
{
    QFETCH(QString, file);
    QFETCH(QString, target);
    QCOMPARE(ArticleRules::reference(article(file)), target);
}

void TestDictd::dictionaryPairFromName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("pair");

    QTest::newRow("freedict") << "freedict-deu-rus" << "deu rus";
    QTest::newRow("mueller") << "mueller7" << "eng rus";
    QTest::newRow("two-letter codes") << "my_words.en-ru" << "eng rus";
    QTest::newRow("no pair") << "jargon" << "";
    QTest::newRow("unknown code") << "words-en-xx" << "";
}

void TestDictd::dictionaryPairFromName()
{
    QFETCH(QString, name);
    QFETCH(QString, pair);
    QString from;
    QString to;
    const bool found = OfflineDictionaries::pairOf(name, &from, &to);
    QCOMPARE(found ? from + QLatin1Char(' ') + to : QString(), pair);
}

void TestDictd::offlineTranslation_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("translation");
    QTest::addColumn<bool>("havePair");

    QTest::newRow("english") << "Cat " << "en" << "ru" << "кот, кошка" << true;
    QTest::newRow("pointer followed") << "color" << "en" << "ru" << "цвет, оттенок, тон" << true;
    QTest::newRow("longest article first") << "maison" << "fr" << "ru" << "дом" << true;
    QTest::newRow("article before the noun") << "die Katze" << "de" << "ru" << "кошка, кот" << true;
    QTest::newRow("elided article") << "l'chat" << "fr" << "ru" << "кот, кошка" << true;
    QTest::newRow("missing word") << "dog" << "en" << "ru" << "" << true;
    QTest::newRow("no dictionary") << "kot" << "pl" << "ru" << "" << false;
    QTest::newRow("own case: adjective") << "gut" << "de" << "ru" << "хороший, добрый" << true;
    QTest::newRow("own case: noun") << "Gut" << "de" << "ru" << "имущество, собственность" << true;
    QTest::newRow("surname after the noun") << "Vogel" << "de" << "ru" << "птица" << true;
    QTest::newRow("surname after the noun, any case") << "vogel" << "de" << "ru" << "птица" << true;
    QTest::newRow("name after the noun") << "mosca" << "it" << "ru" << "муха" << true;
    QTest::newRow("numeral before verb and noun") << "sieben" << "de" << "ru" << "семь" << true;
    QTest::newRow("homonym pointing elsewhere skipped") << "saw" << "en" << "ru" << "пила" << true;
    QTest::newRow("main homonym before the first") << "train" << "en" << "ru" << "поезд, состав" << true;
    QTest::newRow("through english") << "gato" << "es" << "ru" << "кот, кошка" << true;
    QTest::newRow("reverse") << "кошка" << "ru" << "en" << "cat" << true;
    QTest::newRow("reverse, capitals kept") << "Кошка" << "ru" << "de" << "Katze" << true;
    QTest::newRow("reverse, several headwords") << "дом" << "ru" << "fr" << "maison" << true;
    QTest::newRow("reverse, missing word") << "собака" << "ru" << "en" << "" << true;
}

void TestDictd::offlineTranslation()
{
    QFETCH(QString, word);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, translation);
    QFETCH(bool, havePair);
    const OfflineDictionaries::Answer answer
        = dictionaries.translate(word, from, to, {fixtures()});
    QCOMPARE(answer.translation, translation);
    QCOMPARE(answer.havePair, havePair);
    QCOMPARE(answer.article.isEmpty(), translation.isEmpty());
    QCOMPARE(answer.via.isEmpty(), from != QLatin1String("es"));
}

void TestDictd::inflectedFormFoundByItsBaseForm_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("translation");

    QTest::newRow("german plural") << "Häuser" << "de" << "дом";
    QTest::newRow("german plural with article") << "die Häuser" << "de" << "дом";
    QTest::newRow("french plural") << "chats" << "fr" << "кот, кошка";
    QTest::newRow("spanish plural through english") << "gatos" << "es" << "кот, кошка";
}

void TestDictd::inflectedFormFoundByItsBaseForm()
{
    QFETCH(QString, word);
    QFETCH(QString, from);
    QFETCH(QString, translation);
    const QString pair = HunspellStemmer::pairName(from);
    if (!QFile::exists(QStringLiteral("/usr/share/hunspell/") + pair + QStringLiteral(".dic")))
        QSKIP("no Hunspell pair for the language (tools/deps.sh installs it)");
    QCOMPARE(dictionaries.translate(word, from, QStringLiteral("ru"), {fixtures()}).translation,
             translation);
}

void TestDictd::dictoolTranslatesAList()
{
    QProcess dictool;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("VOCABRIUM_TRANSLATOR_ENGINES"), QStringLiteral("dictionaries"));
    environment.insert(QStringLiteral("VOCABRIUM_DICTD_FOLDER"), fixtures());
    dictool.setProcessEnvironment(environment);
    dictool.start(QStringLiteral(VOCABRIUM_BUILD_DIR "/dictool"),
                  {QStringLiteral("translate"), QStringLiteral("EN"), QStringLiteral("ru")});
    QVERIFY(dictool.waitForStarted());
    dictool.write("cat\n\n  zzyzx \nColour\n");
    dictool.closeWriteChannel();
    QVERIFY(dictool.waitForFinished());
    QCOMPARE(dictool.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(dictool.readAllStandardOutput()),
             QStringLiteral("cat\tкот, кошка\nzzyzx\t\nColour\tцвет, оттенок, тон\n"));
}

VOCABRIUM_TEST_MAIN(TestDictd)
#include "tst_dictd.moc"
