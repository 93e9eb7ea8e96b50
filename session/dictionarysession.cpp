#include "session/dictionarysession.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QSignalBlocker>

#include <algorithm>

#include "config/settings.h"
#include "learning/learningrun.h"
#include "model/dictionaryfiles.h"
#include "model/statuses.h"
#include "model/units.h"

DictionarySession::DictionarySession(Settings* settings, DictionaryFiles* files, LearningRun* run,
                                     Units* learnedUnits, Statuses* statuses, QObject* parent)
    : QObject(parent)
    , settings(settings)
    , files(files)
    , run(run)
    , learnedUnits(learnedUnits)
    , statuses(statuses)
{
}

QString DictionarySession::dictionariesFolder()
{
    return QDir::homePath() + QStringLiteral("/Vocabrium Dictionaries");
}

QString DictionarySession::withDictionarySuffix(const QString& path)
{
    const QString suffix = QStringLiteral(".dic");
    return path.endsWith(suffix, Qt::CaseInsensitive) ? path : path + suffix;
}

bool DictionarySession::setUpDictionariesFolder(const QString& defaultsFolder)
{
    QDir home = QDir::home();
    const QString folderName = QStringLiteral("Vocabrium Dictionaries");
    if (home.exists(folderName))
        return false;
    if (!home.mkdir(folderName) || !home.cd(folderName))
        return false;
    // QFile::copy never replaces a file: the folder was made just now.
    const QDir source(defaultsFolder);
    const QStringList names = source.entryList(QDir::Files, QDir::NoSort);
    for (const QString& name : names)
        QFile::copy(source.path() + QLatin1Char('/') + name, home.path() + QLatin1Char('/') + name);
    return true;
}

QStringList DictionarySession::reopenAtStartUp(const QString& storedDicPath)
{
    QStringList problems;
    {
        // As at any start, the statuses reach no pool.
        const QSignalBlocker blocker(statuses);
        problems = files->openAtStartUp(storedDicPath, settings->dictionariesPath + QStringLiteral("default.dic"));
    }
    emit dictionaryRead();
    loadSchedule();
    learnedUnits->load();
    return problems;
}

QString DictionarySession::loadSchedule()
{
    run->schedule().setRequestedRetention(settings->reviewRetention);
    const QString problem = run->schedule().load(files->openFileName());
    run->syncSchedule(QDate::currentDate());
    return problem;
}

QString DictionarySession::save()
{
    QString error;
    run->saveAsOfLastExercise([&] {
        error = files->save();
        if (error.isEmpty() && files->isSaveable()) {
            run->syncSchedule(QDate::currentDate());
            error = run->schedule().save(files->openFileName());
        }
    });
    return error;
}

void DictionarySession::storeSettings()
{
    QString open = files->openFileName();
    if (open.endsWith(QStringLiteral(".dic")))
        open.chop(4);
    settings->currentFileName = open;
    settings->write();
}

QString DictionarySession::saveWithSettings()
{
    const QString error = save();
    storeSettings();
    return error;
}

QStringList DictionarySession::saveEverything()
{
    QStringList errors;
    for (const QString& error : {save(), files->saveLearned()}) {
        if (!error.isEmpty())
            errors.append(error);
    }
    storeSettings();
    return errors;
}

QString DictionarySession::endRun()
{
    run->finish();
    return saveWithSettings();
}

DictionarySession::Outcome DictionarySession::switchTo(const QString& dicPath)
{
    const QString saveError = save();
    if (!saveError.isEmpty())
        return {Outcome::Refused, saveError + QLatin1Char('\n') + tr("Словарь не переключён, чтобы изменения не пропали.")};
    const QString error = afterRead(files->open(dicPath));
    return {Outcome::Opened, (files->takeNotices() << error).join(QLatin1Char('\n')).trimmed()};
}

bool DictionarySession::isOpenAmong(const QStringList& paths) const
{
    const QString open = files->openFileName();
    return std::any_of(paths.cbegin(), paths.cend(),
                       [&open](const QString& path) { return DictionaryFiles::sameFile(path, open); });
}

QString DictionarySession::reloadReplaced()
{
    return afterRead(files->reloadReplaced());
}

void DictionarySession::keepUnchanged(const QString& reason)
{
    files->setReadOnly(reason);
    settings->keepUnwritten();
}

DictionarySession::Outcome DictionarySession::create(const QString& dicPath)
{
    // A new dictionary is empty even under the open one's name: what memory
    // holds of that name belongs to the words being thrown away.
    const bool replacesOpen = DictionaryFiles::sameFile(dicPath, files->openFileName());
    if (!replacesOpen) {
        const QString error = save();
        if (!error.isEmpty())
            return {Outcome::Refused, error + QLatin1Char('\n') + tr("Новый словарь не создан, чтобы изменения не пропали.")};
    }
    const QString error = DictionaryFiles::createEmpty(dicPath);
    if (!error.isEmpty())
        return {Outcome::Refused, tr("Не удалось создать файл словаря:\n%1").arg(error)};
    if (replacesOpen)
        return {Outcome::Reloaded, reloadReplaced()};
    return switchTo(dicPath);
}

QString DictionarySession::afterRead(const QString& error)
{
    if (!error.isEmpty())
        return error;
    emit dictionaryRead();
    return loadSchedule();
}
