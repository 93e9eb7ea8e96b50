#include "translations.h"

#include "translation/translator.h"

Translations::Translations(QObject* parent)
    : QObject(parent)
{
}

void Translations::translate(const QStringList& words)
{
    // Answers of an aborted batch must not be taken for answers of this one:
    // a fresh translator per batch leaves the old requests behind.
    if (translator) {
        disconnect(translator, nullptr, this, nullptr);
        translator->deleteLater();
    }
    translator = new Translator(this);
    connect(translator, &Translator::details, this, &Translations::setFailure);
    connect(translator, &Translator::translated, this, &Translations::setTranslation);

    this->words = words;
    results.clear();
    reasons.clear();
    positions.clear();
    for (int i = 0; i < words.size(); ++i)
        positions.insert(translator->translate(words.at(i)), i);
}

QString Translations::translation(int position) const
{
    return results.value(position);
}

int Translations::count() const
{
    return int(results.size());
}

int Translations::translatedCount() const
{
    return int(std::count_if(results.cbegin(), results.cend(),
                             [](const QString& translation) { return !translation.isEmpty(); }));
}

void Translations::clear()
{
    results.clear();
    reasons.clear();
}

void Translations::setFailure(int key, const QString& article, const QString& failure)
{
    Q_UNUSED(article)
    if (!failure.isEmpty() && positions.contains(key))
        ++reasons[failure];
}

void Translations::setTranslation(int key, const QString& translation)
{
    const auto position = positions.constFind(key);
    if (position == positions.constEnd())
        return;
    results.insert(position.value(), translation);
    positions.erase(position);
    emit received(count());
}
