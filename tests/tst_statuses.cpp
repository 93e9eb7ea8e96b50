#include <memory>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "model/statuses.h"
#include "model/units.h"
#include "model/dictionaryfiles.h"
#include "session/workspace.h"
#include "testenvironment.h"
#include "testfiles.h"

namespace {




QString infFile(Workspace* workspace)
{
    return DictionaryFiles::statusesPath(workspace->words.units.fileName());
}

} // namespace

class TestStatuses : public QObject
{
    Q_OBJECT

    // The settings, words and tables of one test function, built afresh
    // for each.
    std::unique_ptr<Workspace> workspace;

private slots:
    void init();
    void cleanup();

    void savesByteExactFile();
    void loadsFiles_data();
    void loadsFiles();
    void loadSignalsEachStateOnce();
    void earlierFormatIsConvertedAndSavedWithMarker();
    void saveKeepsOneValuePerEntryInKeyOrder();

    void setStatusSignals_data();
    void setStatusSignals();
    void incrementWalksTheModel();
    void decrementFloorsAtOneAndAlwaysSignals_data();
    void decrementFloorsAtOneAndAlwaysSignals();
    void predicates();
    void resetAllAndSetList();
    void countOfAgreesWithAFullCount();

private:
    void makeDictionary(int words);

    std::unique_ptr<QTemporaryDir> dir;
    Units* units = nullptr;
    Statuses* statuses = nullptr;
};

void TestStatuses::init()
{
    dir = freshFolders();
    QVERIFY(dir);
    workspace = workspaceOpenIn(*dir);
    units = &workspace->words.units;
    statuses = &workspace->words.statuses;
    workspace->settings.learningModel = {1, 2};
    makeDictionary(0);
    statuses->load();
}

void TestStatuses::cleanup()
{
    units = nullptr;
    statuses = nullptr;
    workspace.reset();
    dir.reset();
}

void TestStatuses::makeDictionary(int words)
{
    QList<Unit> list;
    for (int i = 0; i < words; ++i)
        list.append({QStringLiteral("w%1").arg(i), QStringLiteral("t%1").arg(i)});
    units->setUnits(list);
}

void TestStatuses::savesByteExactFile()
{
    makeDictionary(3);
    statuses->setList({0, 5, 100});
    saveStatuses(*units, *statuses);
    QCOMPARE(readFile(infFile(workspace.get())), hex("00000004 000003E7 00000000 00000005 00000064"));
}

void TestStatuses::loadsFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("words");
    QTest::addColumn<QList<int>>("values");

    QTest::newRow("missing file") << QByteArray() << 2 << QList<int>{0, 0};
    QTest::newRow("marker only") << hex("00000001 000003E7") << 2 << QList<int>{0, 0};
    QTest::newRow("current format") << hex("00000003 000003E7 00000007 00000064") << 2
                                    << QList<int>{7, 100};
    QTest::newRow("earlier format") << hex("00000003 0000000B 00000004 00000000") << 3
                                    << QList<int>{100, 0, 0};
    QTest::newRow("shorter than dictionary") << hex("00000002 000003E7 00000005") << 3
                                             << QList<int>{5, 0, 0};
    QTest::newRow("longer than dictionary")
        << hex("00000004 000003E7 00000064 00000005 00000005") << 1 << QList<int>{100};
    QTest::newRow("count past the data") << hex("7FFFFFFF 000003E7 00000006") << 2
                                         << QList<int>{6, 0};
    QTest::newRow("truncated value") << hex("00000003 000003E7 00000006 0000") << 2
                                     << QList<int>{6, 0};
}

void TestStatuses::loadsFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, words);
    QFETCH(QList<int>, values);

    makeDictionary(words);
    if (!bytes.isNull())
        writeFile(infFile(workspace.get()), bytes);
    statuses->load();
    for (int key = 0; key < values.size(); ++key)
        QCOMPARE(statuses->status(key), values.at(key));
    // Nothing beyond the dictionary survives, so the next save stays aligned.
    saveStatuses(*units, *statuses);
    QList<int> expected = values;
    expected.prepend(Statuses::StatusFileMarker);
    QFile file(infFile(workspace.get()));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QDataStream in(&file);
    in.setVersion(QDataStream::Qt_4_6);
    QList<int> saved;
    in >> saved;
    QCOMPARE(saved, expected);
}

void TestStatuses::loadSignalsEachStateOnce()
{
    makeDictionary(4);
    writeFile(infFile(workspace.get()), hex("00000005 000003E7 00000000 00000005 00000064 00000007"));
    QSignalSpy unlearned(statuses, &Statuses::unlearned);
    QSignalSpy initial(statuses, &Statuses::initial);
    QSignalSpy learned(statuses, &Statuses::learned);
    statuses->load();
    QCOMPARE(unlearned.size(), 1);
    QCOMPARE(unlearned.at(0).at(0).toInt(), 0);
    QCOMPARE(initial.size(), 1);
    QCOMPARE(initial.at(0).at(0).toInt(), 1);
    QCOMPARE(learned.size(), 1);
    QCOMPARE(learned.at(0).at(0).toInt(), 2);
    QCOMPARE(statuses->status(3), 7);
}

void TestStatuses::earlierFormatIsConvertedAndSavedWithMarker()
{
    makeDictionary(3);
    writeFile(infFile(workspace.get()), hex("00000003 0000000B 00000004 00000000"));
    statuses->load();
    saveStatuses(*units, *statuses);
    QCOMPARE(readFile(infFile(workspace.get())), hex("00000004 000003E7 00000064 00000000 00000000"));
}

