#pragma once

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "config/settings.h"

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
