#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <optional>

class QMessageBox;
class QWidget;
class LearningRun;
class Settings;

/*
    The main window's message boxes and small questions: each asks or tells
    one thing and returns the answer, so the window only acts on it.
*/
class WindowBoxes
{
    Q_DECLARE_TR_FUNCTIONS(WindowBoxes)

public:
    /*! Boxes over \a window, the progress box showing \a run and the totals of \a settings. */
    WindowBoxes(QWidget* window, Settings& settings, LearningRun* run);

    void showError(const QString& text);
    void congratulate();
    void showAbout();
    void showSupport();
    void sayNothingDue();
    /*! The help file \a file could not be shown. */
    void sayNoHelp(const QString& file);
    /*! Whether to close after all although \a errors kept things unsaved. */
    bool closeDespite(const QStringList& errors);
    /*! Whether to clear the statuses of the words being learned (\a learning) or of all. */
    bool confirmClear(bool learning);
    /*! The progress box until it is closed; its Reset clears the totals once confirmed. */
    void showProgress();
    /*! The retention the learner asks for, or nothing when cancelled. */
    std::optional<double> askRetention();
    /*! The language code chosen for the words of \a dicPath, or nothing when cancelled. */
    std::optional<QString> askDictionaryLanguage(const QString& dicPath, const QString& proposed);

private:
    QWidget* window;
    Settings& settings;
    LearningRun* run;
    QMessageBox* aboutBox;
    QMessageBox* supportBox;
};
