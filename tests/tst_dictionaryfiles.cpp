#include <memory>
#include <QBuffer>
#include <QFile>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <algorithm>
#include <csignal>
#include <unistd.h>

#include "config/settings.h"
#include "model/dictionaryfiles.h"
#include "model/dictionaryformat.h"
#include "model/questions.h"
#include "model/statuses.h"
#include "model/units.h"
#include "model/variants.h"
#include "session/singleinstance.h"
#include "session/terminationsignals.h"
#include "session/workspace.h"
#include "testenvironment.h"
#include "testfiles.h"

using Step = DictionaryFiles::SaveStep;
Q_DECLARE_METATYPE(DictionaryFiles::SaveStep)

namespace {

QByteArray dicBytes(const QStringList& words)
{
    QList<Unit> units;
    for (const QString& word : words)
        units.append({word, word.toUpper()});
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    DictionaryFormat::writeUnits(&buffer, units);
    return bytes;
}

QByteArray infBytes(const QList<int>& values)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QList<int> list{Statuses::StatusFileMarker};
    list += values;
    DictionaryFormat::writeIntList(&buffer, list);
    return bytes;
}

} // namespace

class TestDictionaryFiles : public QObject
{
    Q_OBJECT

    // The settings, words and tables of one test function, built afresh
    // for each, before the members below that point into them.
    std::unique_ptr<Workspace> workspace;

private slots:
    void init();
    void cleanup();
    void damagedFileIsNeverWritten_data();
    void damagedFileIsNeverWritten();
    void unreadableDefaultKeepsItsStatuses();
    void interruptedSaveLoadsOldOrNewPair_data();
    void interruptedSaveLoadsOldOrNewPair();
    void failedWriteSavesNeitherAndSaysWhich_data();
    void failedWriteSavesNeitherAndSaysWhich();
    void emptyDictionaryWithStatusesIsDamaged();
    void damagedStatusesAreSetAsideAndReported_data();
    void damagedStatusesAreSetAsideAndReported();
    void learnedListFollowsTheOpenDictionary();
    void openingEmptiesThePools();
    void secondCopyWakesTheFirst();
    void lockMovesWhereItCanBeMade();
    void sigtermBecomesASignal();
    void storedGeometryAndFontsAreSensible_data();
    void storedGeometryAndFontsAreSensible();

private:
    QString path(const QString& name) const { return dir->filePath(name); }
    void openPair(const QString& name, const QStringList& words, const QList<int>& values);

    std::unique_ptr<QTemporaryDir> dir;
    Units* dictionary = nullptr;
    Units* learned = nullptr;
    Statuses* statuses = nullptr;
    std::unique_ptr<DictionaryFiles> files;
};

void TestDictionaryFiles::init()
{
    dir = freshFolders();
    QVERIFY(dir);
    workspace = std::make_unique<Workspace>();
    dictionary = &workspace->words.units;
    learned = &workspace->words.learnedUnits;
    statuses = &workspace->words.statuses;
    files = std::make_unique<DictionaryFiles>(&workspace->words);
    workspace->settings.dictionariesPath = dir->path() + QLatin1Char('/');
    writeFile(path(QStringLiteral("start.dic")), dicBytes({"a", "b", "c"}));
    QVERIFY(files->open(path(QStringLiteral("start.dic"))).isEmpty());
}

void TestDictionaryFiles::cleanup()
{
    files.reset();
    workspace.reset();
    dir.reset();
}

void TestDictionaryFiles::openPair(const QString& name, const QStringList& words, const QList<int>& values)
{
    writeFile(path(name + QStringLiteral(".dic")), dicBytes(words));
    writeFile(path(name + QStringLiteral(".inf")), infBytes(values));
    QCOMPARE(files->open(path(name + QStringLiteral(".dic"))), QString());
}

