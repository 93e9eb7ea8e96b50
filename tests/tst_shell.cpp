#include <memory>
#include <QAction>
#include <QComboBox>
#include <QDesktopServices>
#include <QDockWidget>
#include <QFontDialog>
#include <QMenuBar>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QNetworkReply>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QSettings>
#include <QSignalSpy>
#include <QTextCursor>
#include <QTextDocument>
#include <QStatusBar>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QTranslator>

#include "app/adwidget.h"
#include "app/helpdialog.h"
#include "app/languagedialog.h"
#include "app/mainwindow.h"
#include "app/styles.h"
#include "model/dictionaryformat.h"
#include "model/questions.h"
#include "model/statuses.h"
#include "model/units.h"
#include "session/toolkittranslation.h"
#include "speech/speaker.h"
#include "speech/transcriptions.h"
#include "dialoghelpers.h"
#include "httptestserver.h"
#include "session/workspace.h"
#include "testenvironment.h"

namespace {

// Stands in for the system's browser.
class UrlCatcher : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> opened;

public slots:
    void open(const QUrl& url) { opened.append(url); }
};

} // namespace

class TestShell : public QObject
{
    Q_OBJECT

    // Each test function has a home folder, workspace and window of its
    // own; the workspace outlives the window. The advert server is shared.
    std::unique_ptr<Workspace> workspace;
    std::unique_ptr<MainWindow> window;

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void actionTable_data();
    void actionTable();
    void markLearnedIsEnabledOnlyOnLessonPages();
    void findShortcutReachesHiddenFinderBar();
    void interfaceFontReachesEveryWidget();
    void statusBarTexts_data();
    void statusBarTexts();
    void progressBoxLoopsUntilOk();
    void clearingStatusesOnSelectionPage();
    void languageDialogAppliesAtOnce();
    void advertFallsBackToLocalPage_data();
    void advertFallsBackToLocalPage();
    void advertShowsServedPageAndKeepsItsHeight();
    void advertReadsAPageOfTheLocalSite_data();
    void advertReadsAPageOfTheLocalSite();
    void newAdvertLoadReplacesThePendingOne();
    void toolkitTranslationIsRussianForAnyLocale_data();
    void toolkitTranslationIsRussianForAnyLocale();
    void missingHelpFileIsReported();
    void helpOpensInOwnWindowAndSendsOnlyOutsideLinksOut();
    void settingsWrittenAtClose();

private:
    QAction* action(const QString& text) const;
    void useDictionary(int words, int learned);

    HttpTestServer server;
};

void TestShell::initTestCase()
{
    QVERIFY(server.isListening());
    qputenv("VOCABRIUM_ADVERT_URL", QString(server.root() + QStringLiteral("advert.html")).toUtf8());
    qputenv("VOCABRIUM_ADVERT_TIMEOUT", "300");
    qputenv("VOCABRIUM_SPEECH_PAUSE", QByteArray::number(1));
}

