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

#include <cstdio>

#include "speech/transcriptionformat.h"
#include "tools/tabseparated.h"

namespace {

int fail(const QString& message)
{
    std::fprintf(stderr, "trntool: %s\n", qPrintable(message));
    return 1;
}

int toTrn(const QString& from, const QString& to)
{
    TabSeparated::Rows rows;
    QString error;
    if (!TabSeparated::read(from, &rows, &error))
        return fail(error);
    QMap<QString, QString> table;
    for (const auto& row : std::as_const(rows))
        table.insert(row.first.toLower(), row.second);
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
    TabSeparated::Rows rows;
    for (auto it = table.cbegin(); it != table.cend(); ++it)
        rows.append({it.key(), it.value()});
    QString error;
    return TabSeparated::write(to, rows, &error) ? 0 : fail(error);
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
