#include "model/lessonselector.h"

#include "config/settings.h"
#include "model/questions.h"
#include "model/statuses.h"

LessonSelector::LessonSelector(const Questions* questions, const Statuses* statuses, const Settings* settings)
    : questions(questions)
    , statuses(statuses)
    , settings(settings)
{
}

int LessonSelector::currentLesson() const
{
    // Words pushed back below 5 by mistakes stay on the first lesson.
    const int step = statuses->status(questions->current()) - 5;
    return settings->modelStep(qBound(0, step, settings->modelLength() - 1));
}
