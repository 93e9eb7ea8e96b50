// dictool: converts dictionaries between tab-separated text and the ".dic"
// format of Vocabrium, and translates words the way the program does.
//
//   dictool to-dic  words.tsv  words.dic
//   dictool to-tsv  words.dic  words.tsv
//   dictool translate FROM TO [WORD...]
//
// Text files are UTF-8, one entry per line: the word, a tab, the translation.
// Blank lines and lines starting with '#' are skipped.
//
// translate takes language codes of the program's language table ("en",
// "ru", "de"...) and prints "word<TAB>translation" per word, in the order
// given, the translation empty when none was found (the reason goes to the
// error stream). Without words it reads
// one word a line from standard input. It asks the same engines, in the
// same order and at the same addresses as the window (its settings dialog,
// or the VOCABRIUM_* environment variables).

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QHash>
#include <QSaveFile>
#include <QTextStream>

#include <cstdio>

#include "app/settings.h"
#include "model/dictionaryformat.h"
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
    QSaveFile out(to);
    if (!out.open(QIODevice::WriteOnly) || !DictionaryFormat::writeUnits(&out, units)
        || !out.commit())
        return fail(QStringLiteral("cannot write %1").arg(to));
    return 0;
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
    learningLanguage = languageCode(from);
    interfaceLanguage = languageCode(to);
    if (learningLanguage.isEmpty() || interfaceLanguage.isEmpty())
        return fail(QStringLiteral("unknown language code %1").arg(learningLanguage.isEmpty() ? from : to));
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

    Translator translator;
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

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 4 && args.at(1) == QLatin1String("to-dic"))
        return toDic(args.at(2), args.at(3));
    if (args.size() == 4 && args.at(1) == QLatin1String("to-tsv"))
        return toTsv(args.at(2), args.at(3));
    if (args.size() >= 4 && args.at(1) == QLatin1String("translate"))
        return translate(args.at(2), args.at(3), args.mid(4));
    std::fprintf(stderr, "usage: dictool to-dic FILE.tsv FILE.dic\n"
                         "       dictool to-tsv FILE.dic FILE.tsv\n"
                         "       dictool translate FROM TO [WORD...]   (words from standard input when none)\n");
    return 2;
}
