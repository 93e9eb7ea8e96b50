#pragma once

// Reading and writing the tab-separated text files the project keeps its
// word lists in: UTF-8, one "key<TAB>value" pair per line, blank lines and
// lines starting with '#' skipped. Shared by the command-line converters.

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QSaveFile>
#include <QString>
#include <QTextStream>

#include "model/boundedfile.h"

namespace TabSeparated {

using Rows = QList<QPair<QString, QString>>;

/*! The rows of \a path, both fields trimmed; false with \a error set on a
    missing file or a line without a tab. */
inline bool read(const QString& path, Rows* rows, QString* error)
{
    QByteArray data;
    QString problem;
    if (!BoundedFile::read(path, &data, &problem)) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, problem);
        return false;
    }
    int lineNumber = 0;
    QTextStream text(&data, QIODevice::ReadOnly);
    while (!text.atEnd()) {
        const QString line = text.readLine();
        ++lineNumber;
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        if (tab < 0) {
            *error = QStringLiteral("%1:%2: no tab between the two fields").arg(path).arg(lineNumber);
            return false;
        }
        rows->append({line.left(tab).trimmed(), line.mid(tab + 1).trimmed()});
    }
    return true;
}

/*! Writes \a rows to \a path; tabs and line breaks inside a field become blanks. */
inline bool write(const QString& path, const Rows& rows, QString* error)
{
    QSaveFile out(path);
    if (out.open(QIODevice::WriteOnly | QIODevice::Text)) {
        QTextStream text(&out);
        auto clean = [](QString field) {
            return field.replace(QLatin1Char('\t'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
        };
        for (const auto& row : rows)
            text << clean(row.first) << '\t' << clean(row.second) << '\n';
        text.flush();
        if (out.commit())
            return true;
    }
    *error = QStringLiteral("cannot write %1").arg(path);
    return false;
}

} // namespace TabSeparated
