#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QInputDialog>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <atomic>
#include <fcntl.h>
#include <functional>
#include <thread>
#include <unistd.h>

#include "app/settings.h"
#include "editing/importexport.h"
#include "interchange/wordfiles.h"
#include "speech/transcriptions.h"
#include "tests/dialoghelpers.h"
#include "testenvironment.h"
#include "testfiles.h"

/*
    Files the learner points the program at (an import, a transcription
    table named in the settings, a dictionary given to dictool) that are no
    files to read: a FIFO nobody writes to, a device, a folder, a file over
    the limit, a dictionary cut short. Each is refused at once with its
    reason, and nothing is written.
*/

namespace {

// Runs \a read on a thread of its own and says whether it returned within
// a few seconds. A read stuck on the FIFO \a fifo is let go by opening the
// FIFO for writing and closing it, so the test still ends.
bool returnsInTime(const std::function<void()>& read, const QString& fifo)
{
    std::atomic<bool> done{false};
    std::thread worker([&] {
        read();
        done = true;
    });
    const bool inTime = QTest::qWaitFor([&] { return done.load(); }, 5000);
    // The read may open the FIFO more than once; each open waits for a writer.
    while (!done) {
        const int fd = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0)
            ::close(fd);
        (void)QTest::qWaitFor([&] { return done.load(); }, 100);
    }
    worker.join();
    return inTime;
}

QList<Unit> someWords(int count)
{
    QList<Unit> units;
    for (int i = 0; i < count; ++i)
        units.append({QStringLiteral("word%1").arg(i), QStringLiteral("слово%1").arg(i)});
    return units;
}

// One word whose translation makes a ".dic" file over the read limit from
// a text file under it.
QByteArray lineTooLongForADictionary()
{
    return "word\t" + QByteArray(BoundedFile::DefaultLimit / 2 + 1024, 'a') + "\n";
}

} // namespace

class TestChosenFiles : public QObject
{
    Q_OBJECT

private slots:
    void importRefusesWhatIsNoFile_data();
    void importRefusesWhatIsNoFile();
    void transcriptionTableThatIsNoFileIsPassedOver_data();
    void transcriptionTableThatIsNoFileIsPassedOver();
    void dictoolRefusesAndWritesNothing_data();
    void dictoolRefusesAndWritesNothing();
    void importTooLargeToOpenReplacesNothing();
    void columnChooserOfAWideFileOpensAtOnce();

private:
    QTemporaryDir dir;
};

void TestChosenFiles::importRefusesWhatIsNoFile_data()
{
    addUnreadableRows();
}

void TestChosenFiles::importRefusesWhatIsNoFile()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    const QString path = dir.filePath(QStringLiteral("lesson.csv"));
    QVERIFY(makeUnreadable(path, kind));
    WordTable table;
    QString error;
    bool read = true;
    QVERIFY(returnsInTime([&] { read = WordFiles::read(path, &table, &error); }, path));
    QVERIFY(!read);
    QVERIFY2(error.contains(reason), qPrintable(error));
    QDir(path).removeRecursively();
    QFile::remove(path);
}

void TestChosenFiles::transcriptionTableThatIsNoFileIsPassedOver_data()
{
    addUnreadableRows();
}

void TestChosenFiles::transcriptionTableThatIsNoFileIsPassedOver()
{
    // Read at start-up, before any window: a FIFO here would keep the program from ever showing one.
    QFETCH(QString, kind);
    QDir().mkpath(QStringLiteral("Transcriptions"));
    const QString path = QDir::current().absoluteFilePath(QStringLiteral("Transcriptions/Chosen.trn"));
    QVERIFY(makeUnreadable(path, kind));
    transcriptionFileName = QStringLiteral("Chosen");
    QVERIFY(returnsInTime([] { Transcriptions::instance()->load(); }, path));
    QCOMPARE(Transcriptions::instance()->lookup(QStringLiteral("word")), QString());
    QDir(QStringLiteral("Transcriptions")).removeRecursively();
}

void TestChosenFiles::dictoolRefusesAndWritesNothing_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("kind");    // what the input is: a makeUnreadable() kind, "cut short" or "too long"
    QTest::addColumn<QString>("reason");  // a word of the reason on the error stream
    QTest::newRow("to-tsv, cut short") << "to-tsv" << "cut short" << "обрывается";
    QTest::newRow("to-tsv, fifo") << "to-tsv" << "fifo" << "не обычный файл";
    QTest::newRow("to-tsv, character device") << "to-tsv" << "device" << "не обычный файл";
    QTest::newRow("export, cut short") << "export" << "cut short" << "обрывается";
    QTest::newRow("export, over 64 MB") << "export" << "oversized" << "64 МБ";
    QTest::newRow("import, fifo") << "import" << "fifo" << "не обычный файл";
    QTest::newRow("import, character device") << "import" << "device" << "не обычный файл";
    QTest::newRow("import, over 64 MB") << "import" << "oversized" << "64 МБ";
    QTest::newRow("import, too long for a dictionary") << "import" << "too long" << "64 МБ";
}

