#include "app/mainwindow.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenuBar>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include <cstdio>

#include "app/adwidget.h"
#include "app/appearance.h"
#include "app/helpdialog.h"
#include "app/languagedialog.h"
#include "app/lessonstack.h"
#include "app/mainactions.h"
#include "app/statusline.h"
#include "app/translatorsettingsdialog.h"
#include "app/windowboxes.h"
#include "config/settings.h"
#include "editing/downloaderdialog.h"
#include "editing/editordialog.h"
#include "editing/finderdialog.h"
#include "editing/importexport.h"
#include "languages/learninglanguage.h"
#include "learning/learningrun.h"
#include "lessons/fillwidget.h"
#include "lessons/modeldialog.h"
#include "model/dictionaryfiles.h"
#include "review/dailyduecount.h"
#include "session/dictionarysession.h"
#include "session/recentfiles.h"
#include "session/workspace.h"

MainWindow::MainWindow(Workspace* workspace)
    : workspace(workspace)
    , settings(workspace->settings)
{
    Q_INIT_RESOURCE(resources);
    initModels();
    createWidgets();
    createActions();
    createMenus();
    createToolBars();
    createStatusBar();
    createConnections();
    setCentralWidget(stack);
    applySettings();
    setupDictionariesFolder();
    updateTitle();
    stack->showLesson(0);
    if (!startUpProblems.isEmpty())
        QTimer::singleShot(0, this, &MainWindow::showStartUpProblems);
    dueCount->check();
}

MainWindow::~MainWindow() = default;

int MainWindow::currentPage() const
{
    return stack->currentIndex();
}

const ReviewSchedule& MainWindow::reviewSchedule() const
{
    return run->schedule();
}

AbstractLesson* MainWindow::lesson(int kind) const
{
    return stack->lesson(kind);
}

void MainWindow::initModels()
{
    const QString storedFile = settings.currentFileName + QStringLiteral(".dic");
    units = &workspace->words.units;
    statuses = &workspace->words.statuses;
    files = std::make_unique<DictionaryFiles>(&workspace->words);
    language = std::make_unique<LearningLanguage>(&settings, files.get(), units, (&workspace->transcriptions));
    // As at any start, the statuses reach no pool: a run begins on the
    // word selection page.
    const QSignalBlocker blocker(statuses);
    startUpProblems = files->openAtStartUp(storedFile, settings.dictionariesPath + QStringLiteral("default.dic"));
    applyDictionaryLanguage();
    run = new LearningRun(&workspace->words, &settings, this);
    run->connectPools();
    session = new DictionarySession(&settings, files.get(), run, &workspace->words.learnedUnits, statuses, this);
    const QString scheduleProblem = session->loadSchedule();
    if (!scheduleProblem.isEmpty())
        startUpProblems.append(scheduleProblem);
}

void MainWindow::createWidgets()
{
    adWidget = new AdWidget(this);
    adDock = new QDockWidget(tr("Реклама"), this);
    adDock->setObjectName(QStringLiteral("Advert"));
    adDock->setTitleBarWidget(nullptr);
    adDock->setFeatures(QDockWidget::NoDockWidgetFeatures);
    adDock->setWidget(adWidget);
    adDock->setFixedHeight(160);
    addDockWidget(Qt::BottomDockWidgetArea, adDock);

    boxes = std::make_unique<WindowBoxes>(this, settings, run);

    finderLineEdit = new QLineEdit;
    finderLineEdit->setFocusPolicy(Qt::ClickFocus);
    finderLineEdit->setToolTip(tr("Поиск слова"));
    finderLineEdit->setMaximumWidth(180);

    editorDialog = new EditorDialog(workspace, this);
    modelDialog = new ModelDialog(&settings, this);
    languageDialog = new LanguageDialog(workspace, this);
    downloaderDialog = new DownloaderDialog(settings.dictionariesPath, this);
    finderDialog = new FinderDialog(workspace, this);

    stack = new LessonStack(workspace, run, this);
    dueCount = new DailyDueCount([this](const QDate& day) { return run->dueCount(day); },
                                 [this] { return currentPage() == 0; }, &QDateTime::currentDateTime, this);
    connect(dueCount, &DailyDueCount::counted, stack->selection(), &FillWidget::setDueCount);
    appearance = new Appearance(&settings, this, stack->lessons());
}

