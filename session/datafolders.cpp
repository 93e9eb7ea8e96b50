#include "session/datafolders.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Every layout carries the dictionaries the first start copies; a folder
// without them is not the program's data folder.
bool holdsData(const QString& folder)
{
    return QFileInfo(folder + QStringLiteral("/Default Dictionaries")).isDir();
}

} // namespace

DataFolders DataFolders::locate(const QString& programFolder, const QString& userDataFolder)
{
    const QString program = QDir::cleanPath(QDir(programFolder).absolutePath());
    const QString installed = QDir::cleanPath(program + QStringLiteral("/../share/vocabrium"));

    DataFolders folders;
    if (holdsData(program) || !holdsData(installed))
        folders.data = program;
    else
        folders.data = installed;

    // Beside the program only where it is the learner's own build; an
    // installed layout is shared by every user of the machine, even when
    // the one running it (root) could write there.
    const bool besideProgram = folders.data == program && QFileInfo(program).isWritable();
    folders.learnedWords = (besideProgram ? program : QDir::cleanPath(userDataFolder))
                           + QLatin1Char('/') + learnedWordsFileName();
    return folders;
}

QString DataFolders::learnedWordsFileName()
{
    return QStringLiteral("MyLearnedWords.dic");
}
