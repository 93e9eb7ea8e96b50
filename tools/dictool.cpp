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
#include <QTextStream>

#include <cstdio>

#include "model/dictionaryformat.h"

namespace {

int fail(const QString& message)
{
    std::fprintf(stderr, "dictool: %s\n", qPrintable(message));
    return 1;
}

int toDic(const QString& from, const QString& to)
{
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly | QIODevice::Text))
        return fail(QStringLiteral("cannot read %1").arg(from));
    QList<Unit> units;
    int lineNumber = 0;
    QTextStream text(&in);
    while (!text.atEnd()) {
        const QString line = text.readLine();
        ++lineNumber;
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        if (tab < 0)
            return fail(QStringLiteral("%1:%2: no tab between word and translation")
                            .arg(from).arg(lineNumber));
        units.append(Unit{line.left(tab).trimmed(), line.mid(tab + 1).trimmed()});
    }
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
    const QList<Unit> units = DictionaryFormat::readUnits(in.readAll());
    QSaveFile out(to);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Text))
        return fail(QStringLiteral("cannot write %1").arg(to));
    QTextStream text(&out);
    for (const Unit& unit : units) {
        QString word = unit.word;
        QString translation = unit.translation;
        word.replace(QLatin1Char('\t'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
        translation.replace(QLatin1Char('\t'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
        text << word << '\t' << translation << '\n';
    }
    text.flush();
    if (!out.commit())
        return fail(QStringLiteral("cannot write %1").arg(to));
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
    std::fprintf(stderr, "usage: dictool to-dic FILE.tsv FILE.dic\n"
                         "       dictool to-tsv FILE.dic FILE.tsv\n");
    return 2;
}
