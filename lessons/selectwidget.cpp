#include "lessons/selectwidget.h"

#include <QAbstractTextDocumentLayout>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QResizeEvent>
#include <QPixmap>
#include <QPushButton>
#include <QTextDocument>
#include <QVBoxLayout>

#include <cmath>

#include "config/settings.h"
#include "lessons/cardstyles.h"
#include "lessons/buttongroup.h"
#include "model/questions.h"
#include "model/statuses.h"
#include "model/units.h"
#include "model/variants.h"
#include "speech/speaker.h"

SelectWidget::SelectWidget(Workspace* workspace, QWidget* parent)
    : AbstractLesson(workspace, parent)
{
    createWidgets();
    createConnections();
    createLayout();
    setupFonts();
}

QString SelectWidget::title() const
{
    return tr("Выбор");
}

QPushButton* SelectWidget::answerButton(int index) const
{
    return buttons.value(index);
}

void SelectWidget::setupFonts()
{
    QFont bold = settings->lessonFont;
    bold.setWeight(QFont::Bold);
    questionLabel->setFont(bold);
    for (QPushButton* button : std::as_const(buttons))
        button->setFont(settings->interfaceFont);
}

void SelectWidget::createWidgets()
{
    questionLabel = contentLabel();
    questionLabel->setTextFormat(Qt::RichText);
    questionLabel->setWordWrap(true);
    questionLabel->setAlignment(Qt::AlignCenter);
    group = new ButtonGroup(this);
    for (int i = 0; i < AnswerCount; ++i) {
        auto* button = new QPushButton;
        button->setCheckable(true);
        button->setAutoDefault(true);
        button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        button->setStyleSheet(answerButtonStyleSheet());
        // Arrow keys walk the answers as they walk from the question.
        button->installEventFilter(this);
        group->addButton(button);
        buttons.append(button);
    }
}

void SelectWidget::createConnections()
{
    connect(group, &ButtonGroup::buttonClicked, this, &SelectWidget::checkAnswer);
    connect(speaker, &Speaker::finished, this, &AbstractLesson::finished);
}

void SelectWidget::createLayout()
{
    card = new QGroupBox;
    card->setStyleSheet(choiceCardStyleSheet());
    card->installEventFilter(this);
    auto* cardLayout = new QVBoxLayout(card);
    cardLayout->addWidget(questionLabel, 0);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(card, 0);
    for (QPushButton* button : std::as_const(buttons))
        layout->addWidget(button, 0);
}

void SelectWidget::start()
{
    // A new exercise: the end of an earlier one that is still pending must not finish this one.
    abandon();
    questionLabel->setFocus(Qt::OtherFocusReason);
    currentUnit = questions->current();
    variantsShown = variants->variants(AnswerCount);

    const int checked = group->checkedIndex();
    if (checked != -1)
        buttons.at(checked)->setChecked(false);
    for (int i = 0; i < AnswerCount; ++i) {
        QPushButton* button = buttons.at(i);
        button->setFocusPolicy(Qt::TabFocus);
        button->setText(QString());
        button->setIcon(QIcon(QPixmap(0, 0)));
        button->setStyleSheet(answerButtonStyleSheet());
        button->setEnabled(true);
        // A short variant pool (words removed during the run) offers fewer answers.
        button->setVisible(i < variantsShown.size());
    }

    const bool askingWord = wordMode;
    wordMode = !wordMode;
    if (askingWord)
        askWord();
    else
        askTranslation();
}

void SelectWidget::askWord()
{
    questionLabel->setText(wordWithTranscription(currentUnit));
    fitAnswers();
    speaker->pronounce(currentUnit);
}

void SelectWidget::askTranslation()
{
    questionLabel->setText(escapedTranslation(currentUnit));
    fitAnswers();
}

namespace {

// A push button shows no more than one line of its own accord; long answers
// are broken between words so that they fit the button's width.
QString wrapped(const QString& text, const QFontMetrics& metrics, int width)
{
    if (width <= 0 || metrics.horizontalAdvance(text) <= width)
        return text;
    QStringList lines;
    QString line;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString longer = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (!line.isEmpty() && metrics.horizontalAdvance(longer) > width) {
            lines.append(line);
            line = word;
        } else {
            line = longer;
        }
    }
    lines.append(line);
    return lines.join(QLatin1Char('\n'));
}

} // namespace

