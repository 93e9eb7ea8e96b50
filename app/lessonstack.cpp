#include "app/lessonstack.h"

#include <QApplication>
#include <QScrollArea>

#include "config/settings.h"
#include "learning/learningrun.h"
#include "lessons/cardstyles.h"
#include "lessons/cardwidget.h"
#include "lessons/fillwidget.h"
#include "lessons/meetwidget.h"
#include "lessons/selectwidget.h"
#include "lessons/writewidget.h"

LessonStack::LessonStack(Workspace* workspace, LearningRun* run, QWidget* parent)
    : QStackedWidget(parent)
    , run(run)
{
    setStyleSheet(stackStyleSheet());
    pages = {new FillWidget(workspace), new MeetWidget(workspace), new SelectWidget(workspace), new CardWidget(workspace), new WriteWidget(workspace)};
    for (AbstractLesson* lesson : std::as_const(pages)) {
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
        addWidget(scroll);
        connect(lesson, &AbstractLesson::finished, this, &LessonStack::showNext);
    }
}

FillWidget* LessonStack::selection() const
{
    return static_cast<FillWidget*>(pages.at(0));
}

void LessonStack::showLesson(int kind)
{
    abandon();
    setCurrentIndex(kind);
    emit lessonShown(kind);
    pages.at(kind)->start();
}

void LessonStack::showNext()
{
    // The exercise on screen is over or given up: an end still pending
    // would be a second one.
    current()->abandon();
    if (QApplication::activeModalWidget()) {
        heldBack = true;
        return;
    }
    heldBack = false;
    const int kind = run->next();
    if (kind >= 0)
        showLesson(kind);
    else
        emit runOver();
}

void LessonStack::abandon()
{
    current()->abandon();
    heldBack = false;
}

void LessonStack::resume()
{
    if (heldBack && currentIndex() != 0)
        showNext();
    heldBack = false;
}

void LessonStack::restart()
{
    current()->start();
}
