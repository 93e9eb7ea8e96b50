#include "app/mainactions.h"

#include <QAction>
#include <QActionGroup>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

#include "config/settings.h"
#include "session/recentfiles.h"

MainActions::MainActions(Settings& settings, QWidget* window)
    : QObject(window)
    , settings(settings)
    , window(window)
{
    newAction = makeAction(":New.png", tr("Новый словарь..."), QKeySequence::New);
    openAction = makeAction(":Open.png", tr("Открыть словарь..."), QKeySequence::Open);
    downloadAction = makeAction(":Download.png", tr("Скачать словарь..."), QKeySequence(QStringLiteral("Ctrl+d")));
    importAction = makeAction(nullptr, tr("Импорт..."), QKeySequence());
    exportAction = makeAction(nullptr, tr("Экспорт..."), QKeySequence());
    exitAction = makeAction(":Exit.png", tr("Выход"), QKeySequence(QStringLiteral("Ctrl+q")));
    for (int i = 0; i < RecentFiles::Count; ++i) {
        QAction* action = makeAction(":RecentFile.png", QString(), QKeySequence());
        action->setVisible(false);
        recentFileActions.append(action);
    }

    toolBarAction = makeToggle(tr("Панель инструментов"), "Ctrl+1", settings.mwToolBar);
    finderBarAction = makeToggle(tr("Панель поиска"), "Ctrl+2", settings.mwFinderBar);
    statusBarAction = makeToggle(tr("Строка состояния"), "Ctrl+3", settings.mwStatusBar);
    alwaysOnTopAction = makeToggle(tr("Поверх всех окон"), "Ctrl+t", settings.mwAlwaysOnTop);

    editorAction = makeAction(":Editor.png", tr("Редактор словаря..."), QKeySequence(QStringLiteral("Ctrl+E")));
    modelAction = makeAction(":Models.png", tr("Модель обучения..."), QKeySequence(QStringLiteral("Ctrl+m")));
    languageAction = makeAction(":Language.png", tr("Язык..."), QKeySequence(QStringLiteral("Ctrl+l")));
    clearAction = makeAction(":Clear.png", tr("Обнулить статусы слов"), QKeySequence(QStringLiteral("Ctrl+r")));
    markLearnedAction = makeAction(":MarkLearned.png", tr("Это слово выучено"),
                                   QKeySequence(QStringLiteral("Ctrl+w")));
    markLearnedAction->setEnabled(false);
    reviewAction = makeAction(":MarkLearned1.png", tr("Повторить выученные слова"), QKeySequence(QStringLiteral("Ctrl+Y")));
    retentionAction = makeAction(nullptr, tr("Повторение..."), QKeySequence());
    progressAction = makeAction(":Progress.png", tr("Прогресс..."), QKeySequence(QStringLiteral("Ctrl+p")));
    aboutAction = makeAction(":About.png", tr("О программе..."), QKeySequence());
    lessonFontAction = makeAction(":Font.png", tr("Шрифт упражнений..."), QKeySequence());
    interfaceFontAction = makeAction(":Font.png", tr("Шрифт интерфейса..."), QKeySequence());

    styleGroup = new QActionGroup(window);
    styleGroup->setExclusive(true);
    addStyle(tr("Стандарт"), QString(), settings.styleName == settings.nativeStyle);
    addStyle(QStringLiteral("Cleanlooks"), QStringLiteral("cleanlooks"), settings.styleName == QLatin1String("cleanlooks"));
    addStyle(QStringLiteral("Plastique"), QStringLiteral("plastique"), settings.styleName == QLatin1String("plastique"));

    transcriptionAction = makeToggle(tr("Транскрипция"), "Ctrl+b", settings.transcriptionEnabled);
    speakAction = makeToggle(tr("Озвучка"), "Ctrl+s", settings.speakEnabled);
    supportAction = makeAction(":Money.png", tr("Поддержать проект..."), QKeySequence());
    helpAction = makeAction(":Help.png", tr("Справка..."), QKeySequence::HelpContents);

    findAction = new QAction(window);
    findAction->setShortcut(QKeySequence::Find);
    window->addAction(findAction);

    connect(alwaysOnTopAction, &QAction::toggled, this, &MainActions::keepOnTop);
    window->setWindowFlag(Qt::WindowStaysOnTopHint, settings.mwAlwaysOnTop);
    connect(transcriptionAction, &QAction::toggled, this, [this](bool on) { this->settings.transcriptionEnabled = on; });
    connect(speakAction, &QAction::toggled, this, [this](bool on) { this->settings.speakEnabled = on; });
}

void MainActions::keepOnTop(bool on)
{
    settings.mwAlwaysOnTop = on;
    // Changing the flags hides a window that is shown.
    const bool shown = window->isVisible();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (shown)
        window->setVisible(true);
}

QAction* MainActions::makeAction(const char* icon, const QString& text, const QKeySequence& shortcut)
{
    auto* action = icon ? new QAction(QIcon(QString::fromLatin1(icon)), text, window) : new QAction(text, window);
    action->setShortcut(shortcut);
    return action;
}

