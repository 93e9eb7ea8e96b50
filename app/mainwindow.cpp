#include "app/mainwindow.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QDockWidget>
#include <QFontDialog>
#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QGridLayout>
#include <QHash>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStackedWidget>
#include <QScreen>
#include <QScrollArea>
#include <QSessionManager>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include <cstdio>

#include "app/adwidget.h"
#include "app/helpdialog.h"
#include "app/htmlformat.h"
#include "app/languagedialog.h"
#include "app/progresschart.h"
#include "app/translatorsettingsdialog.h"
#include "config/services.h"
#include "config/settings.h"
#include "app/statustexts.h"
#include "app/styles.h"
#include "editing/downloaderdialog.h"
#include "editing/editordialog.h"
#include "editing/finderdialog.h"
#include "editing/importexport.h"
#include "languages/dictionarylanguage.h"
#include "languages/languagedetector.h"
#include "learning/learningrun.h"
#include "lessons/cardwidget.h"
#include "lessons/fillwidget.h"
#include "lessons/meetwidget.h"
#include "lessons/modeldialog.h"
#include "lessons/selectwidget.h"
#include "lessons/writewidget.h"
#include "model/dictionaryfiles.h"
#include "model/lessonselector.h"
#include "lessons/cardstyles.h"
#include "model/questions.h"
#include "model/statuses.h"
#include "model/units.h"
#include "model/variants.h"
#include "session/workspace.h"
#include "speech/transcriptions.h"
#include "translation/translator.h"

namespace {

constexpr int RecentFileCount = 5;

QString dicSuffix()
{
    return QStringLiteral(".dic");
}

} // namespace

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
    midnightTimer = new QTimer(this);
    midnightTimer->setObjectName(QStringLiteral("midnight"));
    midnightTimer->setSingleShot(true);
    connect(midnightTimer, &QTimer::timeout, this, &MainWindow::followMidnight);
    followMidnight();
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
    return lessons.value(kind);
}

void MainWindow::initModels()
{
    const QString storedFile = settings.currentFileName + dicSuffix();
    units = &workspace->words.units;
    learnedUnits = &workspace->words.learnedUnits;
    statuses = &workspace->words.statuses;
    questions = &workspace->words.questions;
    variants = &workspace->words.variants;
    lessonSelector = &workspace->words.selector;
    files = std::make_unique<DictionaryFiles>(&workspace->words);
    // As at any start, the statuses reach no pool: a run begins on the
    // word selection page.
    const QSignalBlocker blocker(statuses);
    startUpProblems = files->openAtStartUp(storedFile, settings.dictionariesPath + QStringLiteral("default.dic"));
    applyDictionaryLanguage();
    run = new LearningRun(&workspace->words, &settings, this);
    const QString scheduleProblem = loadSchedule();
    if (!scheduleProblem.isEmpty())
        startUpProblems.append(scheduleProblem);
}

