#include "model/dictionaryfiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStorageInfo>

#include <cerrno>
#include <cstdio>
#include <utility>
#include <fcntl.h>
#include <unistd.h>

#include "model/boundedfile.h"
#include "model/dictionaryformat.h"
#include "model/statuses.h"
#include "model/units.h"
#include "model/wordmodel.h"

namespace {

const QString NewSuffix = QStringLiteral(".new");
const QString StagedDictionary = QStringLiteral("new.dic");
const QString StagedStatuses = QStringLiteral("new.inf");
const QString KeptDictionary = QStringLiteral("old.dic");
const QString KeptStatuses = QStringLiteral("old.inf");
const QString StagingMarker = QStringLiteral("complete");

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

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

bool exists(const QString& path)
{
    return QFileInfo::exists(path) || QFileInfo(path).isSymLink();
}

// Where a dictionary in a folder that allows no new files is written in full
// before it is copied into place: one folder per dictionary, named after
// its path, in the user's data folder or, failing that, the cache folder.
QStringList stagingFolders(const QString& dicPath)
{
    const QFileInfo info(dicPath);
    const QString canonical = info.canonicalFilePath();
    const QString key = canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
    const QString name = QString::fromLatin1(
        QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha1).toHex().left(16));
    QStringList folders;
    for (const auto location : {QStandardPaths::AppDataLocation, QStandardPaths::CacheLocation}) {
        const QString root = QStandardPaths::writableLocation(location);
        if (!root.isEmpty())
            folders.append(root + QStringLiteral("/saving/") + name);
    }
    return folders;
}

// The staging folder that holds a complete new pair for dicPath, if any.
QString completedStaging(const QString& dicPath)
{
    for (const QString& folder : stagingFolders(dicPath)) {
        if (QFileInfo(folder + QLatin1Char('/') + StagingMarker).isFile())
            return folder;
    }
    return QString();
}

// While a committed save is pending, its new files are the current ones.
QString currentVersion(const QString& path, const QString& dicPath)
{
    if (QFile::exists(markerPath(dicPath)) && QFileInfo(path + NewSuffix).isFile())
        return path + NewSuffix;
    const QString staging = completedStaging(dicPath);
    if (!staging.isEmpty())
        return staging + QLatin1Char('/') + (path == dicPath ? StagedDictionary : StagedStatuses);
    return path;
}

