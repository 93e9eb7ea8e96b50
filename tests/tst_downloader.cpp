#include <memory>
#include <QTemporaryDir>
#include <QBuffer>
#include <QDirIterator>
#include <QLabel>
#include <QMessageBox>
#include <QNetworkReply>
#include <QPointer>
#include <QPushButton>
#include <QStringEncoder>
#include <QTimer>
#include <QTreeWidget>

#include <functional>

#include "app/mainwindow.h"
#include "config/services.h"
#include "config/settings.h"
#include "editing/dictionarylistparser.h"
#include "editing/downloaderdialog.h"
#include "editing/downloadrules.h"
#include "httptestserver.h"
#include "lessons/abstractlesson.h"
#include "model/dictionaryformat.h"
#include "model/questions.h"
#include "model/statuses.h"
#include "model/units.h"
#include "dialoghelpers.h"
#include "session/workspace.h"
#include "testenvironment.h"

namespace {

QByteArray dicBytes(const QList<Unit>& units)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    DictionaryFormat::writeUnits(&buffer, units);
    return bytes;
}

const QList<Unit> foodWords = {{QStringLiteral("bread"), QStringLiteral("хлеб")},
                               {QStringLiteral("milk"), QStringLiteral("молоко")},
                               {QStringLiteral("apple"), QStringLiteral("яблоко")},
                               {QStringLiteral("cheese"), QStringLiteral("сыр")},
                               {QStringLiteral("soup"), QStringLiteral("суп")},
                               {QStringLiteral("fish"), QStringLiteral("рыба")},
                               {QStringLiteral("tea"), QStringLiteral("чай")}};

// A list page as the site writes it: windows-1251, one paragraph, one entry per "<br>".
QByteArray listPage(const QStringList& targets)
{
    QString page = QStringLiteral("<html><head><meta charset=\"windows-1251\"></head><body>\n<p>\n");
    for (const QString& target : targets)
        page += QStringLiteral("<a href=\"%1\">Словарь %1</a> <num>7 слов</num> "
                               "<author>Тест</author> <inf>Для проверки</inf><br>\n").arg(target);
    page += QStringLiteral("</p></body></html>\n");
    QStringEncoder encoder("windows-1251");
    return encoder.encode(page);
}

QString row(const DictionaryListParser::Entry& entry)
{
    return QStringList{entry.name, entry.count, entry.description, entry.author, entry.address}
        .join(QLatin1Char('|'));
}

// Every file below the dictionaries folder with its bytes, to show that nothing changed.
QMap<QString, QByteArray> folderContents(Workspace* workspace)
{
    QMap<QString, QByteArray> contents;
    QDirIterator it(workspace->settings.dictionariesPath, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        if (file.open(QIODevice::ReadOnly))
            contents.insert(file.fileName(), file.readAll());
    }
    return contents;
}


void writeFileBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

// Runs dialog's exec() while script drives it from inside its event loop.
// Whatever the script leaves open is rejected, so no test can hang on it.
int runDialog(DownloaderDialog* dialog, const std::function<void()>& script)
{
    QTimer::singleShot(0, dialog, [dialog, script] {
        script();
        if (dialog->isVisible())
            dialog->reject();
    });
    return dialog->exec();
}

// A server that never answers is given up after this transfer time-out;
// only the request that is meant to hang gets it, as a loaded machine may
// be slower than that with the others.
const QByteArray ShortTransferTimeout = QByteArrayLiteral("100");

bool waitForControls(DownloaderDialog* dialog)
{
    return QTest::qWaitFor([dialog] {
        return dialog->table()->isEnabled() && dialog->downloadButton()->isEnabled();
    }, 5000);
}

} // namespace

class TestDownloader : public QObject
{
    Q_OBJECT

    // The settings, words and tables of one test function, built afresh
    // for each.
    std::unique_ptr<Workspace> workspace;

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void installedProgramFindsItsSiteWithItsData();
    void parsesEntries_data();
    void parsesEntries();
    void parsesSavedPageInItsCodePage();
    void sitePageMatchesItsDictionaries();
    void acceptsOnlyPlainDicFileNames_data();
    void acceptsOnlyPlainDicFileNames();
    void recognisesWholeDictionaries_data();
    void recognisesWholeDictionaries();

