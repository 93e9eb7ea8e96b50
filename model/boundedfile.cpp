#include "model/boundedfile.h"

#include <QCoreApplication>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace BoundedFile {

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("BoundedFile", text);
}

QString systemProblem(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return tr("такого файла нет");
    case EACCES:
    case EPERM:
        return tr("нет прав на чтение файла");
    case ELOOP:
        return tr("ссылка указывает сама на себя");
    default:
        return tr("файл не читается (%1)").arg(QString::fromLocal8Bit(std::strerror(error)));
    }
}

} // namespace

QString tooLarge(qint64 limit)
{
    if (limit < 1024 * 1024)
        return tr("файл больше %1 КБ").arg(limit / 1024);
    return tr("файл больше %1 МБ").arg(limit / (1024 * 1024));
}

bool read(const QString& path, QByteArray* data, QString* problem, qint64 limit)
{
    data->clear();
    // Without O_NONBLOCK, opening a FIFO waits until something opens it for
    // writing, and the window or the start-up would hang on it.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *problem = systemProblem(errno);
        return false;
    }
    auto failWith = [&](const QString& reason) {
        ::close(fd);
        data->clear();
        *problem = reason;
        return false;
    };
    struct stat info = {};
    if (::fstat(fd, &info) != 0)
        return failWith(systemProblem(errno));
    if (S_ISDIR(info.st_mode))
        return failWith(tr("это папка, а не файл"));
    if (!S_ISREG(info.st_mode))
        return failWith(tr("это не обычный файл"));
    if (info.st_size > limit)
        return failWith(tooLarge(limit));
    // The size seen by fstat may be stale: a file growing while it is read
    // still costs no more than the limit.
    data->resize(qsizetype(qMin<qint64>(info.st_size, limit) + 1));
    qint64 total = 0;
    for (;;) {
        if (total == data->size()) {
            if (total > limit)
                return failWith(tooLarge(limit));
            data->resize(qsizetype(qMin<qint64>(total * 2, limit + 1)));
        }
        const ssize_t got = ::read(fd, data->data() + total, size_t(data->size() - total));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return failWith(systemProblem(errno));
        if (got == 0)
            break;
        total += got;
    }
    ::close(fd);
    data->resize(qsizetype(total));
    return true;
}

} // namespace BoundedFile
