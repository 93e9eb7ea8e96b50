// Times what guards the learner's files and the downloader's list page:
//   - parsing a dictionary list page of 20 000 and 100 000 entries,
//   - a paired save of a 200 000-word dictionary with its statuses, and the
//     checked read of it back,
//   - how long the two file moves at the end of that save take (the only
//     moment a crash leaves work for the next read to finish).
// Each figure is the best of three runs.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

#include "bench/benchtiming.h"
#include "editing/dictionarylistparser.h"
#include "model/dictionaryfiles.h"

namespace {

QString listPage(int entries)
{
    QString page = QStringLiteral("<html><body>\n<p>\n");
    for (int i = 0; i < entries; ++i)
        page += QStringLiteral("<a href=\"dictionaries/d%1.dic\">Словарь %1</a> <num>%1 слов</num> "
                               "<author>Автор</author> <inf>Описание словаря</inf><br>\n").arg(i);
    return page + QStringLiteral("</p></body></html>\n");
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    for (int entries : {20000, 100000}) {
        const QString page = listPage(entries);
        qsizetype parsed = 0;
        const double ms = bestOf(3, [&] { parsed = DictionaryListParser::parse(page, QStringLiteral("http://x/")).size(); });
        std::printf("list page of %d entries: %.1f ms (%lld parsed)\n", entries, ms, qlonglong(parsed));
    }

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.dic"));
    QList<Unit> units;
    QList<int> statuses{999};
    for (int i = 0; i < 200000; ++i) {
        units.append({QStringLiteral("word%1").arg(i), QStringLiteral("перевод %1").arg(i)});
        statuses.append(i % 101);
    }
    double moves = 1e300;
    QElapsedTimer committed;
    const double save = bestOf(3, [&] {
        DictionaryFiles::writePair(path, units, statuses, [&](DictionaryFiles::SaveStep step) {
            if (step == DictionaryFiles::SaveStep::Committed)
                committed.start();
            else if (step == DictionaryFiles::SaveStep::StatusesReplaced)
                moves = qMin(moves, committed.nsecsElapsed() / 1e6);
            return true;
        });
    });
    const double read = bestOf(3, [&] { DictionaryFiles::read(path); });
    std::printf("paired save of 200000 words and statuses: %.1f ms\n", save);
    std::printf("  of which the two file moves: %.3f ms\n", moves);
    std::printf("checked read of 200000 words: %.1f ms\n", read);
    return 0;
}