    void siteRootComesFromConfigurationOrLiesBesideTheProgram_data();
    void siteRootComesFromConfigurationOrLiesBesideTheProgram();
    void failedOrEmptyListGivesEnabledEmptyTable_data();
    void failedOrEmptyListGivesEnabledEmptyTable();
    void listShowsPageTextAsPlainText();
    void downloadReplacesEarlierFileAndNoKeepsListOpen_data();
    void downloadReplacesEarlierFileAndNoKeepsListOpen();
    void failedDownloadLeavesFolderUntouched_data();
    void failedDownloadLeavesFolderUntouched();
    void closingDuringADownloadStoresNothing();
    void hostileFileNameIsRefusedWithoutRequest_data();
    void hostileFileNameIsRefusedWithoutRequest();
    void mainWindowOpensDownloadOnlyAfterYes();
    void downloadOverTheOpenDictionaryIsWhatTheUserGets_data();
    void downloadOverTheOpenDictionaryIsWhatTheUserGets();

private:
    QString foodPath() const { return workspace->settings.dictionariesPath + QStringLiteral("food.dic"); }
    // Puts the files on the test server or, for a local site, into a folder
    // whose file: address becomes the site root.
    void publish(bool local, const QMap<QString, QByteArray>& files);

    // One server for the whole run; init() clears what it serves.
    HttpTestServer server;
    QString home;
};

void TestDownloader::initTestCase()
{
    QVERIFY(server.isListening());
}

void TestDownloader::init()
{
    QVERIFY(emptyHomeFolder());
    qputenv("VOCABRIUM_SITE_URL", server.root().toUtf8());
    qputenv("VOCABRIUM_TRANSFER_TIMEOUT", "1000");
    server.clear();
    workspace = storedWorkspace();
    home = workspace->settings.dictionariesPath;
    QVERIFY(QDir().mkpath(home));
}

void TestDownloader::cleanup()
{
    workspace.reset();
}

void TestDownloader::publish(bool local, const QMap<QString, QByteArray>& files)
{
    if (!local) {
        for (auto it = files.begin(); it != files.end(); ++it)
            server.set(QLatin1Char('/') + it.key(), 200, it.value(),
                       it.key().endsWith(QLatin1String(".html")) ? "text/html" : "application/octet-stream");
        return;
    }
    // A space and a Cyrillic name in the path, as a user's folder may have.
    const QString folder = QDir::current().absoluteFilePath(QStringLiteral("local site/сайт"));
    QDir(folder).removeRecursively();
    for (auto it = files.begin(); it != files.end(); ++it) {
        const QString path = folder + QLatin1Char('/') + it.key();
        QDir().mkpath(QFileInfo(path).absolutePath());
        writeFileBytes(path, it.value());
    }
    qputenv("VOCABRIUM_SITE_URL", QUrl::fromLocalFile(folder + QLatin1Char('/')).toString().toUtf8());
}

void TestDownloader::siteRootComesFromConfigurationOrLiesBesideTheProgram_data()
{
    QTest::addColumn<QString>("configured");
    QTest::addColumn<QUrl>("root");
    QTest::newRow("nothing configured")
        << QString() << QUrl::fromLocalFile(QCoreApplication::applicationDirPath() + QStringLiteral("/site/"));
    QTest::newRow("http") << QStringLiteral("http://example.org/dics") << QUrl(QStringLiteral("http://example.org/dics/"));
    QTest::newRow("https") << QStringLiteral("https://example.org/") << QUrl(QStringLiteral("https://example.org/"));
    QTest::newRow("file address") << QStringLiteral("file:///srv/site/") << QUrl::fromLocalFile(QStringLiteral("/srv/site/"));
    QTest::newRow("plain folder") << QStringLiteral("/srv/my site") << QUrl::fromLocalFile(QStringLiteral("/srv/my site/"));
}

void TestDownloader::siteRootComesFromConfigurationOrLiesBesideTheProgram()
{
    QFETCH(QString, configured);
    QFETCH(QUrl, root);
    qputenv("VOCABRIUM_SITE_URL", configured.toUtf8());
    QCOMPARE(Services::siteRoot(), root);
    QCOMPARE(Services::dictionaryListUrl(), root.resolved(QUrl(QStringLiteral("dictionaries.html"))));
}

void TestDownloader::installedProgramFindsItsSiteWithItsData()
{
    // bin/vocabrium with its data in share/vocabrium, as cmake --install
    // and the package lay it out.
    QTemporaryDir prefix;
    QVERIFY(QDir().mkpath(prefix.filePath(QStringLiteral("bin"))));
    QVERIFY(QDir().mkpath(prefix.filePath(QStringLiteral("share/vocabrium/Default Dictionaries"))));
    QVERIFY(QDir().mkpath(prefix.filePath(QStringLiteral("share/vocabrium/site"))));
    QCOMPARE(Services::localSiteRoot(prefix.filePath(QStringLiteral("bin"))),
             QUrl::fromLocalFile(prefix.filePath(QStringLiteral("share/vocabrium/site/"))));
}

