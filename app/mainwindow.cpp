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
#include <QFontDialog>
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
#include "model/lessonselector.h"
#include "model/questions.h"
#include "model/statuses.h"
#include "model/units.h"
#include "model/variants.h"
#include "review/dailyduecount.h"
#include "session/dictionarysession.h"
#include "session/recentfiles.h"
#include "session/workspace.h"
#include "speech/transcriptions.h"

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
    setLesson(0);
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
    learnedUnits = &workspace->words.learnedUnits;
    statuses = &workspace->words.statuses;
    questions = &workspace->words.questions;
    variants = &workspace->words.variants;
    lessonSelector = &workspace->words.selector;
    files = std::make_unique<DictionaryFiles>(&workspace->words);
    language = std::make_unique<LearningLanguage>(&settings, files.get(), units, (&workspace->transcriptions));
    // As at any start, the statuses reach no pool: a run begins on the
    // word selection page.
    const QSignalBlocker blocker(statuses);
    startUpProblems = files->openAtStartUp(storedFile, settings.dictionariesPath + QStringLiteral("default.dic"));
    applyDictionaryLanguage();
    run = new LearningRun(&workspace->words, &settings, this);
    session = new DictionarySession(&settings, files.get(), run, learnedUnits, statuses, this);
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

    stack = new LessonStack(workspace, this);
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
    connect(actions->alwaysOnTopAction, &QAction::toggled, this, &MainWindow::toggleAlwaysOnTop);
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
        resumeDeferredLesson();
    });
    connect(actions->lessonFontAction, &QAction::triggered, this, &MainWindow::showLessonFontDialog);
    connect(actions->interfaceFontAction, &QAction::triggered, this, &MainWindow::showInterfaceFontDialog);
    connect(actions->styleGroup, &QActionGroup::triggered, this, &MainWindow::setupStyle);
    // The flag first, then the lesson on screen shows the word again with or
    // without its transcription.
    connect(actions->transcriptionAction, &QAction::toggled, this, &MainWindow::toggleTranscription);
    connect(actions->transcriptionAction, &QAction::triggered, this, &MainWindow::restartCurrentLessson);
    connect(actions->speakAction, &QAction::toggled, this, &MainWindow::toggleSpeak);
    connect(actions->supportAction, &QAction::triggered, this, [this] {
        boxes->showSupport();
        resumeDeferredLesson();
    });
    connect(actions->helpAction, &QAction::triggered, this, &MainWindow::showHelp);
    connect(actions->findAction, &QAction::triggered, finderLineEdit, [this] {
        // Typing into a hidden field would go nowhere.
        if (!actions->finderToolBar->isVisible())
            actions->finderBarAction->setChecked(true);
        finderLineEdit->setFocus(Qt::ShortcutFocusReason);
    });
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
    statusLine = new StatusLine(statusBar());
}

void MainWindow::createConnections()
{
    connect(stack, &LessonStack::finished, this, &MainWindow::startNextLesson);
    connect(actions->toolBarAction, &QAction::toggled, actions->mainToolBar, &QWidget::setVisible);
    connect(actions->finderBarAction, &QAction::toggled, actions->finderToolBar, &QWidget::setVisible);
    connect(actions->statusBarAction, &QAction::toggled, statusBar(), &QWidget::setVisible);
    connect(finderLineEdit, &QLineEdit::returnPressed, this, &MainWindow::showFinderDialog);
    connect(editorDialog, &EditorDialog::keysRenumbered, run, &LearningRun::renumberPools);
    connect(session, &DictionarySession::dictionaryRead, this, &MainWindow::applyDictionaryLanguage);
    connect(stack->selection(), &FillWidget::reviewRequested, this, &MainWindow::startReview);
    connect(editorDialog, &EditorDialog::changesAccepted, this, &MainWindow::saveEdits);
    connect(finderDialog, &FinderDialog::changesAccepted, this, &MainWindow::saveEdits);
    // A corrected spelling keeps the word's review card.
    connect(units, &Units::edited, this, [this](int key, const QString& previousWord) {
        run->schedule().rename(previousWord, units->word(key));
    });

    run->connectPools();
    connect(units, &Units::added, this, &MainWindow::updateStatusBar);
    connect(units, &Units::removed, this, &MainWindow::updateStatusBar);
    connect(statuses, &Statuses::unlearned, this, &MainWindow::updateStatusBar);
    connect(statuses, &Statuses::initial, this, &MainWindow::updateStatusBar);
    connect(statuses, &Statuses::learned, this, &MainWindow::updateStatusBar);
}