void MainWindow::createActions()
{
    actions = new MainActions(settings, this);
    connect(actions->newAction, &QAction::triggered, this, &MainWindow::showNewFileDialog);
    connect(actions->openAction, &QAction::triggered, this, &MainWindow::showOpenFileDialog);
    connect(actions->downloadAction, &QAction::triggered, this, &MainWindow::showDownloaderDialog);
    connect(actions->importAction, &QAction::triggered, this, &MainWindow::importWords);
    connect(actions->exportAction, &QAction::triggered, this, &MainWindow::exportWords);
    connect(actions->exitAction, &QAction::triggered, this, &QWidget::close);
    for (QAction* action : std::as_const(actions->recentFileActions))
        connect(action, &QAction::triggered, this, &MainWindow::openRecentFile);
    connect(actions->editorAction, &QAction::triggered, this, &MainWindow::showEditorDialog);
    connect(actions->modelAction, &QAction::triggered, this, &MainWindow::showModelDialog);
    connect(actions->languageAction, &QAction::triggered, this, &MainWindow::showLanguageDialog);
    connect(actions->clearAction, &QAction::triggered, this, &MainWindow::clearStatuses);
    connect(actions->markLearnedAction, &QAction::triggered, this, &MainWindow::markLearned);
    connect(actions->reviewAction, &QAction::triggered, this, &MainWindow::startReview);
    connect(actions->retentionAction, &QAction::triggered, this, &MainWindow::showRetentionDialog);
    connect(actions->progressAction, &QAction::triggered, this, &MainWindow::showProgressDialog);
    connect(actions->aboutAction, &QAction::triggered, this, [this] {
        boxes->showAbout();
        stack->resume();
    });
    connect(actions->lessonFontAction, &QAction::triggered, this, [this] {
        appearance->chooseLessonFont();
        stack->resume();
    });
    connect(actions->interfaceFontAction, &QAction::triggered, this, &MainWindow::showInterfaceFontDialog);
    connect(actions->styleGroup, &QActionGroup::triggered, appearance,
            [this](QAction* style) { appearance->setStyle(style->data().toString()); });
    // The actions keep the flag first, then the lesson on screen shows the
    // word again with or without its transcription.
    connect(actions->transcriptionAction, &QAction::triggered, stack, &LessonStack::restart);
    connect(actions->supportAction, &QAction::triggered, this, [this] {
        boxes->showSupport();
        stack->resume();
    });
    connect(actions->helpAction, &QAction::triggered, this, &MainWindow::showHelp);
}

void MainWindow::createMenus()
{
    actions->addMenus(menuBar());
    connect(actions->translatorAction, &QAction::triggered, this, &MainWindow::showTranslatorSettingsDialog);
    updateRecentFiles();
}

void MainWindow::createToolBars()
{
    actions->addToolBars(this, finderLineEdit);
}

void MainWindow::createStatusBar()
{
    statusLine = new StatusLine(statusBar(), &workspace->words, run, stack);
}

void MainWindow::createConnections()
{
    connect(stack, &LessonStack::lessonShown, this, &MainWindow::showPageParts);
    connect(stack, &LessonStack::runOver, this, [this] {
        boxes->congratulate();
        endLearningRun();
        stack->showLesson(0);
    });
    connect(finderLineEdit, &QLineEdit::returnPressed, this, &MainWindow::showFinderDialog);
    connect(editorDialog, &EditorDialog::keysRenumbered, run, &LearningRun::renumberPools);
    connect(session, &DictionarySession::dictionaryRead, this, &MainWindow::applyDictionaryLanguage);
    connect(stack->selection(), &FillWidget::reviewRequested, this, &MainWindow::startReview);
    connect(editorDialog, &EditorDialog::changesAccepted, this, &MainWindow::saveEdits);
    connect(finderDialog, &FinderDialog::changesAccepted, this, &MainWindow::saveEdits);
}

void MainWindow::applySettings()
{
    appearance->apply();
    appearance->placeWindow();
}

void MainWindow::showInterfaceFontDialog()
{
    const bool chosen = appearance->chooseInterfaceFont();
    stack->resume();
    if (!chosen)
        return;
    // Keep the geometry the user has now rather than that of start-up.
    storeWindowState();
    applySettings();
}

void MainWindow::showHelp()
{
    const QString file = QDir::current().absoluteFilePath(QStringLiteral("help.html"));
    if (!HelpDialog::showIn(this, file))
        boxes->sayNoHelp(file);
}

void MainWindow::showLanguageDialog()
{
    const QString before = settings.learningLanguage;
    languageDialog->exec();
    QString error;
    if (language->adoptChosen(before, &error)) {
        if (!error.isEmpty())
            boxes->showError(error + QLatin1Char('\n') + tr("Язык будет действовать до закрытия словаря."));
        stack->restart();
    }
    stack->resume();
}

