// dictool: converts dictionaries between the ".dic" format of Vocabrium and
// the word-list files of spreadsheets and other trainers, and shows the base
// forms the import of a text would choose.
//
//   dictool to-dic  words.tsv  words.dic
//   dictool to-tsv  words.dic  words.tsv
//   dictool import  [--columns=N,M] FILE  OUT.dic
//   dictool export  [--languages=xx,yy] IN.dic  OUT.kvtml|OUT.csv|OUT.tsv
//   dictool base-form WORD...
//
// to-dic and to-tsv handle the project's own word lists: UTF-8, one entry
// per line, the word, a tab, the translation; blank lines and lines starting
// with '#' skipped. import reads tab- and comma-separated text, KVTML 2.0 and
// Anki's plain-text notes, telling them apart by content and extension, and
// takes the first two columns (or languages) unless --columns names others,
// counting from 1. export writes the format the extension names; KVTML names
// the languages by their codes (default en,ru). base-form reads the
// morphology from the Morphologic folder beside this program, as the
// program does from its own.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <cstdio>

#include "interchange/wordfiles.h"
#include "model/dictionaryformat.h"
#include "morphology/baseforms.h"
#include "tools/tabseparated.h"
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

int toTsv(const QString& from, const QString& to)
{
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read %1").arg(from));
    TabSeparated::Rows rows;
    for (const Unit& unit : DictionaryFormat::readUnits(in.readAll()))
        rows.append({unit.word, unit.translation});
    QString error;
    return TabSeparated::write(to, rows, &error) ? 0 : fail(error);
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
    if (!WordFiles::writeDictionary(args.at(1), units, &error))
        return fail(error);
    std::printf("%d words\n", int(units.size()));
    return 0;
}

int exportFile(QStringList args)
{
    QStringList codes{QStringLiteral("en"), QStringLiteral("ru")};
    if (takeOption(&args, QStringLiteral("languages"), &codes) && codes.size() != 2)
        return fail(QStringLiteral("--languages needs two language codes"));
    if (args.size() != 2)
        return 2;
    QFile in(args.at(0));
    if (!in.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read %1").arg(args.at(0)));
    const QList<Unit> units = DictionaryFormat::readUnits(in.readAll());
    const auto table = languages();
    auto language = [&table](const QString& code) {
        const QString name = languageName(table, code);
        return KvtmlFormat::Language{name.isEmpty() ? code : name, code};
    };
    QString error;
    if (!WordFiles::write(args.at(1), units, language(codes.at(0)), language(codes.at(1)), &error))
        return fail(error);
    return 0;
}

int baseForm(const QStringList& words)
{
    const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/Morphologic");
    BaseForms forms(folder + QStringLiteral("/default.aff"), folder + QStringLiteral("/default.dic"), folder);
    for (const QString& word : words)
        std::printf("%s\n", qPrintable(forms.baseForm(word)));
    return 0;
}

int usage()
{
    std::fprintf(stderr, "usage: dictool to-dic FILE.tsv FILE.dic\n"
                         "       dictool to-tsv FILE.dic FILE.tsv\n"
                         "       dictool import [--columns=N,M] FILE OUT.dic\n"
                         "       dictool export [--languages=xx,yy] IN.dic OUT.kvtml|OUT.csv|OUT.tsv\n"
                         "       dictool base-form WORD...\n");
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
    return result == 2 ? usage() : result;
}
