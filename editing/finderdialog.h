#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;
class Speaker;
class Workspace;
class Statuses;
class Transcriptions;
class UnitDialog;
class Units;

/*
    Shows what the open dictionary knows about one word typed into the main
    window's finder bar, and lets the user add it, put it into learning
    (again) or hear it.
*/
class FinderDialog : public QDialog
{
    Q_OBJECT

public:
    explicit FinderDialog(Workspace* workspace, QWidget* parent = nullptr);

    using QDialog::exec;

public slots:
    int exec(const QString& text);

signals:
    /* The word dialog added or changed a word: worth keeping at once. */
    void changesAccepted();

private slots:
    void setTexts();
    void add();
    void learn();
    void speak();

private:
    int key = -1;
    Units* dictionary;
    Statuses* statuses;
    Transcriptions* transcriptions;
    Speaker* speaker;
    QString word;
    UnitDialog* unitDialog;
    QLineEdit* wordField;
    QLineEdit* translationField;
    QLineEdit* transcriptionField;
    QLineEdit* statusField;
    QPushButton* addButton;
    QPushButton* learnButton;
    QPushButton* learnAgainButton;
    QPushButton* okButton;
    QPushButton* pronounceButton;
};
