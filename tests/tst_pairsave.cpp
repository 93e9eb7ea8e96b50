#include <memory>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "interchange/wordfiles.h"
#include "model/dictionaryfiles.h"
#include "model/dictionaryformat.h"
#include "model/statuses.h"
#include "testenvironment.h"
#include "testfiles.h"

/*
    The paired save of a large dictionary stopped after each of its steps
    (as a kill would leave it) and on a disk that fills up at each step. The
    save that rewrites the files in place is only taken where the folder
    allows no new files, which root never meets; tools/test-unprivileged.sh
    runs this test as an ordinary user on a small file system of its own
    (VOCABRIUM_SMALL_DISK), as CI does.
*/

using Step = DictionaryFiles::SaveStep;
Q_DECLARE_METATYPE(DictionaryFiles::SaveStep)

namespace {

constexpr int WordCount = 200000;

struct Pair
{
    QList<Unit> units;
    QList<int> values;  // marker first, as in the file
};

Pair makePair(const QString& prefix, int count, int seed)
{
    Pair pair;
    pair.units.reserve(count);
    pair.values.reserve(count + 1);
    pair.values.append(Statuses::StatusFileMarker);
    for (int i = 0; i < count; ++i) {
        pair.units.append({prefix + QString::number(i), QStringLiteral("перевод") + QString::number(i)});
        pair.values.append((i * seed) % 101);
    }
    return pair;
}

QString sizeText(qint64 bytes)
{
    return bytes < 1024 ? QStringLiteral("%1 B").arg(bytes) : QStringLiteral("%1 KB").arg(bytes / 1024);
}

// Every file the save may leave: the pair, its new files and marker, and
// the staging folder of a save in place.
QString leftOnDisk(const QString& folder, const QString& dataHome)
{
    QStringList found;
    for (const QString& root : {folder, dataHome}) {
        QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            it.next();
            if (it.fileName() == QLatin1String("filler"))
                continue;
            found.append(QStringLiteral("%1 %2").arg(QDir(root).relativeFilePath(it.filePath()),
                                                     sizeText(it.fileInfo().size())));
        }
    }
    found.sort();
    return found.join(QStringLiteral(", "));
}

// Takes all but \a room bytes of the free space of the file system holding \a folder.
void fill(const QString& folder, qint64 room)
{
    QFile filler(folder + QStringLiteral("/filler"));
    QVERIFY(filler.open(QIODevice::Append));
    const qint64 free = QStorageInfo(folder).bytesAvailable();
    if (room > 0) {
        QVERIFY(::posix_fallocate(filler.handle(), filler.size(), qMax<qint64>(0, free - room)) == 0);
        return;
    }
    const QByteArray block(64 * 1024, '\0');
    while (filler.write(block) == block.size() && filler.flush()) {
    }
    const QByteArray byte(1, '\0');
    while (filler.write(byte) == 1 && filler.flush()) {
    }
}

} // namespace

class TestPairSave : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void killedInPlaceSaveLeavesAWholePair_data();
    void killedInPlaceSaveLeavesAWholePair();
    void fullDiskLeavesAWholePair_data();
    void fullDiskLeavesAWholePair();
    void otherFilesOnAFullDiskSaySo_data();
    void otherFilesOnAFullDiskSaySo();

private:
    // Writes the old pair into \a folder, closes the folder to new files
    // when \a inPlace, and returns the dictionary's path.
    QString prepare(const QString& folder, bool inPlace);
    // The pair a later start reads, compared with the old and the new one;
    // \a notice gets what the reading says besides.
    void checkWholePair(const QString& dicPath, const Pair& newer, bool mayBeOld, bool mayBeNew,
                        QString* notice = nullptr);

    Pair oldPair = makePair(QStringLiteral("old"), WordCount, 7);
    Pair newPair = makePair(QStringLiteral("new"), WordCount - 1, 13);
    // Larger than the old pair: rewriting it in place needs more room than the old files free.
    Pair largerPair = makePair(QStringLiteral("newer"), WordCount + 20000, 17);
};

void TestPairSave::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

QString TestPairSave::prepare(const QString& folder, bool inPlace)
{
    ::chmod(QFile::encodeName(folder).constData(), 0755);
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    const QString dicPath = folder + QStringLiteral("/words.dic");
    writeFile(dicPath, DictionaryFormat::encodeUnits(oldPair.units));
    writeFile(DictionaryFiles::statusesPath(dicPath), DictionaryFormat::encodeIntList(oldPair.values));
    if (inPlace)
        ::chmod(QFile::encodeName(folder).constData(), 0555);
    return dicPath;
}

