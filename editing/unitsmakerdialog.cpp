#include "unitsmakerdialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSet>
#include <QVBoxLayout>

#include "config/settings.h"
#include "editing/textsplitter.h"
#include "editing/translationprogressdialog.h"
#include "editing/translations.h"
#include "model/units.h"
#include "session/workspace.h"
#include "translation/translator.h"

UnitsMakerDialog::UnitsMakerDialog(Workspace* workspace, QWidget* parent)
    : QDialog(parent)
    , settings(&workspace->settings)
    , maker(&workspace->words.units, &workspace->words.learnedUnits)
    , languageTable(languages())
{
    translations = new Translations(workspace, this);
    dictionary = &workspace->words.units;

    stemBox = new QCheckBox(tr("Приводить к начальной форме"));
    excludeLearnedBox = new QCheckBox(tr("Исключать изученные"));
    lowerCaseBox = new QCheckBox(tr("Приводить к нижнему регистру"));
    translationBox = new QGroupBox(tr("Перевод"));
    translationBox->setCheckable(true);
    standardDirection = new QRadioButton;
    reverseDirection = new QRadioButton;
    textEdit = new QPlainTextEdit;
    buttonBox = new QDialogButtonBox;
    buttonBox->addButton(QDialogButtonBox::Save);
    buttonBox->addButton(QDialogButtonBox::Cancel);
    buttonBox->addButton(QDialogButtonBox::Help);
    progressDialog = new TranslationProgressDialog(this);

    connect(buttonBox, &QDialogButtonBox::accepted, this, &UnitsMakerDialog::produce);
    connect(buttonBox, &QDialogButtonBox::rejected, this, &UnitsMakerDialog::reject);
    connect(buttonBox, &QDialogButtonBox::helpRequested, this, &UnitsMakerDialog::showHelpDialog);
    connect(this, &QDialog::accepted, this, &UnitsMakerDialog::save);
    for (QRadioButton* radio : {standardDirection, reverseDirection})
        connect(radio, &QRadioButton::clicked, this, [this] { directionChosen = true; });
    // A foreign text gives foreign words with Russian translations; a
    // Russian one the other way round.
    connect(textEdit, &QPlainTextEdit::textChanged, this, [this] {
        if (directionChosen)
            return;
        const bool native = TextSplitter::isMostlyCyrillic(textEdit->toPlainText());
        (native ? reverseDirection : standardDirection)->setChecked(true);
    });
    connect(this, &QDialog::finished, this, &UnitsMakerDialog::writeSettings);

    auto* conversionBox = new QGroupBox(tr("Преобразование слов"));
    auto* conversionLayout = new QVBoxLayout(conversionBox);
    conversionLayout->addWidget(stemBox);
    conversionLayout->addWidget(lowerCaseBox);
    conversionLayout->addWidget(excludeLearnedBox);
    auto* translationLayout = new QVBoxLayout(translationBox);
    translationLayout->addWidget(new QLabel(tr("Направление перевода:")));
    translationLayout->addWidget(standardDirection);
    translationLayout->addWidget(reverseDirection);
    auto* layout = new QGridLayout(this);
    layout->addWidget(conversionBox, 0, 0);
    layout->addWidget(translationBox, 0, 1);
    layout->addWidget(textEdit, 1, 0, 1, 2);
    layout->addWidget(buttonBox, 2, 0, 1, 2);
    setWindowTitle(tr("Добавление слов из текста"));

    readSettings();
}

int UnitsMakerDialog::exec()
{
    const QString learning = languageName(languageTable, settings->learningLanguage);
    const QString native = languageName(languageTable, settings->interfaceLanguage);
    standardDirection->setText(learning + QStringLiteral(" -> ") + native);
    reverseDirection->setText(native + QStringLiteral(" -> ") + learning);
    setMinimumSize(sizeHint());
    maker.clear();
    translations->clear();
    directionChosen = false;
    textEdit->clear();
    textEdit->setFocus();
    return QDialog::exec();
}

void UnitsMakerDialog::readSettings()
{
    stemBox->setChecked(settings->umdStem);
    excludeLearnedBox->setChecked(settings->umdExcludeLearned);
    lowerCaseBox->setChecked(settings->umdToLower);
    translationBox->setChecked(settings->umdTranslate);
    standardDirection->setChecked(settings->umdStandardDirection);
    reverseDirection->setChecked(!settings->umdStandardDirection);
}

void UnitsMakerDialog::writeSettings()
{
    settings->umdStem = stemBox->isChecked();
    settings->umdExcludeLearned = excludeLearnedBox->isChecked();
    settings->umdToLower = lowerCaseBox->isChecked();
    settings->umdTranslate = translationBox->isChecked();
    settings->umdStandardDirection = standardDirection->isChecked();
}