void TestDictionaryFiles::damagedFileIsNeverWritten_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    const QByteArray whole = dicBytes({"apple", "pear", "plum"});
    QByteArray noise(3000, '\0');
    for (int i = 0; i < noise.size(); ++i)
        noise[i] = char((i * 7919 + 13) % 251);
    QTest::newRow("random bytes") << noise << "";
    QTest::newRow("tab-separated text") << QByteArray("cat\tкот\ndog\tсобака\n") << "";
    QTest::newRow("cut short") << whole.left(whole.size() - 5) << "обрывается";
    QTest::newRow("fewer records than counted") << whole.left(whole.size() - 20) << "";
    QTest::newRow("trailing bytes") << whole + QByteArray("junk") << "лишние";
    QTest::newRow("shorter than a count") << QByteArray("\0\0", 2) << "короче";
}

void TestDictionaryFiles::damagedFileIsNeverWritten()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    const QString damaged = path(QStringLiteral("damaged.dic"));
    writeFile(damaged, bytes);
    writeFile(path(QStringLiteral("damaged.inf")), infBytes({100, 5}));

    const QString problem = files->open(damaged);
    QVERIFY(problem.contains(damaged));
    QVERIFY2(problem.contains(reason), qPrintable(problem));
    // Still on the previous dictionary, which saves as usual.
    QCOMPARE(files->openFileName(), path(QStringLiteral("start.dic")));
    QCOMPARE(dictionary->count(), 3);
    QCOMPARE(files->save(), QString());

    // At start-up the default dictionary opens in its place.
    QStringList problems = files->openAtStartUp(damaged, path(QStringLiteral("default.dic")));
    QCOMPARE(problems.size(), 1);
    QCOMPARE(files->openFileName(), path(QStringLiteral("default.dic")));
    QCOMPARE(files->save(), QString());
    QCOMPARE(readFile(damaged), bytes);
    QCOMPARE(readFile(path(QStringLiteral("damaged.inf"))), infBytes({100, 5}));

    // The same file as the default dictionary: nothing is written at all.
    QFile::remove(path(QStringLiteral("default.inf")));
    writeFile(path(QStringLiteral("default.dic")), bytes);
    problems = files->openAtStartUp(path(QStringLiteral("default.dic")), path(QStringLiteral("default.dic")));
    QCOMPARE(problems.size(), 2);
    dictionary->add(QStringLiteral("new"), QString());
    QCOMPARE(files->save(), QString());
    QCOMPARE(readFile(path(QStringLiteral("default.dic"))), bytes);
    QVERIFY(!QFile::exists(path(QStringLiteral("default.inf"))));
}

void TestDictionaryFiles::unreadableDefaultKeepsItsStatuses()
{
    // A folder where the default dictionary should be, as when it cannot be read.
    QDir(dir->path()).mkdir(QStringLiteral("default.dic"));
    writeFile(path(QStringLiteral("default.inf")), infBytes({100, 100, 5}));
    const QStringList problems = files->openAtStartUp(path(QStringLiteral("missing.dic")), path(QStringLiteral("default.dic")));
    QVERIFY(problems.join(QLatin1Char(' ')).contains(QStringLiteral("папка")));
    QCOMPARE(files->save(), QString());
    QCOMPARE(readFile(path(QStringLiteral("default.inf"))), infBytes({100, 100, 5}));

    // A file far larger than a dictionary (sparse, so it costs no disk) is refused by its size.
    QFile big(path(QStringLiteral("big.dic")));
    QVERIFY(big.open(QIODevice::WriteOnly));
    QVERIFY(big.resize(DictionaryFiles::MaximumFileSize + 1));
    big.close();
    QVERIFY(files->open(big.fileName()).contains(QStringLiteral("МБ")));
    // A link to an endless device is no dictionary either, and is not read.
    QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path(QStringLiteral("zero.dic"))));
    QVERIFY(files->open(path(QStringLiteral("zero.dic"))).contains(QStringLiteral("не обычный файл")));
}

