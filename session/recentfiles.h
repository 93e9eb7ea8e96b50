#pragma once

#include <QString>
#include <QStringList>

/*!
    The File menu's list of recently opened dictionaries: the open one
    first, each file once, only files that still exist, at most Count.
*/
class RecentFiles
{
public:
    static constexpr int Count = 5;

    /*! \a stored brought up to date with \a current, the open dictionary's file. */
    static QStringList withCurrent(const QStringList& stored, const QString& current);

    /*! The menu entry for \a path: its file name without the ".dic" suffix. */
    static QString menuText(const QString& path);
};