void MainWindow::applySettings()
{
    appearance->apply();
    appearance->placeWindow();
    actions->mainToolBar->setVisible(settings.mwToolBar);
    actions->finderToolBar->setVisible(settings.mwFinderBar);
    statusBar()->setVisible(settings.mwStatusBar);
    toggleAlwaysOnTop(settings.mwAlwaysOnTop);
}

void MainWindow::setupStyle(QAction* action)
{
    appearance->setStyle(action->data().toString());
}

void MainWindow::toggleAlwaysOnTop(bool on)
{
    // Changing the flags hides the window; the first call comes from the
    // constructor, before main() shows it.
    settings.mwAlwaysOnTop = on;
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (firstAlwaysOnTopCall)
        firstAlwaysOnTopCall = false;
    else
        setVisible(true);
}

void MainWindow::toggleTranscription(bool on)
{
    settings.transcriptionEnabled = on;
}

void MainWindow::toggleSpeak(bool on)
{
    settings.speakEnabled = on;
}

void MainWindow::showInterfaceFontDialog()
{
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, settings.interfaceFont, this);
    resumeDeferredLesson();
    if (!ok)
        return;
    appearance->setInterfaceFont(font);
    // Keep the geometry and bars the user has now rather than those of start-up.
    storeWindowState();
    applySettings();
}

void MainWindow::showLessonFontDialog()
{
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, settings.lessonFont, this);
    resumeDeferredLesson();
    if (!ok)
        return;
    appearance->setLessonFont(font);
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
            showError(error + QLatin1Char('\n') + tr("Язык будет действовать до закрытия словаря."));
        restartCurrentLessson();
    }
    resumeDeferredLesson();
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
        restartCurrentLessson();
    resumeDeferredLesson();
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

void MainWindow::setLesson(int kind)
{
    abandonExercise();
    // The page first: showing the advert over a taller lesson page would
    // make the window grow.
    stack->setCurrentIndex(kind);
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
    stack->lesson(kind)->start();
    updateStatusBar();
}

void MainWindow::startNextLesson()
{
    if (QApplication::activeModalWidget()) {
        // An exercise ended behind an open box; it goes on once the box is closed.
        deferredLesson = true;
        return;
    }
    deferredLesson = false;
    const int kind = run->next();
    if (kind >= 0) {
        setLesson(kind);
    } else {
        boxes->congratulate();
        endLearningRun();
        setLesson(0);
    }
}

void MainWindow::abandonExercise()
{
    stack->current()->abandon();
    deferredLesson = false;
}

void MainWindow::resumeDeferredLesson()
{
    if (deferredLesson && currentPage() != 0)
        startNextLesson();
    deferredLesson = false;
}

void MainWindow::restartCurrentLessson()
{
    stack->current()->start();
}

void MainWindow::showModelDialog()
{
    abandonExercise();
    if (modelDialog->exec())
        statuses->setStatuses(questions->list(), Statuses::Initial);
    if (currentPage() != 0)
        startNextLesson();
    else
        restartCurrentLessson();
}

void MainWindow::endLearningRun()
{
    if (currentPage() == 0)
        return;
    abandonExercise();
    const QString error = session->endRun();
    if (!error.isEmpty())
        showError(error);
}

void MainWindow::markLearned()
{
    // Only a word being asked can be marked; the action is disabled on the
    // word selection page, but a queued shortcut must not reach a stale key.
    if (currentPage() == 0 || !units->contains(questions->current()))
        return;
    abandonExercise();
    statuses->setStatus(questions->current(), Statuses::Learned);
    startNextLesson();
}

void MainWindow::clearStatuses()
{
    const bool learning = currentPage() != 0;
    if (!boxes->confirmClear(learning)) {
        resumeDeferredLesson();
        return;
    }
    if (learning) {
        statuses->setStatuses(questions->list(), Statuses::Unlearned);
        endLearningRun();
        setLesson(0);
    } else {
        statusBarFrozen = true;
        statuses->resetAll();
        statusBarFrozen = false;
        updateStatusBar();
        restartCurrentLessson();
    }
}

