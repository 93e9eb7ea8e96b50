#pragma once

#include <QByteArray>
#include <QDialog>
#include <QString>

#include "interchange/wordtable.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

/*
    The import's choices before anything is written: which column holds the
    word and which the translation, and for a delimited text the separator
    and whether the first line names the columns, with the first entries as
    they will be imported. Changing the separator or the header choice reads
    the file's bytes again.
*/
class ImportDialog : public QDialog
{
    Q_OBJECT

public:
    ImportDialog(const QString& fileName, const QByteArray& data, const WordTable& table, QWidget* parent = nullptr);

    const WordTable& table() const { return current; }
    int wordColumn() const;
    int translationColumn() const;

private:
    void reread();
    void fillColumns();
    void updatePreview();

    QString fileName;
    QByteArray data;
    WordTable current;

    QComboBox* separators = nullptr;
    QCheckBox* header = nullptr;
    QComboBox* words;
    QComboBox* translations;
    QTableWidget* preview;
    QLabel* problem;
    QPushButton* okButton = nullptr;
};
