#include "lessons/meetwidget.h"

#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/settings.h"
#include "lessons/cardstyles.h"
#include "model/questions.h"
#include "model/statuses.h"
#include "model/units.h"
#include "speech/speaker.h"

MeetWidget::MeetWidget(Workspace* workspace, QWidget* parent)
    : AbstractLesson(workspace, parent)
{
    createWidgets();
    createConnections();
    createLayout();
    setupFonts();
}

QString MeetWidget::title() const
{
    return tr("Запоминание");
}

void MeetWidget::setupFonts()
{
    wordLabel->setFont(settings->lessonFont);
    translationLabel->setFont(settings->lessonFont);
}

void MeetWidget::createWidgets()
{
    wordLabel = contentLabel();
    wordLabel->setTextFormat(Qt::RichText);
    translationLabel = contentLabel();
    translationLabel->setTextFormat(Qt::RichText);
    translationLabel->setWordWrap(true);
    okButton = new QPushButton(tr("OK"));
    okButton->setFixedHeight(LessonButtonHeight);
    okButton->setDefault(true);
}

void MeetWidget::createConnections()
{
    connect(okButton, &QPushButton::clicked, this, &MeetWidget::okClicked);
}

void MeetWidget::createLayout()
{
    card = new QGroupBox;
    card->setStyleSheet(plainCardStyleSheet());
    card->installEventFilter(this);
    auto* cardLayout = new QVBoxLayout(card);
    cardLayout->addWidget(wordLabel, 1);
    cardLayout->addWidget(horizontalLine(), 0);
    cardLayout->addWidget(translationLabel, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(card, 1);
    layout->addWidget(okButton, 0, Qt::AlignHCenter);
}

void MeetWidget::start()
{
    okButton->setEnabled(true);
    okButton->setFocus(Qt::OtherFocusReason);
    currentUnit = questions->current();
    wordLabel->setText(wordWithTranscription(currentUnit));
    translationLabel->setText(escapedTranslation(currentUnit));
}

void MeetWidget::okClicked()
{
    if (!units->contains(currentUnit))
        return;
    // One confirmation per exercise: a second Enter before the next word
    // must not advance the same word twice.
    okButton->setEnabled(false);
    statuses->increment(currentUnit);
    emit finished();
}

bool MeetWidget::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == card && event->type() == QEvent::MouseButtonPress) {
        speaker->pronounce(currentUnit);
        return true;
    }
    return AbstractLesson::eventFilter(watched, event);
}
