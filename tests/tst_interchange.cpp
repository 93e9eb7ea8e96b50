#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "interchange/ankinotes.h"
#include "interchange/wordfiles.h"
#include "tests/ankitestpackage.h"
#include "tests/testenvironment.h"
#include "tests/testfiles.h"

using Pairs = QList<QStringList>;

namespace {

Pairs pairs(const QList<Unit>& units)
{
    Pairs result;
    for (const Unit& unit : units)
        result.append({unit.word, unit.translation});
    return result;
}

QString fixture(const QString& name)
{
    return QFINDTESTDATA("data/interchange/" + name);
}

const KvtmlFormat::Language english{QStringLiteral("Английский"), QStringLiteral("en")};
const KvtmlFormat::Language russian{QStringLiteral("Русский"), QStringLiteral("ru")};

} // namespace

class TestInterchange : public QObject
{
    Q_OBJECT

private slots:
    void reading_data();
    void reading();
    void readingText_data();
    void readingText();
    void damagedFilesNameTheLine_data();
    void damagedFilesNameTheLine();
    void htmlFieldsBecomeText_data();
    void htmlFieldsBecomeText();
    void roundTrip_data();
    void roundTrip();
    void tabSeparatedExportHasNoQuotes();
    void failedExportReportsAndKeepsTheOldFile();
    void ankiPackages_data();
    void ankiPackages();
    void brokenAnkiPackagesAreRefused_data();
    void brokenAnkiPackagesAreRefused();
    void recordingsReplaceTheOldOnes();
};

void TestInterchange::reading_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("columns");
    QTest::addColumn<int>("word");
    QTest::addColumn<int>("translation");
    QTest::addColumn<Pairs>("units");

    QTest::newRow("spreadsheet CSV: header, quotes, line breaks")
        << "spreadsheet.csv" << QStringList{"Word", "Translation", "Example"} << 0 << 1
        << Pairs{{"cat", "кошка"},
                 {"to look after", "присматривать,\nзаботиться"},
                 {"house", "дом"},
                 {"tab\there", "с табуляцией"},
                 {"quote \"here\"", "кавычки"}};
    QTest::newRow("CSV, third column") << "spreadsheet.csv" << QStringList{"Word", "Translation", "Example"}
                                       << 0 << 2
                                       << Pairs{{"cat", "The cat sat, then slept."},
                                                {"to look after", "She looks after the \"twins\"."},
                                                {"house", ""},
                                                {"tab\there", ""},
                                                {"quote \"here\"", ""}};
    QTest::newRow("Russian Excel: windows-1251, semicolons")
        << "excel-russian.csv" << QStringList{"слово", "перевод"} << 0 << 1
        << Pairs{{"ёж", "hedgehog"}, {"щи; борщ", "soup"}, {"Шкаф", "wardrobe"}};
    QTest::newRow("TSV without header") << "plain.tsv" << QStringList{"", ""} << 0 << 1
                                        << Pairs{{"book", "книга"},
                                                 {"word with", "quoted\ttab"},
                                                 {"lonely", ""},
                                                 {"multi\nline", "много"}};
    QTest::newRow("KVTML, three languages and lessons")
        << "three-languages.kvtml" << QStringList{"English", "German", "Russian"} << 0 << 2
        << Pairs{{"dog", "собака"}, {"cat & kitten", "кошка"}, {"fish", "рыба"}};
    QTest::newRow("KVTML, first two languages")
        << "three-languages.kvtml" << QStringList{"English", "German", "Russian"} << 0 << 1
        << Pairs{{"dog", "Hund"}, {"cat & kitten", "Katze"}, {"fish", ""}};
    QTest::newRow("Anki notes with HTML") << "anki-notes.txt" << QStringList{"", ""} << 0 << 1
                                          << Pairs{{"horse", "лошадь конь"},
                                                   {"bread", "хлеб \"батон\""},
                                                   {"<tag> & co", "тег, и компания"}};
    QTest::newRow("Anki notes without HTML") << "anki-plain.txt" << QStringList{"Front", "Back"} << 0 << 1
                                             << Pairs{{"<b>bold</b>", "жирный"}};
}

void TestInterchange::reading()
{
    QFETCH(QString, file);
    QFETCH(QStringList, columns);
    QFETCH(int, word);
    QFETCH(int, translation);
    QFETCH(Pairs, units);
    WordTable table;
    QString error;
    QVERIFY2(WordFiles::read(fixture(file), &table, &error), qPrintable(error));
    QCOMPARE(table.columns, columns);
    QCOMPARE(pairs(table.units(word, translation)), units);
}