void SelectWidget::fitAnswers()
{
    // The word mode flag has already moved on to the next exercise.
    const bool translationsShown = !wordMode;
    for (int i = 0; i < variantsShown.size() && i < buttons.size(); ++i) {
        QPushButton* button = buttons.at(i);
        const int width = button->width() - 2 * button->fontMetrics().averageCharWidth() - 8;
        if (translationsShown) {
            // Plain text on a push button: '&' would otherwise become a mnemonic.
            QString text = units->translation(variantsShown.at(i));
            text.replace(QLatin1Char('&'), QStringLiteral("&&"));
            button->setText(wrapped(text, button->fontMetrics(), button->isVisible() ? width : 0));
            button->setAccessibleName(units->translation(variantsShown.at(i)));
        } else {
            // The word is drawn as a picture; screen readers still need its text.
            button->setAccessibleName(units->word(variantsShown.at(i)));
            const QIcon icon = renderedWord(variantsShown.at(i), button->isVisible() ? width : 0);
            button->setIcon(icon);
            const QList<QSize> sizes = icon.availableSizes();
            button->setIconSize(sizes.isEmpty() ? QSize() : sizes.first());
        }
        button->setMinimumHeight(qMax(LessonButtonHeight, button->sizeHint().height()));
    }
}

void SelectWidget::resizeEvent(QResizeEvent* event)
{
    AbstractLesson::resizeEvent(event);
    if (units->contains(currentUnit))
        fitAnswers();
}

QIcon SelectWidget::renderedWord(int key, int width) const
{
    QTextDocument document;
    document.setDefaultFont(settings->lessonFont);
    document.setHtml(wordWithTranscription(key));
    // Wrapped to the button, so a long word never hides its transcription.
    if (width > 0 && document.idealWidth() > width)
        document.setTextWidth(width);
    const QSizeF size = document.size();
    QPixmap pixmap(qMax(1, int(std::ceil(size.width()))), qMax(1, int(std::ceil(size.height()))));
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    document.drawContents(&painter);
    painter.end();
    // The same image for the disabled state keeps the words fully coloured
    // once the right answer has been picked.
    QIcon icon;
    icon.addPixmap(pixmap, QIcon::Normal, QIcon::Off);
    icon.addPixmap(pixmap, QIcon::Disabled, QIcon::Off);
    return icon;
}

void SelectWidget::checkAnswer(int index)
{
    QPushButton* button = buttons.value(index);
    if (!button || index >= variantsShown.size() || !units->contains(currentUnit))
        return;
    if (button->styleSheet() == wrongAnswerStyleSheet())
        return;
    if (variantsShown.at(index) == currentUnit) {
        statuses->increment(currentUnit);
        for (QPushButton* each : std::as_const(buttons))
            each->setEnabled(false);
        speaker->pronounceAndFinish(currentUnit);
    } else {
        statuses->decrement(currentUnit);
        button->setStyleSheet(wrongAnswerStyleSheet());
        button->setFocusPolicy(Qt::NoFocus);
        // Keyboard users go on from the next answer still open.
        if (button->window()->focusWidget() == button)
            moveFocus(index, 1);
    }
}

void SelectWidget::moveFocus(int from, int step)
{
    // The question, then the answers that can still be picked, top to bottom.
    for (int i = from + step; i >= 0 && i < AnswerCount; i += step) {
        QPushButton* button = buttons.at(i);
        if (button->isVisible() && button->isEnabled() && button->focusPolicy() != Qt::NoFocus) {
            button->setFocus(Qt::TabFocusReason);
            return;
        }
    }
    if (step < 0)
        questionLabel->setFocus(Qt::BacktabFocusReason);
}

bool SelectWidget::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == card && event->type() == QEvent::MouseButtonPress) {
        if (!wordMode) {
            speaker->pronounce(currentUnit);
            return true;
        }
        return false;
    }
    if (event->type() == QEvent::KeyPress
        && (watched == card || buttons.contains(qobject_cast<QPushButton*>(watched)))) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const int from = watched == card ? -1 : int(buttons.indexOf(static_cast<QPushButton*>(watched)));
        if (key == Qt::Key_Down) {
            moveFocus(from, 1);
            return true;
        }
        if (key == Qt::Key_Up) {
            moveFocus(from, -1);
            return true;
        }
        // Digits pick the answer in that row, as in the peers' multiple choice,
        // so a keyboard user need not walk the list.
        if (key >= Qt::Key_1 && key < Qt::Key_1 + AnswerCount) {
            const int index = key - Qt::Key_1;
            if (buttons.at(index)->isVisible() && buttons.at(index)->isEnabled())
                checkAnswer(index);
            return true;
        }
    }
    return AbstractLesson::eventFilter(watched, event);
}