void TestShell::init()
{
    QVERIFY(emptyHomeFolder());
    server.clear();
    server.set(QStringLiteral("/advert.html"), 500, "broken", "text/html");
    workspace = storedWorkspace();
    workspace->settings.speakEnabled = false;
    QDir().mkpath(workspace->settings.dictionariesPath);
    workspace->settings.currentFileName = workspace->settings.dictionariesPath + QStringLiteral("shell");
    workspace->words.units.setFileName(workspace->settings.currentFileName + QStringLiteral(".dic"));
    window = std::make_unique<MainWindow>(workspace.get());
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

void TestShell::cleanup()
{
    window.reset();
    workspace.reset();
}

QAction* TestShell::action(const QString& text) const
{
    for (QAction* candidate : window->findChildren<QAction*>())
        if (candidate->text() == text)
            return candidate;
    return nullptr;
}

void TestShell::actionTable_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QKeySequence>("shortcut");
    QTest::addColumn<int>("checkable"); // -1 not checkable, 0 unchecked, 1 checked

    auto row = [](const char* text, const QKeySequence& shortcut, int checkable) {
        QTest::newRow(text) << QString::fromUtf8(text) << shortcut << checkable;
    };
    row("Новый словарь...", QKeySequence(QKeySequence::New), -1);
    row("Открыть словарь...", QKeySequence(QKeySequence::Open), -1);
    row("Выход", QKeySequence(QStringLiteral("Ctrl+Q")), -1);
    row("Панель инструментов", QKeySequence(QStringLiteral("Ctrl+1")), 1);
    row("Панель поиска", QKeySequence(QStringLiteral("Ctrl+2")), 0);
    row("Строка состояния", QKeySequence(QStringLiteral("Ctrl+3")), 1);
    row("Поверх всех окон", QKeySequence(QStringLiteral("Ctrl+T")), 0);
    row("Модель обучения...", QKeySequence(QStringLiteral("Ctrl+M")), -1);
    row("Язык...", QKeySequence(QStringLiteral("Ctrl+L")), -1);
    row("Обнулить статусы слов", QKeySequence(QStringLiteral("Ctrl+R")), -1);
    row("Это слово выучено", QKeySequence(QStringLiteral("Ctrl+W")), -1);
    row("Прогресс...", QKeySequence(QStringLiteral("Ctrl+P")), -1);
    row("О программе...", QKeySequence(), -1);
    row("Шрифт упражнений...", QKeySequence(), -1);
    row("Шрифт интерфейса...", QKeySequence(), -1);
    row("Стандарт", QKeySequence(), 0);
    row("Cleanlooks", QKeySequence(), 1);
    row("Plastique", QKeySequence(), 0);
    row("Транскрипция", QKeySequence(QStringLiteral("Ctrl+B")), 1);
    row("Озвучка", QKeySequence(QStringLiteral("Ctrl+S")), 0);
    row("Поддержать проект...", QKeySequence(), -1);
    row("Справка...", QKeySequence(QKeySequence::HelpContents), -1);
}

void TestShell::actionTable()
{
    QFETCH(QString, text);
    QFETCH(QKeySequence, shortcut);
    QFETCH(int, checkable);
    QAction* found = action(text);
    QVERIFY2(found, qPrintable(text));
    QCOMPARE(found->shortcut(), shortcut);
    QCOMPARE(found->isCheckable(), checkable >= 0);
    if (checkable >= 0)
        QCOMPARE(found->isChecked(), checkable == 1);
}

void TestShell::useDictionary(int words, int learned)
{
    QList<Unit> list;
    for (int i = 0; i < words; ++i)
        list.append({QStringLiteral("w%1").arg(i), QStringLiteral("t%1").arg(i)});
    QList<int> statuses;
    for (int i = 0; i < words; ++i)
        statuses.append(i < learned ? 100 : 0);
    (&workspace->words.units)->setUnits(list);
    (&workspace->words.statuses)->setList(statuses);
    window->updateStatusBar();
}

void TestShell::markLearnedIsEnabledOnlyOnLessonPages()
{
    useDictionary(8, 0);
    QAction* markLearned = action(QStringLiteral("Это слово выучено"));
    QCOMPARE(window->currentPage(), 0);
    QVERIFY(!markLearned->isEnabled());
    QVERIFY(window->findChild<QDockWidget*>()->isVisible());
    (&workspace->words.statuses)->setStatus(2, 5);
    window->startNextLesson();
    QCOMPARE(window->currentPage(), 1);
    QVERIFY(markLearned->isEnabled());
    QVERIFY(!window->findChild<QDockWidget*>()->isVisible());
    BoxAnswerer answerer({QMessageBox::Ok});
    markLearned->trigger();
    QCOMPARE(window->currentPage(), 0);
    QVERIFY(!markLearned->isEnabled());
    QVERIFY(window->findChild<QDockWidget*>()->isVisible());
}

