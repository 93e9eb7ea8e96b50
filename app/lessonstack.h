#pragma once

#include <QList>
#include <QStackedWidget>

class Workspace;
class AbstractLesson;
class FillWidget;
class LearningRun;

/*
    The main window's pages: the word selection page and the four lessons,
    page index = lesson kind, each in a scroll area so that a page larger
    than the window scrolls inside it instead of making the window grow.

    The stack runs the lesson loop: when an exercise ends it shows the next
    question the run names, on its lesson's page. An exercise that ends
    while one of the window's boxes is open is held back until the box is
    closed (resume()), unless what the box did abandoned it.
*/
class LessonStack : public QStackedWidget
{
    Q_OBJECT

public:
    /*! The lesson pages over the words of \a workspace, asking \a run for the questions. */
    LessonStack(Workspace* workspace, LearningRun* run, QWidget* parent = nullptr);

    const QList<AbstractLesson*>& lessons() const { return pages; }
    AbstractLesson* lesson(int kind) const { return pages.value(kind); }
    AbstractLesson* current() const { return pages.at(currentIndex()); }
    FillWidget* selection() const;

    /*! Abandons the exercise on screen and starts the lesson \a kind on its page. */
    void showLesson(int kind);
    /*! The run's next question on its lesson's page; runOver() when there is none. */
    void showNext();
    /*! Forgets the exercise on screen, and one held back. */
    void abandon();
    /*! A box closed: an exercise that ended behind it goes on. */
    void resume();
    /*! Starts the exercise on screen again, as after a change of what it shows. */
    void restart();

signals:
    /*! The page of \a kind is on screen; its lesson starts next. */
    void lessonShown(int kind);
    /*! The run has no question left. */
    void runOver();

private:
    LearningRun* run;
    QList<AbstractLesson*> pages;
    bool heldBack = false;
};