void MainWindow::applyDictionaryLanguage()
{
    const QString dic = files->openFileName();
    if (const std::optional<QString> proposed = language->applyOpen())
        QTimer::singleShot(0, this, [this, dic, proposed] { askDictionaryLanguage(dic, *proposed); });
}

void MainWindow::askDictionaryLanguage(const QString& dicPath, const QString& proposed)
{
    if (!DictionaryFiles::sameFile(dicPath, files->openFileName()))
        return;
    const std::optional<QString> chosen = boxes->askDictionaryLanguage(dicPath, proposed);
    if (language->choose(dicPath, chosen.value_or(proposed)))
        stack->restart();
    stack->resume();
}

void MainWindow::showTranslatorSettingsDialog()
{
    TranslatorSettingsDialog dialog(workspace, this);
    dialog.exec();
}

void MainWindow::setupDictionariesFolder()
{
    if (DictionarySession::setUpDictionariesFolder(QDir::currentPath() + QStringLiteral("/Default Dictionaries")))
        startUpProblems += session->reopenAtStartUp(settings.currentFileName + QStringLiteral(".dic"));
}

void MainWindow::storeWindowState()
{
    settings.mwSize = size();
    settings.mwPos = pos();
    settings.mwToolBar = actions->mainToolBar->isVisible();
    settings.mwFinderBar = actions->finderToolBar->isVisible();
    settings.mwStatusBar = statusBar()->isVisible();
}

void MainWindow::showPageParts(int kind)
{
    // Called once the page is shown: showing the advert over a taller
    // lesson page would make the window grow.
    if (kind == 0) {
        adDock->show();
        adWidget->updateAd();
    } else {
        adDock->hide();
    }
    actions->markLearnedAction->setEnabled(kind != 0);
    actions->reviewAction->setEnabled(kind == 0);
    if (kind == 0)
        dueCount->refresh();
    statusLine->refresh();
}

void MainWindow::startNextLesson()
{
    stack->showNext();
}

void MainWindow::showModelDialog()
{
    stack->abandon();
    if (modelDialog->exec())
        run->restartAtShorterModel();
    if (currentPage() != 0)
        stack->showNext();
    else
        stack->restart();
}

void MainWindow::endLearningRun()
{
    if (currentPage() == 0)
        return;
    stack->abandon();
    const QString error = session->endRun();
    if (!error.isEmpty())
        boxes->showError(error);
}

void MainWindow::markLearned()
{
    // The action is disabled on the word selection page, but a shortcut
    // may have been queued before the run ended.
    if (currentPage() != 0 && run->markAskedLearned())
        stack->showNext();
}

void MainWindow::clearStatuses()
{
    const bool learning = currentPage() != 0;
    if (!boxes->confirmClear(learning)) {
        stack->resume();
        return;
    }
    statusLine->whileFrozen([this, learning] { run->clearStatuses(learning); });
    if (learning) {
        endLearningRun();
        stack->showLesson(0);
    } else {
        stack->restart();
    }
}

void MainWindow::showProgressDialog()
{
    boxes->showProgress();
    stack->resume();
}

void MainWindow::updateStatusBar()
{
    statusLine->refresh();
}

void MainWindow::updateTitle()
{
    setWindowTitle(QFileInfo(units->fileName()).completeBaseName() + QStringLiteral(" - Vocabrium"));
}

void MainWindow::updateRecentFiles()
{
    settings.recentFiles = RecentFiles::withCurrent(settings.recentFiles, units->fileName());
    actions->showRecentFiles(settings.recentFiles);
}

void MainWindow::openRecentFile()
{
    auto* action = qobject_cast<QAction*>(sender());
    if (!action)
        return;
    endLearningRun();
    openFile(action->data().toString());
    stack->showLesson(0);
}

void MainWindow::openFile(const QString& path)
{
    const DictionarySession::Outcome outcome = statusLine->whileFrozen([this, &path] { return session->switchTo(path); });
    if (outcome.kind != DictionarySession::Outcome::Refused) {
        updateTitle();
        updateRecentFiles();
    }
    if (!outcome.error.isEmpty())
        boxes->showError(outcome.error);
}

void MainWindow::saveEdits()
{
    // Accepted edits reach the disk at once, not only at the next switch
    // or at exit.
    const QString error = session->saveWithSettings();
    if (!error.isEmpty())
        boxes->showError(error);
}

void MainWindow::startReview()
{
    if (currentPage() != 0)
        return;
    if (run->startReview(QDate::currentDate()) == 0) {
        boxes->sayNothingDue();
        return;
    }
    stack->selection()->startLearning();
    // The run did not start (too few words for the choice lesson).
    if (currentPage() == 0)
        run->cancelReview();
}

