#include "lessons/abstractlesson.h"

#include <QFrame>
#include <QLabel>

#include "model/questions.h"
#include "model/statuses.h"
#include "model/units.h"
#include "model/variants.h"
#include "speech/speaker.h"
#include "session/workspace.h"
#include "speech/transcriptions.h"

AbstractLesson::AbstractLesson(Workspace* workspace, QWidget* parent)
    : QWidget(parent)
    , settings(&workspace->settings)
    , units(&workspace->words.units)
    , statuses(&workspace->words.statuses)
    , questions(&workspace->words.questions)
    , variants(&workspace->words.variants)
    , transcriptions(&workspace->transcriptions)
    , speaker(new Speaker(units, settings, this))
{
}

void AbstractLesson::abandon()
{
    speaker->cancel();
}

QString AbstractLesson::wordWithTranscription(int key) const
{
    return units->word(key).toHtmlEscaped() + transcriptions->formatted(key);
}

QString AbstractLesson::escapedTranslation(int key) const
{
    return units->translation(key).toHtmlEscaped();
}

QLabel* AbstractLesson::contentLabel()
{
    auto* label = new QLabel;
    label->setWordWrap(true);
    // Centred both ways, wrapped lines too.
    label->setAlignment(Qt::AlignCenter);
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    label->setMinimumWidth(0);
    return label;
}

QFrame* AbstractLesson::horizontalLine()
{
    auto* line = new QFrame;
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}
