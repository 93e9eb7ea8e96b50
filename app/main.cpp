#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QSessionManager>
#include <QStandardPaths>
#include <QStyle>
#include <QTime>
#include <QTranslator>

#include "app/mainwindow.h"
#include "config/settings.h"
#include "model/random.h"
#include "session/datafolders.h"
#include "session/singleinstance.h"
#include "session/terminationsignals.h"
#include "session/toolkittranslation.h"
#include "session/workspace.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vocabrium"));
    QApplication::setApplicationVersion(QStringLiteral("1.2"));
    // Lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.vocabrium.vocabrium"));
    // Sounds, transcriptions, default dictionaries and the help page are
    // addressed relative to the data folder: beside a build, under
    // share/vocabrium for an installed program.
    const DataFolders folders = DataFolders::locate(
        QApplication::applicationDirPath(), QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    QDir::setCurrent(folders.data);
    QDir().mkpath(QFileInfo(folders.learnedWords).path());

    // A second copy would save its own state over this one's at exit.
    SingleInstance instance(SingleInstance::defaultLockPath());
    if (!instance.claim()) {
        if (!instance.activateRunning())
            qWarning("Vocabrium is already running, but its window could not be reached.");
        return 0;
    }

    Settings settings;
    settings.learnedWordsName = folders.learnedWords;
    settings.read();
    settings.nativeStyle = QApplication::style()->name();
    Random::seed(quint32(QTime(0, 0, 0, 0).secsTo(QTime::currentTime())));

    auto* translator = new QTranslator(&application);
    if (ToolkitTranslation::load(*translator, QLocale::system(), QStringLiteral("Translations")))
        QApplication::installTranslator(translator);

    // Everything the windows share, built once: the words, the transcription
    // table of the learning language, the installed dictionaries.
    Workspace workspace(settings);

    // Installed before the window is built, so a kill during a slow start
    // waits for the event loop and saves instead of ending the program
    // half-way.
    TerminationSignals termination;
    MainWindow window(&workspace);
    if (!instance.hasLock())
        window.keepFilesUnchanged(QObject::tr(
            "Не удалось создать файл блокировки ни в папке настроек, ни в запасных папках, поэтому нельзя "
            "проверить, не запущена ли программа второй раз. Чтобы две копии не затёрли изменения друг "
            "друга, эта копия ничего не сохраняет: ни словарь, ни статусы, ни настройки."));
    window.show();
    QObject::connect(&instance, &SingleInstance::activationRequested, &window, &MainWindow::bringToFront);
    QMessageBox warning(QMessageBox::Warning, QObject::tr("Предупреждение"),
                        QObject::tr("Данная версия предназначена исключительно для тестирования. "
                                    "Программа на данной стадии содержит многочисленное "
                                    "количество ошибок, и не предназначена для использования."),
                        QMessageBox::Ok, &window);

    // A logout or a kill saves what was learned, as closing the window does.
    // Quitting alone is ignored before the main loop runs, so the loops of
    // the warning and of any box over it are ended too.
    bool terminated = false;
    QObject::connect(&termination, &TerminationSignals::terminationRequested, &window, [&] {
        terminated = true;
        window.saveAndQuit();
        QCoreApplication::exit(0);
    });
    // At the end of the session nobody is left to answer a box: save once and end.
    QObject::connect(&application, &QGuiApplication::commitDataRequest, &window, [&](QSessionManager&) {
        terminated = true;
        window.saveAndQuit();
        QCoreApplication::exit(0);
    });

    warning.exec();
    if (terminated)
        return 0;
    return QApplication::exec();
}
