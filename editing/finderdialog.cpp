#include "finderdialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "editing/unitdialog.h"
#include "model/statuses.h"
#include "model/units.h"
#include "session/workspace.h"
#include "speech/speaker.h"
#include "speech/transcriptions.h"

FinderDialog::FinderDialog(Workspace* workspace, QWidget* parent)
    : QDialog(parent)
    , dictionary(&workspace->words.units)
    , statuses(&workspace->words.statuses)
    , transcriptions(&workspace->transcriptions)
    , speaker(new Speaker(dictionary, &workspace->settings, this))
{
    unitDialog = new UnitDialog(workspace, this);
    connect(unitDialog, &QDialog::accepted, this, &FinderDialog::changesAccepted);
    auto readOnlyField = [] {
        auto* field = new QLineEdit;
        field->setReadOnly(true);
        return field;
    };
    wordField = readOnlyField();
    translationField = readOnlyField();
    transcriptionField = readOnlyField();
    statusField = readOnlyField();
    addButton = new QPushButton(tr("Добавить"));
    learnButton = new QPushButton(tr("Изучать"));
    learnAgainButton = new QPushButton(tr("Изучать заново"));
    okButton = new QPushButton(tr("OK"));
    okButton->setDefault(true);
    pronounceButton = new QPushButton(tr("Произнести"));

    connect(addButton, &QPushButton::clicked, this, &FinderDialog::add);
    connect(learnButton, &QPushButton::clicked, this, &FinderDialog::learn);
    connect(learnAgainButton, &QPushButton::clicked, this, &FinderDialog::learn);
    connect(okButton, &QPushButton::clicked, this, &FinderDialog::accept);
    connect(pronounceButton, &QPushButton::clicked, this, &FinderDialog::speak);

    auto* statusRow = new QHBoxLayout;
    statusRow->addWidget(statusField);
    statusRow->addWidget(addButton);
    statusRow->addWidget(learnButton);
    statusRow->addWidget(learnAgainButton);
    auto* form = new QFormLayout;
    form->addRow(tr("Слово:"), wordField);
    form->addRow(tr("Перевод:"), translationField);
    form->addRow(tr("Транскрипция:"), transcriptionField);
    form->addRow(tr("Статус:"), statusRow);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(pronounceButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    setWindowTitle(tr("Информация"));
}

int FinderDialog::exec(const QString& text)
{
    setFixedHeight(sizeHint().height());
    setMinimumWidth(340);
    word = text;
    setTexts();
    return QDialog::exec();
}

void FinderDialog::setTexts()
{
    key = dictionary->find(word);
    // Russian text finds the entry whose translation holds it.
    if (key < 0)
        key = dictionary->findByTranslation(word);
    if (key < 0) {
        learnButton->hide();
        learnAgainButton->hide();
        addButton->show();
        addButton->setFocus();
        wordField->setText(word);
        translationField->setText(QStringLiteral("-"));
    } else {
        // Shown as the dictionary stores it, letter case included.
        word = dictionary->word(key);
        learnButton->setVisible(statuses->isUnlearned(key));
        learnAgainButton->setVisible(statuses->isLearned(key));
        addButton->hide();
        // Return must only close the box: the focus left on "Изучать заново"
        // by an earlier opening would put a learned word back into learning.
        okButton->setDefault(true);
        okButton->setFocus();
        wordField->setText(word);
        translationField->setText(dictionary->translation(key));
    }

    if (key < 0)
        statusField->setText(tr("Не в словаре"));
    else if (statuses->isUnlearned(key))
        statusField->setText(tr("Не изучено"));
    else if (statuses->isLearned(key))
        statusField->setText(tr("Изучено"));
    else
        statusField->setText(tr("Изучается"));

    const QString transcription = transcriptions->lookup(word);
    transcriptionField->setText(transcription.isEmpty() ? QStringLiteral("-") : transcription);
}

void FinderDialog::add()
{
    if (unitDialog->exec(wordField->text(), QString()) != 1)
        return;
    word = unitDialog->lastUnit().word;
    setTexts();
}

void FinderDialog::learn()
{
    if (!dictionary->contains(key))
        return;
    statuses->setStatus(key, Statuses::Initial);
    accept();
}

void FinderDialog::speak()
{
    speaker->pronounce(key);
}