void MainWindow::storeSettings()
{
    QString open = units->fileName();
    if (open.endsWith(dicSuffix()))
        open.chop(dicSuffix().size());
    settings.currentFileName = open;
    settings.write();
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

    using namespace HtmlFormat;
    aboutBox = new QMessageBox(this);
    aboutBox->setIconPixmap(QPixmap(QStringLiteral(":Vocabrium.png")));
    aboutBox->setWindowTitle(tr("О программе"));
    aboutBox->setTextFormat(Qt::RichText);
    aboutBox->setText(htmlParagraph(
        htmlColored(QStringLiteral("<b>Vocabrium 1.2</b>"), QStringLiteral("darkslategray"))
            + QStringLiteral("<br>------<br>")
            + htmlColored(tr("Программа для изучения иностранных слов"), QStringLiteral("darkred"))
            + QStringLiteral("<br>") + tr("Разработчики: команда Vocabrium")
            + QStringLiteral("<br>------<br>")
            + htmlColored(tr("Значки:"), QStringLiteral("darkred")) + QLatin1Char(' ')
            + htmlLink(QStringLiteral("Tango Desktop Project"), QStringLiteral("http://tango.freedesktop.org"))
            + QStringLiteral("<br>") + htmlColored(tr("Произношение и транскрипции:"), QStringLiteral("darkred"))
            + QStringLiteral(" eSpeak NG<br>")
            + htmlColored(tr("Морфология:"), QStringLiteral("darkred")) + QStringLiteral(" Hunspell"),
        QStringLiteral("center")));

    supportBox = new QMessageBox(this);
    supportBox->setWindowTitle(tr("Поддержать проект"));
    supportBox->setTextFormat(Qt::RichText);
    supportBox->setText(htmlParagraph(
        tr("Vocabrium развивается силами добровольцев.") + QStringLiteral("<br>")
            + tr("Лучшая поддержка — новые словари, переводы и сообщения об ошибках:")
            + QStringLiteral("<br>") + htmlLink(tr("список словарей"), Services::dictionaryListUrl().toString())
            + QStringLiteral("<br>------<br>")
            + htmlColored(tr("Пожертвования:"), QStringLiteral("darkred")) + QLatin1Char(' ')
            + tr("проект их не принимает — расскажите о нём друзьям."),
        QStringLiteral("center")));

    finderLineEdit = new QLineEdit;
    finderLineEdit->setFocusPolicy(Qt::ClickFocus);
    finderLineEdit->setToolTip(tr("Поиск слова"));
    finderLineEdit->setMaximumWidth(180);

    lessonLabel = new QLabel;
    lessonLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    learnedLabel = new QLabel;
    learningLabel = new QLabel;

    editorDialog = new EditorDialog(workspace, this);
    modelDialog = new ModelDialog(&settings, this);
    languageDialog = new LanguageDialog(workspace, this);
    downloaderDialog = new DownloaderDialog(settings.dictionariesPath, this);
    finderDialog = new FinderDialog(workspace, this);

    stack = new QStackedWidget(this);
    stack->setStyleSheet(stackStyleSheet());
    lessons = {new FillWidget(workspace), new MeetWidget(workspace), new SelectWidget(workspace), new CardWidget(workspace), new WriteWidget(workspace)};
    for (AbstractLesson* lesson : std::as_const(lessons)) {
        // A page taller or wider than the window scrolls inside it instead
        // of making the window grow.
        auto* scroll = new QScrollArea;
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setWidgetResizable(true);
        // The lessons' own controls keep the keyboard focus.
        scroll->setFocusPolicy(Qt::NoFocus);
        scroll->setWidget(lesson);
        // The stack's white shows through, as without the scroll area.
        lesson->setAutoFillBackground(false);
        scroll->viewport()->setAutoFillBackground(false);
        scroll->setStyleSheet(QStringLiteral("QScrollArea {background: transparent}"));
        stack->addWidget(scroll);
    }
}