QAction* MainActions::makeToggle(const QString& text, const char* shortcut, bool checked)
{
    QAction* action = makeAction(nullptr, text, QKeySequence(QString::fromLatin1(shortcut)));
    action->setCheckable(true);
    action->setChecked(checked);
    return action;
}

void MainActions::addStyle(const QString& text, const QString& data, bool checked)
{
    QAction* action = makeAction(nullptr, text, QKeySequence());
    action->setCheckable(true);
    action->setData(data);
    action->setChecked(checked);
    styleGroup->addAction(action);
}

void MainActions::addMenus(QMenuBar* bar)
{
    QMenu* fileMenu = bar->addMenu(tr("Файл"));
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

    QMenu* viewMenu = bar->addMenu(tr("Вид"));
    viewMenu->addAction(toolBarAction);
    viewMenu->addAction(finderBarAction);
    viewMenu->addAction(statusBarAction);
    viewMenu->addSeparator();
    viewMenu->addAction(alwaysOnTopAction);

    QMenu* toolsMenu = bar->addMenu(tr("Инструменты"));
    toolsMenu->addAction(editorAction);
    toolsMenu->addSeparator();
    toolsMenu->addAction(markLearnedAction);
    toolsMenu->addAction(reviewAction);
    toolsMenu->addAction(clearAction);
    toolsMenu->addSeparator();
    toolsMenu->addAction(progressAction);

    QMenu* settingsMenu = bar->addMenu(tr("Настройки"));
    settingsMenu->addAction(modelAction);
    settingsMenu->addAction(languageAction);
    settingsMenu->addAction(retentionAction);
    translatorAction = settingsMenu->addAction(tr("Перевод слов..."));
    QMenu* fontsMenu = settingsMenu->addMenu(QIcon(QStringLiteral(":Font.png")), tr("Шрифты"));
    fontsMenu->addAction(lessonFontAction);
    fontsMenu->addAction(interfaceFontAction);
    QMenu* styleMenu = settingsMenu->addMenu(QIcon(QStringLiteral(":Style.png")), tr("Оформление"));
    styleMenu->addActions(styleGroup->actions());
    settingsMenu->addSeparator();
    settingsMenu->addAction(transcriptionAction);
    settingsMenu->addAction(speakAction);

    QMenu* helpMenu = bar->addMenu(tr("Помощь"));
    helpMenu->addAction(helpAction);
    helpMenu->addSeparator();
    helpMenu->addAction(supportAction);
    helpMenu->addAction(aboutAction);
}

void MainActions::addToolBars(QMainWindow* window, QLineEdit* finderField)
{
    mainToolBar = window->addToolBar(QStringLiteral("Main"));
    mainToolBar->setObjectName(QStringLiteral("Main"));
    mainToolBar->setFloatable(false);
    mainToolBar->setIconSize(QSize(30, 30));
    for (QAction* action : {newAction, openAction, editorAction, markLearnedAction, clearAction, progressAction,
                            helpAction, aboutAction})
        mainToolBar->addAction(action);

    window->addToolBarBreak(Qt::TopToolBarArea);

    finderToolBar = window->addToolBar(QStringLiteral("Finder"));
    finderToolBar->setObjectName(QStringLiteral("Finder"));
    finderToolBar->setFloatable(false);
    auto* finderWidget = new QWidget;
    auto* finderLayout = new QHBoxLayout(finderWidget);
    finderLayout->setContentsMargins(5, 5, 5, 5);
    finderLayout->addWidget(finderField, 1);
    finderLayout->addStretch();
    finderToolBar->addWidget(finderWidget);

    mainToolBar->setVisible(settings.mwToolBar);
    finderToolBar->setVisible(settings.mwFinderBar);
    window->statusBar()->setVisible(settings.mwStatusBar);
    connect(toolBarAction, &QAction::toggled, mainToolBar, &QWidget::setVisible);
    connect(finderBarAction, &QAction::toggled, finderToolBar, &QWidget::setVisible);
    connect(statusBarAction, &QAction::toggled, window->statusBar(), &QWidget::setVisible);
    connect(findAction, &QAction::triggered, finderField, [this, finderField] {
        // Typing into a hidden field would go nowhere.
        if (!finderToolBar->isVisible())
            finderBarAction->setChecked(true);
        finderField->setFocus(Qt::ShortcutFocusReason);
    });
}

void MainActions::showRecentFiles(const QStringList& files)
{
    for (QAction* action : std::as_const(recentFileActions))
        action->setVisible(false);
    for (int i = 0; i < files.size() && i < recentFileActions.size(); ++i) {
        QAction* action = recentFileActions.at(i);
        action->setText(RecentFiles::menuText(files.at(i)));
        action->setData(files.at(i));
        action->setVisible(true);
    }
    recentSeparator->setVisible(!files.isEmpty());
}
