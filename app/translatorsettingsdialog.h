#pragma once

#include <QDialog>

class Workspace;
class QLabel;
class QLineEdit;
class QListWidget;
class QSpinBox;
struct TranslatorSettings;

/*
    Lets the user choose how words are translated: which engines are asked
    and in what order (the installed dictionaries, LibreTranslate, the V2
    service), the folder of the user's own dictd files, the addresses of the
    online services and how long a request may take. Accepting checks the
    addresses, puts the choice in force and stores it.
*/
class TranslatorSettingsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit TranslatorSettingsDialog(Workspace* workspace, QWidget* parent = nullptr);

    int exec() override;

private slots:
    void moveUp();
    void moveDown();
    void chooseFolder();
    void showDictionaries();
    void save();

private:
    Workspace* workspace;
    void load(const TranslatorSettings& settings);
    void moveCurrent(int step);

    QListWidget* engineList;
    QLineEdit* folderEdit;
    QLabel* dictionariesLabel;
    QLineEdit* libreUrlEdit;
    QLineEdit* libreKeyEdit;
    QLineEdit* v2UrlEdit;
    QLineEdit* v2IdEdit;
    QSpinBox* timeoutBox;
};
