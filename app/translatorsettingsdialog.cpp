#include "app/translatorsettingsdialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "config/settings.h"
#include "translation/offlinedictionaries.h"
#include "translation/onlineengine.h"
#include "translation/translator.h"
#include "session/workspace.h"
#include "translation/translatorsettings.h"

TranslatorSettingsDialog::TranslatorSettingsDialog(Workspace* workspace, QWidget* parent)
    : QDialog(parent)
    , workspace(workspace)
    , engineList(new QListWidget(this))
    , folderEdit(new QLineEdit(this))
    , dictionariesLabel(new QLabel(this))
    , libreUrlEdit(new QLineEdit(this))
    , libreKeyEdit(new QLineEdit(this))
    , v2UrlEdit(new QLineEdit(this))
    , v2IdEdit(new QLineEdit(this))
    , timeoutBox(new QSpinBox(this))
{
    setWindowTitle(tr("Перевод слов"));
    auto* upButton = new QPushButton(tr("Выше"), this);
    auto* downButton = new QPushButton(tr("Ниже"), this);
    auto* folderButton = new QPushButton(tr("Обзор..."), this);
    auto* buttonBox = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    // File names and addresses are shown as they are, never as mark-up.
    dictionariesLabel->setTextFormat(Qt::PlainText);
    dictionariesLabel->setWordWrap(true);
    libreUrlEdit->setPlaceholderText(QStringLiteral("http://localhost:5000"));
    v2UrlEdit->setPlaceholderText(QStringLiteral("http://127.0.0.1:8090"));
    libreKeyEdit->setPlaceholderText(tr("не нужен для своего сервера"));
    timeoutBox->setRange(1, 120);
    timeoutBox->setSuffix(tr(" с"));

    connect(upButton, &QPushButton::clicked, this, &TranslatorSettingsDialog::moveUp);
    connect(downButton, &QPushButton::clicked, this, &TranslatorSettingsDialog::moveDown);
    connect(folderButton, &QPushButton::clicked, this, &TranslatorSettingsDialog::chooseFolder);
    connect(folderEdit, &QLineEdit::editingFinished, this, &TranslatorSettingsDialog::showDictionaries);
    connect(buttonBox, &QDialogButtonBox::accepted, this, &TranslatorSettingsDialog::save);
    connect(buttonBox, &QDialogButtonBox::rejected, this, &TranslatorSettingsDialog::reject);

    auto* orderBox = new QGroupBox(tr("Способы перевода, по порядку"), this);
    auto* orderButtons = new QVBoxLayout;
    orderButtons->addWidget(upButton);
    orderButtons->addWidget(downButton);
    orderButtons->addStretch();
    auto* orderLayout = new QHBoxLayout(orderBox);
    orderLayout->addWidget(engineList);
    orderLayout->addLayout(orderButtons);

    auto* dictionariesBox = new QGroupBox(tr("Словари на компьютере (формат dictd)"), this);
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(folderEdit);
    folderRow->addWidget(folderButton);
    auto* dictionariesLayout = new QFormLayout(dictionariesBox);
    dictionariesLayout->addRow(tr("Своя папка:"), folderRow);
    dictionariesLayout->addRow(dictionariesLabel);

    auto* onlineBox = new QGroupBox(tr("Онлайн-сервисы"), this);
    auto* onlineLayout = new QFormLayout(onlineBox);
    onlineLayout->addRow(tr("Адрес LibreTranslate:"), libreUrlEdit);
    onlineLayout->addRow(tr("Ключ LibreTranslate:"), libreKeyEdit);
    onlineLayout->addRow(tr("Адрес сервиса V2:"), v2UrlEdit);
    onlineLayout->addRow(tr("AppId сервиса V2:"), v2IdEdit);
    onlineLayout->addRow(tr("Ждать ответа не дольше:"), timeoutBox);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(orderBox);
    layout->addWidget(dictionariesBox);
    layout->addWidget(onlineBox);
    layout->addWidget(buttonBox);
}

int TranslatorSettingsDialog::exec()
{
    load(workspace->translatorSettings);
    return QDialog::exec();
}

