#pragma once

class Questions;
class Settings;
class Statuses;

/*! Maps the status of the word being asked to the lesson of the learning model. */
class LessonSelector
{
public:
    LessonSelector(const Questions* questions, const Statuses* statuses, const Settings* settings);

    /*! Lesson kind (1..4) for the word being asked. */
    int currentLesson() const;

private:
    const Questions* questions;
    const Statuses* statuses;
    const Settings* settings;
};
