#include "app/statusline.h"

#include <QFrame>
#include <QLabel>
#include <QStatusBar>

#include "app/lessonstack.h"
#include "app/statustexts.h"
#include "learning/learningrun.h"
#include "lessons/abstractlesson.h"
#include "model/wordmodel.h"

StatusLine::StatusLine(QStatusBar* bar, WordModel* words, const LearningRun* run, const LessonStack* stack)
    : QObject(bar)
    , words(words)
    , run(run)
    , stack(stack)
    , lessonLabel(new QLabel)
    , learnedLabel(new QLabel)
    , learningLabel(new QLabel)
{
    lessonLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    bar->setStyleSheet(QStringLiteral("QStatusBar::item {border: 0px;}"));
    auto vline = [] {
        auto* line = new QFrame;
        line->setFrameShape(QFrame::VLine);
        return line;
    };
    bar->addWidget(lessonLabel, 1);
    bar->addWidget(vline());
    bar->addWidget(learnedLabel);
    bar->addWidget(vline());
    bar->addWidget(learningLabel);

    connect(&words->units, &Units::added, this, &StatusLine::refresh);
    connect(&words->units, &Units::removed, this, &StatusLine::refresh);
    connect(&words->statuses, &Statuses::unlearned, this, &StatusLine::refresh);
    connect(&words->statuses, &Statuses::initial, this, &StatusLine::refresh);
    connect(&words->statuses, &Statuses::learned, this, &StatusLine::refresh);
}

void StatusLine::refresh()
{
    if (frozen)
        return;
    // Words waiting in a review run are still learned until they are forgotten.
    lessonLabel->setText(StatusTexts::lessonLabel(stack->current()->title()));
    learnedLabel->setText(StatusTexts::learnedLabel(
        words->statuses.countOf(Statuses::Learned) + run->waitingReviews(), words->units.count()));
    learningLabel->setText(StatusTexts::learningLabel(words->questions.count()));
}
