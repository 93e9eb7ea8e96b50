#include "lessons/cardwidget.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/settings.h"
#include "model/questions.h"
#include "model/statuses.h"
#include "model/units.h"
#include "speech/speaker.h"

CardWidget::CardWidget(Workspace* workspace, QWidget* parent)
    : AbstractLesson(workspace, parent)
{
    createWidgets();
    createConnections();
    createLayout();
    setupFonts();
}

QString CardWidget::title() const
{
    return tr("Карточка");
}

void CardWidget::setupFonts()
{
    answerLabel->setFont(settings->lessonFont);
    questionLabel->setFont(settings->lessonFont);
}

void CardWidget::createWidgets()
{
    questionLabel = contentLabel();
    questionLabel->setTextFormat(Qt::RichText);
    questionLabel->setWordWrap(true);
    answerLabel = contentLabel();
    answerLabel->setTextFormat(Qt::RichText);
    answerButton = new QPushButton(tr("Ответ"));
    recalledButton = new QPushButton(tr("Вспомнил"));
    forgotButton = new QPushButton(tr("Забыл"));
    for (QPushButton* button : {answerButton, recalledButton, forgotButton}) {
        button->setFixedHeight(LessonButtonHeight);
        button->setAutoDefault(true);
    }
    recalledButton->setDefault(true);
}

void CardWidget::createConnections()
{
    connect(answerButton, &QPushButton::clicked, this, &CardWidget::answerClicked);
    connect(forgotButton, &QPushButton::clicked, this, &CardWidget::forgotClicked);
    connect(recalledButton, &QPushButton::clicked, this, &CardWidget::recalledClicked);
    connect(speaker, &Speaker::finished, this, &AbstractLesson::finished);
}

void CardWidget::createLayout()
{
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(forgotButton);
    buttons->addWidget(answerButton);
    buttons->addWidget(recalledButton);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(questionLabel, 1);
    layout->addWidget(horizontalLine(), 0);
    layout->addWidget(answerLabel, 1);
    layout->addLayout(buttons);
}

void CardWidget::start()
{
    // A new exercise: the end of an earlier one that is still pending must not finish this one.
    abandon();
    currentUnit = questions->current();
    answerLabel->setText(QStringLiteral("???"));
    questionLabel->setText(escapedTranslation(currentUnit));
    setButtonsEnabled(true);
    recalledButton->setFocus(Qt::OtherFocusReason);
}

void CardWidget::setButtonsEnabled(bool enabled)
{
    for (QPushButton* button : {answerButton, recalledButton, forgotButton})
        button->setEnabled(enabled);
}

void CardWidget::showAnswer()
{
    answerLabel->setText(wordWithTranscription(currentUnit));
}

void CardWidget::answerClicked()
{
    showAnswer();
    answerButton->setEnabled(false);
    // The disabled button held the focus; keep the keyboard on the judgement.
    recalledButton->setFocus(Qt::OtherFocusReason);
}

void CardWidget::recalledClicked()
{
    if (!units->contains(currentUnit))
        return;
    showAnswer();
    setButtonsEnabled(false);
    statuses->increment(currentUnit);
    speaker->pronounceAndFinish(currentUnit);
}

void CardWidget::forgotClicked()
{
    if (!units->contains(currentUnit))
        return;
    showAnswer();
    setButtonsEnabled(false);
    statuses->decrement(currentUnit);
    speaker->pronounceAndFinish(currentUnit);
}
