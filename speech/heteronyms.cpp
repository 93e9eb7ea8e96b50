#include "speech/heteronyms.h"

#include <QHash>
#include <QList>
#include <QRegularExpression>

namespace {

// A reading applies when the first Russian word is a verb ("v"), is no
// verb ("-"), or begins with the given Russian text. The first that applies
// wins, so senses told by their word come before the part of speech.
struct Reading
{
    const char16_t* when;
    const char16_t* ipa;
};

const QHash<QString, QList<Reading>>& readings()
{
    static const QHash<QString, QList<Reading>> table{
        {QStringLiteral("live"), {{u"v", u"lˈɪv"}, {u"-", u"lˈaɪv"}}},
        {QStringLiteral("use"), {{u"v", u"jˈuːz"}, {u"-", u"jˈuːs"}}},
        {QStringLiteral("close"), {{u"v", u"klˈoʊz"}, {u"конец", u"klˈoʊz"}, {u"-", u"klˈoʊs"}}},
        {QStringLiteral("increase"), {{u"v", u"ɪŋkɹˈiːs"}, {u"-", u"ˈɪŋkɹiːs"}}},
        {QStringLiteral("decrease"), {{u"v", u"dᵻkɹˈiːs"}, {u"-", u"dˈiːkɹiːs"}}},
        {QStringLiteral("recall"), {{u"v", u"ɹᵻkˈɔːl"}, {u"-", u"ɹˈiːkɔːl"}}},
        {QStringLiteral("separate"), {{u"v", u"sˈɛpɚɹˌeɪt"}, {u"-", u"sˈɛpɹət"}}},
        {QStringLiteral("bow"),
         {{u"лук", u"bˈoʊ"}, {u"бант", u"bˈoʊ"}, {u"дуг", u"bˈoʊ"}, {u"смыч", u"bˈoʊ"}, {u"радуг", u"bˈoʊ"},
          {u"v", u"bˈaʊ"}, {u"-", u"bˈaʊ"}}},
        {QStringLiteral("import"), {{u"v", u"ɪmpˈoːɹt"}, {u"-", u"ˈɪmpoːɹt"}}},
        {QStringLiteral("export"), {{u"v", u"ɛkspˈoːɹt"}, {u"-", u"ˈɛkspoːɹt"}}},
        {QStringLiteral("advocate"), {{u"v", u"ˈædvəkˌeɪt"}, {u"-", u"ˈædvəkət"}}},
        {QStringLiteral("delegate"), {{u"v", u"dˈɛlɪɡˌeɪt"}, {u"-", u"dˈɛlɪɡət"}}},
        {QStringLiteral("alternate"), {{u"v", u"ˈɔːltɚnˌeɪt"}, {u"-", u"ɔːltˈɜːnət"}}},
        {QStringLiteral("estimate"), {{u"v", u"ˈɛstᵻmˌeɪt"}, {u"-", u"ˈɛstᵻmət"}}},
        {QStringLiteral("associate"), {{u"v", u"ɐsˈoʊsɪˌeɪt"}, {u"-", u"ɐsˈoʊsɪət"}}},
        {QStringLiteral("graduate"), {{u"v", u"ɡɹˈædʒuːˌeɪt"}, {u"-", u"ɡɹˈædʒuːət"}}},
        {QStringLiteral("moderate"), {{u"v", u"mˈɑːdɚɹˌeɪt"}, {u"-", u"mˈɑːdɚɹət"}}},
        {QStringLiteral("record"), {{u"v", u"ɹᵻkˈoːɹd"}, {u"-", u"ɹˈɛkɚd"}}},
        {QStringLiteral("present"), {{u"v", u"pɹᵻzˈɛnt"}, {u"-", u"pɹˈɛzənt"}}},
        {QStringLiteral("object"), {{u"v", u"əbdʒˈɛkt"}, {u"-", u"ˈɑːbdʒɛkt"}}},
        {QStringLiteral("project"), {{u"v", u"pɹədʒˈɛkt"}, {u"-", u"pɹˈɑːdʒɛkt"}}},
        {QStringLiteral("produce"), {{u"v", u"pɹədˈuːs"}, {u"-", u"pɹˈoʊduːs"}}},
        {QStringLiteral("progress"), {{u"v", u"pɹəɡɹˈɛs"}, {u"-", u"pɹˈɑːɡɹɛs"}}},
        {QStringLiteral("permit"), {{u"v", u"pɚmˈɪt"}, {u"-", u"pˈɜːmɪt"}}},
        {QStringLiteral("protest"), {{u"v", u"pɹətˈɛst"}, {u"-", u"pɹˈoʊtɛst"}}},
        {QStringLiteral("conduct"), {{u"v", u"kəndˈʌkt"}, {u"-", u"kˈɑːndʌkt"}}},
        {QStringLiteral("contract"), {{u"v", u"kəntɹˈækt"}, {u"-", u"kˈɑːntɹækt"}}},
        {QStringLiteral("refuse"), {{u"v", u"ɹᵻfjˈuːz"}, {u"-", u"ɹˈɛfjuːs"}}},
        {QStringLiteral("desert"), {{u"v", u"dᵻzˈɜːt"}, {u"-", u"dˈɛzɚt"}}},
        {QStringLiteral("excuse"), {{u"v", u"ɛkskjˈuːz"}, {u"-", u"ɛkskjˈuːs"}}},
        {QStringLiteral("abuse"), {{u"v", u"ɐbjˈuːz"}, {u"-", u"ɐbjˈuːs"}}},
        {QStringLiteral("house"), {{u"v", u"hˈaʊz"}, {u"-", u"hˈaʊs"}}},
        {QStringLiteral("perfect"), {{u"v", u"pɚfˈɛkt"}, {u"-", u"pˈɜːfɛkt"}}},
        {QStringLiteral("suspect"), {{u"v", u"səspˈɛkt"}, {u"-", u"sˈʌspɛkt"}}},
        {QStringLiteral("subject"), {{u"v", u"səbdʒˈɛkt"}, {u"-", u"sˈʌbdʒɛkt"}}},
        {QStringLiteral("rebel"), {{u"v", u"ɹᵻbˈɛl"}, {u"-", u"ɹˈɛbəl"}}},
        {QStringLiteral("lead"), {{u"свин", u"lˈɛd"}, {u"-", u"lˈiːd"}, {u"v", u"lˈiːd"}}},
        {QStringLiteral("tear"), {{u"v", u"tˈɛɹ"}, {u"-", u"tˈɪɹ"}}},
        {QStringLiteral("wind"), {{u"v", u"wˈaɪnd"}, {u"-", u"wˈɪnd"}}},
        {QStringLiteral("row"), {{u"ссор", u"ɹˈaʊ"}, {u"скандал", u"ɹˈaʊ"}, {u"шум", u"ɹˈaʊ"},
                                 {u"v", u"ɹˈoʊ"}, {u"-", u"ɹˈoʊ"}}},
        {QStringLiteral("minute"), {{u"крош", u"maɪnˈuːt"}, {u"мельчайш", u"maɪnˈuːt"},
                                    {u"подробн", u"maɪnˈuːt"}, {u"-", u"mˈɪnɪt"}}},
        {QStringLiteral("content"), {{u"доволь", u"kəntˈɛnt"}, {u"-", u"kˈɑːntɛnt"}}},
    };
    return table;
}

// The first Russian word of the translation, lower-cased, without the
// "(ся)" of "закрывать(ся)" or a remark in brackets.
QString firstWord(const QString& translation)
{
    static const QRegularExpression remark(QStringLiteral("\\([^)]*\\)|\\[[^]]*\\]"));
    static const QRegularExpression word(QStringLiteral("[\\x{400}-\\x{4ff}-]+"));
    QString text = translation;
    text.remove(remark);
    return word.match(text.toLower()).captured();
}

bool isVerb(const QString& word)
{
    for (const char16_t* ending : {u"ть", u"ться", u"ти", u"тись", u"чь", u"чься"}) {
        if (word.endsWith(QStringView(ending)))
            return true;
    }
    return false;
}

} // namespace

namespace Heteronyms {

QString transcription(const QString& word, const QString& translation)
{
    const auto found = readings().constFind(word.trimmed().toLower());
    if (found == readings().constEnd())
        return QString();
    const QString first = firstWord(translation);
    if (first.isEmpty())
        return QString();
    const bool verb = isVerb(first);
    for (const Reading& reading : found.value()) {
        const QStringView when(reading.when);
        if ((when == u"v" && verb) || (when == u"-" && !verb)
            || (when.size() > 1 && first.startsWith(when)))
            return QString::fromUtf16(reading.ipa);
    }
    return QString();
}

} // namespace Heteronyms
