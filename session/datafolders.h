#pragma once

#include <QString>

/*!
    Where the program's files are, decided once at start-up from the folder
    of the executable.

    A build keeps everything beside the executable. An installed program
    keeps its read-only data in ../share/vocabrium relative to bin/, and a
    folder under /usr is no place for a learner's own list, so the
    learned-words list then goes to the user's data folder.
*/
class DataFolders
{
public:
    /*!
        The folders of a program started from \a programFolder:
        \a userDataFolder is the user's own data folder
        (QStandardPaths::AppDataLocation).
    */
    static DataFolders locate(const QString& programFolder, const QString& userDataFolder);

    /*! Name of the learned-words list's file, in whichever folder it lives. */
    static QString learnedWordsFileName();

    /*! The read-only data; the program makes it the working directory. */
    QString data;
    /*! The learned-words list's file, an absolute path. */
    QString learnedWords;
};