void TestInterchange::readingText_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<Pairs>("units");

    QTest::newRow("first pair looks like labels, CSV")
        << "words.csv" << QByteArray("word,слово\nhouse,дом\n") << Pairs{{"word", "слово"}, {"house", "дом"}};
    QTest::newRow("first pair looks like labels, TSV")
        << "words.tsv" << QByteArray("question\tвопрос\nanswer\tответ\n")
        << Pairs{{"question", "вопрос"}, {"answer", "ответ"}};
    QTest::newRow("first pair is a language")
        << "words.csv" << QByteArray("German;немецкий\nFrench;французский\n")
        << Pairs{{"German", "немецкий"}, {"French", "французский"}};
    QTest::newRow("real header") << "words.csv" << QByteArray("Word,Translation\ncat,кошка\n") << Pairs{{"cat", "кошка"}};
    QTest::newRow("semicolons with commas inside")
        << "words.csv" << QByteArray("la;(артикль ж. р.), её\nle;(артикль м. р.)\nles;(мн. ч.)\nun;один, одна\n")
        << Pairs{{"la", "(артикль ж. р.), её"}, {"le", "(артикль м. р.)"}, {"les", "(мн. ч.)"}, {"un", "один, одна"}};
    QTest::newRow("KWordQuiz CSV") << "words.csv" << QByteArray("Title:\tMy words\nAuthor:\tme\ncat\tкошка\n")
                                   << Pairs{{"cat", "кошка"}};
    QTest::newRow("Anki comment line")
        << "notes.txt" << QByteArray("#separator:tab\n#html:true\n# a comment\ncat\tкошка\n") << Pairs{{"cat", "кошка"}};
    QTest::newRow("old Anki export without header lines")
        << "notes.txt" << QByteArray("ph<b>o</b>to\tфото<br>снимок\nsea&nbsp;lion\tморской лев\n")
        << Pairs{{"photo", "фото снимок"}, {"sea lion", "морской лев"}};
    QTest::newRow("KVTML 1.0") << "words.kvtml"
                               << QByteArray("<?xml version=\"1.0\"?>\n<!DOCTYPE kvtml SYSTEM \"kvoctrain.dtd\">\n"
                                             "<kvtml encoding=\"UTF-8\" generator=\"kwordquiz 0.8\">\n"
                                             " <lesson><desc no=\"1\">one</desc></lesson>\n"
                                             " <e m=\"1\"><o l=\"en\">dog</o><t l=\"ru\">собака</t></e>\n"
                                             " <e><o>cat</o><t></t></e>\n</kvtml>\n")
                               << Pairs{{"dog", "собака"}, {"cat", ""}};
    QTest::newRow("Latin-1 letters in a KVTML that says UTF-8")
        << "animals.kvtml"
        << QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<kvtml version=\"2.0\">\n<entries>"
                      "<entry id=\"0\"><translation id=\"0\"><text>bj\xf6rn</text></translation>"
                      "<translation id=\"1\"><text>медведь</text></translation></entry></entries></kvtml>\n")
        << Pairs{{"björn", "медведь"}};
}

void TestInterchange::readingText()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(Pairs, units);
    WordTable table;
    QString error;
    QVERIFY2(WordFiles::parse(name, content, &table, &error), qPrintable(error));
    QCOMPARE(pairs(table.units()), units);
}

void TestInterchange::damagedFilesNameTheLine_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("message");

    QTest::newRow("quote never closed") << "unclosed-quote.csv" << "Строка 3: кавычка";
    QTest::newRow("binary data") << "binary.tsv" << "Строка 2: в файле двоичные данные";
    QTest::newRow("no words") << "empty.tsv" << "В файле нет ни одного слова.";
    QTest::newRow("XML cut short") << "truncated.kvtml" << "Строка 12, столбец";
    QTest::newRow("encoding error") << "bad-encoding.kvtml" << "Строка 5, столбец 30";
    QTest::newRow("translation without id") << "missing-id.kvtml" << "Строка 6, элемент <translation>";
    QTest::newRow("Anki header") << "anki-bad-header.txt" << "Строка 3: неверный номер столбца";
    QTest::newRow("missing file") << "absent.csv" << "Не удалось открыть файл";
}

void TestInterchange::damagedFilesNameTheLine()
{
    QFETCH(QString, file);
    QFETCH(QString, message);
    const QString path = file == QLatin1String("absent.csv") ? QStringLiteral("absent.csv") : fixture(file);
    WordTable table;
    QString error;
    QVERIFY(!WordFiles::read(path, &table, &error));
    QVERIFY2(error.contains(message), qPrintable(error));
}

