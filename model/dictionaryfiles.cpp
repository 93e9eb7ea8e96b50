#include "model/dictionaryfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <QSaveFile>

#include <cstdio>

#include "config/settings.h"
#include "model/dictionaryformat.h"
#include "model/questions.h"
#include "model/statuses.h"
#include "model/units.h"
#include "model/variants.h"

namespace {

const QString NewSuffix = QStringLiteral(".new");

QString basePath(const QString& dicPath)
{
    return dicPath.endsWith(QLatin1String(".dic"), Qt::CaseInsensitive) ? dicPath.chopped(4) : dicPath;
}

QString markerPath(const QString& dicPath)
{
    return basePath(dicPath) + QStringLiteral(".saving");
}

QString tr(const char* text)
{
    return QObject::tr(text);
}

// Reads a whole regular file of at most MaximumFileSize bytes.
bool readBounded(const QString& path, QByteArray* data, QString* problem)
{
    const QFileInfo info(path);
    if (info.isDir()) {
        *problem = tr("это папка, а не файл");
        return false;
    }
    if (info.exists() && !info.isFile()) {
        *problem = tr("это не обычный файл");
        return false;
    }
    if (info.size() > DictionaryFiles::MaximumFileSize) {
        *problem = tr("файл больше %1 МБ, а словари бывают намного меньше")
                       .arg(DictionaryFiles::MaximumFileSize / (1024 * 1024));
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *problem = tr("файл не читается (%1)").arg(file.errorString());
        return false;
    }
    // The size seen above may be stale or meaningless; never read past the limit.
    *data = file.read(DictionaryFiles::MaximumFileSize + 1);
    if (data->size() > DictionaryFiles::MaximumFileSize) {
        data->clear();
        *problem = tr("файл больше %1 МБ, а словари бывают намного меньше")
                       .arg(DictionaryFiles::MaximumFileSize / (1024 * 1024));
        return false;
    }
    if (file.error() != QFileDevice::NoError) {
        *problem = tr("файл не читается (%1)").arg(file.errorString());
        return false;
    }
    return true;
}

// While a committed save is pending, its new files are the current ones.
QString currentVersion(const QString& path, const QString& dicPath)
{
    if (QFile::exists(markerPath(dicPath)) && QFileInfo(path + NewSuffix).isFile())
        return path + NewSuffix;
    return path;
}

bool replaceFile(const QString& from, const QString& to)
{
    // POSIX rename() replaces the target in one step: at any moment the
    // target is either the old or the new file.
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

bool writeThrough(QSaveFile* file, const std::function<bool(QIODevice*)>& write)
{
    // A folder that allows no new files still lets us rewrite files that
    // are writable themselves; better that than losing the changes.
    file->setDirectWriteFallback(true);
    if (!file->open(QIODevice::WriteOnly))
        return false;
    if (!write(file)) {
        file->cancelWriting();
        return false;
    }
    return file->commit();
}

QString cannotWrite(const QString& path, const QString& reason)
{
    return tr("Не удалось записать файл %1: %2.").arg(QDir::toNativeSeparators(path), reason);
}

// What stands in the way of replacing an existing file, checked before a
// pair save commits to anything.
QString obstacle(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return cannotWrite(path, tr("на его месте папка"));
    if (info.exists() && !info.isWritable())
        return cannotWrite(path, tr("файл защищён от записи"));
    return QString();
}

} // namespace

DictionaryFiles::DictionaryFiles(Units* dictionary, Units* learned, Statuses* statuses,
                                 StepObserver observer)
    : dictionary(dictionary)
    , learned(learned)
    , statuses(statuses)
    , observer(std::move(observer))
{
}

QString DictionaryFiles::statusesPath(const QString& dicPath)
{
    return basePath(dicPath) + QStringLiteral(".inf");
}

QString DictionaryFiles::openFileName() const
{
    return currentFileName + QStringLiteral(".dic");
}

bool DictionaryFiles::sameFile(const QString& first, const QString& second)
{
    const QFileInfo a(first);
    const QFileInfo b(second);
    const QString canonicalA = a.canonicalFilePath();
    const QString canonicalB = b.canonicalFilePath();
    if (!canonicalA.isEmpty() && !canonicalB.isEmpty())
        return canonicalA == canonicalB;
    return QDir::cleanPath(a.absoluteFilePath()) == QDir::cleanPath(b.absoluteFilePath());
}

DictionaryFiles::Reading DictionaryFiles::read(const QString& dicPath)
{
    Reading reading;
    recover(dicPath);
    const QString path = currentVersion(dicPath, dicPath);
    if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink()) {
        reading.kind = Reading::Missing;
        return reading;
    }
    QByteArray data;
    if (!readBounded(path, &data, &reading.problem)) {
        reading.kind = Reading::Unreadable;
        return reading;
    }
    reading.problem = DictionaryFormat::readWholeUnits(data, &reading.units);
    if (!reading.problem.isEmpty())
        reading.kind = Reading::Damaged;
    return reading;
}