void UnitsMakerDialog::produce()
{
    // A text in the user's own language is compared with the translations.
    const bool reverse = translationBox->isChecked() && reverseDirection->isChecked();
    const auto excludeKnownWords = [&] {
        maker.excludeKnown(reverse);
        if (excludeLearnedBox->isChecked())
            maker.excludeLearned(reverse);
    };
    maker.setLanguage(settings->learningLanguage);
    maker.setWords(TextSplitter::split(textEdit->toPlainText()));
    excludeKnownWords();
    if (stemBox->isChecked()) {
        maker.stem();
        // "books" may be new while "book" is not.
        excludeKnownWords();
    }
    // Nothing new: the dialog stays open with the text, for the user to change.
    if (maker.words().isEmpty()) {
        QMessageBox::information(this, tr("Информация"),
                                 tr("В тексте не нашлось новых слов: все они уже есть в словаре "
                                    "или в списке выученных слов."));
        return;
    }
    if (translationBox->isChecked()) {
        // An aborted batch still stores what has arrived; the rest of the
        // words come in without a translation.
        progressDialog->run(translations, maker.words(), reverseDirection->isChecked());
        reportTranslations();
    }
    accept();
}

void UnitsMakerDialog::save()
{
    const bool translate = translationBox->isChecked();
    // Without a translation there is nothing to exchange: the text's words
    // stay words, whichever direction the radio buttons show.
    const bool reverse = translate && reverseDirection->isChecked();
    const bool lower = lowerCaseBox->isChecked();
    const QStringList words = maker.words();
    const QSet<QString> sentenceStarts = TextSplitter::sentenceStarts(textEdit->toPlainText());
    QSet<QString> added;
    for (int i = 0; i < words.size(); ++i) {
        QString word = words.at(i);
        QString translation = translate ? translations->translation(i) : QString();
        if (reverse) {
            // A word the service could not translate has no foreign word to
            // learn; an entry without one would only be an empty card.
            if (translation.trimmed().isEmpty())
                continue;
            std::swap(word, translation);
            if (dictionary->find(word) >= 0 || added.contains(word.trimmed().toLower()))
                continue;
            added.insert(word.trimmed().toLower());
        }
        if (lower) {
            // "Smith" and "Paris" stay names; "The" and "Books" come in lower case.
            if (reverse || !maker.isName(word, sentenceStarts.contains(word)))
                word = word.toLower();
            translation = translation.toLower();
        }
        dictionary->add(word, translation);
    }
}

void UnitsMakerDialog::reportTranslations()
{
    const int total = int(maker.words().size());
    const int translated = translations->translatedCount();
    QString text = tr("Переведено слов: %1 из %2. Без перевода: %3.")
                       .arg(translated)
                       .arg(total)
                       .arg(total - translated);
    const QMap<QString, int> failures = translations->failures();
    if (translated < total && !failures.isEmpty()) {
        const auto commonest = std::max_element(failures.cbegin(), failures.cend());
        text += QLatin1Char('\n') + tr("Чаще всего: %1 (слов: %2).").arg(commonest.key()).arg(commonest.value());
    }
    // From Russian, a word without a translation has no foreign word to
    // learn and is left out; the other way it comes in to be translated later.
    if (translated < total && reverseDirection->isChecked())
        text += QLatin1Char('\n')
                + tr("Слова без перевода не добавлены: у них нет иностранного слова (не добавлено: %1).")
                      .arg(total - translated);
    else if (translated < total)
        text += QLatin1Char('\n')
                + tr("Слова без перевода добавляются с пустым переводом; в редакторе их выделяет "
                     "команда «Все слова без перевода».");
    // The reasons may quote an address the user typed: plain text, not mark-up.
    QMessageBox box(QMessageBox::Information, tr("Информация"), text, QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void UnitsMakerDialog::showHelpDialog()
{
    QMessageBox box(QMessageBox::Information, tr("Информация"),
                    tr("В окно ввода необходимо вписать добавляемые слова, разделяя их при этом "
                       "пробелом или любым другим знаком препинания. Также, можно вставить текст "
                       "из буфера обмена.<br>Опция \"<b>Перевод</b>\" переводит слова словарями, "
                       "установленными на компьютере, а затем онлайн-сервисами, если они заданы "
                       "в меню «Настройки» → «Перевод слов...». После перевода программа сообщит, "
                       "сколько слов переведено; слова без перевода добавляются с пустым переводом, "
                       "в редакторе их выделяет команда «Все слова без перевода». При переводе с "
                       "русского слова без перевода не добавляются: у них нет иностранного слова. "
                       "Направление перевода выбирается по языку текста, пока вы не выберете его сами."
                       "<br>Опция "
                       "\"<b>Приводить к начальной форме</b>\" преобразует слова в начальные "
                       "формы, например: books = book, helped = help."),
                    QMessageBox::Ok, this);
    box.setTextFormat(Qt::RichText);
    box.exec();
}
