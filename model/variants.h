#pragma once

#include <QList>
#include <QObject>
#include <QSet>

#include "model/keypool.h"

class Questions;

/*! The keys the choice lesson draws its wrong answers from. */
class Variants : public QObject
{
    Q_OBJECT

public:
    explicit Variants(const Questions* questions);

    int count() const;
    QList<int> list() const;
    void clear();

    /*!
        \a n distinct keys that include the key being asked, at a random
        position. When the pool holds fewer distinct keys than asked for, the
        result is as long as the pool allows (the current key still included).
    */
    QList<int> variants(int n) const;

public slots:
    void add(int key);
    void remove(int key);

private:

    KeyPool pool;
    const Questions* questions;
};
