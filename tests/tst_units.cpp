#include <memory>
#include <QBuffer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "model/dictionaryformat.h"
#include "model/units.h"
#include "session/workspace.h"
#include "testenvironment.h"
#include "testfiles.h"

namespace {




} // namespace

class TestUnits : public QObject
{
    Q_OBJECT

    // The settings, words and tables of one test function, built afresh
    // for each.
    std::unique_ptr<Workspace> workspace;

private slots:
    void init();
    void cleanup();

    void catDictionaryIsByteExact();
    void readsFiles_data();
    void readsFiles();
    void nullAndEmptyTranslationsRoundTrip();
    void hostileFilesStayBounded_data();
    void hostileFilesStayBounded();

    void keysAfterLoadAddRemoveAndSave();
    void emptyListStartsAtKeyZero();
    void removingAbsentKeyStillSignals();
    void absentKeyGivesNullStrings();
    void addAndEditTrimStrings();
    void setUnitsRenumbersSilently();

    void findMatchesTrimmedCaseInsensitively_data();
    void findMatchesTrimmedCaseInsensitively();
    void findFollowsEveryChange();

    void unreadableDictionaryKeepsItsName_data();
    void unreadableDictionaryKeepsItsName();
    void learnedListDoesNotTouchCurrentFileName();
    void saveIntoMissingFolderKeepsEntries();

private:
    std::unique_ptr<QTemporaryDir> dir;
    Units* units = nullptr;
};

void TestUnits::init()
{
    dir = freshFolders();
    QVERIFY(dir);
    workspace = workspaceOpenIn(*dir);
    units = &workspace->words.units;
    QVERIFY(units != (&workspace->words.learnedUnits));
}

void TestUnits::cleanup()
{
    units = nullptr;
    workspace.reset();
    dir.reset();
}

void TestUnits::catDictionaryIsByteExact()
{
    units->add(QStringLiteral("cat"), QStringLiteral("кот"));
    saveWords(*units);
    const QByteArray expected = hex("00000001 00000006 006300610074 00000006 043A043E0442");
    QCOMPARE(readFile(units->fileName()), expected);
    QCOMPARE(expected.size(), 24);

    units->setUnits({});
    units->load();
    QCOMPARE(units->count(), 1);
    QCOMPARE(units->word(0), QStringLiteral("cat"));
    QCOMPARE(units->translation(0), QStringLiteral("кот"));
}

void TestUnits::readsFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<QStringList>("translations");

    QTest::newRow("empty file") << QByteArray() << QStringList() << QStringList();
    QTest::newRow("four zero bytes") << hex("00000000") << QStringList() << QStringList();
    QTest::newRow("count only") << hex("00000002") << QStringList() << QStringList();
    QTest::newRow("two records")
        << hex("00000002 00000002 0061 00000002 0062 00000002 0063 00000000")
        << QStringList{"a", "c"} << QStringList{"b", ""};
    QTest::newRow("count larger than records keeps records read")
        << hex("00000005 00000002 0061 00000002 0062")
        << QStringList{"a"} << QStringList{"b"};
    QTest::newRow("last record cut in its translation")
        << hex("00000002 00000002 0061 00000002 0062 00000002 0063 00000008 0064")
        << QStringList{"a", "c"} << QStringList{"b", ""};
    QTest::newRow("count smaller than records stops at count")
        << hex("00000001 00000002 0061 00000002 0062 00000002 0063 00000002 0064")
        << QStringList{"a"} << QStringList{"b"};
}

void TestUnits::readsFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, words);
    QFETCH(QStringList, translations);

    writeFile(workspace->words.units.fileName(), bytes);
    units->load();
    QCOMPARE(units->count(), words.size());
    for (int i = 0; i < words.size(); ++i) {
        QCOMPARE(units->word(i), words.at(i));
        QCOMPARE(units->translation(i), translations.at(i));
    }
    units->add(QStringLiteral("next"), QString());
    QCOMPARE(units->lastKey(), int(words.size()));
}

void TestUnits::nullAndEmptyTranslationsRoundTrip()
{
    const QByteArray bytes = hex("00000002 00000002 0061 FFFFFFFF 00000002 0062 00000000");
    writeFile(workspace->words.units.fileName(), bytes);
    units->load();
    QVERIFY(units->translation(0).isNull());
    QVERIFY(!units->translation(1).isNull());
    QVERIFY(units->translation(1).isEmpty());
    saveWords(*units);
    QCOMPARE(readFile(units->fileName()), bytes);
}

