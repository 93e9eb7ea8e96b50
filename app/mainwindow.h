#pragma once

#include <QDate>
#include <QHash>
#include <QSet>
#include <QList>
#include <QMainWindow>
#include <QStringList>

#include <memory>

#include "review/reviewschedule.h"

class QAction;
class QDockWidget;
class QLineEdit;
class QMenu;
class QTimer;
class QMessageBox;
class AdWidget;
class AbstractLesson;
class Appearance;
class DictionaryFiles;
class DictionarySession;
class DownloaderDialog;
class EditorDialog;
class FinderDialog;
class LessonSelector;
class LanguageDialog;
class LearningLanguage;
class LearningRun;
class LessonStack;
class MainActions;
class ModelDialog;
class Questions;
class Statuses;
class StatusLine;
class Units;
class Variants;
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
    void restartCurrentLessson();
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
    void showLessonFontDialog();
    void showHelp();
    void showProgressDialog();
    void updateRecentFiles();
    void updateStatusBar();
    void updateTitle();
    void openRecentFile();
    void openFile(const QString& path);
    void markLearned();
    void clearStatuses();
    void setupStyle(QAction* action);
    void toggleAlwaysOnTop(bool on);
    void toggleTranscription(bool on);
    void toggleSpeak(bool on);

    /*! Creates (or empties) the dictionary at \a path and opens it. A name
        without the ".dic" suffix gets it. */
    void newFile(const QString& path);

    /*! Saves the dictionary, its statuses, the learned-words list and the
        settings; returns what could not be saved. */
    QStringList saveEverything();
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
    void setLesson(int kind);
    void endLearningRun();
    void showError(const QString& text);
    void showStartUpProblems();
    void abandonExercise();
    void resumeDeferredLesson();
    void saveEdits();
    void applyDictionaryLanguage();
    void askDictionaryLanguage(const QString& dicPath, const QString& proposed);

    Workspace* workspace;
    Settings& settings;
    Units* units = nullptr;
    Units* learnedUnits = nullptr;
    Statuses* statuses = nullptr;
    Questions* questions = nullptr;
    Variants* variants = nullptr;
    LessonSelector* lessonSelector = nullptr;
    // Loading or resetting a large dictionary signals once per word; the
    // status bar is brought up to date once afterwards instead.
    bool statusBarFrozen = false;
    bool firstAlwaysOnTopCall = true;
    std::unique_ptr<DictionaryFiles> files;
    QStringList startUpProblems;
    bool quitting = false;
    // An exercise that ends while one of the window's boxes is open goes on
    // once the box is closed, unless what the box did abandoned it.
    bool deferredLesson = false;

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
