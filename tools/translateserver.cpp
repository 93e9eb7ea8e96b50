// vocabrium-translate-server: a local stand-in for the online translation
// service, answering from a tab-separated word list in both directions.
//
//   vocabrium-translate-server [--host 127.0.0.1] [--port 8090]
//                              [--from en] [--to ru] [--delay MS] words.tsv
//
// Point the program at it with VOCABRIUM_TRANSLATOR_URL=http://127.0.0.1:8090

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QHostAddress>

#include <cstdio>

#include "tools/translationserver.h"

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vocabrium-translate-server"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Answers the translation service's HTTP interface from a word list."));
    parser.addHelpOption();
    const QCommandLineOption hostOption(QStringLiteral("host"),
        QStringLiteral("Address to listen on (default 127.0.0.1)."), QStringLiteral("address"),
        QStringLiteral("127.0.0.1"));
    const QCommandLineOption portOption(QStringLiteral("port"),
        QStringLiteral("Port to listen on (default 8090, 0 picks a free one)."), QStringLiteral("port"),
        QStringLiteral("8090"));
    const QCommandLineOption fromOption(QStringLiteral("from"),
        QStringLiteral("Language of the list's words (default en)."), QStringLiteral("code"),
        QStringLiteral("en"));
    const QCommandLineOption toOption(QStringLiteral("to"),
        QStringLiteral("Language of the list's translations (default ru)."), QStringLiteral("code"),
        QStringLiteral("ru"));
    const QCommandLineOption delayOption(QStringLiteral("delay"),
        QStringLiteral("Milliseconds to wait before each answer (default 0)."), QStringLiteral("ms"),
        QStringLiteral("0"));
    parser.addOptions({hostOption, portOption, fromOption, toOption, delayOption});
    parser.addPositionalArgument(QStringLiteral("words.tsv"),
        QStringLiteral("Word list: a word, a tab and its translation on each line."));
    parser.process(app);

    if (parser.positionalArguments().size() != 1)
        parser.showHelp(1);
    bool portOk = false;
    const uint port = parser.value(portOption).toUInt(&portOk);
    bool delayOk = false;
    const int delay = parser.value(delayOption).toInt(&delayOk);
    const QHostAddress host(parser.value(hostOption));
    if (!portOk || port > 65535 || !delayOk || delay < 0 || host.isNull()) {
        std::fprintf(stderr, "vocabrium-translate-server: bad --host, --port or --delay\n");
        return 1;
    }

    TranslationServer server;
    const QString list = parser.positionalArguments().first();
    if (!server.loadWordList(list, parser.value(fromOption), parser.value(toOption))) {
        std::fprintf(stderr, "vocabrium-translate-server: cannot read %s\n", qPrintable(list));
        return 1;
    }
    server.setDelay(delay);
    if (!server.listen(host, quint16(port))) {
        std::fprintf(stderr, "vocabrium-translate-server: cannot listen on %s:%u\n",
                     qPrintable(host.toString()), port);
        return 1;
    }
    std::printf("Listening on %s\n", qPrintable(server.url().toString()));
    std::fflush(stdout);
    return app.exec();
}
