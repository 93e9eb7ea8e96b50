#include "lessons/modeldialog.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/settings.h"

namespace {

constexpr int KindRole = 100;

} // namespace

ModelDialog::ModelDialog(Settings* settings, QWidget* parent)
    : QDialog(parent)
    , settings(settings)
{
    kindNames = {tr("Выбор слов"), tr("Запоминание"), tr("Выбор"), tr("Карточка"), tr("Написание")};
    lengthAtOpen = 0;
    setWindowTitle(tr("Модель обучения"));
    createWidgets();
    createConnections();
    createLayout();
}

QList<QPair<QString, QList<QVariant>>> ModelDialog::builtInModels()
{
    return {
        {tr("Стандартная модель"), {1, 2, 2, 3, 2, 4, 3, 4}},
        {tr("Модель усиленного обучения"), {1, 2, 2, 3, 2, 1, 2, 4, 4, 3, 4}},
        {tr("Мультиязыковая модель"), {1, 2, 2, 3, 2, 1, 2, 3, 2}},
        {tr("Тренажёр"), {2, 2, 2, 2, 2, 2}},
        {tr("Запоминание"), {1, 1, 1, 1, 1, 1}},
        {tr("Карточки"), {3, 3, 3, 3, 3, 3}},
        {tr("Выбор и написание"), {2, 4, 2, 4, 2, 4}},
        {tr("Написание"), {4, 4, 4, 4, 4, 4}},
    };
}

void ModelDialog::createWidgets()
{
    modelBox = new QComboBox;
    for (const auto& model : builtInModels())
        modelBox->addItem(model.first, QVariant(model.second));
    // The user model's item carries no list: an empty list marks it.
    modelBox->addItem(tr("Пользовательская модель"), QVariant());
    kindBox = new QComboBox;
    exerciseList = new QListWidget;
    addButton = new QPushButton(tr("Добавить"));
    removeButton = new QPushButton(tr("Удалить"));
    upButton = new QPushButton(tr("Вверх"));
    downButton = new QPushButton(tr("Вниз"));
    clearButton = new QPushButton(tr("Очистить"));
    closeButton = new QPushButton(tr("Закрыть"));
}

void ModelDialog::createConnections()
{
    connect(modelBox, &QComboBox::currentIndexChanged, this, &ModelDialog::loadModel);
    connect(addButton, &QPushButton::clicked, this, &ModelDialog::add);
    connect(removeButton, &QPushButton::clicked, this, &ModelDialog::remove);
    connect(upButton, &QPushButton::clicked, this, &ModelDialog::moveUp);
    connect(downButton, &QPushButton::clicked, this, &ModelDialog::moveDown);
    connect(clearButton, &QPushButton::clicked, this, &ModelDialog::clear);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
}

void ModelDialog::createLayout()
{
    auto* kindRow = new QHBoxLayout;
    kindRow->addWidget(kindBox, 1);
    kindRow->addWidget(addButton);

    auto* buttonColumn = new QVBoxLayout;
    for (QPushButton* button : {removeButton, upButton, downButton, clearButton, closeButton})
        buttonColumn->addWidget(button);
    buttonColumn->addStretch();

    auto* listRow = new QHBoxLayout;
    listRow->addWidget(exerciseList);
    listRow->addLayout(buttonColumn);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(modelBox);
    layout->addLayout(kindRow);
    layout->addLayout(listRow);
}

int ModelDialog::exec()
{
    setFixedSize(sizeHint());
    lengthAtOpen = int(settings->learningModel.size());
    {
        // Selecting the stored position must not fire loadModel() twice.
        const QSignalBlocker blocker(modelBox);
        modelBox->setCurrentIndex(qBound(0, settings->mdModelIndex, modelBox->count() - 1));
    }
    kindBox->clear();
    for (int kind = 1; kind <= 4; ++kind)
        kindBox->addItem(kindNames.at(kind), kind);
    loadModel();
    return QDialog::exec();
}

void ModelDialog::done(int)
{
    if (exerciseList->count() == 0) {
        QMessageBox::critical(this, tr("Ошибка"), tr("Вы не добавили ни одного упражнения!"));
        return;
    }
    QDialog::done(lengthAtOpen > settings->learningModel.size() ? 1 : 0);
}

void ModelDialog::loadModel()
{
    settings->learningModel.clear();
    const QList<QVariant> steps = modelBox->currentData().toList();
    for (const QVariant& step : steps)
        settings->learningModel.append(step.toInt());
    settings->mdModelIndex = modelBox->currentIndex();
    const bool userModel = steps.isEmpty();
    for (QWidget* widget : {static_cast<QWidget*>(kindBox), static_cast<QWidget*>(addButton),
                            static_cast<QWidget*>(removeButton), static_cast<QWidget*>(upButton),
                            static_cast<QWidget*>(downButton), static_cast<QWidget*>(clearButton)})
        widget->setEnabled(userModel);
    if (userModel)
        settings->learningModel = validSteps(settings->mdUserModel);
    rebuildList();
}

void ModelDialog::rebuildList()
{
    exerciseList->clear();
    for (const QVariant& step : std::as_const(settings->learningModel)) {
        const int kind = step.toInt();
        auto* item = new QListWidgetItem(kindNames.value(kind), exerciseList);
        item->setData(KindRole, kind);
    }
}

void ModelDialog::store()
{
    QList<QVariant> steps;
    for (int row = 0; row < exerciseList->count(); ++row)
        steps.append(exerciseList->item(row)->data(KindRole).toInt());
    settings->learningModel = steps;
    settings->mdUserModel = steps;
}

void ModelDialog::add()
{
    auto* item = new QListWidgetItem(kindBox->currentText(), exerciseList);
    item->setData(KindRole, kindBox->currentData());
    store();
}

void ModelDialog::remove()
{
    delete exerciseList->takeItem(exerciseList->currentRow());
    store();
}

void ModelDialog::moveCurrent(int offset)
{
    const int row = exerciseList->currentRow();
    if (row < 0)
        return;
    const int target = row + offset;
    if (target < 0 || target >= exerciseList->count()) {
        exerciseList->setCurrentRow(-1);
        return;
    }
    QListWidgetItem* item = exerciseList->takeItem(row);
    exerciseList->insertItem(target, item);
    exerciseList->setCurrentRow(target);
    store();
}

void ModelDialog::moveUp()
{
    moveCurrent(-1);
}

void ModelDialog::moveDown()
{
    moveCurrent(1);
}

void ModelDialog::clear()
{
    exerciseList->clear();
    store();
}
