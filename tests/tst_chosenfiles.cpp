#include <memory>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QInputDialog>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <fcntl.h>
#include <mutex>
#include <thread>
#include <unistd.h>

#include "config/settings.h"
#include "editing/importdialog.h"
#include "editing/importexport.h"
#include "interchange/wordfiles.h"
#include "speech/transcriptions.h"
#include "tests/dialoghelpers.h"
#include "session/workspace.h"
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

// Watches a read on this thread that may get stuck on the FIFO \a fifo:
// after a few seconds it opens the FIFO for writing and closes it again,
// as often as needed, so that the read ends and the test can fail.
class FifoWatch
{
public:
    explicit FifoWatch(const QString& fifo)
        : path(QFile::encodeName(fifo))
        , watcher([this] {
            std::unique_lock<std::mutex> lock(mutex);
            if (ended.wait_for(lock, std::chrono::seconds(5), [this] { return done; }))
                return;
            while (!done) {
                released = true;
                const int fd = ::open(path.constData(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0)
                    ::close(fd);
                ended.wait_for(lock, std::chrono::milliseconds(100), [this] { return done; });
            }
        })
    {
    }

    /*! Ends the watch; true when the read had to be let go. */
    bool stuck()
    {
        {
            const std::lock_guard<std::mutex> lock(mutex);
            done = true;
        }
        ended.notify_all();
        if (watcher.joinable())
            watcher.join();
        return released;
    }

    ~FifoWatch() { stuck(); }

private:
    QByteArray path;
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    std::atomic<bool> released{false};
    std::thread watcher;
};

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

    // The settings, words and tables of one test function, built afresh
    // for each.
    std::unique_ptr<Workspace> workspace;

private slots:
    void init();
    void cleanup();
    void importRefusesWhatIsNoFile_data();
    void importRefusesWhatIsNoFile();
    void transcriptionTableThatIsNoFileIsPassedOver_data();
    void transcriptionTableThatIsNoFileIsPassedOver();
    void dictoolRefusesAndWritesNothing_data();
    void dictoolRefusesAndWritesNothing();
    void importTooLargeToOpenReplacesNothing();
    void columnChooserOfAWideFileOpensAtOnce();

private:
    std::unique_ptr<QTemporaryDir> dir;
};

void TestChosenFiles::init()
{
    dir = freshFolders();
    QVERIFY(dir);
    workspace = std::make_unique<Workspace>();
}

void TestChosenFiles::cleanup()
{
    workspace.reset();
    dir.reset();
}

void TestChosenFiles::importRefusesWhatIsNoFile_data()
{
    addUnreadableRows();
}

void TestChosenFiles::importRefusesWhatIsNoFile()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    const QString path = dir->filePath(QStringLiteral("lesson.csv"));
    QVERIFY(makeUnreadable(path, kind));
    WordTable table;
    QString error;
    FifoWatch watch(path);
    QVERIFY(!WordFiles::read(path, &table, &error));
    QVERIFY2(!watch.stuck(), "the read waited on the FIFO");
    QVERIFY2(error.contains(reason), qPrintable(error));

    // The window's import says why, and asks nothing else.
    FifoWatch windowWatch(path);
    BoxAnswerer answerer;
    QWidget window;
    QCOMPARE(ImportExport(workspace.get(), &window).importFrom(path), QString());
    QVERIFY2(!windowWatch.stuck(), "the import waited on the FIFO");
    QCOMPARE(answerer.titles, QStringList{QStringLiteral("Ошибка")});
    QVERIFY2(answerer.texts.value(0).contains(reason), qPrintable(answerer.texts.value(0)));
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
    workspace->settings.transcriptionFileName = QStringLiteral("Chosen");
    FifoWatch watch(path);
    (&workspace->transcriptions)->load();
    QVERIFY2(!watch.stuck(), "the table waited on the FIFO");
    QCOMPARE((&workspace->transcriptions)->lookup(QStringLiteral("word")), QString());
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
    const QString input = dir->filePath(command == QLatin1String("import") ? QStringLiteral("in.tsv")
                                                                          : QStringLiteral("in.dic"));
    const QString output = dir->filePath(command == QLatin1String("import") ? QStringLiteral("out.dic")
                                                                           : QStringLiteral("out.tsv"));
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
}

void TestChosenFiles::importTooLargeToOpenReplacesNothing()
{
    const QString source = dir->filePath(QStringLiteral("huge.tsv"));
    writeFile(source, lineTooLongForADictionary());
    workspace->settings.dictionariesPath = dir->filePath(QStringLiteral("dictionaries/"));
    QDir().mkpath(workspace->settings.dictionariesPath);
    const QString existing = workspace->settings.dictionariesPath + QStringLiteral("huge.dic");
    const QByteArray before = DictionaryFormat::encodeUnits(someWords(3));
    writeFile(existing, before);

    // Had the import asked for a name, it would be this dictionary's, and "Yes" to replacing it.
    int asked = 0;
    QTimer namer;
    namer.setInterval(5);
    connect(&namer, &QTimer::timeout, this, [&asked] {
        if (auto* columns = qobject_cast<ImportDialog*>(QApplication::activeModalWidget()))
            columns->accept();
        if (auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget())) {
            ++asked;
            dialog->setTextValue(QStringLiteral("huge"));
            dialog->accept();
        }
    });
    namer.start();
    BoxAnswerer answerer(QMessageBox::Yes);
    QWidget window;
    QCOMPARE(ImportExport(workspace.get(), &window).importFrom(source), QString());
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
    const QString source = dir->filePath(QStringLiteral("wide.csv"));
    writeFile(source, header + "\n" + row + "\n");
    int offered = 0;
    bool measuresEveryName = true;
    whenModal<ImportDialog>([&](ImportDialog* dialog) {
        auto* words = dialog->findChild<QComboBox*>(QStringLiteral("wordColumn"));
        offered = words->count();
        // What froze the window: each box measured all its names for its
        // width. Checked by what the boxes do, not by a time that depends
        // on the machine.
        measuresEveryName = words->sizeAdjustPolicy() == QComboBox::AdjustToContents
                            || words->sizeAdjustPolicy() == QComboBox::AdjustToContentsOnFirstShow;
        dialog->reject();
    });
    QWidget window;
    QCOMPARE(ImportExport(workspace.get(), &window).importFrom(source), QString());
    QCOMPARE(offered, columns);
    QVERIFY(!measuresEveryName);
}

VOCABRIUM_TEST_MAIN(TestChosenFiles)
#include "tst_chosenfiles.moc"