void MainWindow::createActions()
{
    auto makeAction = [this](const char* icon, const QString& text, const QKeySequence& shortcut) {
        auto* action = icon ? new QAction(QIcon(QString::fromLatin1(icon)), text, this)
                            : new QAction(text, this);
        action->setShortcut(shortcut);
        return action;
    };
    auto makeToggle = [&](const QString& text, const char* shortcut, bool checked) {
        QAction* action = makeAction(nullptr, text, QKeySequence(QString::fromLatin1(shortcut)));
        action->setCheckable(true);
        action->setChecked(checked);
        return action;
    };

    newAction = makeAction(":New.png", tr("Новый словарь..."), QKeySequence::New);
    connect(newAction, &QAction::triggered, this, &MainWindow::showNewFileDialog);
    openAction = makeAction(":Open.png", tr("Открыть словарь..."), QKeySequence::Open);
    connect(openAction, &QAction::triggered, this, &MainWindow::showOpenFileDialog);
    downloadAction = makeAction(":Download.png", tr("Скачать словарь..."), QKeySequence(QStringLiteral("Ctrl+d")));
    connect(downloadAction, &QAction::triggered, this, &MainWindow::showDownloaderDialog);
    importAction = makeAction(nullptr, tr("Импорт..."), QKeySequence());
    connect(importAction, &QAction::triggered, this, &MainWindow::importWords);
    exportAction = makeAction(nullptr, tr("Экспорт..."), QKeySequence());
    connect(exportAction, &QAction::triggered, this, &MainWindow::exportWords);
    exitAction = makeAction(":Exit.png", tr("Выход"), QKeySequence(QStringLiteral("Ctrl+q")));
    connect(exitAction, &QAction::triggered, this, &QWidget::close);

    for (int i = 0; i < RecentFileCount; ++i) {
        QAction* action = makeAction(":RecentFile.png", QString(), QKeySequence());
        action->setVisible(false);
        connect(action, &QAction::triggered, this, &MainWindow::openRecentFile);
        recentFileActions.append(action);
    }

    toolBarAction = makeToggle(tr("Панель инструментов"), "Ctrl+1", settings.mwToolBar);
    finderBarAction = makeToggle(tr("Панель поиска"), "Ctrl+2", settings.mwFinderBar);
    statusBarAction = makeToggle(tr("Строка состояния"), "Ctrl+3", settings.mwStatusBar);
    alwaysOnTopAction = makeToggle(tr("Поверх всех окон"), "Ctrl+t", settings.mwAlwaysOnTop);
    connect(alwaysOnTopAction, &QAction::toggled, this, &MainWindow::toggleAlwaysOnTop);

    editorAction = makeAction(":Editor.png", tr("Редактор словаря..."), QKeySequence(QStringLiteral("Ctrl+E")));
    connect(editorAction, &QAction::triggered, this, &MainWindow::showEditorDialog);
    modelAction = makeAction(":Models.png", tr("Модель обучения..."), QKeySequence(QStringLiteral("Ctrl+m")));
    connect(modelAction, &QAction::triggered, this, &MainWindow::showModelDialog);
    languageAction = makeAction(":Language.png", tr("Язык..."), QKeySequence(QStringLiteral("Ctrl+l")));
    connect(languageAction, &QAction::triggered, this, &MainWindow::showLanguageDialog);
    clearAction = makeAction(":Clear.png", tr("Обнулить статусы слов"), QKeySequence(QStringLiteral("Ctrl+r")));
    connect(clearAction, &QAction::triggered, this, &MainWindow::clearStatuses);
    markLearnedAction = makeAction(":MarkLearned.png", tr("Это слово выучено"),
                                   QKeySequence(QStringLiteral("Ctrl+w")));
    markLearnedAction->setEnabled(false);
    connect(markLearnedAction, &QAction::triggered, this, &MainWindow::markLearned);
    reviewAction = makeAction(":MarkLearned1.png", tr("Повторить выученные слова"), QKeySequence(QStringLiteral("Ctrl+Y")));
    connect(reviewAction, &QAction::triggered, this, &MainWindow::startReview);
    retentionAction = makeAction(nullptr, tr("Повторение..."), QKeySequence());
    connect(retentionAction, &QAction::triggered, this, &MainWindow::showRetentionDialog);
    progressAction = makeAction(":Progress.png", tr("Прогресс..."), QKeySequence(QStringLiteral("Ctrl+p")));
    connect(progressAction, &QAction::triggered, this, &MainWindow::showProgressDialog);
    aboutAction = makeAction(":About.png", tr("О программе..."), QKeySequence());
    connect(aboutAction, &QAction::triggered, this, [this] {
        aboutBox->exec();
        resumeDeferredLesson();
    });
    lessonFontAction = makeAction(":Font.png", tr("Шрифт упражнений..."), QKeySequence());
    connect(lessonFontAction, &QAction::triggered, this, &MainWindow::showLessonFontDialog);
    interfaceFontAction = makeAction(":Font.png", tr("Шрифт интерфейса..."), QKeySequence());
    connect(interfaceFontAction, &QAction::triggered, this, &MainWindow::showInterfaceFontDialog);

    styleGroup = new QActionGroup(this);
    styleGroup->setExclusive(true);
    auto addStyle = [&](const QString& text, const QString& data, bool checked) {
        QAction* action = makeAction(nullptr, text, QKeySequence());
        action->setCheckable(true);
        action->setData(data);
        action->setChecked(checked);
        styleGroup->addAction(action);
        return action;
    };
    standardStyleAction = addStyle(tr("Стандарт"), QString(), settings.styleName == settings.nativeStyle);
    cleanlooksStyleAction = addStyle(QStringLiteral("Cleanlooks"), QStringLiteral("cleanlooks"),
                                     settings.styleName == QLatin1String("cleanlooks"));
    plastiqueStyleAction = addStyle(QStringLiteral("Plastique"), QStringLiteral("plastique"),
                                    settings.styleName == QLatin1String("plastique"));
    connect(styleGroup, &QActionGroup::triggered, this, &MainWindow::setupStyle);

    transcriptionAction = makeToggle(tr("Транскрипция"), "Ctrl+b", settings.transcriptionEnabled);
    // The flag first, then the lesson on screen shows the word again with or
    // without its transcription.
    connect(transcriptionAction, &QAction::toggled, this, &MainWindow::toggleTranscription);
    connect(transcriptionAction, &QAction::triggered, this, &MainWindow::restartCurrentLessson);
    speakAction = makeToggle(tr("Озвучка"), "Ctrl+s", settings.speakEnabled);
    connect(speakAction, &QAction::toggled, this, &MainWindow::toggleSpeak);
    supportAction = makeAction(":Money.png", tr("Поддержать проект..."), QKeySequence());
    connect(supportAction, &QAction::triggered, this, [this] {
        supportBox->exec();
        resumeDeferredLesson();
    });
    helpAction = makeAction(":Help.png", tr("Справка..."), QKeySequence::HelpContents);
    connect(helpAction, &QAction::triggered, this, &MainWindow::showHelp);

    findAction = new QAction(this);
    findAction->setShortcut(QKeySequence::Find);
    connect(findAction, &QAction::triggered, finderLineEdit,
            [this] {
                // Typing into a hidden field would go nowhere.
                if (!finderToolBar->isVisible())
                    finderBarAction->setChecked(true);
                finderLineEdit->setFocus(Qt::ShortcutFocusReason);
            });
    addAction(findAction);
}