void TranslatorSettingsDialog::load(const TranslatorSettings& settings)
{
    engineList->clear();
    QStringList order = settings.engines;
    for (const QString& engine : TranslatorSettings::allEngines()) {
        if (!order.contains(engine))
            order.append(engine);
    }
    for (const QString& engine : std::as_const(order)) {
        auto* item = new QListWidgetItem(TranslatorSettings::engineTitle(engine), engineList);
        item->setData(Qt::UserRole, engine);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(settings.engines.contains(engine) ? Qt::Checked : Qt::Unchecked);
    }
    engineList->setCurrentRow(0);
    folderEdit->setText(settings.dictionaryFolder);
    libreUrlEdit->setText(settings.libreUrl);
    libreKeyEdit->setText(settings.libreApiKey);
    v2UrlEdit->setText(settings.v2Url);
    v2IdEdit->setText(settings.v2ApplicationId);
    timeoutBox->setValue(qBound(1, (settings.timeout + 999) / 1000, 120));
    showDictionaries();
}

void TranslatorSettingsDialog::moveCurrent(int step)
{
    const int row = engineList->currentRow();
    const int target = row + step;
    if (row < 0 || target < 0 || target >= engineList->count())
        return;
    QListWidgetItem* item = engineList->takeItem(row);
    engineList->insertItem(target, item);
    engineList->setCurrentRow(target);
}

void TranslatorSettingsDialog::moveUp()
{
    moveCurrent(-1);
}

void TranslatorSettingsDialog::moveDown()
{
    moveCurrent(1);
}

void TranslatorSettingsDialog::chooseFolder()
{
    const QString folder = QFileDialog::getExistingDirectory(this, tr("Папка со словарями"),
                                                             folderEdit->text());
    if (folder.isEmpty())
        return;
    folderEdit->setText(folder);
    showDictionaries();
}

void TranslatorSettingsDialog::showDictionaries()
{
    TranslatorSettings settings = workspace->translatorSettings;
    settings.dictionaryFolder = folderEdit->text().trimmed();
    // Files copied in while the program runs are found from now on.
    workspace->dictionaries.reload();
    const auto table = languages();
    const QString& from = workspace->settings.learningLanguage;
    const QString& to = workspace->settings.interfaceLanguage;
    const QString pair = languageName(table, from) + QStringLiteral(" → ") + languageName(table, to);
    const QStringList names = workspace->dictionaries.dictionaryNames(from, to, settings.folders());
    if (names.isEmpty()) {
        dictionariesLabel->setText(
            tr("Для пары %1 словарей не найдено. Установите пакеты mueller7-dict или "
               "dict-freedict-… (tools/deps.sh) либо положите файлы .index и .dict.dz в папку %2.")
                .arg(pair, TranslatorSettings::userFolder()));
    } else {
        dictionariesLabel->setText(tr("Для пары %1: %2.").arg(pair, names.join(QStringLiteral(", "))));
    }
}

void TranslatorSettingsDialog::save()
{
    TranslatorSettings settings = workspace->translatorSettings;
    settings.engines.clear();
    for (int i = 0; i < engineList->count(); ++i) {
        if (engineList->item(i)->checkState() == Qt::Checked)
            settings.engines.append(engineList->item(i)->data(Qt::UserRole).toString());
    }
    settings.dictionaryFolder = folderEdit->text().trimmed();
    settings.libreUrl = libreUrlEdit->text().trimmed();
    settings.libreApiKey = libreKeyEdit->text().trimmed();
    settings.v2Url = v2UrlEdit->text().trimmed();
    settings.v2ApplicationId = v2IdEdit->text().trimmed();
    settings.timeout = timeoutBox->value() * 1000;

    for (QLineEdit* address : {libreUrlEdit, v2UrlEdit}) {
        QString error;
        if (!address->text().trimmed().isEmpty() && !OnlineEngine::serviceUrl(address->text(), &error).isValid()) {
            QMessageBox box(QMessageBox::Critical, tr("Ошибка"), error, QMessageBox::Ok, this);
            box.setTextFormat(Qt::PlainText);
            box.exec();
            address->setFocus();
            return;
        }
    }
    workspace->translatorSettings = settings;
    workspace->dictionaries.reload();
    if (!TranslatorSettings::store(settings)) {
        QMessageBox::critical(this, tr("Ошибка"),
                              tr("Не удалось сохранить настройки перевода; они действуют до выхода из программы."));
    }
    accept();
}
