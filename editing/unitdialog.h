#pragma once

#include <QDialog>
#include <QString>

#include "model/unit.h"

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class Settings;
class Translator;
class Workspace;
class Units;

/*
    Adds one entry (a word and its translation) to the open dictionary or
    changes an existing one, with a translation on request. When no
    translation comes, the dialog says why; the dictionary articles behind a
    translation can be opened under the fields, to take another sense.
*/
class UnitDialog : public QDialog
{
    Q_OBJECT

public:
    explicit UnitDialog(Workspace* workspace, QWidget* parent = nullptr);

    /* The texts of the last save, exactly as typed. */
    Unit lastUnit() const;

public slots:
    int exec(int key);
    int exec(const QString& word, const QString& translation);
    int exec(const QString& word);
    int exec() override;

private slots:
    void translate();
    void setDetails(int key, const QString& article, const QString& failure, const QString& note);
    void setTranslation(int key, const QString& translation);
    void showArticle(bool shown);
    void takeSelection();
    void saveUnit();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int run(int mode, const QString& word, const QString& translation);
    void fitHeight();

    Settings* settings;
    Units* dictionary;
    Translator* translator;
    int mode = 0;
    int editedKey = -1;
    QString lastWord;
    QString lastTranslation;
    QLineEdit* wordEdit;
    QLineEdit* translationEdit;
    QPushButton* translateButton;
    QDialogButtonBox* buttonBox;
    QLabel* statusLabel;
    QPushButton* articleButton;
    QPlainTextEdit* articleView;
    QPushButton* takeButton;
    // The request this opening waits for; answers to an earlier opening's
    // request must not land in another entry.
    int requestedKey = 0;
    bool waitingForTranslation = false;
};