void TestInterchange::htmlFieldsBecomeText_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("text");

    QTest::newRow("tags") << "<b>big</b><br/>house" << "big house";
    QTest::newRow("entities") << "a&nbsp;&lt;b&gt; &#1076;&#x43E;&#1084; &quot;c&quot;" << "a <b> дом \"c\"";
    QTest::newRow("unknown entity and bare ampersand") << "R&D &bogus; x" << "R&D &bogus; x";
    QTest::newRow("sound reference") << "[sound:cat.mp3]cat" << "cat";
    QTest::newRow("unclosed tag") << "word <b" << "word";
    QTest::newRow("bold letter") << "ph<b>o</b>tograph" << "photograph";
    QTest::newRow("bold stressed vowel") << "фотогр<b>а</b>фия" << "фотография";
    QTest::newRow("ruby reading") << "<ruby>東<rt>とう</rt></ruby>京" << "東京";
    QTest::newRow("blocks separate") << "<div>one</div><div>two</div><p>three</p>" << "one two three";
    QTest::newRow("named entities") << "caf&eacute; &laquo;x&raquo; &mdash; &apos;" << "café «x» — '";
    QTest::newRow("cloze") << "{{c1::Paris}} is the {{c2::capital::what?}}" << "Paris is the capital";
}

void TestInterchange::htmlFieldsBecomeText()
{
    QFETCH(QString, html);
    QFETCH(QString, text);
    QCOMPARE(AnkiNotes::htmlToText(html), text);
}

void TestInterchange::roundTrip_data()
{
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QStringList>("first");
    const QStringList firsts[] = {{"cat", "кошка"}, {"word", "слово"}, {"<?xml version", "объявление"},
                                  {"#html:true", "заголовок"}};
    for (const char* extension : {"tsv", "csv", "kvtml"}) {
        for (const QStringList& first : firsts)
            QTest::addRow("%s, first %s", extension, qPrintable(first.at(0))) << QString::fromLatin1(extension) << first;
    }
}

void TestInterchange::roundTrip()
{
    QFETCH(QString, extension);
    QFETCH(QStringList, first);
    const bool tabs = extension == QLatin1String("tsv");
    const Pairs units{first,
                      {"to look after", "присматривать, заботиться"},
                      {"say \"hi\"", "сказать «привет»"},
                      {"\"quoted", "leading quote"},
                      {"a\tb", "semi;colon"},
                      {"line\nbreak", "перенос"},
                      {"<tag> & co", "]]> тег"},
                      {"lonely", ""}};
    QList<Unit> written;
    for (const QStringList& pair : units)
        written.append(Unit{pair.at(0), pair.at(1)});
    QTemporaryDir dir;
    const QString path = dir.filePath("words." + extension);
    QString error;
    QVERIFY2(WordFiles::write(path, written, english, russian, &error), qPrintable(error));
    WordTable table;
    QVERIFY2(WordFiles::read(path, &table, &error), qPrintable(error));
    Pairs expected = units;
    if (tabs) {
        expected[4][0] = "a b";
        expected[5][0] = "line break";
    }
    QCOMPARE(pairs(table.units()), expected);
    if (extension == QLatin1String("kvtml"))
        QCOMPARE(table.columns, (QStringList{"Английский", "Русский"}));
}

void TestInterchange::tabSeparatedExportHasNoQuotes()
{
    const QList<Unit> units{{"say \"hi\"", "a\tb"}, {"\"x\"", "line\nbreak"}};
    QCOMPARE(WordFiles::encode(WordFiles::Format::Tsv, units, english, russian, {}),
             QByteArray("say \"hi\"\ta b\n\"x\"\tline break\n"));
    QCOMPARE(WordFiles::encode(WordFiles::Format::Csv, units, english, russian, {}, QLatin1Char('\t')),
             QByteArray("\xEF\xBB\xBFsay \"hi\"\ta b\r\n\"x\"\tline break\r\n"));
}

void TestInterchange::failedExportReportsAndKeepsTheOldFile()
{
    QTemporaryDir dir;
    QString error;
    QVERIFY(!WordFiles::write(dir.filePath("words.doc"), {Unit{"a", "b"}}, english, russian, &error));
    QVERIFY(error.contains(".kvtml"));
    QVERIFY(!QFile::exists(dir.filePath("words.doc")));

    QVERIFY(!WordFiles::write(dir.filePath("missing/words.csv"), {Unit{"a", "b"}}, english, russian, &error));
    QVERIFY(error.contains("missing/words.csv"));
}

void TestInterchange::ankiPackages_data()
{
    QTest::addColumn<int>("layout");
    QTest::newRow("collection.anki2, JSON map") << int(AnkiTestPackage::Layout::Legacy);
    QTest::newRow("collection.anki21b, zstd and protobuf") << int(AnkiTestPackage::Layout::Latest);
}

