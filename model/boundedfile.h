#pragma once

#include <QByteArray>
#include <QString>

/*!
    The one way the program reads a file a learner may have chosen or
    replaced: a dictionary, its statuses, a review schedule, an imported word
    list, a transcription table, the help page.

    Only a regular file is read (links are followed): a folder, a FIFO, a
    device or a socket is refused without waiting for a writer, and no more
    than \a limit bytes are ever read, whatever size the file claims. The
    reasons are short Russian phrases that fit into "... : reason".
*/
namespace BoundedFile {

/*! Far beyond any real dictionary or word list (100 000 words take about 3 MB). */
constexpr qint64 DefaultLimit = 64 * 1024 * 1024;

/*! Reads the whole of \a path into \a data; false, with \a problem saying
    why, when it is not a regular file, is larger than \a limit or cannot be
    read. A missing file is a problem too: "такого файла нет". */
bool read(const QString& path, QByteArray* data, QString* problem, qint64 limit = DefaultLimit);

/*! The phrase for a file over \a limit bytes. */
QString tooLarge(qint64 limit = DefaultLimit);

} // namespace BoundedFile