bool replaceFile(const QString& from, const QString& to)
{
    // POSIX rename() replaces the target in one step: at any moment the
    // target is either the old or the new file.
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

// A rename is only lasting once the folder that holds the names is on disk.
void syncFolder(const QString& path)
{
    const int fd = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(),
                          O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

// What the learner should hear about a failed write: the system's own words
// are English and QSaveFile's are about itself.
QString writeFailure(const QString& path, int error, qint64 needed, const QString& fallback)
{
    const QFileInfo info(path);
    const QString folder = info.absolutePath();
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return tr("на диске не хватает места");
    case EROFS:
        return tr("диск доступен только для чтения");
    case EACCES:
    case EPERM:
        if (info.exists() && !info.isWritable())
            return tr("файл защищён от записи");
        return tr("папка %1 защищена от записи").arg(native(folder));
    default:
        break;
    }
    const QStorageInfo storage(folder);
    if (storage.isValid() && storage.isReadOnly())
        return tr("диск доступен только для чтения");
    if (storage.isValid() && storage.bytesAvailable() < needed)
        return tr("на диске не хватает места");
    if (info.exists() && !info.isWritable())
        return tr("файл защищён от записи");
    return fallback;
}

// Writes bytes through QSaveFile. inPlace allows the direct write a folder
// without room for new names needs; then QSaveFile's commit() cannot report
// a failed flush, so the flush and the sync to disk are checked here.
QString writeBytes(const QString& path, const QByteArray& bytes, bool inPlace)
{
    QSaveFile file(path);
    file.setDirectWriteFallback(inPlace);
    if (!file.open(QIODevice::WriteOnly))
        return writeFailure(path, errno, bytes.size(), file.errorString());
    errno = 0;
    if (file.write(bytes) != bytes.size() || !file.flush() || ::fsync(file.handle()) != 0) {
        const int error = errno;
        const QString reason = file.errorString();
        file.cancelWriting();
        return writeFailure(path, error, bytes.size(), reason);
    }
    errno = 0;
    if (!file.commit())
        return writeFailure(path, errno, bytes.size(), file.errorString());
    return QString();
}

QString cannotWrite(const QString& path, const QString& reason)
{
    return tr("Не удалось записать файл %1: %2.").arg(native(path), reason);
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

bool sameBytes(const QString& path, const QByteArray& bytes)
{
    QByteArray stored;
    QString problem;
    return BoundedFile::read(path, &stored, &problem, qMax<qint64>(bytes.size(), 1)) && stored == bytes;
}

// The last step of a save in place, also run again by the recovery: the
// staged pair is copied over the two files and read back. Until the staging
// folder is gone, a later read takes the staged pair.
QString finishInPlace(const QString& staging, const QString& dicPath,
                      const std::function<bool(DictionaryFiles::SaveStep)>& reached)
{
    const QString statusPath = DictionaryFiles::statusesPath(dicPath);
    QByteArray dicData;
    QByteArray infData;
    QString problem;
    if (!BoundedFile::read(staging + QLatin1Char('/') + StagedDictionary, &dicData, &problem)
        || !BoundedFile::read(staging + QLatin1Char('/') + StagedStatuses, &infData, &problem))
        return cannotWrite(dicPath, tr("сохранённая копия не читается (%1)").arg(problem));
    // Nothing is lost when a rewrite fails: the learner hears where the pair is kept.
    const QString kept = tr("Словарь со статусами сохранён в %1 и будет записан на место при следующем "
                            "сохранении или запуске.")
                             .arg(native(staging));
    QString reason = writeBytes(dicPath, dicData, true);
    if (!reason.isEmpty())
        return cannotWrite(dicPath, reason) + QLatin1Char(' ') + kept;
    if (!reached(DictionaryFiles::SaveStep::DictionaryReplaced))
        return QString();
    reason = writeBytes(statusPath, infData, true);
    if (!reason.isEmpty())
        return cannotWrite(statusPath, reason) + QLatin1Char(' ') + kept;
    if (!reached(DictionaryFiles::SaveStep::StatusesReplaced))
        return QString();
    if (!sameBytes(dicPath, dicData))
        return cannotWrite(dicPath, tr("записанный файл при проверке отличается от сохранённого"));
    if (!sameBytes(statusPath, infData))
        return cannotWrite(statusPath, tr("записанный файл при проверке отличается от сохранённого"));
    // The marker goes first: a staging folder without it is never taken.
    QFile::remove(staging + QLatin1Char('/') + StagingMarker);
    syncFolder(staging + QLatin1Char('/') + StagingMarker);
    QDir(staging).removeRecursively();
    return QString();
}

// A save into a folder that allows no new files. The new pair is written in
// full into a staging folder, read back, and only then copied over the two
// files; a copy of the old pair stays beside it until the copies are
// confirmed. A failure or a kill at any point leaves the old pair (before
// the staging marker) or a staged new pair that every read takes and the
// next save or start copies into place.
QString writeInPlace(const QString& dicPath, const QByteArray& dicData, const QByteArray& infData,
                     const std::function<bool(DictionaryFiles::SaveStep)>& reached)
{
    const QString statusPath = DictionaryFiles::statusesPath(dicPath);
    QString staging;
    for (const QString& folder : stagingFolders(dicPath)) {
        if (QDir().mkpath(folder) && QFileInfo(folder).isWritable()) {
            staging = folder;
            break;
        }
    }
    if (staging.isEmpty())
        return cannotWrite(dicPath, tr("папка %1 защищена от записи, а сохранить копию словаря негде")
                                        .arg(native(QFileInfo(dicPath).absolutePath())));
    auto file = [&staging](const QString& name) -> QString { return staging + QLatin1Char('/') + name; };
    auto abandon = [&](const QString& path, const QString& reason) {
        QDir(staging).removeRecursively();
        return cannotWrite(path, reason);
    };

    QString reason = writeBytes(file(StagedDictionary), dicData, false);
    if (!reason.isEmpty())
        return abandon(dicPath, reason);
    if (!reached(DictionaryFiles::SaveStep::DictionaryWritten))
        return QString();
    reason = writeBytes(file(StagedStatuses), infData, false);
    if (!reason.isEmpty())
        return abandon(statusPath, reason);
    if (!reached(DictionaryFiles::SaveStep::StatusesWritten))
        return QString();
    for (const auto& [target, kept] : {std::pair{dicPath, KeptDictionary}, std::pair{statusPath, KeptStatuses}}) {
        QByteArray old;
        QString problem;
        if (!exists(target))
            continue;
        if (!BoundedFile::read(target, &old, &problem))
            return abandon(target, tr("старый файл не читается (%1)").arg(problem));
        reason = writeBytes(file(kept), old, false);
        if (!reason.isEmpty())
            return abandon(target, reason);
    }
    if (!sameBytes(file(StagedDictionary), dicData) || !sameBytes(file(StagedStatuses), infData))
        return abandon(dicPath, tr("копия при проверке отличается от записанной"));
    reason = writeBytes(file(StagingMarker), dicPath.toUtf8() + '\n', false);
    if (!reason.isEmpty())
        return abandon(dicPath, reason);
    if (!reached(DictionaryFiles::SaveStep::Committed))
        return QString();
    return finishInPlace(staging, dicPath, reached);
}

} // namespace

DictionaryFiles::DictionaryFiles(WordModel* words, StepObserver observer)
    : words(words)
    , dictionary(&words->units)
    , learned(&words->learnedUnits)
    , statuses(&words->statuses)
    , observer(std::move(observer))
{
}

QString DictionaryFiles::statusesPath(const QString& dicPath)
{
    return basePath(dicPath) + QStringLiteral(".inf");
}

QString DictionaryFiles::openFileName() const
{
    return dictionary->fileName();
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
    if (path != dicPath && path != dicPath + NewSuffix)
        reading.notice = tr("Словарь %1 не удалось переписать на месте; открыта его последняя сохранённая "
                            "копия (%2). Она будет записана на место словаря при следующем сохранении.")
                             .arg(native(dicPath), native(QFileInfo(path).absolutePath()));
    if (!exists(path)) {
        reading.kind = Reading::Missing;
        return reading;
    }
    QByteArray data;
    if (!BoundedFile::read(path, &data, &reading.problem)) {
        reading.kind = Reading::Unreadable;
        return reading;
    }
    reading.problem = DictionaryFormat::readWholeUnits(data, &reading.units);
    if (!reading.problem.isEmpty()) {
        reading.kind = Reading::Damaged;
        return reading;
    }
    // A new dictionary is an empty file with no statuses; an empty file
    // whose statuses name words lost those words.
    if (data.isEmpty()) {
        const QList<int> values = Statuses::valuesFromFile(readStatusValues(dicPath));
        if (!values.isEmpty()) {
            reading.kind = Reading::Damaged;
            reading.problem = QObject::tr("файл пуст, а в файле статусов записаны статусы %n слов", nullptr,
                                 int(values.size()));
        }
    }
    return reading;
}

QList<int> DictionaryFiles::readStatusValues(const QString& dicPath)
{
    QByteArray data;
    QString problem;
    const QString path = currentVersion(statusesPath(dicPath), dicPath);
    if (!exists(path) || !BoundedFile::read(path, &data, &problem))
        return {};
    return DictionaryFormat::readIntList(data);
}

bool DictionaryFiles::recover(const QString& dicPath)
{
    const QString marker = markerPath(dicPath);
    const QString statusPath = statusesPath(dicPath);
    bool complete = true;
    if (!QFile::exists(marker)) {
        // A save that never reached its marker: the old pair is the valid one.
        QFile::remove(dicPath + NewSuffix);
        QFile::remove(statusPath + NewSuffix);
    } else {
        for (const QString& target : {dicPath, statusPath}) {
            if (QFileInfo(target + NewSuffix).isFile() && !replaceFile(target + NewSuffix, target))
                complete = false;
        }
        syncFolder(dicPath);
        if (complete) {
            QFile::remove(marker);
            syncFolder(dicPath);
        }
    }
    for (const QString& staging : stagingFolders(dicPath)) {
        if (!QFileInfo(staging).isDir())
            continue;
        if (!QFileInfo(staging + QLatin1Char('/') + StagingMarker).isFile()) {
            // Staged without its marker: the two files were never touched.
            QDir(staging).removeRecursively();
            continue;
        }
        if (!finishInPlace(staging, dicPath, [](SaveStep) { return true; }).isEmpty())
            complete = false;
    }
    return complete;
}

QString DictionaryFiles::writeFile(const QString& path, const QByteArray& bytes, bool inPlace)
{
    const QString reason = writeBytes(path, bytes, inPlace);
    return reason.isEmpty() ? QString() : cannotWrite(path, reason);
}

QString DictionaryFiles::writeDictionary(const QString& dicPath, const QList<Unit>& units)
{
    const QString reason = writeBytes(dicPath, DictionaryFormat::encodeUnits(units), true);
    return reason.isEmpty() ? QString() : cannotWrite(dicPath, reason);
}

QString DictionaryFiles::writeStatuses(const QString& dicPath, const QList<int>& statusValues)
{
    const QString path = statusesPath(dicPath);
    const QString reason = writeBytes(path, DictionaryFormat::encodeIntList(statusValues), true);
    return reason.isEmpty() ? QString() : cannotWrite(path, reason);
}

QString DictionaryFiles::writePair(const QString& dicPath, const QList<Unit>& units,
                                   const QList<int>& statusValues, const StepObserver& observer)
{
    const QString statusPath = statusesPath(dicPath);
    auto reached = [&observer](SaveStep step) { return !observer || observer(step); };

    if (!recover(dicPath))
        return cannotWrite(dicPath, tr("не удалось завершить предыдущее сохранение"));
    for (const QString& path : {dicPath, statusPath}) {
        const QString problem = obstacle(path);
        if (!problem.isEmpty())
            return problem;
    }
    const QByteArray dicData = DictionaryFormat::encodeUnits(units);
    const QByteArray infData = DictionaryFormat::encodeIntList(statusValues);

    const QFileInfo folder(QFileInfo(dicPath).absolutePath());
    if (!folder.isWritable())
        return writeInPlace(dicPath, dicData, infData, reached);

    auto discard = [&] {
        QFile::remove(dicPath + NewSuffix);
        QFile::remove(statusPath + NewSuffix);
    };
    QString reason = writeBytes(dicPath + NewSuffix, dicData, false);
    if (!reason.isEmpty()) {
        discard();
        return cannotWrite(dicPath, reason);
    }
    if (!reached(SaveStep::DictionaryWritten))
        return QString();
    reason = writeBytes(statusPath + NewSuffix, infData, false);
    if (!reason.isEmpty()) {
        discard();
        return cannotWrite(statusPath, reason);
    }
    if (!reached(SaveStep::StatusesWritten))
        return QString();

    reason = writeBytes(markerPath(dicPath), QByteArrayLiteral("Vocabrium: both new files are complete\n"), false);
    if (!reason.isEmpty()) {
        discard();
        QFile::remove(markerPath(dicPath));
        return cannotWrite(dicPath, reason);
    }
    syncFolder(dicPath);
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
    // Both names on disk before the marker goes: a power cut must not
    // bring the old names back once the marker is gone.
    syncFolder(dicPath);
    if (!reached(SaveStep::StatusesReplaced))
        return QString();
    QFile::remove(markerPath(dicPath));
    syncFolder(dicPath);
    return QString();
}

void DictionaryFiles::adopt(const QString& dicPath, const QList<Unit>& units, bool whole)
{
    dictionary->setFileName(basePath(dicPath) + QStringLiteral(".dic"));
    // The pools hold keys of the dictionary that was open; the statuses load
    // below fills them again with the new dictionary's chosen words.
    words->questions.clear();
    words->variants.clear();
    dictionary->setLoaded(units, whole);
    statuses->load();
}

bool DictionaryFiles::setAsideDamagedStatuses(const QString& dicPath, QString* notice)
{
    const QString path = currentVersion(statusesPath(dicPath), dicPath);
    if (!exists(path))
        return true;
    QByteArray data;
    QString problem;
    QList<int> values;
    if (BoundedFile::read(path, &data, &problem)) {
        problem = DictionaryFormat::readWholeIntList(data, &values);
        if (problem.isEmpty())
            return true;
    }
    QString aside = path + QStringLiteral(".damaged");
    for (int i = 2; exists(aside); ++i)
        aside = path + QStringLiteral(".damaged.%1").arg(i);
    if (replaceFile(path, aside)) {
        syncFolder(path);
        *notice = tr("Файл статусов %1 повреждён (%2). Он сохранён как %3, а все слова словаря "
                     "начинают с нулевого статуса.")
                      .arg(native(path), problem, native(aside));
        return true;
    }
    *notice = tr("Файл статусов %1 повреждён (%2), и его не удалось отложить в сторону. Все слова словаря "
                 "начинают с нулевого статуса, но словарь не будет сохраняться, чтобы не затереть этот файл.")
                  .arg(native(path), problem);
    return false;
}

void DictionaryFiles::adoptWhole(const QString& dicPath, const Reading& reading, QStringList* messages)
{
    if (!reading.notice.isEmpty())
        messages->append(reading.notice);
    QString notice;
    const bool saveable = setAsideDamagedStatuses(dicPath, &notice);
    adopt(dicPath, reading.units, saveable);
    if (!notice.isEmpty())
        messages->append(notice);
    if (!saveable)
        statuses->setList(QList<int>(reading.units.size(), int(Statuses::Unlearned)));
}

QStringList DictionaryFiles::takeNotices()
{
    return std::exchange(notices, QStringList());
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
        adoptWhole(dicPath, reading, &notices);
        return QString();
    case Reading::Missing:
        return tr("Словарь %1 не открыт: такого файла нет.").arg(native(dicPath));
    case Reading::Unreadable:
    case Reading::Damaged:
        break;
    }
    return tr("Словарь %1 не открыт: %2. Файл оставлен без изменений.").arg(native(dicPath), reading.problem);
}

