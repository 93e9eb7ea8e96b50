// Batch translation of 2000 words against the local translation server,
// which runs in a thread of its own. Prints the wall time of the batch and the
// processor time the program used meanwhile (the server thread's own time
// taken out), for the event-driven wait and, for comparison, a busy wait
// that processes events without pause.
//
//   bench_translation [--delay MS]...   (default: 0, 10, 20 and 50)

#include <memory>
#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>
#include <QThread>

#include <cstdio>
#include <ctime>

#include "config/settings.h"
#include "session/workspace.h"
#include "editing/translationprogressdialog.h"
#include "editing/translations.h"
#include "tools/translationserver.h"
#include "translation/translator.h"
#include "translation/translatorsettings.h"

namespace {

constexpr int batchSize = 2000;

double cpuMilliseconds(clockid_t clock)
{
    timespec time{};
    clock_gettime(clock, &time);
    return double(time.tv_sec) * 1000.0 + double(time.tv_nsec) / 1.0e6;
}

QStringList benchmarkWords(const QString& fileName)
{
    QStringList words;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return words;
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (line.contains(QLatin1Char('\t')))
            words.append(line.section(QLatin1Char('\t'), 0, 0).trimmed());
    }
    // Capitalised copies are separate requests with the same answers.
    for (int i = 0; words.size() < batchSize && i < words.size(); ++i)
        words.append(words.at(i).left(1).toUpper() + words.at(i).mid(1));
    return words.mid(0, batchSize);
}

struct Figures
{
    qint64 wallMs = 0;
    double cpuMs = 0;
    int answers = 0;
    int translated = 0;
};

Figures runBatch(Workspace* workspace, TranslationServer* server, const QStringList& words, bool busy)
{
    const auto serverCpu = [server] {
        double ms = 0;
        QMetaObject::invokeMethod(server, [&ms] { ms = cpuMilliseconds(CLOCK_THREAD_CPUTIME_ID); },
                                  Qt::BlockingQueuedConnection);
        return ms;
    };

    TranslationProgressDialog progress;
    Translations batch(workspace);
    Figures figures;
    const double serverStart = serverCpu();
    const double processStart = cpuMilliseconds(CLOCK_PROCESS_CPUTIME_ID);
    QElapsedTimer wall;
    wall.start();
    if (busy) {
        progress.reset();
        progress.setMaximum(int(words.size()));
        batch.translate(words);
        while (batch.count() < words.size()) {
            progress.setValue(batch.count());
            QCoreApplication::processEvents();
        }
    } else {
        progress.run(&batch, words, false);
    }
    figures.wallMs = wall.elapsed();
    const double processCpu = cpuMilliseconds(CLOCK_PROCESS_CPUTIME_ID) - processStart;
    figures.cpuMs = processCpu - (serverCpu() - serverStart);
    figures.answers = batch.count();
    for (int i = 0; i < words.size(); ++i)
        figures.translated += batch.translation(i).isEmpty() ? 0 : 1;
    return figures;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The settings, words and dictionaries the program would build at start-up.
    auto workspace = std::make_unique<Workspace>();
    workspace->settings.learningLanguage = QStringLiteral("en");
    workspace->settings.interfaceLanguage = QStringLiteral("ru");

    QList<int> delays;
    const QStringList arguments = QCoreApplication::arguments();
    for (int i = 1; i + 1 < arguments.size(); ++i) {
        if (arguments.at(i) == QLatin1String("--delay"))
            delays.append(arguments.at(++i).toInt());
    }
    if (delays.isEmpty())
        delays = {0, 10, 20, 50};

    const QString list = QStringLiteral(VOCABRIUM_SOURCE_DIR "/data/dictionaries/default.tsv");
    const QStringList words = benchmarkWords(list);
    if (words.size() != batchSize) {
        std::fprintf(stderr, "bench_translation: cannot read %s\n", qPrintable(list));
        return 1;
    }

    auto* server = new TranslationServer;
    server->loadWordList(list);
    QThread serverThread;
    server->moveToThread(&serverThread);
    serverThread.start();
    bool listening = false;
    QMetaObject::invokeMethod(server, [&] { listening = server->listen(); },
                              Qt::BlockingQueuedConnection);
    if (!listening) {
        std::fprintf(stderr, "bench_translation: the server cannot listen\n");
        return 1;
    }
    TranslatorSettings settings = workspace->translatorSettings;
    settings.engines = {TranslatorSettings::v2Engine()};
    settings.v2Url = server->url().toString();
    workspace->translatorSettings = settings;

    std::printf("%d words, server in its own thread at %s\n", batchSize,
                qPrintable(server->url().toString()));
    std::printf("%-12s %8s %10s %12s %8s %10s\n", "wait", "delay", "wall ms", "client cpu ms",
                "cpu %", "answers");
    for (const int delay : delays) {
        QMetaObject::invokeMethod(server, [server, delay] { server->setDelay(delay); },
                                  Qt::BlockingQueuedConnection);
        for (const bool busy : {false, true}) {
            const Figures f = runBatch(workspace.get(), server, words, busy);
            std::printf("%-12s %6d ms %10lld %12.0f %7.1f%% %5d (%d translated)\n",
                        busy ? "busy" : "event-driven", delay, f.wallMs, f.cpuMs,
                        100.0 * f.cpuMs / double(qMax<qint64>(1, f.wallMs)), f.answers,
                        f.translated);
        }
    }

    QMetaObject::invokeMethod(server, [server] { delete server; }, Qt::BlockingQueuedConnection);
    serverThread.quit();
    serverThread.wait();
    return 0;
}
