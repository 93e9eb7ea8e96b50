#include "app/languagedialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "config/settings.h"
#include "languages/learninglanguage.h"
#include "model/units.h"
#include "session/workspace.h"
#include "speech/transcriptions.h"
#include "translation/translator.h"

LanguageDialog::LanguageDialog(Workspace* workspace, QWidget* parent)
    : QDialog(parent)
    , settings(&workspace->settings)
    , table(languages())
    , units(&workspace->words.units)
    , transcriptions(&workspace->transcriptions)
{
    setWindowTitle(tr("Язык"));
    createWidgets();
    createConnections();
    createLayout();
}

void LanguageDialog::createWidgets()
{
    learningList = new QComboBox;
    for (const QString& code : languageCodes(table))
        learningList->addItem(languageName(table, code), code);
    learningList->setCurrentIndex(learningList->findData(settings->learningLanguage, Qt::UserRole, Qt::MatchExactly | Qt::MatchCaseSensitive));

    interfaceList = new QComboBox;
    interfaceList->addItem(QStringLiteral("Русский"), QStringLiteral("ru"));
    interfaceList->addItem(QStringLiteral("English"), QStringLiteral("en"));
    interfaceList->setCurrentIndex(interfaceList->findData(settings->interfaceLanguage, Qt::UserRole, Qt::MatchExactly | Qt::MatchCaseSensitive));

    buttonBox = new QDialogButtonBox(QDialogButtonBox::Save);
}

void LanguageDialog::createConnections()
{
    connect(buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(learningList, &QComboBox::currentIndexChanged, this, &LanguageDialog::changeLanguage);
    connect(interfaceList, &QComboBox::currentIndexChanged, this, &LanguageDialog::changeLanguage);
}

void LanguageDialog::createLayout()
{
    auto* form = new QFormLayout;
    form->addRow(tr("Изучаемый язык: "), learningList);
    form->addRow(tr("Язык интерфейса: "), interfaceList);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttonBox);
}

int LanguageDialog::exec()
{
    // The open dictionary's language, which may have changed since the last time.
    {
        const QSignalBlocker blocker(learningList);
        learningList->setCurrentIndex(learningList->findData(settings->learningLanguage, Qt::UserRole, Qt::MatchExactly | Qt::MatchCaseSensitive));
    }
    setFixedSize(sizeHint());
    return QDialog::exec();
}

void LanguageDialog::changeLanguage()
{
    settings->learningLanguage = learningList->currentData().toString();
    settings->interfaceLanguage = interfaceList->currentData().toString();
    settings->transcriptionFileName = LearningLanguage::transcriptionFileFor(settings->learningLanguage);
    transcriptions->load();
}
