#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "interchange/ankinotes.h"
#include "interchange/wordfiles.h"
#include "tests/testenvironment.h"

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
    void damagedFilesNameTheLine_data();
    void damagedFilesNameTheLine();
    void htmlFieldsBecomeText_data();
    void htmlFieldsBecomeText();
    void roundTrip_data();
    void roundTrip();
    void failedExportReportsAndKeepsTheOldFile();
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

void TestInterchange::damagedFilesNameTheLine_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("message");

    QTest::newRow("quote never closed") << "unclosed-quote.csv" << "Строка 3: кавычка";
    QTest::newRow("binary data") << "binary.tsv" << "Строка 2: в файле двоичные данные";
    QTest::newRow("no words") << "empty.tsv" << "В файле нет ни одного слова.";
    QTest::newRow("XML cut short") << "truncated.kvtml" << "Строка 12, столбец";
    QTest::newRow("KVTML 1") << "version-one.kvtml" << "Строка 2, элемент <kvtml>: версия";
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
    for (const char* extension : {"tsv", "csv", "kvtml"})
        QTest::newRow(extension) << QString::fromLatin1(extension);
}

void TestInterchange::roundTrip()
{
    QFETCH(QString, extension);
    const Pairs units{{"cat", "кошка"},
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
    QCOMPARE(pairs(table.units()), units);
    if (extension == QLatin1String("kvtml"))
        QCOMPARE(table.columns, (QStringList{"Английский", "Русский"}));
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

VOCABRIUM_TEST_MAIN(TestInterchange)
#include "tst_interchange.moc"
