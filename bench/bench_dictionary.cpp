// Times the dictionary and statuses files on a generated dictionary of
// 100 000 entries, and 10 000 word look-ups.

#include <memory>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

#include "config/settings.h"
#include "model/dictionaryfiles.h"
#include "session/workspace.h"
#include "model/statuses.h"
#include "model/units.h"

namespace {

double elapsedMs(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // The settings, words and dictionaries the program would build at start-up.
    auto workspace = std::make_unique<Workspace>();
    QTemporaryDir dir;
    workspace->settings.read();
    workspace->settings.currentFileName = dir.filePath(QStringLiteral("bench"));
    workspace->words.units.setFileName(workspace->settings.currentFileName + QStringLiteral(".dic"));
    constexpr int entries = 100000;
    constexpr int lookups = 10000;

    Units* units = (&workspace->words.units);
    workspace->settings.currentFileName = dir.filePath(QStringLiteral("bench"));
    workspace->words.units.setFileName(workspace->settings.currentFileName + QStringLiteral(".dic"));
    QList<Unit> list;
    list.reserve(entries);
    for (int i = 0; i < entries; ++i)
        list.append({QStringLiteral("word%1").arg(i), QStringLiteral("перевод номер %1").arg(i)});
    units->setUnits(list);
    Statuses* statuses = (&workspace->words.statuses);
    QList<int> values;
    for (int i = 0; i < entries; ++i)
        values.append(i % 7 == 0 ? 100 : i % 3);
    statuses->setList(values);

    QElapsedTimer timer;
    timer.start();
    DictionaryFiles::writeDictionary(units->fileName(), units->unitList());
    const double saveMs = elapsedMs(timer);

    timer.restart();
    DictionaryFiles::writeStatuses(units->fileName(), statuses->fileValues());
    const double statusesSaveMs = elapsedMs(timer);

    timer.restart();
    units->load();
    const double loadMs = elapsedMs(timer);

    timer.restart();
    statuses->load();
    const double statusesLoadMs = elapsedMs(timer);

    int found = 0;
    timer.restart();
    for (int i = 0; i < lookups; ++i)
        found += units->find(QStringLiteral(" Word%1 ").arg((i * 7919) % entries)) >= 0;
    const double findMs = elapsedMs(timer);

    std::printf("entries:               %d\n", units->count());
    std::printf("dictionary load:       %8.2f ms\n", loadMs);
    std::printf("dictionary save:       %8.2f ms\n", saveMs);
    std::printf("statuses load:         %8.2f ms\n", statusesLoadMs);
    std::printf("statuses save:         %8.2f ms\n", statusesSaveMs);
    std::printf("load + statuses load:  %8.2f ms\n", loadMs + statusesLoadMs);
    std::printf("%d finds (%d hits):  %8.2f ms\n", lookups, found, findMs);
    return found == lookups ? 0 : 1;
}
