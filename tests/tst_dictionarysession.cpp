#include <memory>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "config/settings.h"
#include "learning/learningrun.h"
#include "model/dictionaryfiles.h"
#include "model/lessonselector.h"
#include "model/questions.h"
#include "model/statuses.h"
#include "model/units.h"
#include "model/variants.h"
#include "session/dictionarysession.h"
#include "session/recentfiles.h"
#include "session/workspace.h"
#include "testenvironment.h"
#include "testfiles.h"

// What switching, creating and saving do to the open dictionary, without a
// window: the files on disk and the words in memory afterwards.
class TestDictionarySession : public QObject
{
    Q_OBJECT

    // The settings, words and tables of one test function, built afresh
    // for each, before the members below that point into them.
    std::unique_ptr<Workspace> workspace;

private slots:
    void init();
    void cleanup();
    void changingTheDictionary_data();
    void changingTheDictionary();
    void endingARunAddsToTheTotalsAndSaves();
    void recentFilesKeepFiveExistingOnes_data();
    void recentFilesKeepFiveExistingOnes();

private:
    QString path(const QString& name) const { return dir->filePath(name); }

    std::unique_ptr<QTemporaryDir> dir;
    Units* units = nullptr;
    Statuses* statuses = nullptr;
};

void TestDictionarySession::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    workspace = std::make_unique<Workspace>();
    units = &workspace->words.units;
    statuses = &workspace->words.statuses;
    // The pools follow the statuses as the window wires them.
    connect(statuses, &Statuses::initial, (&workspace->words.questions), &Questions::add);
    connect(statuses, &Statuses::initial, (&workspace->words.variants), &Variants::add);
    connect(statuses, &Statuses::learned, (&workspace->words.questions), &Questions::remove);
    workspace->settings.learnedWordsName = path(QStringLiteral("learned.dic"));
    workspace->settings.dictionariesPath = dir->path() + QLatin1Char('/');
}

void TestDictionarySession::cleanup()
{
    workspace.reset();
    dir.reset();
}

void TestDictionarySession::changingTheDictionary_data()
{
    QTest::addColumn<bool>("create");
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("saveFails");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("wordsInMemory");

    const QStringList open{"a", "b", "c"};
    QTest::newRow("switch") << false << "other.dic" << false << int(DictionarySession::Outcome::Opened)
                            << QStringList{"x", "y"};
    QTest::newRow("switch, save fails") << false << "other.dic" << true
                                        << int(DictionarySession::Outcome::Refused) << open;
    QTest::newRow("new") << true << "fresh.dic" << false << int(DictionarySession::Outcome::Opened) << QStringList();
    QTest::newRow("new, save fails") << true << "fresh.dic" << true << int(DictionarySession::Outcome::Refused)
                                     << open;
    // The open dictionary's words in memory must not come back.
    QTest::newRow("new over the open one") << true << "open.dic" << false
                                           << int(DictionarySession::Outcome::Reloaded) << QStringList();
}

void TestDictionarySession::changingTheDictionary()
{
    QFETCH(bool, create);
    QFETCH(QString, target);
    QFETCH(bool, saveFails);
    QFETCH(int, kind);
    QFETCH(QStringList, wordsInMemory);
    const QString open = path(QStringLiteral("open.dic"));
    writeWords(open, {"a", "b", "c"});
    writeWords(path(QStringLiteral("other.dic")), {"x", "y"});
    DictionaryFiles files(&workspace->words);
    LearningRun run(&workspace->words, &workspace->settings);
    DictionarySession session(&workspace->settings, &files, &run, (&workspace->words.learnedUnits), statuses);
    QCOMPARE(files.open(open), QString());
    statuses->setStatus(1, Statuses::Learned);
    if (saveFails)
        QVERIFY(QDir().mkdir(path(QStringLiteral("open.inf"))));
    QSignalSpy read(&session, &DictionarySession::dictionaryRead);

    const DictionarySession::Outcome outcome = create ? session.create(path(target)) : session.switchTo(path(target));
    QCOMPARE(int(outcome.kind), kind);
    QCOMPARE(outcome.error.isEmpty(), !saveFails);
    QCOMPARE(read.count(), saveFails ? 0 : 1);
    QStringList words;
    for (const Unit& unit : units->unitList())
        words.append(unit.word);
    QCOMPARE(words, wordsInMemory);
    if (saveFails) {
        QCOMPARE(files.openFileName(), open);
        QVERIFY(!QFile::exists(path(QStringLiteral("fresh.dic"))));
    } else if (kind == DictionarySession::Outcome::Opened) {
        // The dictionary left behind was saved first.
        QCOMPARE(DictionaryFiles::readStatusValues(open), (QList<int>{999, 0, 100, 0}));
        QCOMPARE(files.openFileName(), path(target));
    } else {
        QVERIFY(DictionaryFiles::read(open).units.isEmpty());
    }
}

void TestDictionarySession::endingARunAddsToTheTotalsAndSaves()
{
    const QString open = path(QStringLiteral("run.dic"));
    writeWords(open, {"one", "two", "three", "four", "five", "six", "seven"});
    DictionaryFiles files(&workspace->words);
    LearningRun run(&workspace->words, &workspace->settings);
    DictionarySession session(&workspace->settings, &files, &run, (&workspace->words.learnedUnits), statuses);
    QCOMPARE(files.open(open), QString());
    for (int key = 0; key < 6; ++key)
        statuses->setStatus(key, Statuses::Initial);
    const int learnedBefore = workspace->settings.learnedCount;
    QVERIFY(run.next() >= 0);
    const int asked = (&workspace->words.questions)->current();
    statuses->setStatus(asked, Statuses::Learned);

    QCOMPARE(session.endRun(), QString());
    QCOMPARE(workspace->settings.learnedCount, learnedBefore + 1);
    QCOMPARE((&workspace->words.questions)->count(), 0);
    QCOMPARE(DictionaryFiles::readStatusValues(open).value(asked + 1), int(Statuses::Learned));
}

void TestDictionarySession::recentFilesKeepFiveExistingOnes_data()
{
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QString>("current");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("opened anew") << QStringList{"b", "c"} << "a" << QStringList{"a", "b", "c"};
    QTest::newRow("reopened") << QStringList{"b", "a", "c"} << "a" << QStringList{"a", "b", "c"};
    QTest::newRow("five at most") << QStringList{"b", "c", "d", "e", "f"} << "a"
                                  << QStringList{"a", "b", "c", "d", "e"};
    QTest::newRow("removed files leave") << QStringList{"b", "gone", "c"} << "a" << QStringList{"a", "b", "c"};
}

void TestDictionarySession::recentFilesKeepFiveExistingOnes()
{
    QFETCH(QStringList, stored);
    QFETCH(QString, current);
    QFETCH(QStringList, expected);
    const auto inDir = [this](QStringList names) {
        for (QString& name : names) {
            name = path(name + QStringLiteral(".dic"));
            if (!name.contains(QStringLiteral("gone")))
                writeWords(name, {"w"});
        }
        return names;
    };
    QCOMPARE(RecentFiles::withCurrent(inDir(stored), inDir({current}).first()), inDir(expected));
    QCOMPARE(RecentFiles::menuText(path(current + QStringLiteral(".DIC"))), current);
}

VOCABRIUM_TEST_MAIN(TestDictionarySession)
#include "tst_dictionarysession.moc"
