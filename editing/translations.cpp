#include "translations.h"

#include "session/workspace.h"
#include "translation/translator.h"

Translations::Translations(Workspace* workspace, QObject* parent)
    : QObject(parent)
    , workspace(workspace)
{
}

void Translations::translate(const QStringList& words, bool reverse)
{
    // Answers of an aborted batch must not be taken for answers of this one:
    // a fresh translator per batch leaves the old requests behind.
    if (translator) {
        disconnect(translator, nullptr, this, nullptr);
        translator->deleteLater();
    }
    translator = new Translator(&workspace->settings, &workspace->translatorSettings, &workspace->dictionaries, this);
    connect(translator, &Translator::details, this, &Translations::setFailure);
    connect(translator, &Translator::translated, this, &Translations::setTranslation);

    this->words = words;
    results.clear();
    reasons.clear();
    positions.clear();
    // A text in the learner's own language is translated the other way round.
    const Settings& settings = workspace->settings;
    const QString from = reverse ? settings.interfaceLanguage : settings.learningLanguage;
    const QString to = reverse ? settings.learningLanguage : settings.interfaceLanguage;
    for (int i = 0; i < words.size(); ++i)
        positions.insert(translator->translate(words.at(i), from, to), i);
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
