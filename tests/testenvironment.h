#pragma once

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "config/settings.h"
#include "model/dictionaryfiles.h"
#include "session/workspace.h"

/*
    Every test executable runs on a throw-away home folder, settings store and
    working directory, so a test never sees or touches the user's own files.
    The home folder is set before the application object exists, because
    QSettings and QDir::homePath() read it from the environment.
*/
#define VOCABRIUM_TEST_MAIN(TestClass)                                            \
    int main(int argc, char** argv)                                               \
    {                                                                             \
        QTemporaryDir home;                                                       \
        if (!home.isValid())                                                      \
            return 2;                                                             \
        qputenv("HOME", QFile::encodeName(home.path()));                          \
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path() + "/.config")); \
        qputenv("XDG_DATA_HOME", QFile::encodeName(home.path() + "/.local/share")); \
        QDir(home.path()).mkpath(QStringLiteral("work"));                         \
        QDir::setCurrent(home.path() + QStringLiteral("/work"));                  \
        QStandardPaths::setTestModeEnabled(true);                                 \
        QApplication app(argc, argv);                                             \
        QApplication::setApplicationName(QStringLiteral("Vocabrium"));            \
        QApplication::setAttribute(Qt::AA_Use96Dpi, true);                        \
        TestClass tc;                                                             \
        QTEST_SET_MAIN_SOURCE_PATH                                                \
        return QTest::qExec(&tc, argc, argv);                                     \
    }

/*!
    A first run for one test function: empties the throw-away home folder and
    the working directory inside it (dictionaries, settings store, learned
    words, data files), so that a function run alone finds what it finds in
    a whole run. False when the home folder is not the throw-away one.
*/
inline bool emptyHomeFolder()
{
    const QDir home = QDir::home();
    const QDir work = QDir::current();
    if (!home.absolutePath().startsWith(QDir::tempPath() + QLatin1Char('/'))
        || work.absolutePath() != home.absoluteFilePath(QStringLiteral("work")))
        return false;
    const auto filter = QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System;
    bool emptied = true;
    for (const QDir& folder : {work, home}) {
        for (const QFileInfo& entry : folder.entryInfoList(filter)) {
            if (entry.absoluteFilePath() == work.absolutePath())
                continue;
            emptied &= entry.isDir() && !entry.isSymLink() ? QDir(entry.absoluteFilePath()).removeRecursively()
                                                           : QFile::remove(entry.absoluteFilePath());
        }
    }
    return emptied;
}

/*! A Workspace over the settings read from the store, as main() builds it. */
inline std::unique_ptr<Workspace> storedWorkspace()
{
    Settings settings;
    settings.read();
    return std::make_unique<Workspace>(settings);
}

/*! An empty home folder and a new temporary folder for one test function;
    none when the home cannot be emptied or the folder not made. */
inline std::unique_ptr<QTemporaryDir> freshFolders()
{
    if (!emptyHomeFolder())
        return nullptr;
    auto folder = std::make_unique<QTemporaryDir>();
    return folder->isValid() ? std::move(folder) : nullptr;
}

/*! A workspace over the stored settings whose open dictionary is "words"
    in \a folder. */
inline std::unique_ptr<Workspace> workspaceOpenIn(const QTemporaryDir& folder)
{
    auto workspace = storedWorkspace();
    workspace->settings.currentFileName = folder.filePath(QStringLiteral("words"));
    workspace->words.units.setFileName(workspace->settings.currentFileName + QStringLiteral(".dic"));
    return workspace;
}

/*! The open dictionary of \a workspace without ".dic", as the settings store it. */
inline QString openDictionaryBase(const Workspace& workspace)
{
    QString name = workspace.words.units.fileName();
    if (name.endsWith(QLatin1String(".dic")))
        name.chop(4);
    return name;
}

/*! Writes the open dictionary's words alone, as a test that checks their bytes needs. */
inline QString saveWords(const Units& units)
{
    return DictionaryFiles::writeDictionary(units.fileName(), units.unitList());
}

/*! Writes the statuses file of the open dictionary alone. */
inline QString saveStatuses(const Units& units, const Statuses& statuses)
{
    return DictionaryFiles::writeStatuses(units.fileName(), statuses.fileValues());
}