void TestShell::findShortcutReachesHiddenFinderBar()
{
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QLineEdit* finder = nullptr;
    for (QLineEdit* edit : window->findChildren<QLineEdit*>())
        if (edit->toolTip() == QStringLiteral("Поиск слова"))
            finder = edit;
    QVERIFY(finder);
    QVERIFY(!finder->isVisible());
    QTest::keySequence(window.get(), QKeySequence::Find);
    QCOMPARE(QApplication::focusWidget(), finder);
    // Typing into an invisible field would go nowhere: the bar comes up.
    QVERIFY(finder->isVisible());
}

void TestShell::interfaceFontReachesEveryWidget()
{
    QFont chosen = workspace->settings.interfaceFont;
    chosen.setPointSize(14);
    whenModal<QFontDialog>([chosen](QFontDialog* dialog) {
        dialog->setCurrentFont(chosen);
        dialog->accept();
    });
    QMetaObject::invokeMethod(window.get(), "showInterfaceFontDialog");
    QCOMPARE(window->statusBar()->findChildren<QLabel*>().first()->font().pointSize(), 14);
    // Every menu title stays in the menu bar, none in its overflow.
    QMenuBar* bar = window->menuBar();
    for (QAction* menu : bar->actions())
        QVERIFY2(bar->rect().contains(bar->actionGeometry(menu)), qPrintable(menu->text()));
}

void TestShell::statusBarTexts_data()
{
    QTest::addColumn<int>("words");
    QTest::addColumn<int>("learned");
    QTest::addColumn<QString>("plain");

    QTest::newRow("empty") << 0 << 0 << QStringLiteral("Изучено: 0/0 (0%)");
    QTest::newRow("a quarter") << 120 << 30 << QStringLiteral("Изучено: 30/120 (25%)");
    QTest::newRow("two thirds") << 3 << 2 << QStringLiteral("Изучено: 2/3 (66%)");
    QTest::newRow("all") << 4 << 4 << QStringLiteral("Изучено: 4/4 (100%)");
}

void TestShell::statusBarTexts()
{
    QFETCH(int, words);
    QFETCH(int, learned);
    QFETCH(QString, plain);
    useDictionary(words, learned);
    QStringList texts;
    for (QLabel* label : window->statusBar()->findChildren<QLabel*>()) {
        QTextDocument document;
        document.setHtml(label->text());
        texts.append(document.toPlainText());
    }
    QVERIFY2(texts.contains(plain), qPrintable(texts.join(QLatin1Char('|'))));
    QVERIFY(texts.contains(QStringLiteral("Выбор слов")));
    QVERIFY(texts.contains(QStringLiteral("Изучается: 0")));
}

void TestShell::progressBoxLoopsUntilOk()
{
    workspace->settings.learnedCount = 12;
    workspace->settings.mistakesCount = 3;
    workspace->settings.learningTime = 3723;
    workspace->settings.reviewedCount = 4;
    BoxAnswerer answerer({QMessageBox::Reset, QMessageBox::No, QMessageBox::Reset,
                          QMessageBox::Yes, QMessageBox::Ok});
    window->showProgressDialog();
    QCOMPARE(answerer.texts.size(), 5);
    QVERIFY(answerer.texts.at(0).contains(QStringLiteral("<b>12 слов</b>")));
    QCOMPARE(answerer.texts.at(1), QStringLiteral("Вы уверены что хотите очистить свои достижения?"));
    QCOMPARE(answerer.texts.at(2), answerer.texts.at(0));
    QVERIFY(answerer.texts.at(4).contains(QStringLiteral("<b>0 слов</b>")));
    QVERIFY(answerer.texts.at(4).contains(QStringLiteral("00:00:00")));
    QCOMPARE(workspace->settings.learnedCount + workspace->settings.mistakesCount + workspace->settings.reviewedCount, 0);
}

void TestShell::clearingStatusesOnSelectionPage()
{
    useDictionary(6, 6);
    {
        BoxAnswerer answerer({QMessageBox::No});
        window->clearStatuses();
    }
    QCOMPARE((&workspace->words.statuses)->countOf(100), 6);
    BoxAnswerer answerer({QMessageBox::Yes});
    window->clearStatuses();
    QCOMPARE((&workspace->words.statuses)->countOf(100), 0);
    QVERIFY(answerer.texts.first().startsWith(QStringLiteral("Все слова в словаре")));
}