void MainWindow::createMenus()
{
    QMenu* fileMenu = menuBar()->addMenu(tr("Файл"));
    fileMenu->addAction(newAction);
    fileMenu->addAction(openAction);
    fileMenu->addAction(downloadAction);
    fileMenu->addAction(importAction);
    fileMenu->addAction(exportAction);
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
    viewMenu->addSeparator();
    viewMenu->addAction(alwaysOnTopAction);

    QMenu* toolsMenu = menuBar()->addMenu(tr("Инструменты"));
    toolsMenu->addAction(editorAction);
    toolsMenu->addSeparator();
    toolsMenu->addAction(markLearnedAction);
    toolsMenu->addAction(reviewAction);
    toolsMenu->addAction(clearAction);
    toolsMenu->addSeparator();
    toolsMenu->addAction(progressAction);

    QMenu* settingsMenu = menuBar()->addMenu(tr("Настройки"));
    settingsMenu->addAction(modelAction);
    settingsMenu->addAction(languageAction);
    settingsMenu->addAction(retentionAction);
    settingsMenu->addAction(tr("Перевод слов..."), this, &MainWindow::showTranslatorSettingsDialog);
    QMenu* fontsMenu = settingsMenu->addMenu(QIcon(QStringLiteral(":Font.png")), tr("Шрифты"));
    fontsMenu->addAction(lessonFontAction);
    fontsMenu->addAction(interfaceFontAction);
    QMenu* styleMenu = settingsMenu->addMenu(QIcon(QStringLiteral(":Style.png")), tr("Оформление"));
    styleMenu->addActions(styleGroup->actions());
    settingsMenu->addSeparator();
    settingsMenu->addAction(transcriptionAction);
    settingsMenu->addAction(speakAction);

    QMenu* helpMenu = menuBar()->addMenu(tr("Помощь"));
    helpMenu->addAction(helpAction);
    helpMenu->addSeparator();
    helpMenu->addAction(supportAction);
    helpMenu->addAction(aboutAction);
}

void MainWindow::createToolBars()
{
    mainToolBar = addToolBar(QStringLiteral("Main"));
    mainToolBar->setObjectName(QStringLiteral("Main"));
    mainToolBar->setFloatable(false);
    mainToolBar->setIconSize(QSize(30, 30));
    mainToolBar->addAction(newAction);
    mainToolBar->addAction(openAction);
    mainToolBar->addAction(editorAction);
    mainToolBar->addAction(markLearnedAction);
    mainToolBar->addAction(clearAction);
    mainToolBar->addAction(progressAction);
    mainToolBar->addAction(helpAction);
    mainToolBar->addAction(aboutAction);

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
    connect(finderLineEdit, &QLineEdit::returnPressed, this, &MainWindow::showFinderDialog);
    connect(editorDialog, &EditorDialog::keysRenumbered, this, &MainWindow::renumberPools);
    connect(static_cast<FillWidget*>(lessons.at(0)), &FillWidget::reviewRequested, this, &MainWindow::startReview);
    connect(editorDialog, &EditorDialog::changesAccepted, this, &MainWindow::saveEdits);
    connect(finderDialog, &FinderDialog::changesAccepted, this, &MainWindow::saveEdits);
    // A corrected spelling keeps the word's review card.
    connect(units, &Units::edited, this, [this](int key, const QString& previousWord) {
        run->schedule().rename(previousWord, units->word(key));
    });

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
    QApplication::setFont(settings.interfaceFont);
    // Widgets with a style sheet took their font when the sheet was set;
    // setting it again makes them take the new one.
    const QList<QWidget*> children = findChildren<QWidget*>();
    for (QWidget* widget : children) {
        if (!widget->styleSheet().isEmpty())
            widget->setStyleSheet(widget->styleSheet());
    }
    for (AbstractLesson* lesson : std::as_const(lessons))
        lesson->setupFonts();
    // Every menu title fits in the window whatever the interface font.
    setMinimumWidth(qMin(menuBar()->sizeHint().width(), 1200));
    Styles::apply(settings.styleName, settings.nativeStyle);
    // Stored values may come from another screen or a damaged file.
    const QScreen* screen = QGuiApplication::screenAt(settings.mwPos);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect fitted = fitToScreen(settings.mwSize, settings.mwPos, screen ? screen->availableGeometry() : QRect());
    resize(fitted.size());
    move(fitted.topLeft());
    mainToolBar->setVisible(settings.mwToolBar);
    finderToolBar->setVisible(settings.mwFinderBar);
    statusBar()->setVisible(settings.mwStatusBar);
    toggleAlwaysOnTop(settings.mwAlwaysOnTop);
}

