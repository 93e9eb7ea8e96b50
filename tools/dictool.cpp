// dictool: converts dictionaries between the ".dic" format of Vocabrium and
// the word-list files of spreadsheets and other trainers, shows the base
// forms the import of a text would choose, and translates words the way the
// program does.
//
//   dictool to-dic  words.tsv  words.dic
//   dictool to-tsv  words.dic  words.tsv
//   dictool import  [--columns=N,M] FILE|DECK.apkg  OUT.dic
//   dictool export  [--languages=xx,yy] [--separator=comma|semicolon|tab] IN.dic  OUT.kvtml|OUT.csv|OUT.tsv
//   dictool base-form [--language=xx|--stems=xx] WORD...
//   dictool translate FROM TO [WORD...]
//   dictool language FILE.dic
//
// to-dic and to-tsv handle the project's own word lists: UTF-8, one entry
// per line, the word, a tab, the translation; blank lines and lines starting
// with '#' skipped. import reads tab-, comma- and semicolon-separated text,
// KVTML 1.0 and 2.0, Anki's plain-text notes and Anki packages (.apkg),
// telling them apart by content and extension, and takes the first two
// columns (languages, note fields) unless --columns names others, counting
// from 1. The recordings of an Anki package go into OUT.sounds beside
// OUT.dic, where the program finds them. export writes the format the extension names; KVTML names
// the languages by their codes (default en,ru); CSV separates fields with
// --separator (default comma). base-form reads the
// morphology from the Morphologic folder beside this program, as the
// program does from its own; with --language another language than English
// takes the system's Hunspell pair of that language, and --stems prints
// all the words Hunspell takes it for a form of, space-separated.
//
// translate takes language codes of the program's language table ("en",
// "ru", "de"...) and prints "word<TAB>translation" per word, in the order
// given, the translation empty when none was found (the reason goes to the
// error stream). Without words it reads one word a line from standard
// input. It asks the same engines, in the same order and at the same
// addresses as the window (its settings dialog, or the VOCABRIUM_*
// environment variables).

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QHash>
#include <QSaveFile>
#include <QTextStream>

#include <algorithm>
#include <cstdio>

#include "interchange/wordfiles.h"
#include "config/settings.h"
#include "languages/dictionarylanguage.h"
#include "languages/languagedetector.h"
#include "model/boundedfile.h"
#include "model/dictionaryfiles.h"
#include "model/dictionaryformat.h"
#include "morphology/hunspellstemmer.h"
#include "morphology/baseforms.h"
#include "tools/tabseparated.h"
#include "translation/offlinedictionaries.h"
#include "translation/translator.h"