void TestChosenFiles::dictoolRefusesAndWritesNothing()
{
    QFETCH(QString, command);
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    const QString input = dir.filePath(command == QLatin1String("import") ? QStringLiteral("in.tsv")
                                                                          : QStringLiteral("in.dic"));
    const QString output = dir.filePath(command == QLatin1String("import") ? QStringLiteral("out.dic")
                                                                           : QStringLiteral("out.tsv"));
    QFile::remove(output);
    if (kind == QLatin1String("cut short")) {
        const QByteArray whole = DictionaryFormat::encodeUnits(someWords(1000));
        writeFile(input, whole.left(whole.size() / 2 + 3));
    } else if (kind == QLatin1String("too long")) {
        writeFile(input, lineTooLongForADictionary());
    } else {
        QVERIFY(makeUnreadable(input, kind));
    }

    QProcess dictool;
    dictool.start(QStringLiteral(VOCABRIUM_BUILD_DIR "/dictool"), {command, input, output});
    const bool ended = dictool.waitForFinished(10000);
    if (!ended) {
        // Stuck on the FIFO: let it go so that the test ends.
        const int fd = ::open(QFile::encodeName(input).constData(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0)
            ::close(fd);
        dictool.kill();
        dictool.waitForFinished();
    }
    QVERIFY2(ended, "dictool waited on its input");
    QCOMPARE(dictool.exitStatus(), QProcess::NormalExit);
    QVERIFY(dictool.exitCode() != 0);
    const QString errors = QString::fromUtf8(dictool.readAllStandardError());
    QVERIFY2(errors.contains(reason), qPrintable(errors));
    QVERIFY(!QFile::exists(output));
    QFile::remove(input);
}

void TestChosenFiles::importTooLargeToOpenReplacesNothing()
{
    const QString source = dir.filePath(QStringLiteral("huge.tsv"));
    writeFile(source, lineTooLongForADictionary());
    dictionariesPath = dir.filePath(QStringLiteral("dictionaries/"));
    QDir().mkpath(dictionariesPath);
    const QString existing = dictionariesPath + QStringLiteral("huge.dic");
    const QByteArray before = DictionaryFormat::encodeUnits(someWords(3));
    writeFile(existing, before);

    // Had the import asked for a name, it would be this dictionary's, and "Yes" to replacing it.
    int asked = 0;
    QTimer namer;
    namer.setInterval(5);
    connect(&namer, &QTimer::timeout, this, [&asked] {
        if (auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget())) {
            ++asked;
            dialog->setTextValue(QStringLiteral("huge"));
            dialog->accept();
        }
    });
    namer.start();
    BoxAnswerer answerer(QMessageBox::Yes);
    QWidget window;
    QCOMPARE(ImportExport(&window).importFrom(source), QString());
    QCOMPARE(asked, 0);
    QCOMPARE(answerer.titles, QStringList{QStringLiteral("Ошибка")});
    QVERIFY2(answerer.texts.value(0).contains(QStringLiteral("64 МБ")), qPrintable(answerer.texts.value(0)));
    QCOMPARE(readFile(existing), before);
}

void TestChosenFiles::columnChooserOfAWideFileOpensAtOnce()
{
    // A spreadsheet saved with 100 000 columns: the chooser must not keep
    // the window frozen while it fills its lists (it took seconds).
    constexpr int columns = 100000;
    QByteArray header;
    QByteArray row;
    for (int i = 0; i < columns; ++i) {
        header += (i ? "," : "") + QByteArray::number(i) + "th";
        row += (i ? "," : "") + QByteArray("w") + QByteArray::number(i);
    }
    const QString source = dir.filePath(QStringLiteral("wide.csv"));
    writeFile(source, header + "\n" + row + "\n");
    QElapsedTimer shown;
    qint64 elapsed = -1;
    int offered = 0;
    whenModal<QDialog>([&](QDialog* dialog) {
        elapsed = shown.elapsed();
        offered = dialog->findChild<QComboBox*>()->count();
        dialog->reject();
    });
    QWidget window;
    shown.start();
    QCOMPARE(ImportExport(&window).importFrom(source), QString());
    QCOMPARE(offered, columns);
    qInfo("shown after %lld ms", elapsed);
    QVERIFY2(elapsed < 1000, qPrintable(QStringLiteral("%1 ms").arg(elapsed)));
}

VOCABRIUM_TEST_MAIN(TestChosenFiles)
#include "tst_chosenfiles.moc"