void MainWindow::setupStyle(QAction* action)
{
    const QString name = action->data().toString();
    if (name.isEmpty()) {
        Styles::apply(settings.nativeStyle, settings.nativeStyle);
        settings.styleName = settings.nativeStyle;
    } else {
        Styles::apply(name, settings.nativeStyle);
        settings.styleName = name;
    }
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
    settings.interfaceFont = font;
    settings.interfaceFont.setPointSize(sensibleFontSize(font.pointSize(), 10, MaximumInterfaceFontSize));
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
    settings.lessonFont = font;
    settings.lessonFont.setPointSize(sensibleFontSize(font.pointSize(), 12, MaximumLessonFontSize));
    for (AbstractLesson* lesson : std::as_const(lessons))
        lesson->setupFonts();
}

void MainWindow::showHelp()
{
    const QString file = QDir::current().absoluteFilePath(QStringLiteral("help.html"));
    if (!HelpDialog::showIn(this, file))
        QMessageBox::critical(this, tr("Ошибка"),
                              tr("Справка не открыта: файла %1 нет или его нельзя прочитать.")
                                  .arg(QDir::toNativeSeparators(file)));
}

void MainWindow::showLanguageDialog()
{
    const QString before = settings.learningLanguage;
    languageDialog->exec();
    // The language belongs to the open dictionary, not to every one.
    if (settings.learningLanguage != before || DictionaryLanguage::read(files->openFileName()).kind != DictionaryLanguage::Reading::Whole) {
        const QString error = writeLanguage(files->openFileName(), settings.learningLanguage);
        setLearningLanguage(settings.learningLanguage);
        if (!error.isEmpty())
            showError(error + QLatin1Char('\n') + tr("Язык будет действовать до закрытия словаря."));
        restartCurrentLessson();
    }
    resumeDeferredLesson();
}

void MainWindow::applyDictionaryLanguage()
{
    const QString dic = files->openFileName();
    const DictionaryLanguage::Reading reading = DictionaryLanguage::read(dic);
    if (reading.kind == DictionaryLanguage::Reading::Whole) {
        setLearningLanguage(reading.foreign);
        return;
    }
    // Told from the words, once: the answer is kept beside the dictionary.
    QStringList words;
    const QList<Unit> unitList = units->unitList();
    words.reserve(unitList.size());
    for (const Unit& unit : unitList)
        words.append(unit.word);
    LanguageDetector::Guess guess;
    if (!words.isEmpty()) {
        if (!languageDetector)
            languageDetector = std::make_unique<LanguageDetector>();
        guess = languageDetector->detect(words);
    }
    const LanguageDetector::Decision decision = LanguageDetector::decide(words, guess, settings.learningLanguage);
    setLearningLanguage(decision.language);
    if (decision.keep)
        writeLanguage(dic, decision.language);
    if (decision.ask)
        QTimer::singleShot(0, this, [this, dic, decision] { askDictionaryLanguage(dic, decision.language); });
}