void TestShell::languageDialogAppliesAtOnce()
{
    QDir().mkpath(QStringLiteral("Transcriptions"));
    {
        QFile file(QStringLiteral("Transcriptions/French.trn"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QDataStream out(&file);
        out.setVersion(QDataStream::Qt_4_6);
        out << QMap<QString, QString>{{QStringLiteral("chat"), QStringLiteral("ʃa")}};
    }
    workspace->settings.learningLanguage = QStringLiteral("en");
    workspace->settings.interfaceLanguage = QStringLiteral("ru");
    LanguageDialog dialog(workspace.get());
    auto lists = dialog.findChildren<QComboBox*>();
    QCOMPARE(lists.size(), 2);
    QCOMPARE(lists.at(0)->count(), 36);
    QCOMPARE(lists.at(0)->currentData().toString(), QStringLiteral("en"));

    lists.at(0)->setCurrentIndex(lists.at(0)->findData(QStringLiteral("fr")));
    QCOMPARE(workspace->settings.learningLanguage, QStringLiteral("fr"));
    QCOMPARE(workspace->settings.transcriptionFileName, QStringLiteral("French"));
    QCOMPARE((&workspace->transcriptions)->lookup(QStringLiteral("Chat")), QStringLiteral("[ʃa]"));

    lists.at(0)->setCurrentIndex(lists.at(0)->findData(QStringLiteral("ja")));
    QCOMPARE(workspace->settings.transcriptionFileName, QString());
    QCOMPARE((&workspace->transcriptions)->lookup(QStringLiteral("chat")), QString());

    lists.at(1)->setCurrentIndex(1);
    QCOMPARE(workspace->settings.interfaceLanguage, QStringLiteral("en"));

    // A stored language missing from the list leaves it unselected.
    workspace->settings.learningLanguage = QStringLiteral("xx");
    LanguageDialog unknown(workspace.get());
    QCOMPARE(unknown.findChildren<QComboBox*>().at(0)->currentIndex(), -1);
    unknown.findChildren<QComboBox*>().at(1)->setCurrentIndex(0);
    QCOMPARE(workspace->settings.learningLanguage, QString());
}

void TestShell::advertFallsBackToLocalPage_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("silent");

    QTest::newRow("server error") << 500 << QByteArray("<p>error</p>") << false;
    QTest::newRow("empty page") << 200 << QByteArray() << false;
    QTest::newRow("never answers") << 200 << QByteArray() << true;
}

void TestShell::advertFallsBackToLocalPage()
{
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    QFETCH(bool, silent);
    if (silent)
        server.hang(QStringLiteral("/advert.html"));
    else
        server.set(QStringLiteral("/advert.html"), status, body, "text/html");
    AdWidget ad;
    QSignalSpy shown(&ad, &AdWidget::pageShown);
    ad.updateAd();
    QVERIFY(shown.wait(3000));
    QVERIFY(ad.showsLocalPage());
    QVERIFY(ad.browser()->toPlainText().contains(QStringLiteral("Совет")));
}

void TestShell::advertShowsServedPageAndKeepsItsHeight()
{
    server.set(QStringLiteral("/advert.html"), 200,
               QStringLiteral("<p>Новые словари на сайте: <a href=\"dictionaries.html\">смотрите</a></p>").toUtf8(),
               "text/html; charset=utf-8");
    AdWidget* ad = window->findChild<AdWidget*>();
    QSignalSpy shown(ad, &AdWidget::pageShown);
    ad->updateAd();
    QVERIFY(shown.wait(3000));
    QVERIFY(!ad->showsLocalPage());
    QVERIFY(ad->browser()->toPlainText().contains(QStringLiteral("Новые словари")));
    auto* dock = window->findChild<QDockWidget*>();
    window->resize(700, 700);
    // The window takes its new size in its resize event, and lays out the
    // dock in the same event.
    QTRY_COMPARE(window->size(), QSize(700, 700));
    QCOMPARE(dock->height(), 160);
    QCOMPARE(dock->features(), QDockWidget::NoDockWidgetFeatures);
}

void TestShell::advertReadsAPageOfTheLocalSite_data()
{
    QTest::addColumn<QByteArray>("page");
    QTest::newRow("page in the collection") << QByteArray("<p>Новые словари</p>");
    QTest::newRow("no such file") << QByteArray();
}

void TestShell::advertReadsAPageOfTheLocalSite()
{
    QFETCH(QByteArray, page);
    const QString path = QDir::current().absoluteFilePath(QStringLiteral("site/advert.html"));
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile::remove(path);
    if (!page.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(page);
    }
    const QByteArray served = qgetenv("VOCABRIUM_ADVERT_URL");
    qputenv("VOCABRIUM_ADVERT_URL", QUrl::fromLocalFile(path).toString().toUtf8());
    AdWidget ad;
    QSignalSpy shown(&ad, &AdWidget::pageShown);
    ad.updateAd();
    const bool arrived = shown.wait(3000);
    qputenv("VOCABRIUM_ADVERT_URL", served);
    QVERIFY(arrived);
    QCOMPARE(ad.showsLocalPage(), page.isEmpty());
    if (!page.isEmpty())
        QVERIFY(ad.browser()->toPlainText().contains(QStringLiteral("Новые словари")));
}

void TestShell::newAdvertLoadReplacesThePendingOne()
{
    // The word selection page reloads the strip every time it is shown, often
    // while the previous load is still under way; the aborted load must
    // neither show the local page nor touch the reply that replaced it.
    server.hang(QStringLiteral("/advert.html"));
    AdWidget ad;
    QSignalSpy shown(&ad, &AdWidget::pageShown);
    ad.updateAd();
    QTRY_COMPARE(server.requested.count(QStringLiteral("/advert.html")) > 0, true);
    const QPointer<QNetworkReply> aborted = ad.findChild<QNetworkReply*>();
    QVERIFY(aborted);
    server.set(QStringLiteral("/advert.html"), 200, "<p>fresh news</p>", "text/html");
    ad.updateAd();
    QVERIFY(shown.wait(3000));
    // Once the aborted reply is gone it can show nothing more.
    QTRY_VERIFY(!aborted);
    QCOMPARE(shown.size(), 1);
    QVERIFY(!ad.showsLocalPage());
    QVERIFY(ad.browser()->toPlainText().contains(QStringLiteral("fresh news")));
}

void TestShell::toolkitTranslationIsRussianForAnyLocale_data()
{
    QTest::addColumn<QString>("locale");
    QTest::newRow("Russian system") << QStringLiteral("ru_RU");
    QTest::newRow("LANG=C") << QStringLiteral("C");
    QTest::newRow("English system") << QStringLiteral("en_US");
    QTest::newRow("German system") << QStringLiteral("de_DE");
}

void TestShell::toolkitTranslationIsRussianForAnyLocale()
{
    QFETCH(QString, locale);
    // The interface is Russian, so the toolkit's buttons must be too, also
    // where the build lays out no catalogue for the system's language.
    QTranslator translator;
    QVERIFY(ToolkitTranslation::load(translator, QLocale(locale), QStringLiteral(VOCABRIUM_BUILD_DIR "/Translations")));
    QCOMPARE(translator.translate("QPlatformTheme", "Cancel"), QStringLiteral("Отмена"));
}

void TestShell::missingHelpFileIsReported()
{
    QFile::remove(QStringLiteral("help.html"));
    BoxAnswerer answerer;
    action(QStringLiteral("Справка..."))->trigger();
    QCOMPARE(answerer.titles, QStringList{QStringLiteral("Ошибка")});
    QVERIFY(answerer.texts.value(0).contains(QStringLiteral("help.html")));
    auto* help = window->findChild<HelpDialog*>();
    QVERIFY(!help || !help->isVisible());
}

void TestShell::helpOpensInOwnWindowAndSendsOnlyOutsideLinksOut()
{
    QFile page(QStringLiteral("help.html"));
    QVERIFY(page.open(QIODevice::WriteOnly));
    page.write("<html><head><meta charset=\"utf-8\"></head><body>"
               "<p><a href=\"https://example.org/more\">сайт</a> <a href=\"#keys\">Клавиши</a></p>"
               "<h2 id=\"keys\">Клавиши справки</h2></body></html>");
    page.close();

    UrlCatcher browser;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &browser, "open");
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &browser, "open");
    const auto unset = qScopeGuard([] {
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    });
    action(QStringLiteral("Справка..."))->trigger();
    auto* help = window->findChild<HelpDialog*>();
    QVERIFY(help && help->isVisible());
    auto* text = help->findChild<QTextBrowser*>();
    QVERIFY(text->toPlainText().contains(QStringLiteral("Клавиши справки")));

    // Tab picks the next link, Return follows it.
    QVERIFY(QTest::qWaitForWindowActive(help));
    text->setFocus();
    QTest::keyClick(text, Qt::Key_Tab);
    QTest::keyClick(text, Qt::Key_Return);
    QCOMPARE(browser.opened, QList<QUrl>{QUrl(QStringLiteral("https://example.org/more"))});
    QSignalSpy followed(text, &QTextBrowser::anchorClicked);
    // Where the browser leaves its cursor after an outside link is its own
    // affair: the page's own link is taken from the top.
    text->setTextCursor(QTextCursor(text->document()));
    QTest::keyClick(text, Qt::Key_Tab);
    QTest::keyClick(text, Qt::Key_Tab);
    QTest::keyClick(text, Qt::Key_Return);
    QCOMPARE(followed.size(), 1);
    QCOMPARE(followed.at(0).at(0).toUrl().fragment(), QStringLiteral("keys"));
    QCOMPARE(browser.opened.size(), 1);

    // F1 again reuses the window.
    action(QStringLiteral("Справка..."))->trigger();
    QCOMPARE(window->findChildren<HelpDialog*>().size(), 1);
    help->close();
}

