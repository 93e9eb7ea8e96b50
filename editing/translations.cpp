#include "translations.h"

#include "translation/translator.h"

Translations::Translations(QObject* parent)
    : QObject(parent)
{
}

void Translations::translate(const QStringList& words)
{
    // Answers are matched by text, so an answer still on its way from an
    // aborted batch could be taken for one of this batch, or end it early.
    // A fresh translator per batch leaves the old requests behind.
    if (translator) {
        disconnect(translator, nullptr, this, nullptr);
        translator->deleteLater();
    }
    translator = new Translator(this);
    connect(translator, &Translator::translated, this, &Translations::setTranslation);

    this->words = words;
    results.clear();
    for (const QString& word : words)
        translator->translate(word);
}

QString Translations::translation(int position) const
{
    return results.value(position);
}

int Translations::count() const
{
    return int(results.size());
}

void Translations::clear()
{
    results.clear();
}

void Translations::setTranslation(const QString& text, const QString& translation)
{
    // A word that occurs twice was asked twice: the first answer goes to the
    // first occurrence still waiting, so that every position gets one.
    int position = -1;
    for (int i = 0; i < words.size(); ++i) {
        if (words.at(i) != text)
            continue;
        if (position < 0)
            position = i;
        if (!results.contains(i)) {
            position = i;
            break;
        }
    }
    if (position < 0)
        return;
    results.insert(position, translation);
    emit received(count());
}
