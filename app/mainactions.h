#pragma once

#include <QList>
#include <QObject>
#include <QStringList>

class Settings;
class QAction;
class QActionGroup;
class QLineEdit;
class QMainWindow;
class QMenuBar;
class QToolBar;
class QWidget;

/*
    The main window's actions, menus and tool bars. The actions belong to
    the window (their shortcuts act anywhere in it) and start in the state
    the settings give. The toggles of the bars, the transcription, the
    speech and the window on top keep the settings themselves; the window
    connects the other actions to what they do.
*/
class MainActions : public QObject
{
    Q_OBJECT

public:
    /*! The actions of \a window, checked as \a settings say. */
    MainActions(Settings& settings, QWidget* window);

    void addMenus(QMenuBar* bar);
    /*! The main tool bar, and under it the finder's with \a finderField,
        shown or hidden with the status bar as the settings say. */
    void addToolBars(QMainWindow* window, QLineEdit* finderField);
    /*! The File menu lists \a files, the most recent first. */
    void showRecentFiles(const QStringList& files);

    QAction* newAction = nullptr;
    QAction* openAction = nullptr;
    QAction* downloadAction = nullptr;
    QAction* importAction = nullptr;
    QAction* exportAction = nullptr;
    QAction* exitAction = nullptr;
    QList<QAction*> recentFileActions;
    QAction* toolBarAction = nullptr;
    QAction* finderBarAction = nullptr;
    QAction* statusBarAction = nullptr;
    QAction* alwaysOnTopAction = nullptr;
    QAction* editorAction = nullptr;
    QAction* modelAction = nullptr;
    QAction* languageAction = nullptr;
    QAction* translatorAction = nullptr;
    QAction* clearAction = nullptr;
    QAction* markLearnedAction = nullptr;
    QAction* reviewAction = nullptr;
    QAction* retentionAction = nullptr;
    QAction* progressAction = nullptr;
    QAction* aboutAction = nullptr;
    QAction* lessonFontAction = nullptr;
    QAction* interfaceFontAction = nullptr;
    QActionGroup* styleGroup = nullptr;
    QAction* transcriptionAction = nullptr;
    QAction* speakAction = nullptr;
    QAction* supportAction = nullptr;
    QAction* helpAction = nullptr;
    QAction* findAction = nullptr;

    QToolBar* mainToolBar = nullptr;
    QToolBar* finderToolBar = nullptr;

private:
    void keepOnTop(bool on);
    QAction* makeAction(const char* icon, const QString& text, const QKeySequence& shortcut);
    QAction* makeToggle(const QString& text, const char* shortcut, bool checked);
    void addStyle(const QString& text, const QString& data, bool checked);

    Settings& settings;
    QWidget* window;
    QAction* recentSeparator = nullptr;
};