void TestDownloader::parsesEntries_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QStringList>("rows");
    const QString root = QStringLiteral("http://site/");

    QTest::newRow("one entry")
        << QStringLiteral("<p><a href=\"a.dic\">Еда</a><num>150</num><author>Я</author><inf>Про еду</inf><br></p>")
        << QStringList{QStringLiteral("Еда|150|Про еду|Я|http://site/a.dic")};
    QTest::newRow("two quoted strings make two rows")
        << QStringLiteral("<p><a href=\"a.dic\">A</a> <a href=\"b.dic\">B</a><num>9</num><author>X</author><inf>D</inf><br></p>")
        << QStringList{QStringLiteral("A|9|D|X|http://site/a.dic"), QStringLiteral("B|9|D|X|http://site/b.dic")};
    QTest::newRow("digits only in the count")
        << QStringLiteral("<p><a href=\"a.dic\">A</a><num>152 слова</num><br></p>")
        << QStringList{QStringLiteral("A|152|||http://site/a.dic")};
    QTest::newRow("count without digits is empty")
        << QStringLiteral("<p><a href=\"a.dic\">A</a><num>много</num><br></p>")
        << QStringList{QStringLiteral("A||||http://site/a.dic")};
    QTest::newRow("no <br> gives no rows")
        << QStringLiteral("<p><a href=\"a.dic\">A</a><num>1</num></p>") << QStringList();
    QTest::newRow("no paragraph gives no rows")
        << QStringLiteral("<a href=\"a.dic\">A</a><num>1</num><br>") << QStringList();
    QTest::newRow("text after the last <br> is ignored")
        << QStringLiteral("<p><a href=\"a.dic\">A</a><br><a href=\"b.dic\">B</a></p>")
        << QStringList{QStringLiteral("A||||http://site/a.dic")};
    QTest::newRow("quotes before the paragraph are not entries")
        << QStringLiteral("<html lang=\"ru\"><br><p><a href=\"a.dic\">A</a><br></p>")
        << QStringList{QStringLiteral("A||||http://site/a.dic")};
    QTest::newRow("elements belong to their own entry")
        << QStringLiteral("<p><a href=\"a.dic\">A</a><author>X</author><br><a href=\"b.dic\">B</a><inf>D</inf><br></p>")
        << QStringList{QStringLiteral("A|||X|http://site/a.dic"), QStringLiteral("B||D||http://site/b.dic")};
    QTest::newRow("elements span line breaks")
        << QStringLiteral("<p>\n<a href=\"a.dic\">Long\nname</a>\n<num>3\n</num><inf>two\nlines</inf>\n<br>\n</p>")
        << QStringList{QStringLiteral("Long\nname|3|two\nlines||http://site/a.dic")};
    QTest::newRow("tags are case-sensitive")
        << QStringLiteral("<P><a href=\"a.dic\">A</a><BR></P>") << QStringList();
}

void TestDownloader::parsesEntries()
{
    QFETCH(QString, page);
    QFETCH(QStringList, rows);
    QStringList parsed;
    for (const auto& entry : DictionaryListParser::parse(page, QStringLiteral("http://site/")))
        parsed.append(row(entry));
    QCOMPARE(parsed, rows);
}

