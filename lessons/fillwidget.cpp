#include "lessons/fillwidget.h"

#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/settings.h"
#include "lessons/cardstyles.h"
#include "model/questions.h"
#include "model/random.h"
#include "model/statuses.h"
#include "model/units.h"
#include "model/variants.h"
#include "speech/speaker.h"

FillWidget::FillWidget(Workspace* workspace, QWidget* parent)
    : AbstractLesson(workspace, parent)
{
    currentUnit = -1;
    createWidgets();
    createConnections();
    createLayout();
    setupFonts();
}

QString FillWidget::title() const
{
    return tr("Выбор слов");
}

void FillWidget::setupFonts()
{
    wordLabel->setFont(settings->lessonFont);
    translationLabel->setFont(settings->lessonFont);
    messageLabel->setFont(settings->lessonFont);
}

void FillWidget::createWidgets()
{
    auto iconButton = [](const char* icon, const QString& tip) {
        auto* button = new QPushButton;
        button->setIcon(QIcon(QString::fromLatin1(icon)));
        button->setIconSize(QSize(25, 25));
        button->setFixedSize(45, LessonButtonHeight);
        button->setToolTip(tip);
        // Enter on the focused button acts, so the page works from the keyboard.
        button->setAutoDefault(true);
        return button;
    };
    learnButton = iconButton(":Add.png", tr("Изучать слово"));
    dontLearnButton = iconButton(":Remove.png", tr("Не изучать слово"));
    learnAllButton = iconButton(":AddAll.png", tr("Изучать все слова"));
    startButton = new QPushButton(tr("Начать изучение"));
    startButton->setToolTip(tr("Начать обучение"));
    startButton->setFixedHeight(LessonButtonHeight);
    startButton->setAutoDefault(true);
    reviewButton = new QPushButton;
    reviewButton->setToolTip(tr("Повторить выученные слова, которые пора вспомнить (Ctrl+Y)"));
    reviewButton->setFixedHeight(LessonButtonHeight);
    reviewButton->setAutoDefault(true);
    reviewButton->hide();

    wordLabel = contentLabel();
    wordLabel->setTextFormat(Qt::RichText);
    translationLabel = contentLabel();
    translationLabel->setTextFormat(Qt::RichText);
    translationLabel->setWordWrap(true);
    messageLabel = new QLabel;
    messageLabel->setWordWrap(true);
    messageLabel->setTextFormat(Qt::RichText);
    messageLabel->hide();
    line = horizontalLine();
    verticalLine = new QFrame;
    verticalLine->setFrameShape(QFrame::VLine);
    verticalLine->setFrameShadow(QFrame::Sunken);
}

void FillWidget::createConnections()
{
    connect(learnButton, &QPushButton::clicked, this, &FillWidget::learn);
    connect(dontLearnButton, &QPushButton::clicked, this, &FillWidget::dontLearn);
    connect(learnAllButton, &QPushButton::clicked, this, &FillWidget::learnAll);
    connect(startButton, &QPushButton::clicked, this, &FillWidget::startLearning);
    connect(reviewButton, &QPushButton::clicked, this, &FillWidget::reviewRequested);
}

