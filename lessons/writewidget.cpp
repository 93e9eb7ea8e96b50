#include "lessons/writewidget.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/settings.h"
#include "lessons/promptrules.h"
#include "model/questions.h"
#include "model/statuses.h"
#include "model/units.h"
#include "speech/speaker.h"

WriteWidget::WriteWidget(Workspace* workspace, QWidget* parent)
    : AbstractLesson(workspace, parent)
{
    createWidgets();
    createConnections();
    createLayout();
    setupFonts();
}

QString WriteWidget::title() const
{
    return tr("Написание");
}

void WriteWidget::setupFonts()
{
    questionLabel->setFont(settings->lessonFont);
    promptLabel->setFont(settings->interfaceFont);
}

void WriteWidget::createWidgets()
{
    questionLabel = contentLabel();
    questionLabel->setTextFormat(Qt::RichText);
    questionLabel->setWordWrap(true);
    promptLabel = contentLabel();
    promptLabel->setTextFormat(Qt::RichText);
    input = new QLineEdit;
    input->setMaxLength(150);
    input->setContextMenuPolicy(Qt::NoContextMenu);
    hintButton = new QPushButton(tr("Подсказка"));
    answerButton = new QPushButton(tr("Ответ"));
    compareButton = new QPushButton(tr("Сравнить"));
    for (QPushButton* button : {hintButton, answerButton, compareButton})
        button->setFixedHeight(LessonButtonHeight);
}

void WriteWidget::createConnections()
{
    connect(hintButton, &QPushButton::clicked, this, &WriteWidget::takePrompt);
    connect(answerButton, &QPushButton::clicked, this, &WriteWidget::takeHelp);
    connect(input, &QLineEdit::returnPressed, compareButton, &QPushButton::click);
    connect(compareButton, &QPushButton::clicked, this, &WriteWidget::checkAnswer);
    connect(input, &QLineEdit::textChanged, this, &WriteWidget::colorPrompt);
    connect(speaker, &Speaker::finished, this, &AbstractLesson::finished);
}

void WriteWidget::createLayout()
{
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(hintButton);
    buttons->addWidget(answerButton);
    buttons->addWidget(compareButton);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(questionLabel, 1);
    layout->addWidget(horizontalLine());
    layout->addWidget(promptLabel, 1);
    layout->addWidget(input);
    layout->addLayout(buttons);
}

void WriteWidget::setControlsEnabled(bool enabled)
{
    input->setEnabled(enabled);
    hintButton->setEnabled(enabled);
    compareButton->setEnabled(enabled);
    answerButton->setEnabled(enabled);
}

void WriteWidget::start()
{
    // A new exercise: the end of an earlier one that is still pending must not finish this one.
    abandon();
    currentUnit = questions->current();
    helpTaken = false;
    setControlsEnabled(true);
    prompt = PromptRules::initialPrompt(units->word(currentUnit));
    colorPrompt();
    questionLabel->setText(escapedTranslation(currentUnit));
    input->clear();
    input->setFocus(Qt::OtherFocusReason);
}

void WriteWidget::colorPrompt()
{
    if (helpTaken)
        return;
    promptLabel->setText(PromptRules::coloredPrompt(prompt, PromptRules::characterCount(input->text())));
}

void WriteWidget::takePrompt()
{
    prompt = PromptRules::uncoverOne(prompt, units->word(currentUnit), PromptRules::characterCount(input->text()));
    if (!prompt.contains(QLatin1Char('?')))
        takeHelp();
    colorPrompt();
    input->setFocus(Qt::OtherFocusReason);
}

void WriteWidget::takeHelp()
{
    if (helpTaken || !units->contains(currentUnit))
        return;
    promptLabel->setText(wordWithTranscription(currentUnit));
    input->setFocus(Qt::OtherFocusReason);
    answerButton->setEnabled(false);
    hintButton->setEnabled(false);
    statuses->decrement(currentUnit);
    helpTaken = true;
}

void WriteWidget::checkAnswer()
{
    if (!units->contains(currentUnit) || !compareButton->isEnabled())
        return;
    if (PromptRules::isRight(input->text(), units->word(currentUnit))) {
        if (!helpTaken)
            statuses->increment(currentUnit);
        helpTaken = true; // keeps the uncovered word on the label
        promptLabel->setText(wordWithTranscription(currentUnit));
        setControlsEnabled(false);
        speaker->pronounceAndFinish(currentUnit);
    } else {
        statuses->decrement(currentUnit);
        // Where the typing went wrong, until the learner types again.
        promptLabel->setText(PromptRules::mistakePrompt(prompt, input->text(), units->word(currentUnit)));
        input->setFocus(Qt::OtherFocusReason);
    }
}