void TestDownloader::parsesSavedPageInItsCodePage()
{
    QFile file(QFINDTESTDATA("data/dictionaries.html"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString page = DictionaryListParser::decodePage(file.readAll());
    QStringList parsed;
    for (const auto& entry : DictionaryListParser::parse(page, QStringLiteral("http://x/")))
        parsed.append(row(entry));
    QCOMPARE(parsed, (QStringList{
        QStringLiteral("Еда и напитки|152|Продукты, блюда и посуда|Анна Петрова|http://x/dictionaries/food.dic"),
        QStringLiteral("Путешествия|160|Вокзал, гостиница,\r\n дорога||http://x/travel.dic"),
        QStringLiteral("<b>Deutsch</b> — немецкий|151|Основные слова|Ёжик & Co|http://x/de.dic")}));
}

// The page the build makes for the project's own site must announce exactly
// the dictionaries lying beside it.
void TestDownloader::sitePageMatchesItsDictionaries()
{
    const QString site = QStringLiteral(VOCABRIUM_BUILD_DIR "/site/");
    QFile file(site + QStringLiteral("dictionaries.html"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const auto entries = DictionaryListParser::parse(DictionaryListParser::decodePage(file.readAll()),
                                                     QStringLiteral("root/"));
    QVERIFY(entries.size() >= 20);
    QSet<QString> names;
    for (const auto& entry : entries) {
        const QString name = DownloadRules::fileName(entry.address);
        QVERIFY2(!name.isEmpty(), qPrintable(entry.address));
        QVERIFY(!names.contains(name));
        names.insert(name);
        QFile dic(site + name);
        QVERIFY2(dic.open(QIODevice::ReadOnly), qPrintable(name));
        const QByteArray body = dic.readAll();
        QVERIFY(DownloadRules::isDictionary(body));
        QCOMPARE(entry.count, QString::number(DictionaryFormat::readUnits(body).size()));
        QVERIFY(entry.count.toInt() >= 150);
        QVERIFY(!entry.name.isEmpty() && !entry.description.isEmpty() && !entry.author.isEmpty());
    }
    QVERIFY(QFile::exists(site + QStringLiteral("advert.html")));
}

void TestDownloader::acceptsOnlyPlainDicFileNames_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("name");
    const QString root = QStringLiteral("http://site/");
    QTest::newRow("plain") << root + "food.dic" << "food.dic";
    QTest::newRow("below a folder") << root + "dictionaries/food.dic" << "food.dic";
    QTest::newRow("upper-case suffix") << root + "Food.DIC" << "Food.DIC";
    QTest::newRow("cyrillic") << root + "еда.dic" << "еда.dic";
    QTest::newRow("query dropped") << root + "get/food.dic?v=2" << "food.dic";
    QTest::newRow("not a dic") << root + "food.exe" << "";
    QTest::newRow("dic inside the name") << root + "food.dic.sh" << "";
    QTest::newRow("empty before suffix") << root + ".dic" << "";
    QTest::newRow("dot-dot") << root + "..dic" << "";
    QTest::newRow("ends in a folder") << root + "food.dic/" << "";
    QTest::newRow("nothing at all") << root << "";
    QTest::newRow("hidden") << root + ".food.dic" << "";
    QTest::newRow("backslash") << root + "..\\..\\food.dic" << "";
    QTest::newRow("encoded slash") << root + "..%2F..%2Ffood.dic" << "";
    QTest::newRow("encoded dot-dot") << root + "%2e%2e.dic" << "";
    QTest::newRow("drive") << root + "C:food.dic" << "";
    QTest::newRow("newline") << root + "fo\nod.dic" << "";
    QTest::newRow("nul") << root + QString(QChar(0)) + "food.dic" << "";
    QTest::newRow("query hides the suffix") << root + "run.sh?x=food.dic" << "";
}

void TestDownloader::acceptsOnlyPlainDicFileNames()
{
    QFETCH(QString, address);
    QFETCH(QString, name);
    QCOMPARE(DownloadRules::fileName(address), name);
}

void TestDownloader::recognisesWholeDictionaries_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("dictionary");
    const QByteArray good = dicBytes(foodWords);
    QTest::newRow("whole") << good << true;
    QTest::newRow("one entry") << dicBytes({{QStringLiteral("a"), QStringLiteral("б")}}) << true;
    QTest::newRow("empty body") << QByteArray() << false;
    QTest::newRow("no entries") << dicBytes({}) << false;
    QTest::newRow("html page") << QByteArray("<!DOCTYPE html><html><body>Not found</body></html>") << false;
    QTest::newRow("cut short") << good.left(good.size() - 3) << false;
    QTest::newRow("trailing junk") << good + "junk" << false;
    QByteArray moreCounted = good;
    moreCounted[3] = char(moreCounted[3] + 1);
    QTest::newRow("count above records") << moreCounted << false;
    QByteArray fewerCounted = good;
    fewerCounted[3] = char(fewerCounted[3] - 1);
    QTest::newRow("count below records") << fewerCounted << false;
}

void TestDownloader::recognisesWholeDictionaries()
{
    QFETCH(QByteArray, body);
    QFETCH(bool, dictionary);
    QCOMPARE(DownloadRules::isDictionary(body), dictionary);
}

void TestDownloader::failedOrEmptyListGivesEnabledEmptyTable_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("hang");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QString>("site");
    QTest::newRow("not found") << 404 << QByteArray("<p>\"x.dic\"<br></p>") << false << "файл не найден" << QString();
    QTest::newRow("server error") << 500 << QByteArray() << false << "ошибка на сервере" << QString();
    QTest::newRow("empty page") << 200 << QByteArray() << false << "нет ни одного словаря" << QString();
    QTest::newRow("page without entries") << 200 << QByteArray("<html><p>Пусто</p></html>") << false
                                          << "нет ни одного словаря" << QString();
    QTest::newRow("never answers") << 200 << QByteArray() << true << "не отвечает" << QString();
    // Nothing listens on port 1 of this machine.
    QTest::newRow("unreachable server") << 200 << QByteArray() << false << "не принимает соединений"
                                        << QStringLiteral("http://127.0.0.1:1/");
    const QString missing = QDir::current().absoluteFilePath(QStringLiteral("no site here"));
    QTest::newRow("missing local site") << 200 << QByteArray() << false << "файл не найден"
                                        << QUrl::fromLocalFile(missing + QStringLiteral("/")).toString();
}

void TestDownloader::failedOrEmptyListGivesEnabledEmptyTable()
{
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    QFETCH(bool, hang);
    QFETCH(QString, reason);
    QFETCH(QString, site);
    if (!site.isEmpty())
        qputenv("VOCABRIUM_SITE_URL", site.toUtf8());
    else if (hang)
        server.hang(QStringLiteral("/dictionaries.html"));
    else
        server.set(QStringLiteral("/dictionaries.html"), status, body, "text/html");
    if (hang)
        qputenv("VOCABRIUM_TRANSFER_TIMEOUT", ShortTransferTimeout);
    const QString address = DownloadRules::addressText(Services::siteRoot());
    BoxAnswerer answerer;
    DownloaderDialog dialog(workspace->settings.dictionariesPath);
    bool shownDisabled = false;
    bool enabledAgain = false;
    int rows = -1;
    QString said;
    runDialog(&dialog, [&] {
        shownDisabled = !dialog.table()->isEnabled() && !dialog.downloadButton()->isEnabled();
        enabledAgain = waitForControls(&dialog);
        rows = dialog.table()->topLevelItemCount();
        said = dialog.status()->isVisibleTo(&dialog) ? dialog.status()->text() : QString();
    });
    QVERIFY(shownDisabled);
    QVERIFY(enabledAgain);
    QCOMPARE(rows, 0);
    QCOMPARE(answerer.titles, QStringList());
    // The dialog says which address failed, in Russian, instead of an empty table alone.
    QVERIFY2(said.contains(address) && said.contains(reason), qPrintable(said));
}

void TestDownloader::listShowsPageTextAsPlainText()
{
    QFile file(QFINDTESTDATA("data/dictionaries.html"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    server.set(QStringLiteral("/dictionaries.html"), 200, file.readAll(), "text/html");
    DownloaderDialog dialog(workspace->settings.dictionariesPath);
    QStringList columns;
    QString address;
    runDialog(&dialog, [&] {
        if (!waitForControls(&dialog) || dialog.table()->topLevelItemCount() != 3)
            return;
        const QTreeWidgetItem* item = dialog.table()->topLevelItem(2);
        for (int column = 0; column < 4; ++column)
            columns.append(item->text(column));
        address = dialog.table()->topLevelItem(0)->text(DownloaderDialog::AddressColumn);
    });
    QCOMPARE(columns, (QStringList{QStringLiteral("<b>Deutsch</b> — немецкий"), QStringLiteral("151"),
                                   QStringLiteral("Основные слова"), QStringLiteral("Ёжик & Co")}));
    QCOMPARE(address, server.root() + QStringLiteral("dictionaries/food.dic"));
    QCOMPARE(dialog.table()->columnCount(), 4);
    QCOMPARE(dialog.table()->headerItem()->text(1), QStringLiteral("Слов"));
    // Names and descriptions readable at the default size.
    QVERIFY(dialog.table()->columnWidth(0) >= 150);
    QVERIFY(dialog.table()->columnWidth(2) >= 200);
}

void TestDownloader::downloadReplacesEarlierFileAndNoKeepsListOpen_data()
{
    QTest::addColumn<bool>("local");
    QTest::newRow("http site") << false;
    QTest::newRow("file: site") << true;
}

void TestDownloader::downloadReplacesEarlierFileAndNoKeepsListOpen()
{
    QFETCH(bool, local);
    const QByteArray body = dicBytes(foodWords);
    publish(local, {{QStringLiteral("dictionaries.html"),
                     listPage({QStringLiteral("other.dic"), QStringLiteral("dictionaries/food.dic")})},
                    {QStringLiteral("dictionaries/food.dic"), body}});
    {
        QFile earlier(foodPath());
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write(dicBytes({{QStringLiteral("old"), QStringLiteral("старый")}}));
    }
    // Yes to replacing the learner's different file, No to learning it now.
    BoxAnswerer answerer({QMessageBox::Yes, QMessageBox::No});
    DownloaderDialog dialog(workspace->settings.dictionariesPath);
    bool stayedOpen = false;
    int rowsAfter = 0;
    const int result = runDialog(&dialog, [&] {
        if (!waitForControls(&dialog))
            return;
        dialog.table()->setCurrentItem(dialog.table()->topLevelItem(1));
        QTest::mouseClick(dialog.downloadButton(), Qt::LeftButton);
        // Both boxes are answered from inside the wait, so once they are
        // counted the code that asked has gone on.
        if (!QTest::qWaitFor([&] { return answerer.titles.size() == 2; }, 5000))
            return;
        stayedOpen = dialog.isVisible() && dialog.table()->isEnabled() && dialog.downloadButton()->isEnabled();
        rowsAfter = dialog.table()->topLevelItemCount();
    });
    QCOMPARE(result, 0);
    QCOMPARE(answerer.titles, (QStringList{QStringLiteral("Вопрос"), QStringLiteral("Информация")}));
    QCOMPARE(answerer.texts.last(), QStringLiteral("Словарь был успешно загружен! Приступить к обучению?"));
    QVERIFY(stayedOpen);
    QCOMPARE(rowsAfter, 2);
    QCOMPARE(QUrl(dialog.table()->topLevelItem(1)->text(DownloaderDialog::AddressColumn)),
             Services::siteRoot().resolved(QUrl(QStringLiteral("dictionaries/food.dic"))));
    QCOMPARE(dialog.replacedFiles(), QStringList{foodPath()});
    QCOMPARE(dialog.downloadedFile(), foodPath());
    QFile stored(foodPath());
    QVERIFY(stored.open(QIODevice::ReadOnly));
    QCOMPARE(stored.readAll(), body);
    // The old statuses belonged to the replaced words.
    QCOMPARE(folderContents(workspace.get()).size(), 2);
    QCOMPARE(folderContents(workspace.get()).value(workspace->settings.dictionariesPath + QStringLiteral("food.inf")), QByteArray::fromHex("00000001000003e7"));
}

void TestDownloader::failedDownloadLeavesFolderUntouched_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("hang");
    QTest::addColumn<bool>("unwritableFolder");
    QTest::addColumn<QString>("reason");
    const QByteArray good = dicBytes(foodWords);
    QTest::newRow("not found") << 404 << QByteArray("<html>Not found</html>") << false << false << "food.dic";
    QTest::newRow("server error") << 500 << good << false << false << "food.dic";
    QTest::newRow("empty body") << 200 << QByteArray() << false << false << "пустой файл";
    QTest::newRow("html instead of a dictionary")
        << 200 << QByteArray("<!DOCTYPE html><html><body>Ошибка</body></html>") << false << false
        << "не является словарём";
    QTest::newRow("cut short") << 200 << good.left(good.size() / 2) << false << false << "не является словарём";
    QTest::newRow("never answers") << 200 << QByteArray() << true << false << "не отвечает";
    QTest::newRow("folder cannot be made") << 200 << good << false << true << "записать";
}

void TestDownloader::failedDownloadLeavesFolderUntouched()
{
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    QFETCH(bool, hang);
    QFETCH(bool, unwritableFolder);
    QFETCH(QString, reason);
    server.set(QStringLiteral("/dictionaries.html"), 200, listPage({QStringLiteral("food.dic")}), "text/html");
    if (hang)
        server.hang(QStringLiteral("/food.dic"));
    else
        server.set(QStringLiteral("/food.dic"), status, body);
    {
        QFile earlier(foodPath());
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write(dicBytes({{QStringLiteral("old"), QStringLiteral("старый")}}));
    }
    if (unwritableFolder) {
        // A plain file where the folder should be: neither mkpath nor the save can succeed.
        QFile blocker(workspace->settings.dictionariesPath + QStringLiteral("blocker"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        workspace->settings.dictionariesPath = blocker.fileName() + QStringLiteral("/");
    }
    const QMap<QString, QByteArray> before = folderContents(workspace.get());
    const QMap<QString, QByteArray> homeBefore = [this] {
        const QString saved = workspace->settings.dictionariesPath;
        workspace->settings.dictionariesPath = home;
        const auto contents = folderContents(workspace.get());
        workspace->settings.dictionariesPath = saved;
        return contents;
    }();

    BoxAnswerer answerer(QMessageBox::Yes);
    DownloaderDialog dialog(workspace->settings.dictionariesPath);
    bool enabledAgain = false;
    const int result = runDialog(&dialog, [&] {
        if (!waitForControls(&dialog))
            return;
        if (hang)
            qputenv("VOCABRIUM_TRANSFER_TIMEOUT", ShortTransferTimeout);
        dialog.table()->setCurrentItem(dialog.table()->topLevelItem(0));
        QTest::mouseClick(dialog.downloadButton(), Qt::LeftButton);
        if (!QTest::qWaitFor([&] { return !answerer.titles.isEmpty(); }, 5000))
            return;
        enabledAgain = waitForControls(&dialog);
    });
    QCOMPARE(result, 0);
    QCOMPARE(answerer.titles, QStringList{QStringLiteral("Ошибка")});
    QVERIFY2(answerer.texts.first().contains(reason), qPrintable(answerer.texts.first()));
    QVERIFY(enabledAgain);
    QVERIFY(dialog.downloadedFile().isEmpty());
    QCOMPARE(folderContents(workspace.get()), before);
    workspace->settings.dictionariesPath = home;
    QCOMPARE(folderContents(workspace.get()), homeBefore);
}

void TestDownloader::closingDuringADownloadStoresNothing()
{
    server.set(QStringLiteral("/dictionaries.html"), 200, listPage({QStringLiteral("food.dic")}), "text/html");
    server.hang(QStringLiteral("/food.dic"));
    BoxAnswerer answerer(QMessageBox::Yes);
    DownloaderDialog dialog(workspace->settings.dictionariesPath);
    QPointer<QNetworkReply> reply;
    const int result = runDialog(&dialog, [&] {
        if (!waitForControls(&dialog))
            return;
        dialog.table()->setCurrentItem(dialog.table()->topLevelItem(0));
        QTest::mouseClick(dialog.downloadButton(), Qt::LeftButton);
        if (!QTest::qWaitFor([&] { return server.requested.size() == 2; }, 5000))
            return;
        reply = dialog.findChild<QNetworkReply*>();
        dialog.reject();
    });
    QCOMPARE(result, 0);
    QCOMPARE(server.requested.size(), 2);
    // The abandoned reply is finished and gone, so it can never surface later
    // (left running, its transfer time-out would end it with an error box).
    QVERIFY(reply);
    QTRY_VERIFY(!reply);
    QCOMPARE(answerer.titles, QStringList());
    QVERIFY(folderContents(workspace.get()).isEmpty());
}

void TestDownloader::hostileFileNameIsRefusedWithoutRequest_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("parent folder") << QStringLiteral("../../.bashrc.dic/..");
    QTest::newRow("encoded separators") << QStringLiteral("..%2F..%2Fevil.dic");
    QTest::newRow("not a dictionary") << QStringLiteral("evil.sh");
    QTest::newRow("bare suffix") << QStringLiteral("files/.dic");
    QTest::newRow("backslashes") << QStringLiteral("..\\..\\evil.dic");
}

void TestDownloader::hostileFileNameIsRefusedWithoutRequest()
{
    QFETCH(QString, target);
    server.set(QStringLiteral("/dictionaries.html"), 200, listPage({target}), "text/html");
    const QMap<QString, QByteArray> before = folderContents(workspace.get());
    BoxAnswerer answerer(QMessageBox::Yes);
    DownloaderDialog dialog(workspace->settings.dictionariesPath);
    bool enabled = false;
    runDialog(&dialog, [&] {
        if (!waitForControls(&dialog) || dialog.table()->topLevelItemCount() != 1)
            return;
        dialog.table()->setCurrentItem(dialog.table()->topLevelItem(0));
        QTest::mouseClick(dialog.downloadButton(), Qt::LeftButton);
        // The refusal is shown and answered inside the click.
        if (!QTest::qWaitFor([&] { return !answerer.titles.isEmpty(); }, 5000))
            return;
        enabled = dialog.downloadButton()->isEnabled();
    });
    QCOMPARE(answerer.titles, QStringList{QStringLiteral("Ошибка")});
    QVERIFY(enabled);
    QCOMPARE(server.requested, QStringList{QStringLiteral("/dictionaries.html")});
    QCOMPARE(folderContents(workspace.get()), before);
    QVERIFY(dialog.downloadedFile().isEmpty());
}

void TestDownloader::mainWindowOpensDownloadOnlyAfterYes()
{
    server.set(QStringLiteral("/dictionaries.html"), 200, listPage({QStringLiteral("food.dic")}), "text/html");
    server.set(QStringLiteral("/food.dic"), 200, dicBytes(foodWords));
    MainWindow window(workspace.get());
    window.show();
    const QString openBefore = workspace->settings.currentFileName;
    auto* dialog = window.findChild<DownloaderDialog*>();
    QVERIFY(dialog);
    QCOMPARE(dialog->parentWidget(), &window);

    // Closed without a download: nothing is opened.
    QTimer::singleShot(0, dialog, [dialog] {
        (void)waitForControls(dialog);
        dialog->reject();
    });
    window.showDownloaderDialog();
    QCOMPARE(openDictionaryBase(*workspace), openBefore);

    BoxAnswerer answerer(QMessageBox::Yes);
    bool accepted = false;
    QTimer::singleShot(0, dialog, [dialog, &accepted] {
        if (waitForControls(dialog)) {
            dialog->table()->setCurrentItem(dialog->table()->topLevelItem(0));
            QTest::mouseClick(dialog->downloadButton(), Qt::LeftButton);
            accepted = QTest::qWaitFor([&] { return !dialog->isVisible(); }, 5000);
        }
        if (dialog->isVisible())
            dialog->reject();
    });
    window.showDownloaderDialog();
    QVERIFY(accepted);
    QCOMPARE(answerer.titles, QStringList{QStringLiteral("Информация")});
    QCOMPARE(openDictionaryBase(*workspace), foodPath().chopped(4));
    QCOMPARE((&workspace->words.units)->count(), foodWords.size());
    QCOMPARE(window.currentPage(), 0);
    QVERIFY(window.lesson(0)->isVisible());
}

void TestDownloader::downloadOverTheOpenDictionaryIsWhatTheUserGets_data()
{
    QTest::addColumn<bool>("duringALesson");
    QTest::newRow("on the selection page") << false;
    QTest::newRow("during a lesson") << true;
}

void TestDownloader::downloadOverTheOpenDictionaryIsWhatTheUserGets()
{
    QFETCH(bool, duringALesson);
    server.set(QStringLiteral("/dictionaries.html"), 200, listPage({QStringLiteral("food.dic")}), "text/html");
    const QByteArray body = dicBytes(foodWords);
    server.set(QStringLiteral("/food.dic"), 200, body);
    MainWindow window(workspace.get());
    // The learner's own food.dic is open, with a learned and a chosen word.
    QList<Unit> oldWords;
    for (int i = 0; i < 8; ++i)
        oldWords.append({QStringLiteral("old%1").arg(i), QStringLiteral("старый%1").arg(i)});
    writeFileBytes(foodPath(), dicBytes(oldWords));
    window.openFile(foodPath());
    (&workspace->words.statuses)->setStatus(0, 100);
    (&workspace->words.statuses)->setStatus(1, 5);
    if (duringALesson) {
        window.startNextLesson();
        QVERIFY(window.currentPage() != 0);
    }
    auto* dialog = window.findChild<DownloaderDialog*>();
    // Yes to replacing it, No to learning it now.
    BoxAnswerer answerer({QMessageBox::Yes, QMessageBox::No});
    bool answered = false;
    QTimer::singleShot(0, dialog, [dialog, &answerer, &answered] {
        if (waitForControls(dialog)) {
            dialog->table()->setCurrentItem(dialog->table()->topLevelItem(0));
            QTest::mouseClick(dialog->downloadButton(), Qt::LeftButton);
            answered = QTest::qWaitFor([&] { return answerer.titles.size() == 2; }, 5000);
        }
        dialog->reject();
    });
    window.showDownloaderDialog();
    QVERIFY(answered);
    QCOMPARE(answerer.titles.first(), QStringLiteral("Вопрос"));
    QCOMPARE((&workspace->words.units)->count(), foodWords.size());
    QCOMPARE((&workspace->words.statuses)->countOf(0), foodWords.size());
    QCOMPARE((&workspace->words.questions)->count(), 0);
    window.close();
    QCOMPARE(folderContents(workspace.get()).value(foodPath()), body);
}

VOCABRIUM_TEST_MAIN(TestDownloader)
#include "tst_downloader.moc"
