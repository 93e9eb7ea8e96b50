// dictool: converts dictionaries between tab-separated text and the ".dic"
// format of Vocabrium.
//
//   dictool to-dic  words.tsv  words.dic
//   dictool to-tsv  words.dic  words.tsv
//
// Text files are UTF-8, one entry per line: the word, a tab, the translation.
// Blank lines and lines starting with '#' are skipped.

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>

#include <cstdio>

#include "model/dictionaryformat.h"
#include "tools/tabseparated.h"

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

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 4 && args.at(1) == QLatin1String("to-dic"))
        return toDic(args.at(2), args.at(3));
    if (args.size() == 4 && args.at(1) == QLatin1String("to-tsv"))
        return toTsv(args.at(2), args.at(3));
    std::fprintf(stderr, "usage: dictool to-dic FILE.tsv FILE.dic\n"
                         "       dictool to-tsv FILE.dic FILE.tsv\n");
    return 2;
}
