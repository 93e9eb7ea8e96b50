#include "app/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QStackedWidget>
#include <QStatusBar>
#include <QToolBar>

#include "app/settings.h"
#include "app/statustexts.h"
#include "app/styles.h"
#include "editing/downloaderdialog.h"
#include "lessons/cardwidget.h"
#include "lessons/fillwidget.h"
#include "lessons/meetwidget.h"
#include "lessons/modeldialog.h"
#include "lessons/selectwidget.h"
#include "lessons/writewidget.h"
#include "model/lessonselector.h"
#include "model/questions.h"
#include "model/statuses.h"
#include "model/units.h"
#include "model/variants.h"

namespace {

constexpr int RecentFileCount = 5;

QString dicSuffix()
{
    return QStringLiteral(".dic");
}

} // namespace

MainWindow::MainWindow()
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
}

int MainWindow::currentPage() const
{
    return stack->currentIndex();
}

AbstractLesson* MainWindow::lesson(int kind) const
{
    return lessons.value(kind);
}

void MainWindow::initModels()
{
    units = Units::instance(0);
    learnedUnits = Units::instance(1);
    statuses = Statuses::instance();
    questions = Questions::instance();
    variants = Variants::instance();
    lessonSelector = LessonSelector::instance();
    statisticsConnected = false;
}

void MainWindow::createWidgets()
{
    finderLineEdit = new QLineEdit;
    finderLineEdit->setFocusPolicy(Qt::ClickFocus);
    finderLineEdit->setToolTip(tr("Поиск слова"));
    finderLineEdit->setMaximumWidth(180);

    lessonLabel = new QLabel;
    lessonLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    learnedLabel = new QLabel;
    learningLabel = new QLabel;

    modelDialog = new ModelDialog(this);
    downloaderDialog = new DownloaderDialog(this);

    stack = new QStackedWidget(this);
    stack->setStyleSheet(stackStyleSheet);
    lessons = {new FillWidget, new MeetWidget, new SelectWidget, new CardWidget, new WriteWidget};
    for (AbstractLesson* lesson : std::as_const(lessons))
        stack->addWidget(lesson);
}

void MainWindow::createActions()
{
    newAction = new QAction(QIcon(QStringLiteral(":New.png")), tr("Новый словарь..."), this);
    newAction->setShortcut(QKeySequence::New);
    connect(newAction, &QAction::triggered, this, &MainWindow::showNewFileDialog);

    openAction = new QAction(QIcon(QStringLiteral(":Open.png")), tr("Открыть словарь..."), this);
    openAction->setShortcut(QKeySequence::Open);
    connect(openAction, &QAction::triggered, this, &MainWindow::showOpenFileDialog);

    downloadAction = new QAction(QIcon(QStringLiteral(":Download.png")), tr("Скачать словарь..."), this);
    downloadAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+d")));
    connect(downloadAction, &QAction::triggered, this, &MainWindow::showDownloaderDialog);

    exitAction = new QAction(QIcon(QStringLiteral(":Exit.png")), tr("Выход"), this);
    exitAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+q")));
    connect(exitAction, &QAction::triggered, this, &QWidget::close);

    for (int i = 0; i < RecentFileCount; ++i) {
        auto* action = new QAction(QIcon(QStringLiteral(":RecentFile.png")), QString(), this);
        action->setVisible(false);
        connect(action, &QAction::triggered, this, &MainWindow::openRecentFile);
        recentFileActions.append(action);
    }

    toolBarAction = new QAction(tr("Панель инструментов"), this);
    toolBarAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+1")));
    toolBarAction->setCheckable(true);
    toolBarAction->setChecked(mwToolBar);

    finderBarAction = new QAction(tr("Панель поиска"), this);
    finderBarAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+2")));
    finderBarAction->setCheckable(true);
    finderBarAction->setChecked(mwFinderBar);

    statusBarAction = new QAction(tr("Строка состояния"), this);
    statusBarAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+3")));
    statusBarAction->setCheckable(true);
    statusBarAction->setChecked(mwStatusBar);

    clearAction = new QAction(QIcon(QStringLiteral(":Clear.png")), tr("Обнулить статусы слов"), this);
    clearAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+r")));
    connect(clearAction, &QAction::triggered, this, &MainWindow::clearStatuses);

    markLearnedAction = new QAction(QIcon(QStringLiteral(":MarkLearned.png")),
                                    tr("Это слово выучено"), this);
    markLearnedAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+w")));
    markLearnedAction->setEnabled(false);
    connect(markLearnedAction, &QAction::triggered, this, &MainWindow::markLearned);

    progressAction = new QAction(QIcon(QStringLiteral(":Progress.png")), tr("Прогресс..."), this);
    progressAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+p")));
    connect(progressAction, &QAction::triggered, this, &MainWindow::showProgressDialog);

    modelAction = new QAction(QIcon(QStringLiteral(":Models.png")), tr("Модель обучения..."), this);
    modelAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+m")));
    connect(modelAction, &QAction::triggered, this, &MainWindow::showModelDialog);

    findAction = new QAction(this);
    findAction->setShortcut(QKeySequence::Find);
    connect(findAction, &QAction::triggered, finderLineEdit,
            [this] { finderLineEdit->setFocus(Qt::ShortcutFocusReason); });
    addAction(findAction);
}

