#pragma once

#include <QList>
#include <QObject>
#include <QSet>

#include "model/keypool.h"

/*! The question pool: the words being learned in this run and the one asked now. */
class Questions : public QObject
{
    Q_OBJECT

public:
    Questions() = default;

    int current() const;
    int count() const;
    QList<int> list() const;
    void clear();
    /*! Draws the next word; never the previous one while two or more remain. */
    void next();

public slots:
    void add(int key);
    void remove(int key);

private:

    int currentKey = 0;
    int previous = -1;
    KeyPool pool;
};