void TestDictionaryFiles::interruptedSaveLoadsOldOrNewPair_data()
{
    QTest::addColumn<Step>("step");
    QTest::addColumn<bool>("newPair");
    QTest::newRow("after the new dictionary") << Step::DictionaryWritten << false;
    QTest::newRow("after the new statuses") << Step::StatusesWritten << false;
    QTest::newRow("after the marker") << Step::Committed << true;
    QTest::newRow("between the two moves") << Step::DictionaryReplaced << true;
    QTest::newRow("before the marker is removed") << Step::StatusesReplaced << true;
}

void TestDictionaryFiles::interruptedSaveLoadsOldOrNewPair()
{
    QFETCH(Step, step);
    QFETCH(bool, newPair);
    openPair(QStringLiteral("pair"), {"one", "two", "three", "four"}, {100, 5, 0, 7});
    // Remove a word and reverse the rest: every status moves to another position.
    dictionary->remove(0);
    QList<Unit> units = dictionary->unitList();
    QList<int> values;
    for (int key : dictionary->keys())
        values.prepend(statuses->status(key));
    std::reverse(units.begin(), units.end());
    dictionary->setUnits(units);
    statuses->setList(values);

    DictionaryFiles interrupted(&workspace->words, [step](Step reached) { return reached != step; });
    QCOMPARE(interrupted.save(), QString());

    const DictionaryFiles::Reading reading = DictionaryFiles::read(path(QStringLiteral("pair.dic")));
    QCOMPARE(reading.kind, DictionaryFiles::Reading::Whole);
    QStringList words;
    for (const Unit& unit : reading.units)
        words.append(unit.word);
    const QList<int> stored = DictionaryFiles::readStatusValues(path(QStringLiteral("pair.dic")));
    if (newPair) {
        QCOMPARE(words, (QStringList{"four", "three", "two"}));
        QCOMPARE(stored, (QList<int>{999, 7, 0, 5}));
    } else {
        QCOMPARE(words, (QStringList{"one", "two", "three", "four"}));
        QCOMPARE(stored, (QList<int>{999, 100, 5, 0, 7}));
    }
    // Recovery leaves nothing behind, and the next save is whole again.
    QVERIFY(!QFile::exists(path(QStringLiteral("pair.saving"))));
    QVERIFY(!QFile::exists(path(QStringLiteral("pair.dic.new"))));
    QVERIFY(!QFile::exists(path(QStringLiteral("pair.inf.new"))));
    QCOMPARE(files->save(), QString());
    QCOMPARE(readFile(path(QStringLiteral("pair.inf"))), infBytes({7, 0, 5}));
}

void TestDictionaryFiles::failedWriteSavesNeitherAndSaysWhich_data()
{
    QTest::addColumn<QString>("obstacle");
    QTest::addColumn<QString>("named");
    QTest::newRow("dictionary cannot be written") << "save.dic.new" << "save.dic";
    QTest::newRow("statuses cannot be written") << "save.inf.new" << "save.inf";
    QTest::newRow("statuses file is a folder") << "save.inf" << "save.inf";
}

void TestDictionaryFiles::failedWriteSavesNeitherAndSaysWhich()
{
    QFETCH(QString, obstacle);
    QFETCH(QString, named);
    openPair(QStringLiteral("save"), {"one", "two"}, {100, 0});
    const QByteArray dicBefore = readFile(path(QStringLiteral("save.dic")));
    const QByteArray infBefore = readFile(path(QStringLiteral("save.inf")));
    QFile::remove(path(obstacle));
    QVERIFY(QDir(dir->path()).mkdir(obstacle));

    dictionary->remove(0);
    const QString error = files->save();
    QVERIFY2(error.contains(path(named)), qPrintable(error));
    QCOMPARE(readFile(path(QStringLiteral("save.dic"))), dicBefore);
    if (obstacle != QLatin1String("save.inf"))
        QCOMPARE(readFile(path(QStringLiteral("save.inf"))), infBefore);
    QVERIFY(!QFile::exists(path(QStringLiteral("save.saving"))));
}

