#include "review/reviewschedule.h"

#include <QBuffer>
#include <QDataStream>
#include <QFile>
#include <QFileInfo>
#include <QObject>

#include <algorithm>
#include <vector>

#include "model/datastreamreader.h"
#include "model/boundedfile.h"
#include "model/dictionaryfiles.h"

namespace {

constexpr quint32 Magic = 0x56524556; // "VREV"
constexpr quint32 Version = 1;
// A card takes at least a string length, two doubles, two days and two counts.
constexpr quint64 SmallestCard = 4 + 8 + 8 + 8 + 8 + 4 + 4;
constexpr quint64 DayRecord = 8 + 4 + 4;

qint64 julian(const QDate& date)
{
    return date.isValid() ? date.toJulianDay() : 0;
}

QDate fromJulian(qint64 day)
{
    return day == 0 ? QDate() : QDate::fromJulianDay(day);
}

} // namespace

QString ReviewSchedule::schedulePath(const QString& dicPath)
{
    QString base = dicPath;
    if (base.endsWith(QLatin1String(".dic"), Qt::CaseInsensitive))
        base.chop(4);
    return base + QStringLiteral(".rev");
}

QString ReviewSchedule::normalized(const QString& word)
{
    return word.trimmed().toLower();
}

void ReviewSchedule::setRequestedRetention(double retention)
{
    fsrs = Fsrs(retention);
}

bool ReviewSchedule::contains(const QString& word) const
{
    return cards.contains(normalized(word));
}

ReviewSchedule::Card ReviewSchedule::card(const QString& word) const
{
    return cards.value(normalized(word));
}

void ReviewSchedule::sync(const QList<Word>& words, const QDate& today)
{
    QHash<QString, Card> kept;
    kept.reserve(cards.size());
    for (const Word& word : words) {
        if (word.status != 100) {
            // A word learned again after a lapse keeps its memory while it is learned.
            const QString key = normalized(word.text);
            if (word.status != 0 && cards.contains(key))
                kept.insert(key, cards.value(key));
            continue;
        }
        const QString key = normalized(word.text);
        auto it = cards.find(key);
        if (it == cards.end()) {
            Card card;
            card.memory = fsrs.first(Fsrs::Good);
            card.last = today;
            card.due = today.addDays(fsrs.intervalDays(card.memory.stability));
            kept.insert(key, card);
            continue;
        }
        Card card = *it;
        if (!card.due.isValid()) {
            // Learned again after a lapse: due again by what memory is left.
            card.last = today;
            card.due = today.addDays(fsrs.intervalDays(card.memory.stability));
        }
        kept.insert(key, card);
    }
    cards = kept;
}

void ReviewSchedule::countLearned(const QDate& today)
{
    ++days[today].learned;
}

void ReviewSchedule::rename(const QString& from, const QString& to)
{
    const QString oldKey = normalized(from);
    const QString newKey = normalized(to);
    if (oldKey == newKey || !cards.contains(oldKey) || cards.contains(newKey))
        return;
    cards.insert(newKey, cards.take(oldKey));
}

void ReviewSchedule::reviewed(const QString& word, bool right, const QDate& today)
{
    auto it = cards.find(normalized(word));
    if (it == cards.end())
        return;
    const double elapsed = it->last.isValid() ? double(it->last.daysTo(today)) : 0.0;
    it->memory = fsrs.next(it->memory, elapsed, right ? Fsrs::Good : Fsrs::Again);
    it->last = today;
    ++it->reviews;
    if (right) {
        it->due = today.addDays(fsrs.intervalDays(it->memory.stability));
    } else {
        ++it->lapses;
        it->due = QDate();
    }
    ++days[today].reviewed;
}

QStringList ReviewSchedule::due(const QDate& today) const
{
    const qint64 last = today.toJulianDay();
    std::vector<std::pair<qint64, const QString*>> found;
    found.reserve(size_t(cards.size()));
    for (auto it = cards.cbegin(); it != cards.cend(); ++it) {
        if (it->due.isValid() && it->due.toJulianDay() <= last)
            found.emplace_back(it->due.toJulianDay(), &it.key());
    }
    // By day alone: an integer sort, whatever the number of words.
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    QStringList words;
    words.reserve(qsizetype(found.size()));
    for (const auto& entry : found)
        words.append(*entry.second);
    return words;
}

QList<int> ReviewSchedule::forecast(const QDate& today, int count) const
{
    QList<int> result(qMax(0, count), 0);
    if (result.isEmpty())
        return result;
    const qint64 first = today.toJulianDay();
    for (const Card& card : cards) {
        if (!card.due.isValid())
            continue;
        const qint64 offset = qMax<qint64>(0, card.due.toJulianDay() - first);
        if (offset < count)
            ++result[offset];
    }
    return result;
}