void TestPairSave::checkWholePair(const QString& dicPath, const Pair& newer, bool mayBeOld, bool mayBeNew,
                                  QString* notice)
{
    const DictionaryFiles::Reading reading = DictionaryFiles::read(dicPath);
    if (notice)
        *notice = reading.notice;
    QCOMPARE(reading.kind, DictionaryFiles::Reading::Whole);
    const QList<int> values = DictionaryFiles::readStatusValues(dicPath);
    const bool isOld = reading.units == oldPair.units && values == oldPair.values;
    const bool isNew = reading.units == newer.units && values == newer.values;
    QVERIFY2((mayBeOld && isOld) || (mayBeNew && isNew),
             qPrintable(QStringLiteral("%1 words, %2 statuses").arg(reading.units.size()).arg(values.size())));
}

void TestPairSave::killedInPlaceSaveLeavesAWholePair_data()
{
    QTest::addColumn<Step>("step");
    QTest::addColumn<QString>("torn");  // the file the kill cut short while it was rewritten
    QTest::addColumn<qint64>("kept");   // how many of its new bytes were written
    QTest::addColumn<bool>("expectNew");
    QTest::newRow("after the staged dictionary") << Step::DictionaryWritten << QString() << 0LL << false;
    QTest::newRow("after the staged statuses") << Step::StatusesWritten << QString() << 0LL << false;
    QTest::newRow("after the staging marker") << Step::Committed << QString() << 0LL << true;
    QTest::newRow("dictionary emptied") << Step::Committed << "words.dic" << 0LL << true;
    QTest::newRow("dictionary cut at record 191 964") << Step::Committed << "words.dic"
                                                       << DictionaryFormat::encodedSize(newPair.units.mid(0, 191964)) << true;
    QTest::newRow("dictionary rewritten, statuses emptied") << Step::DictionaryReplaced << "words.inf" << 0LL << true;
    QTest::newRow("dictionary rewritten, statuses cut") << Step::DictionaryReplaced << "words.inf" << 4000LL << true;
    QTest::newRow("both rewritten, not yet checked") << Step::StatusesReplaced << QString() << 0LL << true;
}

void TestPairSave::killedInPlaceSaveLeavesAWholePair()
{
    if (::geteuid() == 0)
        QSKIP("root may add files to any folder, so the save in place is never taken; "
              "tools/test-unprivileged.sh runs this as an ordinary user");
    QFETCH(Step, step);
    QFETCH(QString, torn);
    QFETCH(qint64, kept);
    QFETCH(bool, expectNew);
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("dictionaries"));
    const QString dicPath = prepare(folder, true);

    const QString error = DictionaryFiles::writePair(dicPath, newPair.units, newPair.values,
                                                     [step](Step reached) { return reached != step; });
    QCOMPARE(error, QString());
    // A kill while a file is rewritten leaves the first bytes of its new content.
    if (!torn.isEmpty()) {
        const QByteArray bytes = torn.endsWith(QLatin1String(".dic"))
                                     ? DictionaryFormat::encodeUnits(newPair.units)
                                     : DictionaryFormat::encodeIntList(newPair.values);
        writeFile(folder + QLatin1Char('/') + torn, bytes.left(qsizetype(kept)));
    }
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    qInfo("left: %s", qPrintable(leftOnDisk(folder, dataHome)));

    checkWholePair(dicPath, newPair, !expectNew, expectNew);
    // The next start completed the save: the files themselves are whole
    // and nothing is left in the staging folder.
    QCOMPARE(leftOnDisk(folder, dataHome).count(QStringLiteral("words.")), 2);
    QVERIFY(!leftOnDisk(folder, dataHome).contains(QStringLiteral("saving/")));
    ::chmod(QFile::encodeName(folder).constData(), 0755);
}

