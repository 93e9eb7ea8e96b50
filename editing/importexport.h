#pragma once

#include <QObject>
#include <QString>

class QWidget;
struct WordTable;

/*
    The window's side of importing and exporting word lists: asks for the
    file, the columns and the new dictionary's name, and reports what
    failed. The formats themselves are WordFiles' (interchange/).
*/
class ImportExport : public QObject
{
    Q_OBJECT

public:
    explicit ImportExport(QWidget* window);

    /* Asks for a word-list file and imports it; the path of the new
        dictionary, or an empty string when none was made. */
    QString importFile();
    /* The import of \a source, once chosen. */
    QString importFrom(const QString& source);

    /* Asks where to export the open dictionary and writes it. */
    void exportDictionary();
    /* Writes the open dictionary to \a path; false after reporting a failure. */
    bool exportTo(const QString& path);

private:
    bool chooseColumns(const WordTable& table, int* word, int* translation);
    QString chooseTarget(const QString& suggestedName);

    QWidget* window;
};