namespace {

int fail(const QString& message)
{
    std::fprintf(stderr, "dictool: %s\n", qPrintable(message));
    return 1;
}

int toDic(const QString& from, const QString& to)
{
    TabSeparated::Rows rows;
    QString error;
    if (!TabSeparated::read(from, &rows, &error))
        return fail(error);
    QList<Unit> units;
    units.reserve(rows.size());
    for (const auto& row : std::as_const(rows))
        units.append(Unit{row.first, row.second});
    return WordFiles::writeDictionary(to, units, &error) ? 0 : fail(error);
}

// The words of a whole ".dic" file; a file cut short or otherwise damaged
// is refused, so that no output holds a part of it as if it were all.
bool readDictionary(const QString& path, QList<Unit>* units, QString* error)
{
    QByteArray data;
    QString problem;
    if (BoundedFile::read(path, &data, &problem))
        problem = DictionaryFormat::readWholeUnits(data, units);
    if (problem.isEmpty())
        return true;
    *error = QStringLiteral("%1: %2").arg(path, problem);
    return false;
}

int toTsv(const QString& from, const QString& to)
{
    QList<Unit> units;
    QString error;
    if (!readDictionary(from, &units, &error))
        return fail(error);
    TabSeparated::Rows rows;
    for (const Unit& unit : std::as_const(units))
        rows.append({unit.word, unit.translation});
    return TabSeparated::write(to, rows, &error) ? 0 : fail(error);
}

QString languageCode(const QString& code)
{
    for (const QString& known : languageCodes(languages())) {
        if (known.compare(code, Qt::CaseInsensitive) == 0)
            return known;
    }
    return QString();
}

int translate(const QString& from, const QString& to, QStringList words)
{
    Settings settings;
    settings.learningLanguage = languageCode(from);
    settings.interfaceLanguage = languageCode(to);
    if (settings.learningLanguage.isEmpty() || settings.interfaceLanguage.isEmpty())
        return fail(QStringLiteral("unknown language code %1").arg(settings.learningLanguage.isEmpty() ? from : to));
    if (words.isEmpty()) {
        QFile input;
        if (!input.open(stdin, QIODevice::ReadOnly | QIODevice::Text))
            return fail(QStringLiteral("cannot read standard input"));
        QTextStream in(&input);
        while (!in.atEnd()) {
            const QString line = in.readLine().trimmed();
            if (!line.isEmpty())
                words.append(line);
        }
    }

    // The same translator settings and dictionaries the window would use.
    const TranslatorSettings translatorSettings = TranslatorSettings::read();
    OfflineDictionaries dictionaries;
    Translator translator(&settings, &translatorSettings, &dictionaries);
    QHash<int, int> positions;
    QStringList translations(words.size());
    int waiting = int(words.size());
    QEventLoop loop;
    // Why a word got nothing goes to the error stream, out of the way of the list.
    QObject::connect(&translator, &Translator::details, &loop,
                     [&](int key, const QString&, const QString& failure) {
                         if (!failure.isEmpty())
                             std::fprintf(stderr, "dictool: %s: %s\n",
                                          qPrintable(words.at(positions.value(key))), qPrintable(failure));
                     });
    QObject::connect(&translator, &Translator::translated, &loop, [&](int key, const QString& translation) {
        translations[positions.value(key)] = translation;
        if (--waiting == 0)
            loop.quit();
    });
    for (int i = 0; i < words.size(); ++i)
        positions.insert(translator.translate(words.at(i)), i);
    if (waiting > 0)
        loop.exec();

    QFile output;
    if (!output.open(stdout, QIODevice::WriteOnly | QIODevice::Text))
        return fail(QStringLiteral("cannot write standard output"));
    QTextStream out(&output);
    for (int i = 0; i < words.size(); ++i)
        out << words.at(i) << '\t' << translations.at(i) << '\n';
    return 0;
}

// "--name=a,b" among the arguments: the two values, removed from the list.
bool takeOption(QStringList* args, const QString& name, QStringList* values)
{
    const QString prefix = QStringLiteral("--") + name + QLatin1Char('=');
    for (qsizetype i = 0; i < args->size(); ++i) {
        if (!args->at(i).startsWith(prefix))
            continue;
        *values = args->takeAt(i).mid(prefix.size()).split(QLatin1Char(','));
        return true;
    }
    return false;
}

int importFile(QStringList args)
{
    QStringList columns;
    const bool chosen = takeOption(&args, QStringLiteral("columns"), &columns);
    if (args.size() != 2)
        return 2;
    WordTable table;
    QString error;
    if (!WordFiles::read(args.at(0), &table, &error))
        return fail(QStringLiteral("%1: %2").arg(args.at(0), error));
    int word = 0;
    int translation = 1;
    if (chosen) {
        bool ok1 = false;
        bool ok2 = false;
        word = columns.value(0).toInt(&ok1) - 1;
        translation = columns.value(1).toInt(&ok2) - 1;
        if (!ok1 || !ok2 || columns.size() != 2 || word < 0 || translation < 0
            || word >= table.columns.size() || translation >= table.columns.size())
            return fail(QStringLiteral("--columns needs two column numbers from 1 to %1").arg(table.columns.size()));
    } else if (table.columns.size() > 2) {
        QStringList names;
        for (qsizetype i = 0; i < table.columns.size(); ++i)
            names.append(QStringLiteral("%1 %2").arg(i + 1).arg(table.columns.at(i)).trimmed());
        std::fprintf(stderr, "dictool: %s has %d columns (%s); taking 1 and 2, --columns=N,M chooses others\n",
                     qPrintable(args.at(0)), int(table.columns.size()), qPrintable(names.join(QStringLiteral(", "))));
    }
    const QList<Unit> units = table.units(word, translation);
    if (units.isEmpty())
        return fail(QStringLiteral("%1: no words in column %2").arg(args.at(0)).arg(word + 1));
    if (std::all_of(units.cbegin(), units.cend(), [](const Unit& unit) { return unit.translation.isEmpty(); }))
        std::fprintf(stderr, "dictool: %s: every translation is empty\n", qPrintable(args.at(0)));
    if (!WordFiles::writeDictionary(args.at(1), units, &error))
        return fail(error);
    const int recordings = WordFiles::writeRecordings(args.at(1), table, word, &error);
    if (recordings < 0)
        return fail(error);
    if (recordings > 0)
        std::printf("%d words, %d recordings\n", int(units.size()), recordings);
    else
        std::printf("%d words\n", int(units.size()));
    return 0;
}

int exportFile(QStringList args)
{
    QStringList codes{QStringLiteral("en"), QStringLiteral("ru")};
    if (takeOption(&args, QStringLiteral("languages"), &codes) && codes.size() != 2)
        return fail(QStringLiteral("--languages needs two language codes"));
    QStringList separatorName{QStringLiteral("comma")};
    takeOption(&args, QStringLiteral("separator"), &separatorName);
    const QHash<QString, QChar> separators{{QStringLiteral("comma"), QLatin1Char(',')},
                                           {QStringLiteral("semicolon"), QLatin1Char(';')},
                                           {QStringLiteral("tab"), QLatin1Char('\t')}};
    if (separatorName.size() != 1 || !separators.contains(separatorName.first()))
        return fail(QStringLiteral("--separator is comma, semicolon or tab"));
    if (args.size() != 2)
        return 2;
    QList<Unit> units;
    QString error;
    if (!readDictionary(args.at(0), &units, &error))
        return fail(error);
    const auto table = languages();
    auto language = [&table](const QString& code) {
        const QString name = languageName(table, code);
        return KvtmlFormat::Language{name.isEmpty() ? code : name, code};
    };
    if (!WordFiles::write(args.at(1), units, language(codes.at(0)), language(codes.at(1)), &error,
                          separators.value(separatorName.first())))
        return fail(error);
    return 0;
}

int baseForm(QStringList words)
{
    // Another language than English: its own Hunspell pair from the system.
    // --stems= prints every other word Hunspell takes it for a form of,
    // which the site lists use to leave forms out ("primera", "llega").
    const bool stems = !words.isEmpty() && words.first().startsWith(QLatin1String("--stems="));
    if (!words.isEmpty() && (stems || words.first().startsWith(QLatin1String("--language=")))) {
        const HunspellStemmer stemmer(words.takeFirst().section(QLatin1Char('='), 1));
        for (const QString& word : std::as_const(words)) {
            const QString shown = stems ? stemmer.stems(word).join(QLatin1Char(' ')) : stemmer.baseForm(word);
            std::printf("%s\n", qPrintable(shown));
        }
        return 0;
    }
    const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/Morphologic");
    BaseForms forms(folder + QStringLiteral("/default.aff"), folder + QStringLiteral("/default.dic"), folder);
    for (const QString& word : words)
        std::printf("%s\n", qPrintable(forms.baseForm(word)));
    return 0;
}

// The language the window takes for a dictionary: the one kept beside it,
// or the one told from its words ("?" after it when the window would ask).
int language(const QString& dicPath)
{
    const DictionaryLanguage::Reading reading = DictionaryLanguage::read(dicPath);
    if (reading.kind == DictionaryLanguage::Reading::Whole) {
        std::printf("%s\n", qPrintable(reading.foreign));
        return 0;
    }
    QFile file(dicPath);
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read %1").arg(dicPath));
    QList<Unit> units;
    const QString problem = DictionaryFormat::readWholeUnits(file.read(DictionaryFiles::MaximumFileSize + 1), &units);
    if (!problem.isEmpty())
        return fail(QStringLiteral("%1: %2").arg(dicPath, problem));
    QStringList words;
    for (const Unit& unit : std::as_const(units))
        words.append(unit.word);
    LanguageDetector detector;
    const LanguageDetector::Guess guess = detector.detect(words);
    if (guess.language.isEmpty())
        return fail(QStringLiteral("%1: no language could be told").arg(dicPath));
    std::printf("%s%s\n", qPrintable(guess.language), guess.sure ? "" : "?");
    return 0;
}

int usage()
{
    std::fprintf(stderr, "usage: dictool to-dic FILE.tsv FILE.dic\n"
                         "       dictool to-tsv FILE.dic FILE.tsv\n"
                         "       dictool import [--columns=N,M] FILE|DECK.apkg OUT.dic\n"
                         "       dictool export [--languages=xx,yy] [--separator=comma|semicolon|tab] IN.dic OUT.kvtml|OUT.csv|OUT.tsv\n"
                         "       dictool base-form [--language=xx|--stems=xx] WORD...\n"
                         "       dictool translate FROM TO [WORD...]   (words from standard input when none)\n"
                         "       dictool language FILE.dic\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    const QString command = args.isEmpty() ? QString() : args.takeFirst();
    int result = 2;
    if (command == QLatin1String("to-dic") && args.size() == 2)
        result = toDic(args.at(0), args.at(1));
    else if (command == QLatin1String("to-tsv") && args.size() == 2)
        result = toTsv(args.at(0), args.at(1));
    else if (command == QLatin1String("import"))
        result = importFile(args);
    else if (command == QLatin1String("export"))
        result = exportFile(args);
    else if (command == QLatin1String("base-form") && !args.isEmpty())
        result = baseForm(args);
    else if (command == QLatin1String("language") && args.size() == 1)
        result = language(args.at(0));
    else if (command == QLatin1String("translate") && args.size() >= 2)
        result = translate(args.at(0), args.at(1), args.mid(2));
    return result == 2 ? usage() : result;
}