void TestUnits::hostileFilesStayBounded_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("expectedCount");

    QTest::newRow("count of four billion") << hex("FFFFFFFF 00000002 0061 00000002 0062") << 1;
    QTest::newRow("string length past the end") << hex("00000001 7FFFFFF0 0061") << 1;
    QTest::newRow("huge length in translation") << hex("00000001 00000002 0061 FFFFFFFE") << 1;
    QTest::newRow("odd length") << hex("00000001 00000003 006100 00000002 0062") << 1;
    QTest::newRow("three bytes") << hex("000001") << 0;
    QByteArray noise(4096, '\0');
    for (int i = 0; i < noise.size(); ++i)
        noise[i] = char((i * 7919 + 13) & 0xFF);
    QTest::newRow("random bytes") << noise << -1;
}

void TestUnits::hostileFilesStayBounded()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, expectedCount);

    const QList<Unit> read = DictionaryFormat::readUnits(bytes);
    if (expectedCount >= 0)
        QCOMPARE(read.size(), expectedCount);
    // Each record needs at least 8 bytes, so no record list can outgrow the file.
    QVERIFY(read.size() <= bytes.size() / 8 + 1);
    qint64 characters = 0;
    for (const Unit& unit : read)
        characters += unit.word.size() + unit.translation.size();
    QVERIFY(characters * 2 <= bytes.size());
}

void TestUnits::keysAfterLoadAddRemoveAndSave()
{
    for (int i = 0; i < 6; ++i)
        units->add(QStringLiteral("w%1").arg(i), QStringLiteral("t%1").arg(i));
    units->remove(3);
    QCOMPARE(units->keys(), (QList<int>{0, 1, 2, 4, 5}));
    QSignalSpy added(units, &Units::added);
    units->add(QStringLiteral("w6"), QStringLiteral("t6"));
    QCOMPARE(added.takeFirst().at(0).toInt(), 6);

    saveWords(*units);
    units->load();
    QCOMPARE(units->keys(), (QList<int>{0, 1, 2, 3, 4, 5}));
    QCOMPARE(units->word(3), QStringLiteral("w4"));
    QCOMPARE(units->word(5), QStringLiteral("w6"));
}

void TestUnits::emptyListStartsAtKeyZero()
{
    QCOMPARE(units->lastKey(), -1);
    QSignalSpy added(units, &Units::added);
    units->add(QStringLiteral("first"), QString());
    QCOMPARE(added.size(), 1);
    QCOMPARE(added.at(0).at(0).toInt(), 0);
}

void TestUnits::removingAbsentKeyStillSignals()
{
    units->add(QStringLiteral("one"), QStringLiteral("один"));
    QSignalSpy removed(units, &Units::removed);
    units->remove(42);
    QCOMPARE(removed.size(), 1);
    QCOMPARE(removed.at(0).at(0).toInt(), 42);
    QCOMPARE(units->count(), 1);
}

void TestUnits::absentKeyGivesNullStrings()
{
    QVERIFY(units->word(7).isNull());
    QVERIFY(units->translation(7).isNull());
    const Unit unit = units->unit(7);
    QVERIFY(unit.word.isNull() && unit.translation.isNull());
}

void TestUnits::addAndEditTrimStrings()
{
    units->add(QStringLiteral("  house "), QStringLiteral("\tдом  "));
    QCOMPARE(units->word(0), QStringLiteral("house"));
    QCOMPARE(units->translation(0), QStringLiteral("дом"));
    QSignalSpy added(units, &Units::added);
    units->edit(0, QStringLiteral(" home"), QStringLiteral("дом, жилище "));
    units->edit(9, QStringLiteral(" new "), QStringLiteral(" новый "));
    QCOMPARE(added.size(), 0);
    QCOMPARE(units->word(0), QStringLiteral("home"));
    QCOMPARE(units->translation(0), QStringLiteral("дом, жилище"));
    QCOMPARE(units->word(9), QStringLiteral("new"));
}

