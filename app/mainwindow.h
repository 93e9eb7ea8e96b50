#pragma once

#include <QMainWindow>
#include <QStringList>

#include <memory>

#include "review/reviewschedule.h"

class QAction;
class QDockWidget;
class QLineEdit;
class QMenu;
class AdWidget;
class AbstractLesson;
class Appearance;
class DictionaryFiles;
class DictionarySession;
class DownloaderDialog;
class EditorDialog;
class FinderDialog;
class LanguageDialog;
class LearningLanguage;
class LearningRun;
class LessonStack;
class MainActions;
class ModelDialog;
class Statuses;
class StatusLine;
class Units;
class Settings;
class Workspace;
class DailyDueCount;
class WindowBoxes;

class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    /*! The window over \a workspace, which outlives it. */
    explicit MainWindow(Workspace* workspace);
    ~MainWindow() override;

    /*! Index of the page shown: 0 word selection, 1..4 lesson pages. */
    int currentPage() const;
    AbstractLesson* lesson(int kind) const;

public slots:
    void startNextLesson();
    void showNewFileDialog();
    void showDownloaderDialog();
    void showOpenFileDialog();
    void importWords();
    void exportWords();
    void showEditorDialog();
    void showModelDialog();
    void showFinderDialog();
    void showLanguageDialog();
    void showTranslatorSettingsDialog();
    void showInterfaceFontDialog();
    void showHelp();
    void showProgressDialog();
    void updateRecentFiles();
    void updateStatusBar();
    void updateTitle();
    void openRecentFile();
    void openFile(const QString& path);
    void markLearned();
    void clearStatuses();

    /*! Creates (or empties) the dictionary at \a path and opens it. A name
        without the ".dic" suffix gets it. */
    void newFile(const QString& path);

    /*! The session is ending (logout, SIGTERM): save without asking, then quit. */
    void saveAndQuit();
    /*! Nothing is written from now on (no lock could be had); \a reason is shown. */
    void keepFilesUnchanged(const QString& reason);
    /*! Another start of the program asked for this window. */
    void bringToFront();

    /*! Starts a run over the learned words that are due for review. */
    void startReview();
    void showRetentionDialog();
    const ReviewSchedule& reviewSchedule() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    QMenu* createPopupMenu() override;

private:
    void initModels();
    void createWidgets();
    void createActions();
    void createMenus();
    void createToolBars();
    void createStatusBar();
    void createConnections();
    void applySettings();
    void setupDictionariesFolder();
    void storeWindowState();
    /*! What goes with the page of \a kind: the advert, the actions, the status bar. */
    void showPageParts(int kind);
    void endLearningRun();
    void showStartUpProblems();
    void saveEdits();
    void applyDictionaryLanguage();
    void askDictionaryLanguage(const QString& dicPath, const QString& proposed);

    Workspace* workspace;
    Settings& settings;
    Units* units = nullptr;
    Statuses* statuses = nullptr;
    std::unique_ptr<DictionaryFiles> files;
    QStringList startUpProblems;
    bool quitting = false;

    // The run of lessons and the review schedule it feeds.
    LearningRun* run = nullptr;
    DailyDueCount* dueCount = nullptr;
    // The learning language follows the open dictionary.
    std::unique_ptr<LearningLanguage> language;
    MainActions* actions = nullptr;
    Appearance* appearance = nullptr;
    DictionarySession* session = nullptr;
    std::unique_ptr<WindowBoxes> boxes;
    QDockWidget* adDock = nullptr;
    AdWidget* adWidget = nullptr;
    QLineEdit* finderLineEdit = nullptr;
    StatusLine* statusLine = nullptr;

    EditorDialog* editorDialog = nullptr;
    ModelDialog* modelDialog = nullptr;
    LanguageDialog* languageDialog = nullptr;
    DownloaderDialog* downloaderDialog = nullptr;
    FinderDialog* finderDialog = nullptr;

    LessonStack* stack = nullptr;
};
