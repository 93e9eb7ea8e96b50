#include "unitdialog.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/settings.h"
#include "editing/keyboardlayout.h"
#include "model/units.h"
#include "session/workspace.h"
#include "translation/translator.h"

namespace {

constexpr int maxTextLength = 150;

} // namespace

UnitDialog::UnitDialog(Workspace* workspace, QWidget* parent)
    : QDialog(parent)
    , settings(&workspace->settings)
    , dictionary(&workspace->words.units)
    , translator(new Translator(&workspace->settings, &workspace->translatorSettings, &workspace->dictionaries, this))
    , wordEdit(new QLineEdit(this))
    , translationEdit(new QLineEdit(this))
    , translateButton(new QPushButton(tr("Перевести"), this))
    , buttonBox(new QDialogButtonBox(this))
    , statusLabel(new QLabel(this))
    , articleButton(new QPushButton(tr("Статья"), this))
    , articleView(new QPlainTextEdit(this))
    , takeButton(new QPushButton(tr("Взять выделенное"), this))
{
    wordEdit->setMaxLength(maxTextLength);
    translationEdit->setMaxLength(maxTextLength);
    translateButton->setShortcut(QKeySequence(QStringLiteral("Ctrl+T")));
    buttonBox->addButton(QDialogButtonBox::Save);
    buttonBox->addButton(QDialogButtonBox::Cancel);
    wordEdit->installEventFilter(this);
    translationEdit->installEventFilter(this);
    // Reasons come from the translator and the network: shown as text, never as mark-up.
    statusLabel->setTextFormat(Qt::PlainText);
    statusLabel->setWordWrap(true);
    statusLabel->hide();
    articleButton->setCheckable(true);
    articleButton->setToolTip(tr("Словарная статья целиком: можно выбрать другое значение"));
    articleView->setReadOnly(true);
    articleView->hide();
    takeButton->setToolTip(tr("Поставить выделенный в статье текст в поле перевода"));
    takeButton->setEnabled(false);
    takeButton->hide();

    connect(translateButton, &QPushButton::clicked, this, &UnitDialog::translate);
    connect(buttonBox, &QDialogButtonBox::accepted, this, &UnitDialog::saveUnit);
    connect(buttonBox, &QDialogButtonBox::rejected, this, &UnitDialog::reject);
    connect(translator, &Translator::details, this, &UnitDialog::setDetails);
    connect(translator, &Translator::translated, this, &UnitDialog::setTranslation);
    connect(articleButton, &QPushButton::toggled, this, &UnitDialog::showArticle);
    connect(takeButton, &QPushButton::clicked, this, &UnitDialog::takeSelection);
    connect(articleView, &QPlainTextEdit::copyAvailable, takeButton, &QPushButton::setEnabled);

    auto* form = new QFormLayout;
    form->addRow(tr("Слово:"), wordEdit);
    form->addRow(tr("Перевод:"), translationEdit);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(articleButton);
    buttons->addWidget(takeButton);
    buttons->addStretch();
    buttons->addWidget(translateButton);
    buttons->addWidget(buttonBox);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(statusLabel);
    layout->addWidget(articleView, 1);
    layout->addLayout(buttons);
}

Unit UnitDialog::lastUnit() const
{
    return Unit{lastWord, lastTranslation};
}

int UnitDialog::exec(int key)
{
    editedKey = key;
    return run(1, dictionary->word(key), dictionary->translation(key));
}

int UnitDialog::exec(const QString& word, const QString& translation)
{
    return run(0, word, translation);
}

int UnitDialog::exec(const QString& word)
{
    return run(0, word, QString());
}

int UnitDialog::exec()
{
    return run(0, QString(), QString());
}

int UnitDialog::run(int mode, const QString& word, const QString& translation)
{
    statusLabel->clear();
    statusLabel->hide();
    articleView->clear();
    articleButton->setChecked(false);
    articleButton->setEnabled(false);
    fitHeight();
    setMinimumWidth(sizeHint().width() + 50);
    setWindowTitle(mode == 0 ? tr("Добавление") : tr("Редактирование"));
    this->mode = mode;
    translateButton->setEnabled(true);
    waitingForTranslation = false;
    wordEdit->setText(word);
    translationEdit->setText(translation);
    if (wordEdit->text().isEmpty())
        wordEdit->setFocus();
    else if (translationEdit->text().isEmpty())
        translationEdit->setFocus();
    return QDialog::exec();
}

