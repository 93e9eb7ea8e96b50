#include "translation/translator.h"

#include <QNetworkReply>
#include <QUrlQuery>
#include <QXmlStreamReader>

#include "app/services.h"
#include "app/settings.h"

namespace {

// The service answers at most this many requests of one client at a time;
// the network layer opens no more connections per host anyway.
constexpr int maxRunning = 6;

struct Configuration
{
    QUrl url;
    QString applicationId;
    int timeout = 0;
};

using Services::configured;

QUrl usableServiceUrl(const QUrl& url)
{
    // Anything but an http(s) address with a host would make every request
    // fail, so a mistyped configuration falls back to the public service.
    if (url.isValid() && !url.host().isEmpty()
        && (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https")))
        return url;
    return QUrl(QStringLiteral("http://api.microsofttranslator.com"));
}

Configuration& configuration()
{
    static Configuration c = [] {
        Configuration loaded;
        loaded.url = usableServiceUrl(QUrl(configured(
            "VOCABRIUM_TRANSLATOR_URL", QStringLiteral("translatorUrl"), QString())));
        loaded.applicationId = configured("VOCABRIUM_TRANSLATOR_APPID",
                                          QStringLiteral("translatorAppId"),
                                          QStringLiteral("0A1B2C3D4E5F60718293A4B5C6D7E8F901234567"));
        bool ok = false;
        loaded.timeout = configured("VOCABRIUM_TRANSLATOR_TIMEOUT",
                                    QStringLiteral("translatorTimeout"), QString()).toInt(&ok);
        if (!ok || loaded.timeout <= 0)
            loaded.timeout = 15000;
        return loaded;
    }();
    return c;
}

// QUrlQuery leaves "+" (and with it the meaning of the text) to the server's
// taste, so every value goes in already percent-encoded.
QString encoded(const QString& value)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(value));
}

} // namespace

Translator::Translator(QObject* parent)
    : QObject(parent)
{
    connect(&manager, &QNetworkAccessManager::finished, this, &Translator::produceTranslations);
}

Translator::~Translator()
{
    // Replies torn down with the manager must not reach a half-destroyed object.
    disconnect(&manager, nullptr, this, nullptr);
}

QUrl Translator::serviceUrl()
{
    return configuration().url;
}

void Translator::setServiceUrl(const QUrl& url)
{
    configuration().url = usableServiceUrl(url);
}

QString Translator::applicationId()
{
    return configuration().applicationId;
}

void Translator::setApplicationId(const QString& id)
{
    configuration().applicationId = id;
}

int Translator::timeout()
{
    return configuration().timeout;
}

void Translator::setTimeout(int milliseconds)
{
    configuration().timeout = qMax(1, milliseconds);
}

