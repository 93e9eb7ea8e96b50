#include "app/lessonstack.h"

#include <QScrollArea>

#include "config/settings.h"
#include "lessons/cardstyles.h"
#include "lessons/cardwidget.h"
#include "lessons/fillwidget.h"
#include "lessons/meetwidget.h"
#include "lessons/selectwidget.h"
#include "lessons/writewidget.h"

LessonStack::LessonStack(Workspace* workspace, QWidget* parent)
    : QStackedWidget(parent)
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
        connect(lesson, &AbstractLesson::finished, this, &LessonStack::finished);
    }
}

FillWidget* LessonStack::selection() const
{
    return static_cast<FillWidget*>(pages.at(0));
}
