#pragma once

#include <QDialog>
#include <QList>
#include <QPair>
#include <QString>

#include "editing/unitsmaker.h"

class QCheckBox;
class QDialogButtonBox;
class QGroupBox;
class QPlainTextEdit;
class QRadioButton;
class TranslationProgressDialog;
class Translations;
class Settings;
class Units;
class Workspace;

/*
    Adds the words of a typed or pasted text to the open dictionary: splits
    the text, drops words already known, optionally reduces them to their
    base form and has them translated in one batch, in either direction.
*/
class UnitsMakerDialog : public QDialog
{
    Q_OBJECT

public:
    explicit UnitsMakerDialog(Workspace* workspace, QWidget* parent = nullptr);

public slots:
    int exec() override;

private slots:
    void writeSettings();
    void produce();
    void save();
    void showHelpDialog();

private:
    void readSettings();
    void reportTranslations();

    Settings* settings;
    QCheckBox* stemBox;
    QCheckBox* excludeLearnedBox;
    QCheckBox* lowerCaseBox;
    QGroupBox* translationBox;
    QRadioButton* standardDirection;
    QRadioButton* reverseDirection;
    // Until the learner picks a direction, it follows the text's language.
    bool directionChosen = false;
    QPlainTextEdit* textEdit;
    QDialogButtonBox* buttonBox;
    TranslationProgressDialog* progressDialog;
    UnitsMaker maker;
    Translations* translations;
    Units* dictionary;
    QList<QPair<QString, QString>> languageTable;
};