void TestInterchange::ankiPackages()
{
    QFETCH(int, layout);
    QTemporaryDir dir;
    const QString path = dir.filePath("deck.apkg");
    const QByteArray sound("ID3 pretend mp3");
    QVERIFY(AnkiTestPackage::write(
        path, {{7, {"Слово", "Перевод", "Звук"}}, {8, {"Cloze", "Extra"}}},
        {{7, {"ph<b>o</b>tograph", "фотогр<b>а</b>фия", "[sound:photo.mp3]"}},
         {7, {"sea&nbsp;lion", "морской лев<br>сивуч", ""}},
         {8, {"{{c1::Paris}}", "capital"}},
         {7, {"cat [sound:missing.mp3]", "кошка", ""}}},
        {{"photo.mp3", sound}, {"picture.png", "PNG"}}, AnkiTestPackage::Layout(layout)));
    WordTable table;
    QString error;
    QVERIFY2(WordFiles::read(path, &table, &error), qPrintable(error));
    QCOMPARE(table.columns, (QStringList{"Слово", "Перевод", "Звук"}));
    QCOMPARE(pairs(table.units()),
             (Pairs{{"photograph", "фотография"}, {"sea lion", "морской лев сивуч"}, {"Paris", "capital"}, {"cat", "кошка"}}));
    const auto recordings = table.wordRecordings();
    QCOMPARE(recordings.size(), 1);
    QCOMPARE(recordings.first().first, QStringLiteral("photograph"));
    QCOMPARE(table.recordings.value(recordings.first().second), sound);

    const QString dictionary = dir.filePath("deck.dic");
    QCOMPARE(WordFiles::writeRecordings(dictionary, table, 0, &error), 1);
    QCOMPARE(readFile(dir.filePath("deck.sounds/photograph.mp3")), sound);
}

void TestInterchange::brokenAnkiPackagesAreRefused_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("message");
    QTest::newRow("not a zip") << "text" << "не является zip-архивом";
    QTest::newRow("cut short") << "truncate" << "повреждён";
    QTest::newRow("no collection") << "other zip" << "нет коллекции";
    QTest::newRow("no notes") << "empty" << "нет ни одной записи";
    QTest::newRow("collection not SQLite") << "garbage collection" << "повреждён";
}

void TestInterchange::brokenAnkiPackagesAreRefused()
{
    QFETCH(QString, damage);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString path = dir.filePath("deck.apkg");
    const QList<AnkiTestPackage::Note> notes{{1, {"cat", "кошка"}}, {1, {"dog", "собака"}}};
    QVERIFY(AnkiTestPackage::write(path, {{1, {"Front", "Back"}}}, damage == "empty" ? QList<AnkiTestPackage::Note>() : notes,
                                   {}, AnkiTestPackage::Layout::Legacy));
    QByteArray bytes = readFile(path);
    if (damage == "text") {
        bytes = "cat\tкошка\n";
    } else if (damage == "truncate") {
        bytes.truncate(bytes.size() / 2);
    } else if (damage != "empty") {
        zip_t* zip = zip_open(QFile::encodeName(path).constData(), ZIP_TRUNCATE, nullptr);
        QVERIFY(zip);
        static const char garbage[] = "this is not a database, it only pretends to be one";
        zip_file_add(zip, damage == "other zip" ? "notes.txt" : "collection.anki2",
                     zip_source_buffer(zip, garbage, sizeof garbage, 0), ZIP_FL_OVERWRITE);
        QCOMPARE(zip_close(zip), 0);
        bytes = readFile(path);
    }
    WordTable table;
    QString error;
    QVERIFY(!WordFiles::parse("deck.apkg", bytes, &table, &error));
    QVERIFY2(error.contains(message), qPrintable(error));
}

void TestInterchange::recordingsReplaceTheOldOnes()
{
    QTemporaryDir dir;
    const QString dictionary = dir.filePath("deck.dic");
    const QString folder = WordFiles::recordingFolder(dictionary);
    QVERIFY(QDir().mkpath(folder));
    writeFile(folder + "/old.mp3", "old");
    WordTable table;
    table.rows = {{"new", "новый"}, {"a/b", "дробь"}};
    table.sounds = {"n.ogg", "n.ogg"};
    table.recordings.insert("n.ogg", "OggS");
    QString error;
    QCOMPARE(WordFiles::writeRecordings(dictionary, table, 0, &error), 1);
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{"new.ogg"});
}

VOCABRIUM_TEST_MAIN(TestInterchange)
#include "tst_interchange.moc"
