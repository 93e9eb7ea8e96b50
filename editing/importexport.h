#pragma once

#include <QChar>
#include <QObject>
#include <QString>

class QWidget;
struct WordTable;

/*
    The window's side of importing and exporting word lists: asks for the
    file, the columns and the new dictionary's name, and reports what
    failed. The formats themselves are WordFiles' (interchange/).
*/
class Workspace;

class ImportExport : public QObject
{
    Q_OBJECT

public:
    /*! Imports into and exports from the dictionary folder and the open
        dictionary of \a workspace; boxes are shown over \a window. */
    ImportExport(Workspace* workspace, QWidget* window);

    /* Asks for a word-list file and imports it; the path of the new
        dictionary, or an empty string when none was made. */
    QString importFile();
    /* The import of \a source, once chosen: the columns, separator and
        header line confirmed over a preview, then the new dictionary's name;
        a file that cannot be read writes nothing. */
    QString importFrom(const QString& source);

    /* Asks where to export the open dictionary and writes it. */
    void exportDictionary();
    /* Writes the open dictionary to \a path, a CSV file with fields
        separated by \a csvSeparator; false after reporting a failure. */
    bool exportTo(const QString& path, QChar csvSeparator = QLatin1Char(','));

private:
    QString write(const QString& source, const WordTable& table, int word, int translation);
    QString chooseTarget(const QString& suggestedName);

    Workspace* workspace;
    QWidget* window;
};