void MainWindow::showProgressDialog()
{
    boxes->showProgress();
    resumeDeferredLesson();
}

void MainWindow::updateStatusBar()
{
    if (statusBarFrozen)
        return;
    // Words waiting in a review run are still learned until they are forgotten.
    statusLine->show(stack->current()->title(), statuses->countOf(Statuses::Learned) + run->waitingReviews(),
                     units->count(), questions->count());
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
    setLesson(0);
}

void MainWindow::openFile(const QString& path)
{
    statusBarFrozen = true;
    const DictionarySession::Outcome outcome = session->switchTo(path);
    statusBarFrozen = false;
    if (outcome.kind != DictionarySession::Outcome::Refused) {
        updateStatusBar();
        updateTitle();
        updateRecentFiles();
    }
    if (!outcome.error.isEmpty())
        showError(outcome.error);
}

void MainWindow::saveEdits()
{
    // Accepted edits reach the disk at once, not only at the next switch
    // or at exit.
    const QString error = session->saveWithSettings();
    if (!error.isEmpty())
        showError(error);
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
    resumeDeferredLesson();
    if (!retention)
        return;
    settings.reviewRetention = *retention;
    run->schedule().setRequestedRetention(settings.reviewRetention);
}

void MainWindow::showError(const QString& text)
{
    boxes->showError(text);
}

void MainWindow::showStartUpProblems()
{
    const QStringList problems = startUpProblems;
    startUpProblems.clear();
    if (!problems.isEmpty())
        showError(problems.join(QLatin1Char('\n')));
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
    setLesson(0);
}

void MainWindow::importWords()
{
    const QString path = ImportExport(workspace, this).importFile();
    if (path.isEmpty())
        return;
    endLearningRun();
    openFile(path);
    setLesson(0);
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
        statusBarFrozen = true;
        const QString error = session->reloadReplaced();
        statusBarFrozen = false;
        setLesson(0);
        if (!error.isEmpty())
            showError(error);
    }
    if (!accepted)
        return;
    endLearningRun();
    openFile(downloaderDialog->downloadedFile());
    setLesson(0);
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
    statusBarFrozen = true;
    const DictionarySession::Outcome outcome = session->create(DictionarySession::withDictionarySuffix(chosenPath));
    statusBarFrozen = false;
    if (outcome.kind == DictionarySession::Outcome::Refused) {
        showError(outcome.error);
        return;
    }
    updateStatusBar();
    if (outcome.kind == DictionarySession::Outcome::Opened) {
        updateTitle();
        updateRecentFiles();
    }
    if (!outcome.error.isEmpty())
        showError(outcome.error);
    setLesson(0);
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
    const QStringList errors = saveEverything();
    if (!errors.isEmpty()) {
        if (!boxes->closeDespite(errors)) {
            event->ignore();
            return;
        }
    }
    event->accept();
}

QStringList MainWindow::saveEverything()
{
    return session->saveEverything();
}

void MainWindow::saveAndQuit()
{
    storeWindowState();
    // Nobody may be left to answer a box: the reasons go to the error stream.
    for (const QString& error : saveEverything())
        std::fprintf(stderr, "vocabrium: %s\n", error.toLocal8Bit().constData());
    quitting = true;
    QApplication::quit();
}

void MainWindow::keepFilesUnchanged(const QString& reason)
{
    files->setReadOnly(reason);
    settings.keepUnwritten();
    QTimer::singleShot(0, this, [this, reason] { showError(reason); });
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
    abandonExercise();
    // Words learned or mistaken in the editor are no part of the run's figures.
    if (currentPage() != 0) {
        run->pauseCounting();
        editorDialog->exec();
        run->resumeCounting();
    } else {
        editorDialog->exec();
    }
    if (currentPage() != 0 && variants->count() > 5) {
        saveEdits();
        startNextLesson();
    } else if (currentPage() != 0) {
        endLearningRun();
        setLesson(0);
    } else {
        saveEdits();
        setLesson(0);
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
    resumeDeferredLesson();
    // The selection page shows what the finder may have changed.
    if (currentPage() == 0)
        restartCurrentLessson();
}
