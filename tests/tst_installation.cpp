#include <memory>
#include <QFile>
#include <QTemporaryDir>

#include <unistd.h>

#include "session/datafolders.h"
#include "testenvironment.h"

class TestInstallation : public QObject
{
    Q_OBJECT

private slots:
    void dataAndLearnedListFollowTheLayout_data();
    void dataAndLearnedListFollowTheLayout();
};

void TestInstallation::dataAndLearnedListFollowTheLayout_data()
{
    // Folders below a throw-away root; "user" stands for the user's data folder.
    QTest::addColumn<QStringList>("dataFolders"); // each gets a "Default Dictionaries"
    QTest::addColumn<QString>("program");
    QTest::addColumn<bool>("readOnlyProgram");
    QTest::addColumn<QString>("data");
    QTest::addColumn<QString>("learnedIn");

    QTest::newRow("build folder") << QStringList{"build"} << "build" << false << "build" << "build";
    QTest::newRow("installed under a prefix") << QStringList{"usr/share/vocabrium"} << "usr/bin" << false
                                              << "usr/share/vocabrium" << "user";
    QTest::newRow("build folder beside an installed copy")
        << QStringList{"usr/bin", "usr/share/vocabrium"} << "usr/bin" << false << "usr/bin" << "usr/bin";
    QTest::newRow("no data anywhere") << QStringList{} << "opt/app" << false << "opt/app" << "opt/app";
    QTest::newRow("read-only build folder") << QStringList{"build"} << "build" << true << "build" << "user";
}

void TestInstallation::dataAndLearnedListFollowTheLayout()
{
    QFETCH(QStringList, dataFolders);
    QFETCH(QString, program);
    QFETCH(bool, readOnlyProgram);
    QFETCH(QString, data);
    QFETCH(QString, learnedIn);
    if (readOnlyProgram && geteuid() == 0)
        QSKIP("root may write into any folder");

    QTemporaryDir root;
    const QDir top(root.path());
    QVERIFY(top.mkpath(program));
    for (const QString& folder : dataFolders)
        QVERIFY(top.mkpath(folder + QStringLiteral("/Default Dictionaries")));
    const QString programFolder = top.filePath(program);
    if (readOnlyProgram)
        QVERIFY(QFile::setPermissions(programFolder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const QString user = top.filePath(QStringLiteral(".local/share/Vocabrium"));

    // A folder named through ".." is the same folder.
    const DataFolders folders = DataFolders::locate(programFolder + QStringLiteral("/../") + program.section('/', -1), user);
    QFile::setPermissions(programFolder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    QCOMPARE(folders.data, top.filePath(data));
    QCOMPARE(folders.learnedWords, (learnedIn == QLatin1String("user") ? user : top.filePath(learnedIn))
                                       + QStringLiteral("/MyLearnedWords.dic"));
}

VOCABRIUM_TEST_MAIN(TestInstallation)
#include "tst_installation.moc"