void TestDictionaryFiles::emptyDictionaryWithStatusesIsDamaged()
{
    const QString empty = path(QStringLiteral("emptied.dic"));
    writeFile(empty, QByteArray());
    const QByteArray statusBytes = infBytes({100, 100, 5});
    writeFile(path(QStringLiteral("emptied.inf")), statusBytes);

    QVERIFY2(files->open(empty).contains(QStringLiteral("пуст")), qPrintable(files->open(empty)));
    QCOMPARE(files->openFileName(), path(QStringLiteral("start.dic")));
    const QStringList problems = files->openAtStartUp(empty, path(QStringLiteral("default.dic")));
    QVERIFY(problems.join(QLatin1Char(' ')).contains(empty));
    QCOMPARE(files->save(), QString());
    QCOMPARE(readFile(path(QStringLiteral("emptied.inf"))), statusBytes);

    // A new dictionary is an empty file without statuses, and opens.
    QFile::remove(path(QStringLiteral("emptied.inf")));
    QCOMPARE(files->open(empty), QString());
}

void TestDictionaryFiles::damagedStatusesAreSetAsideAndReported_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray whole = infBytes({100, 5, 7});
    QByteArray noise(64, '\0');
    for (int i = 0; i < noise.size(); ++i)
        noise[i] = char((i * 7919 + 13) % 251);
    QTest::newRow("random bytes") << noise;
    QTest::newRow("cut short") << whole.left(whole.size() - 2);
    QTest::newRow("huge count") << hex("7fffffff 000003e7 00000064");
    QTest::newRow("trailing bytes") << whole + QByteArray("xx");
    QTest::newRow("no status value") << infBytes({100, 5000, 7});
}

void TestDictionaryFiles::damagedStatusesAreSetAsideAndReported()
{
    QFETCH(QByteArray, bytes);
    const QString dic = path(QStringLiteral("words.dic"));
    const QString inf = path(QStringLiteral("words.inf"));
    writeFile(dic, dicBytes({"one", "two", "three"}));
    writeFile(inf, bytes);

    QCOMPARE(files->open(dic), QString());
    const QString notice = files->takeNotices().join(QLatin1Char(' '));
    QVERIFY2(notice.contains(inf + QStringLiteral(".damaged")), qPrintable(notice));
    QCOMPARE(readFile(inf + QStringLiteral(".damaged")), bytes);
    QCOMPARE(statuses->countOf(Statuses::Unlearned), 3);
    QCOMPARE(files->save(), QString());
    QCOMPARE(readFile(inf), infBytes({0, 0, 0}));
    QCOMPARE(readFile(inf + QStringLiteral(".damaged")), bytes);
    QVERIFY(files->takeNotices().isEmpty());
}

void TestDictionaryFiles::learnedListFollowsTheOpenDictionary()
{
    // The learned-words file named relative to the working directory, opened by its full path.
    writeFile(workspace->settings.learnedWordsName, dicBytes({"known"}));
    learned->load();
    QCOMPARE(files->open(QDir::current().absoluteFilePath(workspace->settings.learnedWordsName)), QString());
    QVERIFY(files->openIsLearnedFile());
    dictionary->add(QStringLiteral("fresh"), QString());
    QCOMPARE(files->save(), QString());
    QCOMPARE(learned->find(QStringLiteral("fresh")), 1);
    QCOMPARE(files->saveLearned(), QString());
    QCOMPARE(files->open(path(QStringLiteral("start.dic"))), QString());
    QCOMPARE(files->saveLearned(), QString());
    const DictionaryFiles::Reading stored = DictionaryFiles::read(workspace->settings.learnedWordsName);
    QCOMPARE(stored.units.size(), 2);
    QCOMPARE(stored.units.last().word, QStringLiteral("fresh"));
}