QUrl Translator::requestUrl(const QString& text, const QString& from, const QString& to)
{
    QUrl url = serviceUrl();
    QString path = url.path();
    while (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    url.setPath(path + QStringLiteral("/V2/Http.svc/Translate"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("appId"), encoded(applicationId()));
    query.addQueryItem(QStringLiteral("text"), encoded(text));
    query.addQueryItem(QStringLiteral("from"), encoded(from));
    query.addQueryItem(QStringLiteral("to"), encoded(to));
    url.setQuery(query);
    return url;
}

QString Translator::parseReply(const QByteArray& body)
{
    QXmlStreamReader reader(body);
    if (!reader.readNextStartElement())
        return QString();
    const QString text = reader.readElementText();
    // Whatever follows the element must still be well-formed; a cut-off or
    // mixed-up body is no answer, even if some text could be collected.
    while (!reader.atEnd() && !reader.hasError())
        reader.readNext();
    return reader.hasError() ? QString() : text;
}

void Translator::translate(const QString& text)
{
    // The languages are read now, not when the request leaves the queue:
    // callers swap them around a batch of calls.
    QNetworkRequest request(requestUrl(text, learningLanguage, interfaceLanguage));
    request.setAttribute(QNetworkRequest::User, QVariant(text));
    waiting.enqueue(request);
    sendQueued();
}

void Translator::sendQueued()
{
    while (running < maxRunning && !waiting.isEmpty()) {
        QNetworkRequest request = waiting.dequeue();
        request.setTransferTimeout(timeout());
        manager.get(request);
        ++running;
    }
}

void Translator::produceTranslations(QNetworkReply* reply)
{
    --running;
    const QString source = reply->request().attribute(QNetworkRequest::User).toString();
    // An error page may well be XML too; its text is no translation.
    QString translation;
    if (reply->error() == QNetworkReply::NoError)
        translation = parseReply(reply->readAll());
    if (translation.toLower() == source.toLower())
        translation.clear();
    reply->deleteLater();
    sendQueued();
    emit translated(source, translation);
}

QList<QPair<QString, QString>> languages()
{
    return {
        {QStringLiteral("en"), QObject::tr("Английский")},
        {QStringLiteral("ru"), QObject::tr("Русский")},
        {QStringLiteral("uk"), QObject::tr("Украинский")},
        {QStringLiteral("de"), QObject::tr("Немецкий")},
        {QStringLiteral("fr"), QObject::tr("Французский")},
        {QStringLiteral("it"), QObject::tr("Итальянский")},
        {QStringLiteral("es"), QObject::tr("Испанский")},
        {QStringLiteral("zh-CN"), QObject::tr("Китайский")},
        {QStringLiteral("ja"), QObject::tr("Японский")},
        {QStringLiteral("sq"), QObject::tr("Албанский")},
        {QStringLiteral("hy"), QObject::tr("Армянский")},
        {QStringLiteral("ar"), QObject::tr("Арабский")},
        {QStringLiteral("bg"), QObject::tr("Болгарский")},
        {QStringLiteral("be"), QObject::tr("Белорусский")},
        {QStringLiteral("hu"), QObject::tr("Венгерский")},
        {QStringLiteral("vi"), QObject::tr("Вьетнамский")},
        {QStringLiteral("el"), QObject::tr("Греческий")},
        {QStringLiteral("nl"), QObject::tr("Голландский")},
        {QStringLiteral("da"), QObject::tr("Датский")},
        {QStringLiteral("ca"), QObject::tr("Каталонский")},
        {QStringLiteral("ko"), QObject::tr("Корейский")},
        {QStringLiteral("lv"), QObject::tr("Латышский")},
        {QStringLiteral("lt"), QObject::tr("Литовский")},
        {QStringLiteral("no"), QObject::tr("Норвежский")},
        {QStringLiteral("pl"), QObject::tr("Польский")},
        {QStringLiteral("pt"), QObject::tr("Португальский")},
        {QStringLiteral("ro"), QObject::tr("Румынский")},
        {QStringLiteral("sr"), QObject::tr("Сербский")},
        // The name begins with a Latin capital C, as it always has; the
        // language dialog and stored data know it by this exact text.
        {QStringLiteral("sk"), QObject::tr("Cловацкий")},
        {QStringLiteral("sl"), QObject::tr("Словенский")},
        {QStringLiteral("th"), QObject::tr("Тайский")},
        {QStringLiteral("tr"), QObject::tr("Турецкий")},
        {QStringLiteral("fi"), QObject::tr("Финский")},
        {QStringLiteral("sv"), QObject::tr("Шведский")},
        {QStringLiteral("cs"), QObject::tr("Чешский")},
        {QStringLiteral("et"), QObject::tr("Эстонский")},
    };
}

QStringList languageCodes(const QList<QPair<QString, QString>>& table)
{
    QStringList codes;
    codes.reserve(table.size());
    for (const auto& row : table)
        codes.append(row.first);
    return codes;
}

QString languageName(const QList<QPair<QString, QString>>& table, const QString& code)
{
    const QString wanted = code.toLower();
    for (const auto& row : table) {
        if (row.first.toLower() == wanted)
            return row.second;
    }
    return QString();
}
