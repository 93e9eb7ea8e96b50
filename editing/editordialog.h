#pragma once

#include <QDialog>
#include <QList>

#include <functional>

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class Settings;
class Speaker;
class Workspace;
class Statuses;
class Transcriptions;
class UnitDialog;
class Units;
class UnitsMakerDialog;

/*
    Browses and edits the open dictionary: one row per word with a check box
    for "learned", adding, editing, removing, selecting and marking words,
    reordering the dictionary, finding a word by its beginning and
    pronouncing it. Changes go straight into the shared word list and
    statuses; saving them is the main window's business.
*/
class EditorDialog : public QDialog
{
    Q_OBJECT

public:
    explicit EditorDialog(Workspace* workspace, QWidget* parent = nullptr);

    /* The dictionary key shown in \a row, or -1. */
    int keyOfRow(int row) const;

public slots:
    int exec() override;

signals:
    /* The entries were renumbered 0..n-1: the entry now under key i was
        under previousKeys[i] before. Holders of keys follow with this. */
    void keysRenumbered(const QList<int>& previousKeys);
    /* The word dialog or the words-from-text dialog was accepted: the
        changes are worth keeping at once. */
    void changesAccepted();

private slots:
    void readSettings();
    void writeSettings();
    void add();
    void edit();
    void remove();
    void selectUnlearned();
    void selectLearning();
    void selectLearned();
    void selectUntranslated();
    void selectFromUnits();
    void markUnlearned();
    void markLearning();
    void markLearned();
    void abcOrder();
    void byStatusOrder();
    void randomOrder();
    void find();
    void updateList();
    void saveStatus(QListWidgetItem* item);
    void speak(QListWidgetItem* item);

private:
    QList<int> selectedKeys() const;
    void selectRows(const std::function<bool(int key)>& wanted);
    void markSelected(int status);
    void reorder(const QList<int>& positions);

    Settings* settings;
    Units* dictionary;
    Statuses* statuses;
    Transcriptions* transcriptions;
    Speaker* speaker;
    QAction* findAction;
    QAction* addWordAction;
    QAction* addFromTextAction;
    QAction* selectUnlearnedAction;
    QAction* selectLearningAction;
    QAction* selectLearnedAction;
    QAction* selectUntranslatedAction;
    QAction* selectFromUnitsAction;
    QAction* selectAllAction;
    QAction* markUnlearnedAction;
    QAction* markLearningAction;
    QAction* markLearnedAction;
    QAction* abcOrderAction;
    QAction* byStatusOrderAction;
    QAction* randomOrderAction;
    QPushButton* addButton;
    QPushButton* editButton;
    QPushButton* removeButton;
    QPushButton* selectButton;
    QPushButton* markButton;
    QPushButton* orderButton;
    QPushButton* closeButton;
    QPushButton* findButton;
    QListWidget* list;
    QLineEdit* findEdit;
    QLabel* countLabel;
    QGroupBox* optionsBox;
    QCheckBox* translationBox;
    QCheckBox* transcriptionBox;
    UnitDialog* unitDialog;
    UnitsMakerDialog* unitsMakerDialog;
    // The key of each row, in row order: the dictionary's keys as the list
    // was last built.
    QList<int> rowKeys;
};