void UnitDialog::translate()
{
    // One request at a time: the button (and its shortcut) stays off until
    // the answer, or its failure, has come.
    translateButton->setEnabled(false);
    statusLabel->setText(tr("Перевод..."));
    statusLabel->show();
    waitingForTranslation = true;
    requestedKey = translator->translate(wordEdit->text());
}

void UnitDialog::setDetails(int key, const QString& article, const QString& failure, const QString& note)
{
    if (!waitingForTranslation || key != requestedKey)
        return;
    articleView->setPlainText(article);
    articleButton->setEnabled(!article.isEmpty());
    if (article.isEmpty())
        articleButton->setChecked(false);
    if (failure.isEmpty() && !note.isEmpty()) {
        // A translation through another language is a guess worth checking.
        statusLabel->setText(tr("Перевод %1").arg(note));
        statusLabel->show();
    } else if (failure.isEmpty()) {
        statusLabel->clear();
        statusLabel->hide();
    } else {
        statusLabel->setText(tr("Перевод не найден: %1").arg(failure));
        statusLabel->show();
    }
    fitHeight();
}

void UnitDialog::setTranslation(int key, const QString& translation)
{
    if (!waitingForTranslation || key != requestedKey)
        return;
    waitingForTranslation = false;
    translateButton->setEnabled(true);
    // No answer is no reason to wipe what the user may already have typed.
    if (!translation.isEmpty())
        translationEdit->setText(translation);
}

void UnitDialog::showArticle(bool shown)
{
    articleView->setVisible(shown);
    takeButton->setVisible(shown);
    // The button row grows by the take button: the dialog grows with it
    // instead of cutting the buttons short.
    setMinimumWidth(qMax(minimumWidth(), layout()->totalMinimumSize().width()));
    if (width() < minimumWidth())
        resize(minimumWidth(), height());
    fitHeight();
}

void UnitDialog::takeSelection()
{
    const QString selected = articleView->textCursor().selectedText().simplified();
    if (!selected.isEmpty())
        translationEdit->setText(selected.left(translationEdit->maxLength()));
}

void UnitDialog::fitHeight()
{
    // The plain dialog keeps one height; with the article open it may grow.
    if (!articleView->isHidden()) {
        setMinimumHeight(0);
        setMaximumHeight(QWIDGETSIZE_MAX);
        resize(width(), qMax(height(), sizeHint().height() + 160));
    } else {
        setFixedHeight(sizeHint().height());
    }
}

void UnitDialog::saveUnit()
{
    if (wordEdit->text().isEmpty()) {
        wordEdit->setFocus();
        return;
    }
    if (mode == 1) {
        dictionary->edit(editedKey, wordEdit->text().trimmed(), translationEdit->text().trimmed());
    } else {
        bool add = true;
        if (dictionary->find(wordEdit->text()) >= 0) {
            add = QMessageBox::question(
                      this, tr("Вопрос"),
                      tr("Данное слово уже находится в словаре, вы действительно хотите добавить его?"),
                      QMessageBox::Yes | QMessageBox::No, QMessageBox::NoButton)
                  == QMessageBox::Yes;
        }
        if (add)
            dictionary->add(wordEdit->text().trimmed(), translationEdit->text().trimmed());
    }
    lastWord = wordEdit->text();
    lastTranslation = translationEdit->text();
    wordEdit->clear();
    translationEdit->clear();
    accept();
}

void UnitDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (wordEdit->hasFocus())
            translationEdit->setFocus();
        else if (translationEdit->hasFocus())
            saveUnit();
        event->accept();
        return;
    }
    // Escape and the other keys are left alone: a slip of the finger must
    // not throw away a half-typed entry. Cancel and the close button remain.
    event->ignore();
}

bool UnitDialog::eventFilter(QObject* watched, QEvent* event)
{
    // Each field remembers the layout the user last typed it in.
    if (event->type() == QEvent::FocusIn) {
        if (watched == wordEdit)
            KeyboardLayout::activate(settings->udPrimaryLanguage);
        else if (watched == translationEdit)
            KeyboardLayout::activate(settings->udSecondaryLanguage);
    } else if (event->type() == QEvent::FocusOut) {
        if (watched == wordEdit) {
            settings->udPrimaryLanguage = KeyboardLayout::current(settings->udPrimaryLanguage);
        } else if (watched == translationEdit) {
            settings->udSecondaryLanguage = KeyboardLayout::current(settings->udSecondaryLanguage);
            KeyboardLayout::activate(settings->udPrimaryLanguage);
        }
    }
    return QDialog::eventFilter(watched, event);
}