void MainWindow::createMenus()
{
    QMenu* fileMenu = menuBar()->addMenu(tr("Файл"));
    fileMenu->addAction(newAction);
    fileMenu->addAction(openAction);
    fileMenu->addAction(downloadAction);
    recentSeparator = fileMenu->addSeparator();
    for (QAction* action : std::as_const(recentFileActions))
        fileMenu->addAction(action);
    fileMenu->addSeparator();
    fileMenu->addAction(exitAction);
    updateRecentFiles();

    QMenu* viewMenu = menuBar()->addMenu(tr("Вид"));
    viewMenu->addAction(toolBarAction);
    viewMenu->addAction(finderBarAction);
    viewMenu->addAction(statusBarAction);

    QMenu* toolsMenu = menuBar()->addMenu(tr("Инструменты"));
    toolsMenu->addAction(markLearnedAction);
    toolsMenu->addAction(clearAction);
    toolsMenu->addSeparator();
    toolsMenu->addAction(progressAction);

    QMenu* settingsMenu = menuBar()->addMenu(tr("Настройки"));
    settingsMenu->addAction(modelAction);
}

void MainWindow::createToolBars()
{
    mainToolBar = addToolBar(QStringLiteral("Main"));
    mainToolBar->setObjectName(QStringLiteral("Main"));
    mainToolBar->setFloatable(false);
    mainToolBar->setIconSize(QSize(30, 30));
    mainToolBar->addAction(newAction);
    mainToolBar->addAction(openAction);
    mainToolBar->addAction(markLearnedAction);
    mainToolBar->addAction(clearAction);
    mainToolBar->addAction(progressAction);

    addToolBarBreak(Qt::TopToolBarArea);

    finderToolBar = addToolBar(QStringLiteral("Finder"));
    finderToolBar->setObjectName(QStringLiteral("Finder"));
    finderToolBar->setFloatable(false);
    auto* finderWidget = new QWidget;
    auto* finderLayout = new QHBoxLayout(finderWidget);
    finderLayout->setContentsMargins(5, 5, 5, 5);
    finderLayout->addWidget(finderLineEdit, 1);
    finderLayout->addStretch();
    finderToolBar->addWidget(finderWidget);
}

void MainWindow::createStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setStyleSheet(QStringLiteral("QStatusBar::item {border: 0px;}"));
    auto vline = [] {
        auto* line = new QFrame;
        line->setFrameShape(QFrame::VLine);
        return line;
    };
    bar->addWidget(lessonLabel, 1);
    bar->addWidget(vline());
    bar->addWidget(learnedLabel);
    bar->addWidget(vline());
    bar->addWidget(learningLabel);
}

void MainWindow::createConnections()
{
    for (AbstractLesson* lesson : std::as_const(lessons))
        connect(lesson, &AbstractLesson::finished, this, &MainWindow::startNextLesson);
    connect(toolBarAction, &QAction::toggled, mainToolBar, &QWidget::setVisible);
    connect(finderBarAction, &QAction::toggled, finderToolBar, &QWidget::setVisible);
    connect(statusBarAction, &QAction::toggled, statusBar(), &QWidget::setVisible);

    // The models outlive the window; a unique connection keeps a second
    // window of the same process from wiring them twice.
    const auto unique = Qt::UniqueConnection;
    connect(units, &Units::added, statuses, &Statuses::add, unique);
    connect(units, &Units::removed, statuses, &Statuses::remove, unique);
    connect(units, &Units::removed, questions, &Questions::remove, unique);
    connect(units, &Units::removed, variants, &Variants::remove, unique);
    connect(statuses, &Statuses::unlearned, questions, &Questions::remove, unique);
    connect(statuses, &Statuses::initial, questions, &Questions::add, unique);
    connect(statuses, &Statuses::initial, variants, &Variants::add, unique);
    connect(statuses, &Statuses::learned, questions, &Questions::remove, unique);
    connect(units, &Units::added, this, &MainWindow::updateStatusBar);
    connect(units, &Units::removed, this, &MainWindow::updateStatusBar);
    connect(statuses, &Statuses::unlearned, this, &MainWindow::updateStatusBar);
    connect(statuses, &Statuses::initial, this, &MainWindow::updateStatusBar);
    connect(statuses, &Statuses::learned, this, &MainWindow::updateStatusBar);
}