void MainWindow::askDictionaryLanguage(const QString& dicPath, const QString& proposed)
{
    if (!DictionaryFiles::sameFile(dicPath, files->openFileName()))
        return;
    const QList<QPair<QString, QString>> table = languages();
    QStringList names;
    for (const QString& code : DictionaryLanguage::supported())
        names.append(languageName(table, code));
    bool ok = false;
    const QString name = QInputDialog::getItem(
        this, tr("Язык словаря"),
        tr("На каком языке слова словаря «%1»?").arg(QFileInfo(dicPath).completeBaseName()), names,
        int(qMax<qsizetype>(0, DictionaryLanguage::supported().indexOf(proposed))), false, &ok);
    const qsizetype chosen = names.indexOf(name);
    const QString language = ok && chosen >= 0 ? DictionaryLanguage::supported().at(chosen) : proposed;
    writeLanguage(dicPath, language);
    if (language != settings.learningLanguage) {
        setLearningLanguage(language);
        restartCurrentLessson();
    }
    resumeDeferredLesson();
}

QString MainWindow::writeLanguage(const QString& dicPath, const QString& language)
{
    // A copy that keeps its files unchanged writes no language beside them either.
    if (!files->isSaveable())
        return QString();
    return DictionaryLanguage::write(dicPath, language);
}

void MainWindow::setLearningLanguage(const QString& language)
{
    // Transcriptions, the voice, translations, the words-from-text
    // direction and the export's column names all read the learning
    // language: the open dictionary's.
    settings.learningLanguage = language;
    settings.transcriptionFileName = LanguageDialog::transcriptionFileFor(language);
    (&workspace->transcriptions)->load();
}

void MainWindow::showTranslatorSettingsDialog()
{
    TranslatorSettingsDialog dialog(workspace, this);
    dialog.exec();
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
    {
        const QSignalBlocker blocker(statuses);
        startUpProblems += this->files->openAtStartUp(settings.currentFileName + dicSuffix(), settings.dictionariesPath + QStringLiteral("default.dic"));
    }
    applyDictionaryLanguage();
    loadSchedule();
    learnedUnits->load();
}

void MainWindow::storeWindowState()
{
    settings.mwSize = size();
    settings.mwPos = pos();
    settings.mwToolBar = mainToolBar->isVisible();
    settings.mwFinderBar = finderToolBar->isVisible();
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
    markLearnedAction->setEnabled(kind != 0);
    reviewAction->setEnabled(kind == 0);
    if (kind == 0)
        updateDueCount();
    lessons.at(kind)->start();
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
        congratulate();
        endLearningRun();
        setLesson(0);
    }
}

void MainWindow::abandonExercise()
{
    lessons.at(currentPage())->abandon();
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
    lessons.at(currentPage())->start();
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
    run->finish();
    // What was learned must survive a crash or a kill from here on.
    const QString error = saveDictionaryFiles();
    storeSettings();
    if (!error.isEmpty())
        showError(error);
}

void MainWindow::congratulate()
{
    QMessageBox box(QMessageBox::Information, tr("Поздравляю!"), StatusTexts::congratulation(run->figures()),
                    QMessageBox::Ok, this);
    box.setTextFormat(Qt::RichText);
    box.exec();
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
    const QString text = learning
        ? tr("Все изучаемые в данный момент слова получат статус \"Неизученное\", "
             "вы действительно хотите продолжить?")
        : tr("Все слова в словаре получат статус \"Неизученное\", "
             "вы действительно хотите продолжить?");
    QMessageBox box(QMessageBox::Question, tr("Вопрос"), text,
                    QMessageBox::Yes | QMessageBox::No, this);
    // Clearing every status takes a deliberate choice: Return and Escape say No.
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    if (box.exec() != QMessageBox::Yes) {
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
    forever {
        QMessageBox box(QMessageBox::Information, tr("Прогресс"),
                        StatusTexts::progress(settings.learnedCount, settings.learningTime, settings.mistakesCount, settings.reviewedCount),
                        QMessageBox::Ok | QMessageBox::Reset, this);
        box.setTextFormat(Qt::RichText);
        // Enter, Escape and the close button close the box; clearing the
        // totals takes a deliberate choice.
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Ok);
        run->syncSchedule(QDate::currentDate());
        // The chart goes between the totals and the buttons.
        auto* grid = qobject_cast<QGridLayout*>(box.layout());
        auto* buttons = box.findChild<QDialogButtonBox*>();
        if (grid && buttons) {
            const int row = grid->rowCount();
            grid->removeWidget(buttons);
            grid->addWidget(createProgressChart(run->schedule(), QDate::currentDate(), &box), row, 0, 1, grid->columnCount());
            grid->addWidget(buttons, row + 1, 0, 1, grid->columnCount());
        }
        if (box.exec() != QMessageBox::Reset) {
            resumeDeferredLesson();
            return;
        }
        const auto answer = QMessageBox::question(
            this, tr("Вопрос"), tr("Вы уверены что хотите очистить свои достижения?"),
            QMessageBox::Yes | QMessageBox::No);
        if (answer == QMessageBox::Yes) {
            run->resetTotals();
        }
    }
}