void TestPairSave::fullDiskLeavesAWholePair_data()
{
    QTest::addColumn<bool>("inPlace");
    QTest::addColumn<int>("fillAt");  // the step after which the disk fills; -1 before the save
    QTest::addColumn<qint64>("room");  // bytes left free when it fills
    QTest::addColumn<bool>("larger");  // the new pair is larger than the old one
    const QList<std::pair<const char*, int>> points{{"full from the start", -1},
                                                   {"full after the new dictionary", int(Step::DictionaryWritten)},
                                                   {"full after the new statuses", int(Step::StatusesWritten)},
                                                   {"full after the marker", int(Step::Committed)},
                                                   {"full after the dictionary moved", int(Step::DictionaryReplaced)},
                                                   {"full after the statuses moved", int(Step::StatusesReplaced)}};
    for (bool inPlace : {false, true}) {
        for (const auto& [name, point] : points)
            for (bool larger : {false, true})
                QTest::addRow("%s, %s%s", inPlace ? "in place" : "beside", name, larger ? ", larger" : "")
                    << inPlace << point << 0LL << larger;
        QTest::addRow("%s, room for half the dictionary", inPlace ? "in place" : "beside")
            << inPlace << -1 << DictionaryFormat::encodedSize(newPair.units) / 2 << false;
        QTest::addRow("%s, room for the dictionary alone", inPlace ? "in place" : "beside")
            << inPlace << -1 << DictionaryFormat::encodedSize(newPair.units) + 8192 << false;
    }
}

void TestPairSave::fullDiskLeavesAWholePair()
{
    const QString disk = qEnvironmentVariable("VOCABRIUM_SMALL_DISK");
    if (disk.isEmpty())
        QSKIP("needs a small file system of its own: tools/test-unprivileged.sh provides one");
    QFETCH(bool, inPlace);
    QFETCH(int, fillAt);
    QFETCH(qint64, room);
    QFETCH(bool, larger);
    const Pair& newer = larger ? largerPair : newPair;
    if (inPlace && ::geteuid() == 0)
        QSKIP("root may add files to any folder, so the save in place is never taken");
    // The staging folder lies in the data folder of the home folder, on the same full disk.
    const QByteArray home = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(disk + QStringLiteral("/home")));
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir(dataHome).removeRecursively();
    const QString folder = disk + QStringLiteral("/dictionaries");
    QFile::remove(disk + QStringLiteral("/filler"));
    const QString dicPath = prepare(folder, inPlace);

    if (fillAt < 0)
        fill(disk, room);
    const QString error = DictionaryFiles::writePair(dicPath, newer.units, newer.values, [&](Step reached) {
        if (int(reached) == fillAt)
            fill(disk, room);
        return true;
    });
    qInfo("%s; left: %s", error.isEmpty() ? "saved" : qPrintable(error), qPrintable(leftOnDisk(folder, dataHome)));
    if (!error.isEmpty())
        QVERIFY2(error.contains(QStringLiteral("не хватает места")), qPrintable(error));

    // What a start on the full disk reads, and what it reads once there is room again.
    QString notice;
    checkWholePair(dicPath, newer, !error.isEmpty(), true, &notice);
    if (!notice.isEmpty())
        qInfo("read on the full disk: %s", qPrintable(notice));
    QFile::remove(disk + QStringLiteral("/filler"));
    checkWholePair(dicPath, newer, !error.isEmpty(), true);
    if (error.isEmpty())
        checkWholePair(dicPath, newer, false, true);
    QCOMPARE(leftOnDisk(folder, dataHome).count(QStringLiteral("words.")), 2);
    ::chmod(QFile::encodeName(folder).constData(), 0755);
    qputenv("HOME", home);
}

void TestPairSave::otherFilesOnAFullDiskSaySo_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("export") << "words.csv";
    QTest::newRow("imported dictionary") << "words.dic";
}

void TestPairSave::otherFilesOnAFullDiskSaySo()
{
    const QString disk = qEnvironmentVariable("VOCABRIUM_SMALL_DISK");
    if (disk.isEmpty())
        QSKIP("needs a small file system of its own: tools/test-unprivileged.sh provides one");
    QFETCH(QString, name);
    const QString path = disk + QLatin1Char('/') + name;
    QFile::remove(path);
    QFile::remove(disk + QStringLiteral("/filler"));
    fill(disk, 0);
    QString error;
    const bool written = name.endsWith(QLatin1String(".csv"))
                             ? WordFiles::write(path, newPair.units, {QStringLiteral("Английский"), QStringLiteral("en")},
                                                {QStringLiteral("Русский"), QStringLiteral("ru")}, &error)
                             : WordFiles::writeDictionary(path, newPair.units, &error);
    QFile::remove(disk + QStringLiteral("/filler"));
    QVERIFY(!written);
    QVERIFY2(error.contains(QStringLiteral("не хватает места")), qPrintable(error));
    QVERIFY(!QFile::exists(path));
}

VOCABRIUM_TEST_MAIN(TestPairSave)
#include "tst_pairsave.moc"
