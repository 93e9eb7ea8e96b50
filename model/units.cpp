#include "model/units.h"


#include <algorithm>

#include "model/dictionaryfiles.h"

Units::Units(QObject* parent)
    : QObject(parent)
{
}

QString Units::fileName() const
{
    return path;
}

void Units::setFileName(const QString& fileName)
{
    path = fileName;
}

void Units::load()
{
    // Which dictionary opens instead of an unreadable one, and telling the
    // learner, is for DictionaryFiles at start-up; here the list only stays
    // empty and unwritable.
    const DictionaryFiles::Reading reading = DictionaryFiles::read(fileName());
    setLoaded(reading.units, reading.kind == DictionaryFiles::Reading::Whole
                                 || reading.kind == DictionaryFiles::Reading::Missing);
}

void Units::setLoaded(const QList<Unit>& units, bool whole)
{
    this->whole = whole;
    entries.clear();
    entries.reserve(units.size());
    int key = 0;
    for (const Unit& unit : units)
        entries.append(key++, unit);
    rebuildIndex();
}

int Units::count() const
{
    return int(entries.size());
}

QList<int> Units::keys() const
{
    return entries.keys();
}

int Units::lastKey() const
{
    return entries.isEmpty() ? -1 : entries.lastKey();
}

bool Units::contains(int key) const
{
    return entries.contains(key);
}

Unit Units::unit(int key) const
{
    return entries.value(key);
}

QString Units::word(int key) const
{
    const Unit* unit = entries.find(key);
    return unit ? unit->word : QString();
}

QString Units::translation(int key) const
{
    const Unit* unit = entries.find(key);
    return unit ? unit->translation : QString();
}

QList<Unit> Units::unitList() const
{
    return entries.values();
}

int Units::find(const QString& text) const
{
    const auto it = index.constFind(text.trimmed().toLower());
    return it == index.cend() ? -1 : it->first;
}

int Units::findByTranslation(const QString& text) const
{
    const QString needle = text.trimmed();
    if (needle.isEmpty())
        return -1;
    const QList<int>& keys = entries.keys();
    const QList<Unit>& units = entries.values();
    for (qsizetype i = 0; i < keys.size(); ++i) {
        if (units.at(i).translation.contains(needle, Qt::CaseInsensitive))
            return keys.at(i);
    }
    return -1;
}

void Units::add(const QString& word, const QString& translation)
{
    add(Unit{word.trimmed(), translation.trimmed()});
}

void Units::add(const Unit& unit)
{
    const int key = lastKey() + 1;
    entries.append(key, unit);
    indexKey(key, unit.word);
    emit added(key);
}

void Units::edit(int key, const QString& word, const QString& translation)
{
    const Unit unit{word.trimmed(), translation.trimmed()};
    const Unit* existing = entries.find(key);
    if (!existing) {
        entries.insert(key, unit);
        indexKey(key, unit.word);
        return;
    }
    const QString oldWord = existing->word;
    entries.insert(key, unit);
    if (oldWord.toLower() != unit.word.toLower()) {
        unindexKey(key, oldWord);
        indexKey(key, unit.word);
        emit edited(key, oldWord);
    }
}

void Units::remove(int key)
{
    const Unit* unit = entries.find(key);
    if (unit) {
        const QString word = unit->word;
        entries.remove(key);
        unindexKey(key, word);
    }
    emit removed(key);
}

void Units::setUnits(const QList<Unit>& units)
{
    entries.clear();
    entries.reserve(units.size());
    int key = 0;
    for (const Unit& unit : units)
        entries.append(key++, unit);
    rebuildIndex();
}

void Units::indexKey(int key, const QString& word)
{
    const QString lower = word.toLower();
    const auto it = index.find(lower);
    if (it == index.end()) {
        index.insert(lower, IndexEntry{key, 1});
    } else {
        it->first = qMin(it->first, key);
        ++it->count;
    }
}

// Called once the entry under key no longer holds word.
void Units::unindexKey(int key, const QString& word)
{
    const QString lower = word.toLower();
    const auto it = index.find(lower);
    if (it == index.end())
        return;
    if (--it->count == 0) {
        index.erase(it);
        return;
    }
    if (it->first != key)
        return;
    const QList<int>& keys = entries.keys();
    const QList<Unit>& units = entries.values();
    for (qsizetype i = 0; i < keys.size(); ++i) {
        if (units.at(i).word.toLower() == lower) {
            it->first = keys.at(i);
            return;
        }
    }
}

void Units::rebuildIndex()
{
    index.clear();
    index.reserve(entries.size());
    // Keys are visited in ascending order, so the first one seen is the smallest.
    const QList<int>& keys = entries.keys();
    const QList<Unit>& units = entries.values();
    for (qsizetype i = 0; i < keys.size(); ++i) {
        const QString lower = units.at(i).word.toLower();
        const auto it = index.find(lower);
        if (it == index.end())
            index.insert(lower, IndexEntry{keys.at(i), 1});
        else
            ++it->count;
    }
}
