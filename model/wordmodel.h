#pragma once

#include "model/lessonselector.h"
#include "model/questions.h"
#include "model/statuses.h"
#include "model/units.h"
#include "model/variants.h"

class Settings;

/*!
    The words of one program run: the open dictionary, the learned-words
    list, the statuses of the open dictionary's words, the question and
    variant pools of a learning run, and the rule that picks the lesson.
    Built once with the settings whose learning model it follows, and
    handed to those that read or change the words.
*/
class WordModel
{
public:
    explicit WordModel(const Settings* settings)
        : statuses(&units, settings)
        , variants(&questions)
        , selector(&questions, &statuses, settings)
    {
    }
    WordModel(const WordModel&) = delete;
    WordModel& operator=(const WordModel&) = delete;

    Units units;
    Units learnedUnits;
    Statuses statuses;
    Questions questions;
    Variants variants;
    LessonSelector selector;
};