QByteArray ReviewSchedule::toBytes() const
{
    QByteArray bytes;
    bytes.reserve(qsizetype(16 + cards.size() * 64 + days.size() * DayRecord));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QDataStream out(&buffer);
    out.setVersion(QDataStream::Qt_4_6);
    out << Magic << Version << quint32(cards.size());
    // In the words' order, not the hash's: the same schedule gives the same
    // bytes on every save.
    QStringList words = cards.keys();
    words.sort();
    for (const QString& word : std::as_const(words)) {
        const Card& card = cards[word];
        out << word << card.memory.stability << card.memory.difficulty << qint64(julian(card.last))
            << qint64(julian(card.due)) << quint32(card.reviews) << quint32(card.lapses);
    }
    out << quint32(days.size());
    for (auto it = days.cbegin(); it != days.cend(); ++it)
        out << qint64(julian(it.key())) << quint32(it->learned) << quint32(it->reviewed);
    return bytes;
}

QString ReviewSchedule::fromBytes(const QByteArray& bytes)
{
    cards.clear();
    days.clear();
    DataStreamReader reader(bytes);
    if (reader.readUInt32() != Magic || reader.readUInt32() != Version)
        return QObject::tr("это не файл расписания повторений");
    const quint32 count = reader.readUInt32();
    if (count > reader.remaining() / SmallestCard)
        return QObject::tr("в заголовке указано больше слов, чем помещается в файле");
    QHash<QString, Card> read;
    read.reserve(qsizetype(count));
    for (quint32 i = 0; i < count; ++i) {
        const QString word = reader.readString();
        Card card;
        card.memory.stability = reader.readDouble();
        card.memory.difficulty = reader.readDouble();
        card.last = fromJulian(qint64(reader.readUInt64()));
        card.due = fromJulian(qint64(reader.readUInt64()));
        card.reviews = int(reader.readUInt32());
        card.lapses = int(reader.readUInt32());
        if (reader.failed())
            return QObject::tr("запись %1 обрывается на середине").arg(i + 1);
        if (!(card.memory.stability > 0 && card.memory.stability < 1e6) || !(card.memory.difficulty >= 1 && card.memory.difficulty <= 10))
            return QObject::tr("у слова «%1» неверное состояние памяти").arg(word);
        read.insert(normalized(word), card);
    }
    const quint32 dayCount = reader.readUInt32();
    if (reader.failed() || dayCount > reader.remaining() / DayRecord)
        return QObject::tr("история повторений обрывается");
    QMap<QDate, Day> history;
    for (quint32 i = 0; i < dayCount; ++i) {
        const QDate date = fromJulian(qint64(reader.readUInt64()));
        Day day;
        day.learned = int(reader.readUInt32());
        day.reviewed = int(reader.readUInt32());
        if (reader.failed() || !date.isValid())
            return QObject::tr("история повторений повреждена");
        history.insert(date, day);
    }
    if (!reader.atEnd())
        return QObject::tr("после последней записи остались лишние данные");
    cards = read;
    days = history;
    return QString();
}

QString ReviewSchedule::load(const QString& dicPath)
{
    const QString path = schedulePath(dicPath);
    cards.clear();
    days.clear();
    onDisk.clear();
    saveable = true;
    fileExisted = QFileInfo::exists(path);
    if (!fileExisted)
        return QString();
    QByteArray data;
    QString problem;
    if (!BoundedFile::read(path, &data, &problem)) {
        saveable = false;
        return QObject::tr("Расписание повторений %1 не прочитано: %2. Файл оставлен без изменений.").arg(path, problem);
    }
    problem = fromBytes(data);
    if (problem.isEmpty()) {
        onDisk = data;
        return QString();
    }
    saveable = false;
    return QObject::tr("Расписание повторений %1 не прочитано: %2. Файл оставлен без изменений.").arg(path, problem);
}

QString ReviewSchedule::save(const QString& dicPath) const
{
    if (!saveable)
        return QString();
    const QString path = schedulePath(dicPath);
    // Nothing to remember and no file yet: a dictionary never reviewed gets no file.
    if (cards.isEmpty() && days.isEmpty() && !QFileInfo::exists(path))
        return QString();
    const QByteArray bytes = toBytes();
    if (bytes == onDisk && QFileInfo::exists(path))
        return QString();
    const QString error = DictionaryFiles::writeFile(path, bytes, true);
    if (!error.isEmpty())
        return error;
    onDisk = bytes;
    return QString();
}