void MainWindow::applySettings()
{
    QApplication::setFont(interfaceFont);
    Styles::apply(styleName);
    resize(mwSize);
    move(mwPos);
    mainToolBar->setVisible(mwToolBar);
    finderToolBar->setVisible(mwFinderBar);
    statusBar()->setVisible(mwStatusBar);
}

void MainWindow::setupDictionariesFolder()
{
    QDir home = QDir::home();
    const QString folderName = QStringLiteral("Vocabrium Dictionaries");
    if (home.exists(folderName))
        return;
    if (!home.mkdir(folderName) || !home.cd(folderName))
        return;
    const QDir source(QDir::currentPath() + QStringLiteral("/Default Dictionaries"));
    const QStringList files = source.entryList(QDir::Files, QDir::NoSort);
    for (const QString& name : files)
        QFile::copy(source.path() + QLatin1Char('/') + name, home.path() + QLatin1Char('/') + name);
    units->load();
    learnedUnits->load();
}

void MainWindow::storeWindowState()
{
    mwSize = size();
    mwPos = pos();
    mwToolBar = mainToolBar->isVisible();
    mwFinderBar = finderToolBar->isVisible();
    mwStatusBar = statusBar()->isVisible();
}

void MainWindow::setLesson(int kind)
{
    markLearnedAction->setEnabled(kind != 0);
    stack->setCurrentIndex(kind);
    lessons.at(kind)->start();
    updateStatusBar();
}

void MainWindow::startNextLesson()
{
    if (questions->count() > 0) {
        if (currentPage() == 0) {
            connectStatistics();
            statistics.start();
        }
        questions->next();
        setLesson(lessonSelector->currentLesson());
    } else {
        congratulate();
        endLearningRun();
        setLesson(0);
    }
}

void MainWindow::restartCurrentLessson()
{
    lessons.at(currentPage())->start();
}

void MainWindow::showModelDialog()
{
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
    learnedCount += statistics.learnedCount();
    mistakesCount += statistics.mistakesCount();
    learningTime = Statistics::addedTime(learningTime, statistics.learningTime());
    statistics.reset();
    questions->clear();
    variants->clear();
    disconnectStatistics();
}

void MainWindow::congratulate()
{
    QMessageBox box(QMessageBox::Information, tr("Поздравляю!"),
                    StatusTexts::congratulation(statistics.learnedCount(),
                                                statistics.mistakesCount(),
                                                statistics.learningTime()),
                    QMessageBox::Ok, this);
    box.setTextFormat(Qt::RichText);
    box.exec();
}

void MainWindow::connectStatistics()
{
    if (statisticsConnected)
        return;
    connect(statuses, &Statuses::learned, &statistics, &Statistics::incrementLearned);
    connect(statuses, &Statuses::decremented, &statistics, &Statistics::incrementMistakes);
    statisticsConnected = true;
}

void MainWindow::disconnectStatistics()
{
    statisticsConnected = false;
    disconnect(statuses, &Statuses::learned, &statistics, &Statistics::incrementLearned);
    disconnect(statuses, &Statuses::decremented, &statistics, &Statistics::incrementMistakes);
}

void MainWindow::markLearned()
{
    // Only a word being asked can be marked; the action is disabled on the
    // word selection page, but a queued shortcut must not reach a stale key.
    if (currentPage() == 0 || !units->contains(questions->current()))
        return;
    statuses->setStatus(questions->current(), Statuses::Learned);
    startNextLesson();
}