void MainWindow::updateStatusBar()
{
    if (statusBarFrozen)
        return;
    lessonLabel->setText(StatusTexts::lessonLabel(lessons.at(currentPage())->title()));
    // Words waiting in a review run are still learned until they are forgotten.
    learnedLabel->setText(StatusTexts::learnedLabel(statuses->countOf(Statuses::Learned) + run->waitingReviews(),
                                                    units->count()));
    learningLabel->setText(StatusTexts::learningLabel(questions->count()));
}

void MainWindow::updateTitle()
{
    setWindowTitle(QFileInfo(units->fileName()).completeBaseName() + QStringLiteral(" - Vocabrium"));
}

void MainWindow::updateRecentFiles()
{
    QStringList files = settings.recentFiles;
    const QString current = units->fileName();
    files.removeAll(current);
    files.prepend(current);
    files.erase(std::remove_if(files.begin(), files.end(),
                               [](const QString& path) { return !QFile::exists(path); }),
                files.end());
    while (files.size() > RecentFileCount)
        files.removeLast();
    settings.recentFiles = files;

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
    if (!saveOpenDictionary(tr("Словарь не переключён, чтобы изменения не пропали.")))
        return;
    statusBarFrozen = true;
    QString error = files->open(path);
    statusBarFrozen = false;
    if (error.isEmpty()) {
        applyDictionaryLanguage();
        error = loadSchedule();
    }
    error = (files->takeNotices() << error).join(QLatin1Char('\n')).trimmed();
    updateStatusBar();
    updateTitle();
    updateRecentFiles();
    if (!error.isEmpty())
        showError(error);
}

bool MainWindow::saveOpenDictionary(const QString& consequence)
{
    const QString error = saveDictionaryFiles();
    if (error.isEmpty())
        return true;
    showError(error + QLatin1Char('\n') + consequence);
    return false;
}

QString MainWindow::saveDictionaryFiles()
{
    // A save writes the state at the last finished exercise, whatever ends
    // the program or the run; the run itself goes on unchanged.
    QString error;
    run->saveAsOfLastExercise([&] {
        error = files->save();
        if (error.isEmpty() && files->isSaveable()) {
            run->syncSchedule(QDate::currentDate());
            error = run->schedule().save(files->openFileName());
        }
    });
    return error;
}

void MainWindow::saveEdits()
{
    // Accepted edits reach the disk at once, not only at the next switch
    // or at exit.
    const QString error = saveDictionaryFiles();
    storeSettings();
    if (!error.isEmpty())
        showError(error);
}

void MainWindow::followMidnight()
{
    // The due count belongs to a day: refreshed when the date changes
    // while the selection page is shown.
    if (currentPage() == 0 && dueCountDay != QDate::currentDate())
        updateDueCount();
    const QDateTime now = QDateTime::currentDateTime();
    const QDateTime midnight(now.date().addDays(1), QTime(0, 0, 1));
    midnightTimer->start(int(qBound(qint64(1000), now.msecsTo(midnight), qint64(24 * 3600 * 1000))));
}

QString MainWindow::loadSchedule()
{
    run->schedule().setRequestedRetention(settings.reviewRetention);
    const QString problem = run->schedule().load(files->openFileName());
    run->syncSchedule(QDate::currentDate());
    return problem;
}

void MainWindow::updateDueCount()
{
    run->syncSchedule(QDate::currentDate());
    dueCountDay = QDate::currentDate();
    const int due = int(run->schedule().due(QDate::currentDate()).size());
    static_cast<FillWidget*>(lessons.at(0))->setDueCount(due);
}

void MainWindow::startReview()
{
    if (currentPage() != 0)
        return;
    if (run->startReview(QDate::currentDate()) == 0) {
        QMessageBox::information(this, tr("Информация"), tr("Сегодня повторять нечего."));
        return;
    }
    static_cast<FillWidget*>(lessons.at(0))->startLearning();
    // The run did not start (too few words for the choice lesson).
    if (currentPage() == 0)
        run->cancelReview();
}