QList<int> DictionaryFiles::readStatusValues(const QString& dicPath)
{
    QByteArray data;
    QString problem;
    const QString path = currentVersion(statusesPath(dicPath), dicPath);
    if (!QFileInfo::exists(path) || !readBounded(path, &data, &problem))
        return {};
    return DictionaryFormat::readIntList(data);
}

bool DictionaryFiles::recover(const QString& dicPath)
{
    const QString marker = markerPath(dicPath);
    const QString statusPath = statusesPath(dicPath);
    if (!QFile::exists(marker)) {
        // A save that never reached its marker: the old pair is the valid one.
        QFile::remove(dicPath + NewSuffix);
        QFile::remove(statusPath + NewSuffix);
        return true;
    }
    bool complete = true;
    for (const QString& target : {dicPath, statusPath}) {
        if (QFileInfo(target + NewSuffix).isFile() && !replaceFile(target + NewSuffix, target))
            complete = false;
    }
    if (complete)
        QFile::remove(marker);
    return complete;
}

QString DictionaryFiles::writeDictionary(const QString& dicPath, const QList<Unit>& units)
{
    QSaveFile file(dicPath);
    if (!writeThrough(&file, [&units](QIODevice* device) { return DictionaryFormat::writeUnits(device, units); }))
        return cannotWrite(dicPath, file.errorString());
    return QString();
}

QString DictionaryFiles::writePair(const QString& dicPath, const QList<Unit>& units,
                                   const QList<int>& statusValues, const StepObserver& observer)
{
    const QString statusPath = statusesPath(dicPath);
    auto reached = [&observer](SaveStep step) { return !observer || observer(step); };
    auto writeUnits = [&units](QIODevice* device) { return DictionaryFormat::writeUnits(device, units); };
    auto writeValues = [&statusValues](QIODevice* device) {
        return DictionaryFormat::writeIntList(device, statusValues);
    };

    if (!recover(dicPath))
        return cannotWrite(dicPath, tr("не удалось завершить предыдущее сохранение"));
    for (const QString& path : {dicPath, statusPath}) {
        const QString problem = obstacle(path);
        if (!problem.isEmpty())
            return problem;
    }

    const QFileInfo folder(QFileInfo(dicPath).absolutePath());
    if (!folder.isWritable()) {
        // No new files can be made here, so nothing can be swapped in: the
        // two files are rewritten in place, the dictionary first.
        QSaveFile dicFile(dicPath);
        if (!writeThrough(&dicFile, writeUnits))
            return cannotWrite(dicPath, dicFile.errorString());
        QSaveFile statusFile(statusPath);
        if (!writeThrough(&statusFile, writeValues))
            return cannotWrite(statusPath, statusFile.errorString());
        return QString();
    }

    auto discard = [&] {
        QFile::remove(dicPath + NewSuffix);
        QFile::remove(statusPath + NewSuffix);
    };
    QSaveFile dicFile(dicPath + NewSuffix);
    if (!writeThrough(&dicFile, writeUnits)) {
        discard();
        return cannotWrite(dicPath, dicFile.errorString());
    }
    if (!reached(SaveStep::DictionaryWritten))
        return QString();
    QSaveFile statusFile(statusPath + NewSuffix);
    if (!writeThrough(&statusFile, writeValues)) {
        discard();
        return cannotWrite(statusPath, statusFile.errorString());
    }
    if (!reached(SaveStep::StatusesWritten))
        return QString();

    QSaveFile markerFile(markerPath(dicPath));
    if (!writeThrough(&markerFile, [](QIODevice* device) {
            return device->write("Vocabrium: both new files are complete\n") > 0;
        })) {
        discard();
        return cannotWrite(dicPath, markerFile.errorString());
    }
    if (!reached(SaveStep::Committed))
        return QString();

    // From here on the new pair is the valid one; a failure leaves the
    // marker, and the next read completes the save.
    if (!replaceFile(dicPath + NewSuffix, dicPath))
        return cannotWrite(dicPath, tr("не удалось заменить старый файл"));
    if (!reached(SaveStep::DictionaryReplaced))
        return QString();
    if (!replaceFile(statusPath + NewSuffix, statusPath))
        return cannotWrite(statusPath, tr("не удалось заменить старый файл"));
    if (!reached(SaveStep::StatusesReplaced))
        return QString();
    QFile::remove(markerPath(dicPath));
    return QString();
}