void TestStatuses::saveKeepsOneValuePerEntryInKeyOrder()
{
    makeDictionary(3);
    statuses->setList({5, 100, 7});
    QObject::connect(units, &Units::added, statuses, &Statuses::add);
    QObject::connect(units, &Units::removed, statuses, &Statuses::remove);
    units->remove(1);
    units->add(QStringLiteral("new"), QString());
    statuses->setStatus(40, 5); // a stray key without an entry
    saveStatuses(*units, *statuses);
    QCOMPARE(readFile(infFile(workspace.get())), hex("00000004 000003E7 00000005 00000007 00000000"));
    QObject::disconnect(units, nullptr, statuses, nullptr);
}

void TestStatuses::setStatusSignals_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("signal");

    QTest::newRow("0") << 0 << QStringLiteral("unlearned");
    QTest::newRow("5") << 5 << QStringLiteral("initial");
    QTest::newRow("100") << 100 << QStringLiteral("learned");
    QTest::newRow("7") << 7 << QString();
    QTest::newRow("1") << 1 << QString();
}

void TestStatuses::setStatusSignals()
{
    QFETCH(int, value);
    QFETCH(QString, signal);
    QSignalSpy unlearned(statuses, &Statuses::unlearned);
    QSignalSpy initial(statuses, &Statuses::initial);
    QSignalSpy learned(statuses, &Statuses::learned);
    for (int round = 0; round < 2; ++round)
        statuses->setStatus(3, value);
    QCOMPARE(statuses->status(3), value);
    QCOMPARE(unlearned.size(), signal == QLatin1String("unlearned") ? 2 : 0);
    QCOMPARE(initial.size(), signal == QLatin1String("initial") ? 2 : 0);
    QCOMPARE(learned.size(), signal == QLatin1String("learned") ? 2 : 0);
}

void TestStatuses::incrementWalksTheModel()
{
    workspace->settings.learningModel = {1, 2};
    statuses->setStatus(0, 5);
    QSignalSpy learned(statuses, &Statuses::learned);
    statuses->increment(0);
    QCOMPARE(statuses->status(0), 6);
    QCOMPARE(learned.size(), 0);
    statuses->increment(0);
    QCOMPARE(statuses->status(0), 100);
    QCOMPARE(learned.size(), 1);

    statuses->increment(8);
    QCOMPARE(statuses->status(8), 1);
}

void TestStatuses::decrementFloorsAtOneAndAlwaysSignals_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("after");
    QTest::newRow("from 5") << 5 << 4;
    QTest::newRow("from 2") << 2 << 1;
    QTest::newRow("at the floor") << 1 << 1;
}

void TestStatuses::decrementFloorsAtOneAndAlwaysSignals()
{
    QFETCH(int, before);
    QFETCH(int, after);
    statuses->setStatus(0, before);
    QSignalSpy decremented(statuses, &Statuses::decremented);
    statuses->decrement(0);
    QCOMPARE(statuses->status(0), after);
    QCOMPARE(decremented.size(), 1);
}

void TestStatuses::predicates()
{
    workspace->settings.learningModel = {1, 2, 3};
    statuses->setStatus(0, 100);
    statuses->setStatus(1, 5);
    statuses->setStatus(2, 0);
    QVERIFY(statuses->isLearned(0));
    QVERIFY(!statuses->isLearned(1));
    QVERIFY(!statuses->isLearned(77));
    QVERIFY(statuses->isLearning(1));
    QVERIFY(!statuses->isLearning(0));
    QVERIFY(statuses->isUnlearned(2));
    QVERIFY(statuses->isUnlearned(77));
    QCOMPARE(statuses->countOf(100), 1);
}

void TestStatuses::resetAllAndSetList()
{
    makeDictionary(3);
    statuses->setList({100, 100, 5});
    QSignalSpy unlearned(statuses, &Statuses::unlearned);
    statuses->resetAll();
    QCOMPARE(unlearned.size(), 3);
    QCOMPARE(statuses->countOf(100), 0);

    statuses->setStatus(2, 9);
    statuses->setStatus(7, 9);
    QSignalSpy initial(statuses, &Statuses::initial);
    statuses->setList({100, 0, 5});
    QCOMPARE(initial.size(), 0);
    QCOMPARE(statuses->status(2), 5);
    QCOMPARE(statuses->status(7), 0);
}

void TestStatuses::countOfAgreesWithAFullCount()
{
    // countOf() keeps running totals; they must match a plain count after
    // any mix of changes.
    makeDictionary(20);
    statuses->load();
    QList<int> stored;
    for (int key = 0; key < 20; ++key)
        stored.append(key);
    auto check = [&] {
        for (int value : {0, 1, 4, 5, 6, 100, 250}) {
            int expected = 0;
            for (int key : stored)
                expected += statuses->status(key) == value;
            QCOMPARE(statuses->countOf(value), expected);
        }
    };
    for (int i = 0; i < 20; ++i)
        statuses->setStatus(i, (i * 37) % 3 == 0 ? 100 : 5);
    check();
    statuses->increment(1);
    statuses->increment(25);
    stored.append(25);
    statuses->decrement(2);
    statuses->decrement(2);
    statuses->setStatus(3, 250);
    statuses->remove(4);
    statuses->remove(4);
    stored.removeOne(4);
    check();
    statuses->add(4);
    statuses->add(5);
    stored.append(4);
    check();
    statuses->resetAll();
    check();
    statuses->setList({100, 100, 7});
    QCOMPARE(statuses->countOf(100), 2);
    QCOMPARE(statuses->countOf(0), 0);
}

VOCABRIUM_TEST_MAIN(TestStatuses)
#include "tst_statuses.moc"