void FillWidget::createLayout()
{
    card = new QGroupBox;
    card->setStyleSheet(plainCardStyleSheet());
    card->installEventFilter(this);
    auto* cardLayout = new QVBoxLayout(card);
    cardLayout->addWidget(messageLabel);
    cardLayout->addWidget(wordLabel, 1);
    cardLayout->addWidget(line);
    cardLayout->addWidget(translationLabel, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(learnButton);
    buttons->addWidget(dontLearnButton);
    buttons->addWidget(learnAllButton);
    buttons->addWidget(verticalLine);
    buttons->addWidget(startButton);
    buttons->addStretch();
    // A row of its own: beside the others it made the page wider than a
    // small window.
    auto* reviewRow = new QHBoxLayout;
    reviewRow->addStretch();
    reviewRow->addWidget(reviewButton);
    reviewRow->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(card, 1);
    layout->addLayout(buttons);
    layout->addLayout(reviewRow);
}

void FillWidget::start()
{
    currentUnit = -1;
    learnButton->setFocus(Qt::OtherFocusReason);
    messageLabel->hide();
    for (QWidget* widget : {static_cast<QWidget*>(learnButton), static_cast<QWidget*>(dontLearnButton),
                            static_cast<QWidget*>(learnAllButton), static_cast<QWidget*>(startButton)}) {
        widget->setEnabled(true);
        widget->show();
    }
    verticalLine->show();
    wordLabel->show();
    line->show();
    translationLabel->show();
    showNextUnit();
}

bool FillWidget::hasWordOnCard() const
{
    return currentUnit >= 0 && units->contains(currentUnit)
        && statuses->isUnlearned(currentUnit);
}

void FillWidget::showNextUnit()
{
    // Walk the dictionary's real keys, so removals earlier in the session
    // leave no gap that could put a missing word on the card.
    const QList<int> keys = units->keys();
    auto it = std::upper_bound(keys.cbegin(), keys.cend(), currentUnit);
    while (it != keys.cend() && statuses->status(*it) != Statuses::Unlearned)
        ++it;
    if (it == keys.cend()) {
        currentUnit = keys.isEmpty() ? 0 : keys.last() + 1;
        showMessage();
        return;
    }
    currentUnit = *it;
    wordLabel->setText(wordWithTranscription(currentUnit));
    translationLabel->setText(escapedTranslation(currentUnit));
    speaker->pronounce(currentUnit);
}

void FillWidget::setDueCount(int count)
{
    dueCount = count;
    reviewButton->setText(tr("Повторить: %1").arg(count));
    reviewButton->setVisible(count > 0);
}

void FillWidget::showMessage()
{
    const bool empty = units->count() == 0;
    const bool somethingToLearn = questions->count() > 0 || !wordsInProgress().isEmpty();
    QString text;
    if (empty)
        text = tr("<p align=center>Словарь пуст! Добавьте новые слова с помощью редактора словаря "
                  "(Инструменты->Редактор словаря).</p>");
    else if (somethingToLearn)
        text = tr("<p align=center>Новых слов больше нет. Нажмите \"Начать изучение\", "
                  "чтобы учить выбранные слова.</p>");
    else
        text = tr("<p align=center>Поздравляю, все слова в этом словаре изучены! Вы можете "
                  "добавить новые слова или открыть другой словарь.</p>");
    messageLabel->setText(text);
    wordLabel->hide();
    line->hide();
    translationLabel->hide();
    for (QPushButton* button : {learnButton, dontLearnButton, learnAllButton}) {
        button->setEnabled(false);
        button->hide();
    }
    verticalLine->hide();
    // Words chosen during this walk still need a way to be learned.
    startButton->setVisible(somethingToLearn);
    startButton->setEnabled(somethingToLearn);
    if (somethingToLearn)
        startButton->setFocus(Qt::OtherFocusReason);
    messageLabel->show();
}

QList<int> FillWidget::wordsInProgress() const
{
    QList<int> keys;
    for (int key : units->keys()) {
        const int status = statuses->status(key);
        if (status > 0 && status < Statuses::Learned)
            keys.append(key);
    }
    return keys;
}

void FillWidget::learn()
{
    if (!hasWordOnCard())
        return;
    statuses->setStatus(currentUnit, Statuses::Initial);
    showNextUnit();
}

void FillWidget::dontLearn()
{
    if (!hasWordOnCard())
        return;
    statuses->setStatus(currentUnit, Statuses::Learned);
    showNextUnit();
}

void FillWidget::learnAll()
{
    const auto answer = QMessageBox::question(
        this, tr("Вопрос"), tr("Вы действительно хотите изучать все слова в словаре?"),
        QMessageBox::Yes | QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    for (int key : units->keys())
        if (statuses->isUnlearned(key))
            statuses->setStatus(key, Statuses::Initial);
    startLearning();
    // When learning could not start, the card must not keep showing a word
    // that is now chosen and that its buttons no longer act on.
    if (!hasWordOnCard())
        showNextUnit();
}

void FillWidget::startLearning()
{
    for (int key : wordsInProgress()) {
        questions->add(key);
        variants->add(key);
    }
    if (questions->count() == 0) {
        QMessageBox::critical(this, tr("Ошибка"), tr("Не выбрано ни одного слова для изучения!"));
        return;
    }
    if (units->count() < 6) {
        QMessageBox::critical(this, tr("Ошибка"), tr("В словаре должно быть как минимум 6 слов!"));
        return;
    }
    const QList<int> keys = units->keys();
    while (variants->count() < 6)
        variants->add(keys.at(Random::next() % keys.size()));
    emit finished();
}

bool FillWidget::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == card && event->type() == QEvent::MouseButtonPress && hasWordOnCard()) {
        speaker->pronounce(currentUnit);
        return true;
    }
    return AbstractLesson::eventFilter(watched, event);
}