void MainWindow::clearStatuses()
{
    const bool learning = currentPage() != 0;
    const QString text = learning
        ? tr("Все изучаемые в данный момент слова получат статут \"Неизученное\", "
             "вы действительно хотите продолжить?")
        : tr("Все слова в словаре получат статут \"Неизученное\", "
             "вы действительно хотите продолжить?");
    QMessageBox box(QMessageBox::Question, tr("Вопрос"), text,
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setDefaultButton(QMessageBox::NoButton);
    if (box.exec() != QMessageBox::Yes)
        return;
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
    forever {
        QMessageBox box(QMessageBox::Information, tr("Прогресс"),
                        StatusTexts::progress(learnedCount, learningTime, mistakesCount),
                        QMessageBox::Ok | QMessageBox::Reset, this);
        box.setTextFormat(Qt::RichText);
        if (box.exec() != QMessageBox::Reset)
            return;
        const auto answer = QMessageBox::question(
            this, tr("Вопрос"), tr("Вы уверены что хотите очистить свои достижения?"),
            QMessageBox::Yes | QMessageBox::No);
        if (answer == QMessageBox::Yes) {
            learnedCount = 0;
            mistakesCount = 0;
            learningTime = QTime(0, 0, 0, 0);
        }
    }
}

void MainWindow::updateStatusBar()
{
    if (statusBarFrozen)
        return;
    lessonLabel->setText(StatusTexts::lessonLabel(lessons.at(currentPage())->title()));
    learnedLabel->setText(StatusTexts::learnedLabel(statuses->countOf(Statuses::Learned),
                                                    units->count()));
    learningLabel->setText(StatusTexts::learningLabel(questions->count()));
}

void MainWindow::updateTitle()
{
    setWindowTitle(QFileInfo(currentFileName).fileName() + QStringLiteral(" - Vocabrium"));
}

void MainWindow::updateRecentFiles()
{
    QStringList files = recentFiles;
    const QString current = currentFileName + dicSuffix();
    files.removeAll(current);
    files.prepend(current);
    files.erase(std::remove_if(files.begin(), files.end(),
                               [](const QString& path) { return !QFile::exists(path); }),
                files.end());
    while (files.size() > RecentFileCount)
        files.removeLast();
    recentFiles = files;

    for (QAction* action : std::as_const(recentFileActions))
        action->setVisible(false);
    for (int i = 0; i < files.size(); ++i) {
        QAction* action = recentFileActions.at(i);
        QString name = QFileInfo(files.at(i)).fileName();
        if (name.endsWith(dicSuffix(), Qt::CaseInsensitive))
            name.chop(dicSuffix().size());
        action->setText(name);
        action->setData(files.at(i));
        action->setVisible(true);
    }
    recentSeparator->setVisible(!files.isEmpty());
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
    if (path == learnedWordsName)
        learnedUnits->save();
    units->save();
    statuses->save();
    QString base = path;
    // Only a real ".dic" suffix is cut, so a name without it keeps every character.
    if (base.endsWith(dicSuffix(), Qt::CaseInsensitive))
        base.chop(dicSuffix().size());
    currentFileName = base;
    statusBarFrozen = true;
    units->load();
    statuses->load();
    statusBarFrozen = false;
    updateStatusBar();
    updateTitle();
    updateRecentFiles();
}

void MainWindow::showOpenFileDialog()
{
    const QString path = QFileDialog::getOpenFileName(
        this, tr("Выберите словарь"), QDir::homePath() + QStringLiteral("/Vocabrium Dictionaries"),
        tr("Словари (*.dic)"));
    if (path.isEmpty())
        return;
    endLearningRun();
    openFile(path);
    setLesson(0);
}

void MainWindow::showDownloaderDialog()
{
    if (!downloaderDialog->exec())
        return;
    endLearningRun();
    openFile(downloaderDialog->downloadedFile());
    setLesson(0);
}

void MainWindow::showNewFileDialog()
{
    const QString path = QFileDialog::getSaveFileName(
        this, tr("Введите имя нового словаря"),
        QDir::homePath() + QStringLiteral("/Vocabrium Dictionaries"), tr("Словари (*.dic)"));
    if (path.isEmpty())
        return;
    newFile(path);
}

void MainWindow::newFile(const QString& chosenPath)
{
    QString path = chosenPath;
    if (!path.endsWith(dicSuffix(), Qt::CaseInsensitive))
        path += dicSuffix();
    QFile::remove(path.left(path.size() - 3) + QStringLiteral("inf"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        QMessageBox::critical(this, tr("Ошибка"),
                              tr("Не удалось создать файл словаря:\n%1").arg(path));
        return;
    }
    file.close();
    endLearningRun();
    openFile(path);
    setLesson(0);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    storeWindowState();
    units->save();
    if (currentFileName + dicSuffix() != learnedWordsName)
        learnedUnits->save();
    statuses->save();
    writeSettings();
    event->accept();
}

QMenu* MainWindow::createPopupMenu()
{
    return nullptr;
}