void DictionaryFiles::adopt(const QString& dicPath, const QList<Unit>& units, bool whole)
{
    currentFileName = basePath(dicPath);
    // The pools hold keys of the dictionary that was open; the statuses load
    // below fills them again with the new dictionary's chosen words.
    Questions::instance()->clear();
    Variants::instance()->clear();
    dictionary->setLoaded(units, whole);
    statuses->load();
}

QString DictionaryFiles::open(const QString& dicPath)
{
    // The learned-words list in memory is newer than its file.
    if (sameFile(dicPath, learned->fileName()) && !openIsLearnedFile()) {
        const QString error = saveLearned();
        if (!error.isEmpty())
            return error;
    }
    const Reading reading = read(dicPath);
    switch (reading.kind) {
    case Reading::Whole:
        adopt(dicPath, reading.units, true);
        return QString();
    case Reading::Missing:
        return tr("Словарь %1 не открыт: такого файла нет.").arg(QDir::toNativeSeparators(dicPath));
    case Reading::Unreadable:
    case Reading::Damaged:
        break;
    }
    return tr("Словарь %1 не открыт: %2. Файл оставлен без изменений.")
        .arg(QDir::toNativeSeparators(dicPath), reading.problem);
}

QStringList DictionaryFiles::openAtStartUp(const QString& storedDicPath)
{
    QStringList problems;
    const QString defaultPath = dictionariesPath + QStringLiteral("default.dic");
    Reading reading = read(storedDicPath);
    if (reading.kind == Reading::Whole) {
        adopt(storedDicPath, reading.units, true);
        return problems;
    }
    if (reading.kind != Reading::Missing)
        problems.append(tr("Словарь %1 не открыт: %2. Файл оставлен без изменений.")
                            .arg(QDir::toNativeSeparators(storedDicPath), reading.problem));
    if (!sameFile(defaultPath, storedDicPath))
        reading = read(defaultPath);
    switch (reading.kind) {
    case Reading::Missing: {
        // A new empty default dictionary, as on a first start without one.
        QFile file(defaultPath);
        if (file.open(QIODevice::WriteOnly))
            file.close();
        adopt(defaultPath, {}, true);
        break;
    }
    case Reading::Whole:
        adopt(defaultPath, reading.units, true);
        break;
    case Reading::Unreadable:
    case Reading::Damaged:
        if (!sameFile(defaultPath, storedDicPath))
            problems.append(tr("Словарь %1 не открыт: %2. Файл оставлен без изменений.")
                                .arg(QDir::toNativeSeparators(defaultPath), reading.problem));
        problems.append(tr("Открыт пустой словарь; изменения в нём не будут сохранены. "
                           "Откройте или создайте другой словарь."));
        adopt(defaultPath, {}, false);
        break;
    }
    return problems;
}

QString DictionaryFiles::createEmpty(const QString& dicPath)
{
    const QString error = writePair(dicPath, {}, {Statuses::StatusFileMarker});
    if (!error.isEmpty())
        return error;
    // The schedule of the words that were there must not come back with
    // words of the same spelling.
    QString schedule = dicPath;
    if (schedule.endsWith(QLatin1String(".dic"), Qt::CaseInsensitive))
        schedule.chop(4);
    schedule += QStringLiteral(".rev");
    if (QFileInfo::exists(schedule) && !QFile::remove(schedule))
        return QObject::tr("Не удалось удалить старое расписание повторений %1.").arg(schedule);
    return QString();
}

QString DictionaryFiles::reloadReplaced()
{
    // Whoever replaced the file wrote the statuses that belong to it.
    return open(openFileName());
}

bool DictionaryFiles::isSaveable() const
{
    return dictionary->isWhole();
}

bool DictionaryFiles::openIsLearnedFile() const
{
    return sameFile(openFileName(), learned->fileName());
}

QString DictionaryFiles::save()
{
    // A file that was not read whole stays as it is; the user was told when it was opened.
    if (!dictionary->isWhole())
        return QString();
    const QList<Unit> units = dictionary->unitList();
    const QString error = writePair(openFileName(), units, statuses->fileValues(), observer);
    if (!error.isEmpty())
        return error;
    // The learned-words list must never hold an older copy of this file.
    if (openIsLearnedFile())
        learned->setLoaded(units, true);
    return QString();
}

QString DictionaryFiles::saveLearned()
{
    if (openIsLearnedFile() || !learned->isWhole())
        return QString();
    return writeDictionary(learned->fileName(), learned->unitList());
}