QStringList DictionaryFiles::openAtStartUp(const QString& storedDicPath, const QString& defaultPath)
{
    QStringList problems;
    Reading reading = read(storedDicPath);
    if (reading.kind == Reading::Whole) {
        adoptWhole(storedDicPath, reading, &problems);
        return problems;
    }
    if (reading.kind != Reading::Missing)
        problems.append(tr("Словарь %1 не открыт: %2. Файл оставлен без изменений.")
                            .arg(native(storedDicPath), reading.problem));
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
        adoptWhole(defaultPath, reading, &problems);
        break;
    case Reading::Unreadable:
    case Reading::Damaged:
        if (!sameFile(defaultPath, storedDicPath))
            problems.append(tr("Словарь %1 не открыт: %2. Файл оставлен без изменений.")
                                .arg(native(defaultPath), reading.problem));
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

void DictionaryFiles::forgetReplaced()
{
    // Memory holds the words of a file that is gone; until the new file is
    // read they must not be written over it.
    dictionary->setLoaded(dictionary->unitList(), false);
}

void DictionaryFiles::setReadOnly(const QString& reason)
{
    readOnlyReason = reason;
}

bool DictionaryFiles::isSaveable() const
{
    return dictionary->isWhole() && readOnlyReason.isEmpty();
}

bool DictionaryFiles::openIsLearnedFile() const
{
    return sameFile(openFileName(), learned->fileName());
}

QString DictionaryFiles::save()
{
    // A file that was not read whole stays as it is; the user was told when it was opened.
    if (!isSaveable())
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
    if (openIsLearnedFile() || !learned->isWhole() || !readOnlyReason.isEmpty())
        return QString();
    return writeDictionary(learned->fileName(), learned->unitList());
}
