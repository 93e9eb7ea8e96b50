// trntool: converts transcription tables between tab-separated text and the
// ".trn" format of Vocabrium.
//
//   trntool to-trn  table.tsv  Language.trn
//   trntool to-tsv  Language.trn  table.tsv
//
// Text files are UTF-8, one entry per line: the word, a tab, the
// transcription (without brackets). Blank lines and lines starting with '#'
// are skipped. Words are stored in lower case, as the program looks them up.

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <QTextStream>

#include <cstdio>

#include "speech/transcriptionformat.h"

namespace {

int fail(const QString& message)
{
    std::fprintf(stderr, "trntool: %s\n", qPrintable(message));
    return 1;
}

int toTrn(const QString& from, const QString& to)
{
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly | QIODevice::Text))
        return fail(QStringLiteral("cannot read %1").arg(from));
    QMap<QString, QString> table;
    int lineNumber = 0;
    QTextStream text(&in);
    while (!text.atEnd()) {
        const QString line = text.readLine();
        ++lineNumber;
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        if (tab < 0)
            return fail(QStringLiteral("%1:%2: no tab between word and transcription")
                            .arg(from).arg(lineNumber));
        table.insert(line.left(tab).trimmed().toLower(), line.mid(tab + 1).trimmed());
    }
    QSaveFile out(to);
    if (!out.open(QIODevice::WriteOnly) || !TranscriptionFormat::writeTable(&out, table)
        || !out.commit())
        return fail(QStringLiteral("cannot write %1").arg(to));
    return 0;
}

int toTsv(const QString& from, const QString& to)
{
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read %1").arg(from));
    const QMap<QString, QString> table = TranscriptionFormat::readTable(in.readAll());
    QSaveFile out(to);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Text))
        return fail(QStringLiteral("cannot write %1").arg(to));
    QTextStream text(&out);
    for (auto it = table.cbegin(); it != table.cend(); ++it) {
        QString word = it.key();
        QString transcription = it.value();
        word.replace(QLatin1Char('\t'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
        transcription.replace(QLatin1Char('\t'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
        text << word << '\t' << transcription << '\n';
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
    if (args.size() == 4 && args.at(1) == QLatin1String("to-trn"))
        return toTrn(args.at(2), args.at(3));
    if (args.size() == 4 && args.at(1) == QLatin1String("to-tsv"))
        return toTsv(args.at(2), args.at(3));
    std::fprintf(stderr, "usage: trntool to-trn FILE.tsv FILE.trn\n"
                         "       trntool to-tsv FILE.trn FILE.tsv\n");
    return 2;
}
