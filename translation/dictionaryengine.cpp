#include "translation/dictionaryengine.h"

#include "translation/offlinedictionaries.h"

void DictionaryEngine::translate(const TranslationRequest& request)
{
    // The answer is ready at once, but a caller learns the request's key
    // only when translate() returns; it comes from the event loop instead.
    QMetaObject::invokeMethod(
        this,
        [this, request] {
            const OfflineDictionaries::Answer answer = dictionaries->translate(
                request.text, request.from, request.to, request.settings.folders());
            QString failure;
            if (!answer.havePair)
                failure = tr("нет словарей для этой пары языков");
            else if (answer.translation.isEmpty())
                failure = tr("нет в словарях");
            const QString note = answer.via.isEmpty()
                ? QString()
                : tr("через английский: %1").arg(answer.via.join(QStringLiteral(", ")));
            emit answered(request.key, answer.translation, answer.article, failure, note);
        },
        Qt::QueuedConnection);
}
