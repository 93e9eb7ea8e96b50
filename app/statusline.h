#pragma once

#include <QObject>
#include <QScopeGuard>

class QLabel;
class QStatusBar;
class LearningRun;
class LessonStack;
class WordModel;

/*
    The status bar's three fields: the page shown, the learned words of the
    dictionary, and the words being learned. They follow every change of a
    word or a status.
*/
class StatusLine : public QObject
{
    Q_OBJECT

public:
    StatusLine(QStatusBar* bar, WordModel* words, const LearningRun* run, const LessonStack* stack);

    /*! Shows the page, the words and the run as they are now. */
    void refresh();

    /*! Runs \a change, which may touch every word (loading or resetting a
        large dictionary signals once per word), and shows the outcome once
        afterwards instead of at each word. */
    template <typename Change>
    auto whileFrozen(Change change) -> decltype(change())
    {
        frozen = true;
        const auto thaw = qScopeGuard([this] {
            frozen = false;
            refresh();
        });
        return change();
    }

private:
    WordModel* words;
    const LearningRun* run;
    const LessonStack* stack;
    bool frozen = false;
    QLabel* lessonLabel;
    QLabel* learnedLabel;
    QLabel* learningLabel;
};
