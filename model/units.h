#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

#include "model/keyedlist.h"
#include "model/unit.h"

/*!
    The word list of a dictionary. Two exist for the whole run (WordModel):
    the open dictionary and the learned-words list.
    Entries are addressed by integer keys: after a load they are 0..n-1 in
    file order, a new entry gets the greatest key + 1, and a removal leaves a
    gap until the next load.
*/
class Units : public QObject
{
    Q_OBJECT

public:
    explicit Units(QObject* parent = nullptr);

    /*! The file the list is read from (and saved to, by DictionaryFiles). */
    QString fileName() const;
    void setFileName(const QString& fileName);
    void load();
    /*! Replaces the entries by \a units as a load does (keys 0..n-1, no
        signal); \a whole says whether they are the complete file. */
    void setLoaded(const QList<Unit>& units, bool whole);
    /*! Whether the file may be written over: the last load read it whole,
        or there was no file yet. */
    bool isWhole() const { return whole; }

    int count() const;
    QList<int> keys() const;
    int lastKey() const;
    bool contains(int key) const;
    Unit unit(int key) const;
    QString word(int key) const;
    QString translation(int key) const;
    QList<Unit> unitList() const;

    /*! Key of the first entry (smallest key) whose word matches \a text
        case-insensitively after trimming \a text; -1 when none does. */
    int find(const QString& text) const;

    /*! Key of the first entry whose translation contains \a text, letter
        case ignored; -1 when none does or \a text is blank. */
    int findByTranslation(const QString& text) const;

    void add(const QString& word, const QString& translation);
    void add(const Unit& unit);
    void edit(int key, const QString& word, const QString& translation);
    void remove(int key);
    void setUnits(const QList<Unit>& units);

signals:
    void added(int key);
    void removed(int key);
    /*! The entry under \a key was edited and its word was \a previousWord before. */
    void edited(int key, const QString& previousWord);

private:

    // Words are indexed lower-cased so that find() costs the same on a
    // hundred words as on a hundred thousand. Each word keeps its smallest
    // key and how many entries share it; only removing the smallest of
    // several equal words needs a scan.
    struct IndexEntry
    {
        int first;
        int count;
    };

    void indexKey(int key, const QString& word);
    void unindexKey(int key, const QString& word);
    void rebuildIndex();

    QString path;
    bool whole = true;
    KeyedList<Unit> entries;
    QHash<QString, IndexEntry> index;
};