void TestUnits::setUnitsRenumbersSilently()
{
    units->edit(0, QStringLiteral("a"), QString());
    units->edit(2, QStringLiteral("b"), QString());
    units->edit(7, QStringLiteral("c"), QString());
    QSignalSpy added(units, &Units::added);
    QSignalSpy removed(units, &Units::removed);
    units->setUnits({{QStringLiteral("x"), QStringLiteral("1")},
                     {QStringLiteral("y"), QStringLiteral("2")},
                     {QStringLiteral("z"), QStringLiteral("3")}});
    QCOMPARE(units->keys(), (QList<int>{0, 1, 2}));
    QCOMPARE(units->word(2), QStringLiteral("z"));
    QCOMPARE(added.size() + removed.size(), 0);
    QCOMPARE(units->find(QStringLiteral("c")), -1);
    QCOMPARE(units->find(QStringLiteral("Y")), 1);
}

void TestUnits::findMatchesTrimmedCaseInsensitively_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("key");

    QTest::newRow("blanks and capitals") << QStringLiteral("  Apple ") << 1;
    QTest::newRow("duplicate gives smaller key") << QStringLiteral("pear") << 0;
    QTest::newRow("cyrillic capitals") << QStringLiteral("ЁЖИК") << 3;
    QTest::newRow("absent") << QStringLiteral("plum") << -1;
    QTest::newRow("empty") << QString() << -1;
}

void TestUnits::findMatchesTrimmedCaseInsensitively()
{
    QFETCH(QString, text);
    QFETCH(int, key);
    units->add(QStringLiteral("pear"), QString());
    units->add(QStringLiteral("apple"), QString());
    units->add(QStringLiteral("Pear"), QString());
    units->add(QStringLiteral("ёжик"), QString());
    QCOMPARE(units->find(text), key);
}

void TestUnits::findFollowsEveryChange()
{
    // The index behind find() must give what a linear scan would after any
    // sequence of changes.
    auto linearFind = [this](const QString& text) {
        const QString needle = text.trimmed().toLower();
        for (int key : units->keys())
            if (units->word(key).toLower() == needle)
                return key;
        return -1;
    };
    const QStringList probe{"a", "b", "c", "d", "e"};
    auto check = [&] {
        for (const QString& word : probe)
            QCOMPARE(units->find(word), linearFind(word));
    };
    units->add(QStringLiteral("a"), QString());
    units->add(QStringLiteral("b"), QString());
    units->add(QStringLiteral("A"), QString());
    check();
    units->remove(0);
    check();
    units->edit(1, QStringLiteral("c"), QString());
    check();
    units->edit(5, QStringLiteral("a"), QString());
    units->add(QStringLiteral("d"), QString());
    check();
    saveWords(*units);
    units->load();
    check();
    units->setUnits({{QStringLiteral("e"), QString()}, {QStringLiteral("d"), QString()}});
    check();
}

void TestUnits::unreadableDictionaryKeepsItsName_data()
{
    addUnreadableRows();
}

void TestUnits::unreadableDictionaryKeepsItsName()
{
    // The lists are made before the window, which reports an unreadable
    // stored dictionary; switching to the default here would hide it.
    QFETCH(QString, kind);
    const QString stored = dir->filePath(QStringLiteral("stored"));
    QVERIFY(makeUnreadable(stored + QStringLiteral(".dic"), kind));
    workspace->settings.currentFileName = stored;
    workspace->words.units.setFileName(workspace->settings.currentFileName + QStringLiteral(".dic"));
    units->load();
    QCOMPARE(openDictionaryBase(*workspace), stored);
    QCOMPARE(units->count(), 0);
    QVERIFY(!units->isWhole());
}

void TestUnits::learnedListDoesNotTouchCurrentFileName()
{
    const QString before = openDictionaryBase(*workspace);
    (&workspace->words.learnedUnits)->load();
    QCOMPARE(openDictionaryBase(*workspace), before);
    QCOMPARE((&workspace->words.learnedUnits)->count(), 0);
    QCOMPARE((&workspace->words.learnedUnits)->fileName(), workspace->settings.learnedWordsName);
}

void TestUnits::saveIntoMissingFolderKeepsEntries()
{
    units->add(QStringLiteral("kept"), QStringLiteral("сохранено"));
    workspace->settings.currentFileName = dir->filePath(QStringLiteral("no/such/folder/words"));
    workspace->words.units.setFileName(workspace->settings.currentFileName + QStringLiteral(".dic"));
    saveWords(*units);
    QVERIFY(!QFile::exists(units->fileName()));
    QCOMPARE(units->count(), 1);
}

VOCABRIUM_TEST_MAIN(TestUnits)
#include "tst_units.moc"
