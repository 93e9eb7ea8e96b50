#pragma once

class Questions;
class Statuses;

/*! Maps the status of the word being asked to the lesson of the learning model. */
class LessonSelector
{
public:
    static LessonSelector* instance();

    /*! Lesson kind (1..4) for the word being asked. */
    int currentLesson() const;

private:
    LessonSelector(Questions* questions, Statuses* statuses);

    Questions* questions;
    Statuses* statuses;
};