void MainWindow::showRetentionDialog()
{
    bool ok = false;
    const int percent = QInputDialog::getInt(
        this, tr("Повторение"),
        tr("Какую долю выученных слов вы хотите помнить к дню повторения, %?\n"
           "Чем больше доля, тем чаще повторения."),
        int(qRound(settings.reviewRetention * 100)), 70, 99, 1, &ok);
    resumeDeferredLesson();
    if (!ok)
        return;
    settings.reviewRetention = percent / 100.0;
    run->schedule().setRequestedRetention(settings.reviewRetention);
}

void MainWindow::showError(const QString& text)
{
    // File names and reasons come from the disk; never read them as mark-up.
    QMessageBox box(QMessageBox::Critical, tr("Ошибка"), text, QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    box.exec();
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
        this, tr("Выберите словарь"), QDir::homePath() + QStringLiteral("/Vocabrium Dictionaries"),
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
    const QStringList replaced = downloaderDialog->replacedFiles();
    if (std::any_of(replaced.cbegin(), replaced.cend(), [this](const QString& path) {
            return DictionaryFiles::sameFile(path, files->openFileName());
        })) {
        // The download took the place of the open dictionary: what memory
        // holds belongs to the replaced file and must not be saved over it.
        files->forgetReplaced();
        endLearningRun();
        statusBarFrozen = true;
        QString error = files->reloadReplaced();
        statusBarFrozen = false;
        if (error.isEmpty()) {
            applyDictionaryLanguage();
            error = loadSchedule();
        }
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
    endLearningRun();
    // A new dictionary is empty even under the open one's name: what memory
    // holds of that name belongs to the words being thrown away.
    const bool replacesOpen = DictionaryFiles::sameFile(path, files->openFileName());
    if (!replacesOpen && !saveOpenDictionary(tr("Новый словарь не создан, чтобы изменения не пропали.")))
        return;
    const QString error = DictionaryFiles::createEmpty(path);
    if (!error.isEmpty()) {
        showError(tr("Не удалось создать файл словаря:\n%1").arg(error));
        return;
    }
    if (replacesOpen) {
        statusBarFrozen = true;
        QString problem = files->reloadReplaced();
        statusBarFrozen = false;
        if (problem.isEmpty()) {
            applyDictionaryLanguage();
            problem = loadSchedule();
        }
        updateStatusBar();
        if (!problem.isEmpty())
            showError(problem);
    } else {
        openFile(path);
    }
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
        QMessageBox box(QMessageBox::Critical, tr("Ошибка"),
                        errors.join(QLatin1Char('\n')) + QStringLiteral("\n\n")
                            + tr("Если закрыть программу сейчас, несохранённые изменения пропадут."),
                        QMessageBox::NoButton, this);
        box.setTextFormat(Qt::PlainText);
        QPushButton* quit = box.addButton(tr("Закрыть без сохранения"), QMessageBox::DestructiveRole);
        QPushButton* stay = box.addButton(QMessageBox::Cancel);
        box.setDefaultButton(stay);
        box.setEscapeButton(static_cast<QAbstractButton*>(stay));
        box.exec();
        if (box.clickedButton() != static_cast<QAbstractButton*>(quit)) {
            event->ignore();
            return;
        }
    }
    event->accept();
}

QStringList MainWindow::saveEverything()
{
    QStringList errors;
    for (const QString& error : {saveDictionaryFiles(), files->saveLearned()}) {
        if (!error.isEmpty())
            errors.append(error);
    }
    storeSettings();
    return errors;
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

void MainWindow::renumberPools(const QList<int>& previousKeys)
{
    // The editor reordered the dictionary: the pools follow their words to
    // the new keys, so a run in progress goes on with the same words.
    QHash<int, int> newKeys;
    newKeys.reserve(previousKeys.size());
    for (int i = 0; i < previousKeys.size(); ++i)
        newKeys.insert(previousKeys.at(i), i);
    const QList<int> questionKeys = questions->list();
    const QList<int> variantKeys = variants->list();
    questions->clear();
    variants->clear();
    for (int key : questionKeys) {
        if (newKeys.contains(key))
            questions->add(newKeys.value(key));
    }
    for (int key : variantKeys) {
        if (newKeys.contains(key))
            variants->add(newKeys.value(key));
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
