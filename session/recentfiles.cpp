#include "session/recentfiles.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

QStringList RecentFiles::withCurrent(const QStringList& stored, const QString& current)
{
    QStringList files = stored;
    files.removeAll(current);
    files.prepend(current);
    files.erase(std::remove_if(files.begin(), files.end(),
                               [](const QString& path) { return !QFile::exists(path); }),
                files.end());
    while (files.size() > Count)
        files.removeLast();
    return files;
}

QString RecentFiles::menuText(const QString& path)
{
    const QString suffix = QStringLiteral(".dic");
    QString name = QFileInfo(path).fileName();
    if (name.endsWith(suffix, Qt::CaseInsensitive))
        name.chop(suffix.size());
    return name;
}
