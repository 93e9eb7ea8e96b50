#include "editing/downloadrules.h"

#include <QDir>
#include <QNetworkReply>
#include <QObject>
#include <QRegularExpression>

#include "model/dictionaryformat.h"

namespace DownloadRules {

QString fileName(const QString& address)
{
    QString path = address;
    const qsizetype end = path.indexOf(QRegularExpression(QStringLiteral("[?#]")));
    if (end >= 0)
        path.truncate(end);
    const QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);

    static const QString suffix = QStringLiteral(".dic");
    if (!name.endsWith(suffix, Qt::CaseInsensitive) || name.size() <= suffix.size())
        return QString();
    // A leading dot covers "..", ".dic" and hidden files alike.
    if (name.startsWith(QLatin1Char('.')))
        return QString();
    for (const QChar c : name) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('%') || c == QLatin1Char(':')
            || c.category() == QChar::Other_Control || c.category() == QChar::Other_Format
            || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            return QString();
    }
    return name;
}

bool isDictionary(const QByteArray& body)
{
    QList<Unit> units;
    return DictionaryFormat::readWholeUnits(body, &units).isEmpty() && !units.isEmpty();
}

QString addressText(const QUrl& url)
{
    return url.isLocalFile() ? QDir::toNativeSeparators(url.toLocalFile()) : url.toDisplayString();
}

QString networkErrorText(int error)
{
    switch (QNetworkReply::NetworkError(error)) {
    case QNetworkReply::NoError:
        return QString();
    case QNetworkReply::ConnectionRefusedError:
        return QObject::tr("сервер не принимает соединений");
    case QNetworkReply::RemoteHostClosedError:
        return QObject::tr("сервер оборвал соединение");
    case QNetworkReply::HostNotFoundError:
        return QObject::tr("сервер не найден");
    case QNetworkReply::TimeoutError:
    case QNetworkReply::OperationCanceledError:
        return QObject::tr("сервер не отвечает");
    case QNetworkReply::SslHandshakeFailedError:
        return QObject::tr("не удалось установить защищённое соединение");
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::UnknownNetworkError:
        return QObject::tr("нет связи с сетью");
    case QNetworkReply::ContentAccessDenied:
        return QObject::tr("доступ запрещён");
    case QNetworkReply::ContentOperationNotPermittedError:
        return QObject::tr("по адресу нет файла, который можно прочитать");
    case QNetworkReply::ContentNotFoundError:
        return QObject::tr("файл не найден");
    case QNetworkReply::ProtocolUnknownError:
    case QNetworkReply::ProtocolInvalidOperationError:
        return QObject::tr("адрес такого вида не поддерживается");
    case QNetworkReply::InternalServerError:
    case QNetworkReply::ServiceUnavailableError:
    case QNetworkReply::UnknownServerError:
        return QObject::tr("ошибка на сервере");
    default:
        return QObject::tr("ошибка сети (код %1)").arg(error);
    }
}

} // namespace DownloadRules
