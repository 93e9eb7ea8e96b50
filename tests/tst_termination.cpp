#include <memory>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <csignal>

#include "app/mainwindow.h"
#include "config/settings.h"
#include "tests/dialoghelpers.h"
#include "session/workspace.h"
#include "testenvironment.h"
#include "testfiles.h"

/*
    The real program ended by SIGTERM (a logout, a shutdown) while its save
    fails: nobody is there to answer a box, so it must try the save once,
    say what failed on the error stream, and end.
*/

namespace {

// Whether process \a pid catches SIGTERM yet, from its /proc status.
bool catchesSigterm(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("SigCgt:"))
            return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (SIGTERM - 1)) & 1;
    }
    return false;
}

} // namespace

class TestTermination : public QObject
{
    Q_OBJECT

    // The settings, words and tables of one test function, built afresh
    // for each.
    std::unique_ptr<Workspace> workspace;

private slots:
    void init();
    void cleanup();
    void sigtermWithAFailedSaveEndsAndSaysWhy();
    // Last: it ends the application's event loops.
    void sessionEndAfterTheWarningAsksNothing();
};

void TestTermination::init()
{
    QVERIFY(emptyHomeFolder());
    workspace = storedWorkspace();
}

void TestTermination::cleanup()
{
    workspace.reset();
}

void TestTermination::sigtermWithAFailedSaveEndsAndSaysWhy()
{
    QTemporaryDir home;
    const QString dictionaries = home.filePath(QStringLiteral("Vocabrium Dictionaries"));
    QVERIFY(QDir().mkpath(dictionaries));
    writeNumbersDictionary(dictionaries + QStringLiteral("/default.dic"));
    // A folder where the new dictionary file has to go: every save fails, even as root.
    QVERIFY(QDir().mkpath(dictionaries + QStringLiteral("/default.dic.new")));

    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral(".config")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral(".local/share")));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(VOCABRIUM_BUILD_DIR "/vocabrium"), QStringList());
    QVERIFY(program.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(catchesSigterm(program.processId()), 20000);

    ::kill(pid_t(program.processId()), SIGTERM);
    const bool ended = program.waitForFinished(20000);
    if (!ended) {
        program.kill();
        program.waitForFinished();
    }
    QVERIFY2(ended, "the program was still running, waiting for a box to be answered");
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    const QString errors = QString::fromUtf8(program.readAllStandardError());
    QVERIFY2(errors.contains(QStringLiteral("default.dic")), qPrintable(errors));
    QCOMPARE(errors.count(QStringLiteral("Не удалось записать")), 1);
}

void TestTermination::sessionEndAfterTheWarningAsksNothing()
{
    // The window is up and the save fails, as on a full disk: the end of
    // the session saves once and closes, with no box waiting for a person.
    MainWindow window(workspace.get());
    window.show();
    QVERIFY(QDir().mkpath(workspace->words.units.fileName() + QStringLiteral(".new")));
    BoxAnswerer answerer(QMessageBox::Cancel);
    // Quitting closes the windows only from the running main loop.
    QTimer::singleShot(0, &window, [&window] { window.saveAndQuit(); });
    // A deadline, not a pause: a box kept open would keep the loop running.
    QTimer::singleShot(10000, qApp, [] { QCoreApplication::exit(1); });
    QCOMPARE(QApplication::exec(), 0);
    QCOMPARE(answerer.titles, QStringList());
    QVERIFY(!window.isVisible());
}

VOCABRIUM_TEST_MAIN(TestTermination)
#include "tst_termination.moc"
