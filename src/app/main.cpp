#include "app/CARNApp.h"
#include "protocol/Address.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>
#include <memory>
#include <optional>

namespace {

struct CommandLine {
    QCommandLineParser parser;
    QCommandLineOption interfaceOption { QStringLiteral("interface"),
        QStringLiteral("Local IPv4 address to bind to, to carry "
                       "in the search and connection requests, "
                       "and to send the search on. Default: any "
                       "address, carrying this computer's "
                       "address on its network."),
        QStringLiteral("ADDRESS") };
    QCommandLineOption journalOption { QStringLiteral("journal"),
        QStringLiteral("Append every datagram sent, received or dropped to FILE, "
                       "one JSON line each (time, direction, device, from, to, hex, "
                       "meaning). A file that cannot be opened is reported and "
                       "ARX runs on without it."),
        QStringLiteral("FILE") };

    CommandLine()
    {
        parser.setApplicationDescription(
            QStringLiteral("Control of a networked conference-audio installation."));
        parser.addHelpOption();
        parser.addVersionOption();
        parser.addOption(interfaceOption);
        parser.addOption(journalOption);
    }

    // The options, or nothing when the address is unusable (the reason on standard error).
    std::optional<arx::StartOptions> options() const
    {
        arx::StartOptions options;
        options.interfaceAddress = parser.value(interfaceOption);
        options.journalPath = parser.value(journalOption);
        if (!options.interfaceAddress.isEmpty()
            && !arx::isDottedIPv4(options.interfaceAddress.toStdString())) {
            std::fprintf(stderr, "arx: --interface needs a dotted IPv4 address, not \"%s\"\n",
                qPrintable(options.interfaceAddress));
            return std::nullopt;
        }
        return options;
    }
};

// Whether Qt can be given a window system: a display, or a platform named by the
// environment or by Qt's own -platform option.
bool hasDisplay(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return true;
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "-platform") == 0 || qstrcmp(argv[i], "--platform") == 0)
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    // --help, --version and a wrong address are answered before the window system is asked
    // for, so that they work without a display. Options this first reading does not know
    // may be Qt's own (-platform, -style); the application object takes those below.
    {
        QCoreApplication reader(argc, argv);
        arx::nameTheApplication();
        CommandLine early;
        early.parser.parse(reader.arguments());
        if (early.parser.isSet(QStringLiteral("help")))
            early.parser.showHelp(0);
        if (early.parser.isSet(QStringLiteral("version")))
            early.parser.showVersion();
        if (!early.options())
            return 2;
    }
    if (!hasDisplay(argc, argv)) {
        std::fprintf(stderr, "arx: no display found; set DISPLAY, or start it under xvfb-run\n");
        return 1;
    }

    QApplication application(argc, argv);
    arx::nameTheApplication();
    CommandLine commandLine;
    commandLine.parser.process(application); // unknown options end the program here
    const std::optional<arx::StartOptions> options = commandLine.options();
    if (!options)
        return 2;
    return arx::runToProcessEnd(std::make_unique<arx::CARNApp>(*options));
}
