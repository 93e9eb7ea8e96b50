#include "model/lessonselector.h"

#include "config/settings.h"
#include "model/questions.h"
#include "model/statuses.h"

LessonSelector* LessonSelector::instance()
{
    static LessonSelector* selector =
        new LessonSelector(Questions::instance(), Statuses::instance());
    return selector;
}

LessonSelector::LessonSelector(Questions* questions, Statuses* statuses)
    : questions(questions)
    , statuses(statuses)
{
}

int LessonSelector::currentLesson() const
{
    // Words pushed back below 5 by mistakes stay on the first lesson.
    const int step = statuses->status(questions->current()) - 5;
    return modelStep(qBound(0, step, modelLength() - 1));
}