void TestShell::settingsWrittenAtClose()
{
    action(QStringLiteral("Панель поиска"))->setChecked(true);
    action(QStringLiteral("Строка состояния"))->setChecked(false);
    action(QStringLiteral("Транскрипция"))->trigger();
    action(QStringLiteral("Озвучка"))->trigger();
    action(QStringLiteral("Plastique"))->trigger();
    workspace->settings.lessonFont.setPointSize(15);
    window->close();
    QSettings s(QSettings::NativeFormat, QSettings::UserScope,
                QStringLiteral("Vocabrium"), QStringLiteral("Vocabrium"));
    QCOMPARE(s.value(QStringLiteral("MW_finderBar")).toBool(), true);
    QCOMPARE(s.value(QStringLiteral("MW_statusBar")).toBool(), false);
    QCOMPARE(s.value(QStringLiteral("MW_toolBar")).toBool(), true);
    QCOMPARE(s.value(QStringLiteral("transcription")).toBool(), false);
    QCOMPARE(s.value(QStringLiteral("speak")).toBool(), true);
    QCOMPARE(s.value(QStringLiteral("style")).toString(), QStringLiteral("plastique"));
    QCOMPARE(s.value(QStringLiteral("lessonFontSize")).toInt(), 15);
    // The vanished style is shown by one that exists, apart from the platform's own.
    QCOMPARE(QApplication::style()->name().compare(Styles::styleFor(QStringLiteral("plastique"), workspace->settings.nativeStyle),
                                                   Qt::CaseInsensitive),
             0);
    QVERIFY(Styles::styleFor(QStringLiteral("plastique"), workspace->settings.nativeStyle) != Styles::styleFor(QStringLiteral("cleanlooks"), workspace->settings.nativeStyle)
            || QApplication::palette().color(QPalette::Window) != QApplication::style()->standardPalette().color(QPalette::Window));
}

VOCABRIUM_TEST_MAIN(TestShell)
#include "tst_shell.moc"
