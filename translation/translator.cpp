#include "translation/translator.h"

#include "config/settings.h"
#include "translation/dictionaryengine.h"
#include "translation/libretranslateengine.h"
#include "translation/v2engine.h"

Translator::Translator(const Settings* settings, const TranslatorSettings* translatorSettings,
                       OfflineDictionaries* dictionaries, QObject* parent)
    : QObject(parent)
    , settings(settings)
    , translatorSettings(translatorSettings)
    , dictionaries(dictionaries)
{
}

Translator::~Translator() = default;

TranslationEngine* Translator::engine(const QString& name)
{
    TranslationEngine*& made = engines[name];
    if (!made) {
        if (name == TranslatorSettings::dictionariesEngine())
            made = new DictionaryEngine(dictionaries, this);
        else if (name == TranslatorSettings::libreTranslateEngine())
            made = new LibreTranslateEngine(this);
        else
            made = new V2Engine(this);
        connect(made, &TranslationEngine::answered, this, &Translator::receive);
    }
    return made;
}

int Translator::translate(const QString& text)
{
    // The languages of the moment: the open dictionary's may change between calls.
    return translate(text, settings->learningLanguage, settings->interfaceLanguage);
}

int Translator::translate(const QString& text, const QString& from, const QString& to)
{
    const int key = ++lastKey;
    Pending request;
    request.text = text;
    request.from = from;
    request.to = to;
    request.settings = *translatorSettings;
    for (const QString& name : std::as_const(request.settings.engines)) {
        // An online service nobody gave an address to is not asked, and not
        // worth a word in the reasons either.
        if ((name == TranslatorSettings::libreTranslateEngine() && request.settings.libreUrl.trimmed().isEmpty())
            || (name == TranslatorSettings::v2Engine() && request.settings.v2Url.trimmed().isEmpty()))
            continue;
        request.engines.append(name);
    }
    pending.insert(key, request);
    if (request.engines.isEmpty()) {
        QMetaObject::invokeMethod(
            this,
            [this, key] {
                receive(key, QString(), QString(),
                        tr("не выбран ни один способ перевода (Настройки → Перевод слов)"), QString());
            },
            Qt::QueuedConnection);
        return key;
    }
    askNext(key);
    return key;
}

void Translator::askNext(int key)
{
    Pending& request = pending[key];
    TranslationRequest asked{key, request.text, request.from, request.to, request.settings};
    engine(request.engines.at(request.next++))->translate(asked);
}

void Translator::receive(int key, const QString& translation, const QString& article,
                         const QString& failure, const QString& note)
{
    const auto found = pending.find(key);
    if (found == pending.end())
        return;
    Pending& request = found.value();
    if (!article.isEmpty() && request.article.isEmpty())
        request.article = article;
    if (translation.isEmpty() && request.next < request.engines.size()) {
        if (!failure.isEmpty())
            request.failures.append(failure);
        askNext(key);
        return;
    }
    if (translation.isEmpty() && !failure.isEmpty())
        request.failures.append(failure);
    const QString articles = request.article;
    const QString reasons = translation.isEmpty() ? request.failures.join(QStringLiteral("; ")) : QString();
    pending.erase(found);
    emit details(key, articles, reasons, translation.isEmpty() ? QString() : note);
    emit translated(key, translation);
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
