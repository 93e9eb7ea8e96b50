#pragma once

#include <QDialog>
#include <QString>

#include "model/unit.h"

class QDialogButtonBox;
class QLineEdit;
class QPushButton;
class Translator;
class Units;

/*
    Adds one entry (a word and its translation) to the open dictionary or
    changes an existing one, with an online translation on request.
*/
class UnitDialog : public QDialog
{
    Q_OBJECT

public:
    explicit UnitDialog(QWidget* parent = nullptr);

    /* The texts of the last save, exactly as typed. */
    Unit lastUnit() const;

public slots:
    int exec(int key);
    int exec(const QString& word, const QString& translation);
    int exec(const QString& word);
    int exec() override;

private slots:
    void translate();
    void setTranslation(const QString& text, const QString& translation);
    void saveUnit();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int run(int mode, const QString& word, const QString& translation);

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
    // The text of the request this opening waits for; answers to an earlier
    // opening's request must not land in another entry.
    QString requestedText;
    bool waitingForTranslation = false;
};