void MainWindow::showRetentionDialog()
{
    const std::optional<double> retention = boxes->askRetention();
    stack->resume();
    if (!retention)
        return;
    settings.reviewRetention = *retention;
    run->schedule().setRequestedRetention(settings.reviewRetention);
}

void MainWindow::showStartUpProblems()
{
    const QStringList problems = startUpProblems;
    startUpProblems.clear();
    if (!problems.isEmpty())
        boxes->showError(problems.join(QLatin1Char('\n')));
}

void MainWindow::showOpenFileDialog()
{
    const QString path = QFileDialog::getOpenFileName(
        this, tr("Выберите словарь"), DictionarySession::dictionariesFolder(),
        tr("Словари (*.dic)"));
    if (path.isEmpty())
        return;
    endLearningRun();
    openFile(path);
    stack->showLesson(0);
}

void MainWindow::importWords()
{
    const QString path = ImportExport(workspace, this).importFile();
    if (path.isEmpty())
        return;
    endLearningRun();
    openFile(path);
    stack->showLesson(0);
}

void MainWindow::exportWords()
{
    ImportExport(workspace, this).exportDictionary();
}

void MainWindow::showDownloaderDialog()
{
    const int accepted = downloaderDialog->exec();
    if (session->isOpenAmong(downloaderDialog->replacedFiles())) {
        // The download took the place of the open dictionary: what memory
        // holds belongs to the replaced file and must not be saved over it.
        files->forgetReplaced();
        endLearningRun();
        const QString error = statusLine->whileFrozen([this] { return session->reloadReplaced(); });
        stack->showLesson(0);
        if (!error.isEmpty())
            boxes->showError(error);
    }
    if (!accepted)
        return;
    endLearningRun();
    openFile(downloaderDialog->downloadedFile());
    stack->showLesson(0);
}

void MainWindow::showNewFileDialog()
{
    const QString path = QFileDialog::getSaveFileName(
        this, tr("Введите имя нового словаря"),
        DictionarySession::dictionariesFolder(), tr("Словари (*.dic)"));
    if (path.isEmpty())
        return;
    newFile(path);
}

void MainWindow::newFile(const QString& chosenPath)
{
    endLearningRun();
    const DictionarySession::Outcome outcome = statusLine->whileFrozen(
        [this, &chosenPath] { return session->create(DictionarySession::withDictionarySuffix(chosenPath)); });
    if (outcome.kind == DictionarySession::Outcome::Refused) {
        boxes->showError(outcome.error);
        // The run was ended all the same: its page has nothing left to ask.
        if (currentPage() != 0)
            stack->showLesson(0);
        return;
    }
    if (outcome.kind == DictionarySession::Outcome::Opened) {
        updateTitle();
        updateRecentFiles();
    }
    if (!outcome.error.isEmpty())
        boxes->showError(outcome.error);
    stack->showLesson(0);
    showEditorDialog();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // saveAndQuit() saved once already and told the error stream.
    if (quitting) {
        event->accept();
        return;
    }
    storeWindowState();
    const QStringList errors = session->saveEverything();
    if (!errors.isEmpty()) {
        if (!boxes->closeDespite(errors)) {
            event->ignore();
            return;
        }
    }
    event->accept();
}

void MainWindow::saveAndQuit()
{
    storeWindowState();
    // Nobody may be left to answer a box: the reasons go to the error stream.
    for (const QString& error : session->saveEverything())
        std::fprintf(stderr, "vocabrium: %s\n", error.toLocal8Bit().constData());
    quitting = true;
    QApplication::quit();
}

void MainWindow::keepFilesUnchanged(const QString& reason)
{
    session->keepUnchanged(reason);
    QTimer::singleShot(0, this, [this, reason] { boxes->showError(reason); });
}

void MainWindow::bringToFront()
{
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

QMenu* MainWindow::createPopupMenu()
{
    return nullptr;
}

void MainWindow::showEditorDialog()
{
    stack->abandon();
    // Words learned or mistaken in the editor are no part of the run's figures.
    run->pauseCounting();
    editorDialog->exec();
    run->resumeCounting();
    if (currentPage() != 0 && run->canGoOn()) {
        saveEdits();
        stack->showNext();
    } else if (currentPage() != 0) {
        endLearningRun();
        stack->showLesson(0);
    } else {
        saveEdits();
        stack->showLesson(0);
    }
}

void MainWindow::showFinderDialog()
{
    const QString text = finderLineEdit->text();
    if (text.isEmpty())
        return;
    finderDialog->exec(text);
    finderLineEdit->clear();
    saveEdits();
    stack->resume();
    // The selection page shows what the finder may have changed.
    if (currentPage() == 0)
        stack->restart();
}