void TestDictionaryFiles::openingEmptiesThePools()
{
    openPair(QStringLiteral("first"), {"a", "b", "c", "d", "e", "f", "g"}, {5, 5, 5, 5, 5, 5, 5});
    (&workspace->words.questions)->add(6);
    (&workspace->words.variants)->add(6);
    openPair(QStringLiteral("second"), {"x", "y"}, {0, 0});
    QCOMPARE((&workspace->words.questions)->count(), 0);
    QCOMPARE((&workspace->words.variants)->count(), 0);
}

void TestDictionaryFiles::secondCopyWakesTheFirst()
{
    const QString lock = path(QStringLiteral("running.lock"));
    SingleInstance first(lock);
    QVERIFY(first.claim());
    QSignalSpy woken(&first, &SingleInstance::activationRequested);
    SingleInstance second(lock);
    QVERIFY(!second.claim());
    QVERIFY(second.activateRunning(2000));
    QVERIFY(woken.wait(2000));
}

void TestDictionaryFiles::lockMovesWhereItCanBeMade()
{
    // A settings folder where no lock file can be made (here: its place is
    // taken by a file): both copies must meet at the same fallback lock.
    writeFile(path(QStringLiteral("config")), "not a folder");
    const QString blocked = path(QStringLiteral("config/running.lock"));
    const QStringList fallbacks{path(QStringLiteral("runtime/vocabrium.lock"))};
    SingleInstance first(blocked, fallbacks);
    QVERIFY(first.claim());
    QVERIFY(first.hasLock());
    SingleInstance second(blocked, fallbacks);
    QVERIFY(!second.claim());
    QSignalSpy woken(&first, &SingleInstance::activationRequested);
    QVERIFY(second.activateRunning(2000));
    QVERIFY(woken.wait(2000));

    // Nowhere to lock at all: the copy starts, knowing it must not write.
    SingleInstance nowhere(blocked, {path(QStringLiteral("config/other.lock"))});
    QVERIFY(nowhere.claim());
    QVERIFY(!nowhere.hasLock());
}

void TestDictionaryFiles::sigtermBecomesASignal()
{
    TerminationSignals termination;
    QSignalSpy requested(&termination, &TerminationSignals::terminationRequested);
    ::kill(::getpid(), SIGTERM);
    QVERIFY(requested.wait(2000));
}

void TestDictionaryFiles::storedGeometryAndFontsAreSensible_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPoint>("position");
    QTest::addColumn<QRect>("expected");
    const QRect screen(0, 0, 1280, 800);
    QTest::newRow("fits") << QSize(400, 400) << QPoint(250, 250) << QRect(250, 250, 400, 400);
    QTest::newRow("huge") << QSize(100000, 100000) << QPoint(0, 0) << screen;
    QTest::newRow("far off screen") << QSize(400, 400) << QPoint(-90000, 90000) << QRect(0, 400, 400, 400);
    QTest::newRow("hanging over the edge") << QSize(400, 400) << QPoint(1200, 10) << QRect(880, 10, 400, 400);
    QTest::newRow("no size") << QSize(-1, -1) << QPoint(10, 10) << QRect(10, 10, 400, 400);
}

void TestDictionaryFiles::storedGeometryAndFontsAreSensible()
{
    QFETCH(QSize, size);
    QFETCH(QPoint, position);
    QFETCH(QRect, expected);
    QCOMPARE(fitToScreen(size, position, QRect(0, 0, 1280, 800)), expected);
    QCOMPARE(sensibleFontSize(5000, 10, MaximumInterfaceFontSize), MaximumInterfaceFontSize);
    QCOMPARE(sensibleFontSize(-3, 10, MaximumInterfaceFontSize), 10);
}

VOCABRIUM_TEST_MAIN(TestDictionaryFiles)
#include "tst_dictionaryfiles.moc"
