#pragma once

#include <QList>
#include <QStackedWidget>

class Workspace;
class AbstractLesson;
class FillWidget;

/*
    The main window's pages: the word selection page and the four lessons,
    page index = lesson kind, each in a scroll area so that a page larger
    than the window scrolls inside it instead of making the window grow.
*/
class LessonStack : public QStackedWidget
{
    Q_OBJECT

public:
    /*! The lesson pages over the words of \a workspace. */
    explicit LessonStack(Workspace* workspace, QWidget* parent = nullptr);

    const QList<AbstractLesson*>& lessons() const { return pages; }
    AbstractLesson* lesson(int kind) const { return pages.value(kind); }
    AbstractLesson* current() const { return pages.at(currentIndex()); }
    FillWidget* selection() const;

signals:
    /*! The exercise on one of the pages ended. */
    void finished();

private:
    QList<AbstractLesson*> pages;
};
