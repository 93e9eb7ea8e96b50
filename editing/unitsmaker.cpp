#include "unitsmaker.h"

#include <QFile>

#include <hunspell/hunspell.hxx>

#include <string>
#include <vector>

#include "model/units.h"

namespace {

// Hunspell's names for the encodings it reads, where they differ from the
// names Qt's converters know.
QByteArray converterName(const char* hunspellName)
{
    const QByteArray name = QByteArray(hunspellName).trimmed();
    if (name.compare("microsoft-cp1251", Qt::CaseInsensitive) == 0)
        return "windows-1251";
    if (name.compare("TIS620-2533", Qt::CaseInsensitive) == 0)
        return "TIS-620";
    return name;
}

bool isAscii(const QString& text)
{
    for (QChar c : text) {
        if (c.unicode() > 0x7f)
            return false;
    }
    return true;
}

bool isAscii(const std::string& bytes)
{
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) > 0x7f)
            return false;
    }
    return true;
}

} // namespace

UnitsMaker::UnitsMaker(const QString& affixFile, const QString& dictionaryFile)
    : dictionary(Units::instance(0))
    , learnedList(Units::instance(1))
{
    // Hunspell complains on the console about files it cannot open; missing
    // files simply mean no morphology.
    if (!QFile::exists(affixFile) || !QFile::exists(dictionaryFile))
        return;
    morphology = std::make_unique<Hunspell>(QFile::encodeName(affixFile).constData(),
                                            QFile::encodeName(dictionaryFile).constData());
    const QByteArray name = converterName(morphology->get_dic_encoding());
    encoder = QStringEncoder(name.constData());
    decoder = QStringDecoder(name.constData());
    if (!encoder.isValid() || !decoder.isValid()) {
        asciiOnly = true;
        encoder = QStringEncoder(QStringConverter::Latin1);
        decoder = QStringDecoder(QStringConverter::Latin1);
    }
}

UnitsMaker::~UnitsMaker() = default;

QStringList UnitsMaker::words() const
{
    return wordList;
}

void UnitsMaker::setWords(const QStringList& words)
{
    wordList = words;
}

void UnitsMaker::clear()
{
    wordList.clear();
}

void UnitsMaker::excludeKnown()
{
    exclude(dictionary);
}

void UnitsMaker::excludeLearned()
{
    exclude(learnedList);
}

void UnitsMaker::exclude(const Units* list)
{
    // find() is a hash look-up, so this stays linear in the number of words.
    wordList.removeIf([list](const QString& word) { return list->find(word) >= 0; });
}

bool UnitsMaker::hasMorphology() const
{
    return morphology != nullptr;
}

QString UnitsMaker::stemOf(const QString& word)
{
    // A NUL would cut the word short inside Hunspell.
    if (!morphology || word.isEmpty() || word.contains(QChar(0)))
        return word;
    if (asciiOnly && !isAscii(word))
        return word;

    encoder.resetState();
    const QByteArray bytes = encoder.encode(word);
    // A character the dictionary's encoding cannot hold would reach Hunspell
    // as a replacement character and could match some other word.
    if (encoder.hasError())
        return word;

    const std::vector<std::string> stems = morphology->stem(bytes.toStdString());
    if (stems.empty())
        return word;
    // Of several analyses the last is taken, as the import always did.
    const std::string& stem = stems.back();
    if (stem.empty() || (asciiOnly && !isAscii(stem)))
        return word;
    decoder.resetState();
    const QString result = decoder.decode(QByteArrayView(stem.data(), qsizetype(stem.size())));
    return decoder.hasError() ? word : result;
}

void UnitsMaker::stem()
{
    for (QString& word : wordList)
        word = stemOf(word);
    wordList.removeDuplicates();
}
