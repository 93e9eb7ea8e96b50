#pragma once

#include <QDialog>
#include <QList>
#include <QPair>

class Settings;
class Workspace;
class QComboBox;
class QDialogButtonBox;
class Transcriptions;
class Units;

/*! Chooses the language being learned and the user's own language. Every
    change applies at once; Save only closes the dialog. */
class LanguageDialog : public QDialog
{
    Q_OBJECT

public:
    explicit LanguageDialog(Workspace* workspace, QWidget* parent = nullptr);

public slots:
    int exec() override;

private slots:
    void changeLanguage();

private:
    Settings* settings;
    void createWidgets();
    void createConnections();
    void createLayout();

    QList<QPair<QString, QString>> table;
    Units* units;
    Transcriptions* transcriptions;
    QComboBox* learningList = nullptr;
    QComboBox* interfaceList = nullptr;
    QDialogButtonBox* buttonBox = nullptr;
};
