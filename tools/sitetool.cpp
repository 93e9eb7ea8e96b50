// sitetool: writes the dictionary site's list page.
//
//   sitetool page TEMPLATE.html OUTPUT.html SITE_DIR WORDS.tsv...
//
// Each source file names its dictionary in comment lines before the first
// entry ("# name: ...", "# description: ...", "# author: ..."); the number
// of words is read from the built SITE_DIR/<base name>.dic, so the page always
// announces what is really there. TEMPLATE is UTF-8 with the line
// "@ENTRIES@" where the entries go; OUTPUT is windows-1251, the code page the
// program reads the list in.

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTextStream>

#include <algorithm>
#include <cstdio>

#include "model/dictionaryformat.h"

namespace {

int fail(const QString& message)
{
    std::fprintf(stderr, "sitetool: %s\n", qPrintable(message));
    return 1;
}

// Reads the "# key: value" lines at the top of a source file.
QHash<QString, QString> header(const QString& path)
{
    QHash<QString, QString> fields;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return fields;
    QTextStream text(&file);
    while (!text.atEnd()) {
        const QString line = text.readLine();
        if (!line.startsWith(QLatin1Char('#')))
            break;
        const qsizetype colon = line.indexOf(QLatin1Char(':'));
        if (colon > 0)
            fields.insert(line.mid(1, colon - 1).trimmed(), line.mid(colon + 1).trimmed());
    }
    return fields;
}

// "1 слово", "3 слова", "5 слов", "21 слово", "112 слов".
QString words(qsizetype count)
{
    const qsizetype lastTwo = count % 100;
    const qsizetype last = count % 10;
    const char* word = (lastTwo >= 11 && lastTwo <= 14) ? "слов"
                       : last == 1                      ? "слово"
                       : (last >= 2 && last <= 4)       ? "слова"
                                                        : "слов";
    return QString::number(count) + QLatin1Char(' ') + QString::fromUtf8(word);
}

int page(const QStringList& args)
{
    const QString templatePath = args.at(0);
    const QString outputPath = args.at(1);
    const QString siteDir = args.at(2);

    // English themes first, then the other languages.
    QStringList sources = args.mid(3);
    std::stable_partition(sources.begin(), sources.end(), [](const QString& source) {
        return !header(source).contains(QStringLiteral("language"));
    });

    QString entries;
    for (const QString& source : std::as_const(sources)) {
        const QHash<QString, QString> fields = header(source);
        const QString base = QFileInfo(source).completeBaseName();
        for (const char* key : {"name", "description", "author"}) {
            const QString value = fields.value(QString::fromLatin1(key));
            if (value.isEmpty())
                return fail(QStringLiteral("%1: no \"# %2:\" line").arg(source, QString::fromLatin1(key)));
            // The program reads every double quote of an entry as a file
            // address and shows the texts as they are, so no mark-up here.
            if (value.contains(QLatin1Char('"')) || value.contains(QLatin1Char('<'))
                || value.contains(QLatin1Char('>')) || value.contains(QLatin1Char('&')))
                return fail(QStringLiteral("%1: %2 must not hold \" < > &").arg(source, QString::fromLatin1(key)));
        }
        QFile dic(siteDir + QLatin1Char('/') + base + QStringLiteral(".dic"));
        if (!dic.open(QIODevice::ReadOnly))
            return fail(QStringLiteral("cannot read %1").arg(dic.fileName()));
        const qsizetype count = DictionaryFormat::readUnits(dic.readAll()).size();
        // The language goes unquoted: older readers take every double quote
        // of an entry for a file address.
        const QString language = fields.value(QStringLiteral("language"), QStringLiteral("en"));
        entries += QStringLiteral("<a hreflang=%6 href=\"%1.dic\">%2</a> <num>%3</num>\n"
                                  "  <author>%4</author> <inf>%5</inf><br>\n")
                       .arg(base, fields.value(QStringLiteral("name")), words(count),
                            fields.value(QStringLiteral("author")), fields.value(QStringLiteral("description")),
                            language);
    }

    QFile templateFile(templatePath);
    if (!templateFile.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read %1").arg(templatePath));
    QString text = QString::fromUtf8(templateFile.readAll());
    if (!text.contains(QStringLiteral("@ENTRIES@\n")))
        return fail(QStringLiteral("%1: no @ENTRIES@ line").arg(templatePath));
    text.replace(QStringLiteral("@ENTRIES@\n"), entries);

    QStringEncoder encoder("windows-1251", QStringConverter::Flag::Stateless);
    if (!encoder.isValid())
        return fail(QStringLiteral("this Qt has no windows-1251 codec"));
    const QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return fail(QStringLiteral("the page holds characters windows-1251 cannot write"));
    QSaveFile out(outputPath);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
        return fail(QStringLiteral("cannot write %1").arg(outputPath));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() >= 5 && args.at(1) == QLatin1String("page"))
        return page(args.mid(2));
    std::fprintf(stderr, "usage: sitetool page TEMPLATE.html OUTPUT.html SITE_DIR WORDS.tsv...\n");
    return 2;
}
