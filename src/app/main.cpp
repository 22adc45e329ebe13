#include "app/CARNApp.h"
#include "control/ControlAccess.h"
#include "protocol/Address.h"
#include "service/StderrPrompts.h"
#include "service/StopSignals.h"

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
    QCommandLineOption captureOption { QStringLiteral("capture"),
        QStringLiteral("Write every datagram sent and received (and the ones dropped on "
                       "the way in) to FILE as a pcap capture, for Wireshark. An "
                       "existing FILE is replaced. A file that cannot be opened is "
                       "reported and ARX runs on without it."),
        QStringLiteral("FILE") };
    QCommandLineOption headlessOption { QStringLiteral("headless"),
        QStringLiteral("Run without a window and without a display, until SIGTERM or SIGINT. "
                       "Exits with 1 when the command socket or the room-control port "
                       "cannot be opened.") };
    QCommandLineOption searchOption { QStringLiteral("search"),
        QStringLiteral("Start the search for units at launch.") };
    QCommandLineOption presetFolderOption { QStringLiteral("preset-folder"),
        QStringLiteral("Where presets live and RECALL finds them. Default: the documents "
                       "folder."),
        QStringLiteral("DIR") };
    QCommandLineOption controlOption { QStringLiteral("control"),
        QStringLiteral("Listen for room controllers on ADDRESS:PORT, or not at all with "
                       "none. Default: 127.0.0.1:39100."),
        QStringLiteral("ADDRESS:PORT") };
    QCommandLineOption controlAllowOption { QStringLiteral("control-allow"),
        QStringLiteral("The networks room controllers may connect from, as CIDR[,CIDR...] "
                       "(add 127.0.0.0/8 for this computer); needed for a --control address "
                       "other than loopback. Default: this computer alone."),
        QStringLiteral("CIDR") };
    QCommandLineOption checkIntervalOption { QStringLiteral("check-interval"),
        QStringLiteral("Check the room every SECONDS while the search is on: which units "
                       "answer, and whether they hold what ARX shows. 0 checks only when "
                       "CHECK is pressed; at least 3. Default: 30."),
        QStringLiteral("SECONDS") };

    CommandLine()
    {
        parser.setApplicationDescription(
            QStringLiteral("Control of a networked conference-audio installation."));
        parser.addHelpOption();
        parser.addVersionOption();
        for (const QCommandLineOption *option :
            { &interfaceOption, &journalOption, &captureOption, &headlessOption, &searchOption,
                &presetFolderOption, &controlOption, &controlAllowOption, &checkIntervalOption })
            parser.addOption(*option);
    }

    bool headless() const { return parser.isSet(headlessOption); }

    // The options, or nothing when one is unusable (the reason on standard error).
    std::optional<arx::StartOptions> options() const
    {
        arx::StartOptions options;
        options.interfaceAddress = parser.value(interfaceOption);
        options.journalPath = parser.value(journalOption);
        options.capturePath = parser.value(captureOption);
        options.presetFolder = parser.value(presetFolderOption);
        options.search = parser.isSet(searchOption);
        if (!options.interfaceAddress.isEmpty()
            && !arx::isDottedIPv4(options.interfaceAddress.toStdString()))
            return refuse("--interface needs a dotted IPv4 address, not \""
                + options.interfaceAddress.toStdString() + "\"");

        const std::string control = parser.isSet(controlOption)
            ? parser.value(controlOption).toStdString()
            : std::string(arx::DefaultControlAddress) + ":"
                + std::to_string(arx::DefaultControlPort);
        if (control == "none")
            return options;
        const auto endpoint = arx::parseControlEndpoint(control);
        if (!endpoint)
            return refuse("--control needs ADDRESS:PORT (a dotted IPv4 address) or none, not \""
                + control + "\"");
        arx::ControlServerOptions server { .endpoint = *endpoint, .allowed = {} };
        if (parser.isSet(controlAllowOption)) {
            const std::string list = parser.value(controlAllowOption).toStdString();
            const auto networks = arx::parseNetworks(list);
            if (!networks)
                return refuse("--control-allow needs CIDR[,CIDR...] such as 192.168.0.0/24, "
                              "not \""
                    + list + "\"");
            server.allowed = *networks;
        } else if (!arx::isLoopbackIPv4(endpoint->address)) {
            return refuse("the room-control port has no authentication, so --control on an "
                          "address other than loopback needs --control-allow CIDR[,CIDR...]");
        }
        if (parser.isSet(checkIntervalOption)) {
            const auto seconds = checkInterval(parser.value(checkIntervalOption));
            if (!seconds)
                return std::nullopt;
            options.checkIntervalSeconds = *seconds;
        }
        options.control = server;
        return options;
    }

private:
    static std::optional<arx::StartOptions> refuse(const std::string &reason)
    {
        std::fprintf(stderr, "arx: %s\n", reason.c_str());
        return std::nullopt;
    }

    // 0, or whole seconds from the shortest period up to a day.
    static std::optional<int> checkInterval(const QString &text)
    {
        constexpr int Longest = 24 * 60 * 60;
        constexpr int Shortest = arx::RoomCheck::ShortestIntervalSeconds;
        bool number = false;
        const int seconds = text.trimmed().toInt(&number);
        if (number && (seconds == 0 || (seconds >= Shortest && seconds <= Longest)))
            return seconds;
        std::fprintf(stderr,
            "arx: --check-interval needs 0 (check only when asked) or whole seconds from %d to "
            "%d, not \"%s\"\n",
            Shortest, Longest, qPrintable(text));
        return std::nullopt;
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

// The service alone under a core event loop: no window, no display. SIGTERM and SIGINT drain
// the queued frames as closing the window does, then the program exits with 0.
int runHeadless(const arx::StartOptions &options)
{
    arx::StopSignals stopSignals;
    arx::StderrPrompts prompts;
    arx::ArxService service(options, prompts, QCoreApplication::applicationVersion().toStdString());
    QObject::connect(&stopSignals, &arx::StopSignals::stopRequested, &stopSignals, [&service] {
        service.shutDown();
        QCoreApplication::quit();
    });
    if (const arx::ArxService::StartFailures failures = service.start(); failures.any()) {
        for (const std::string &failure : { failures.commandSocket, failures.controlPort }) {
            if (!failure.empty())
                std::fprintf(stderr, "arx: %s\n", failure.c_str());
        }
        return 1;
    }
    QCoreApplication::exec();
    service.shutDown();
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    // --help, --version, --headless and wrong options (an address, a check interval) are dealt
    // with before the window system is asked for, so that they work without a display. Options
    // this first reading does not know may be Qt's own (-platform, -style); the application
    // object takes those below.
    {
        QCoreApplication reader(argc, argv);
        arx::nameTheApplication();
        CommandLine early;
        early.parser.parse(reader.arguments());
        if (early.parser.isSet(QStringLiteral("help")))
            early.parser.showHelp(0);
        if (early.parser.isSet(QStringLiteral("version")))
            early.parser.showVersion();
        const std::optional<arx::StartOptions> options = early.options();
        if (!options)
            return 2;
        if (early.headless()) {
            // Without a window there are no Qt options to take: any unknown one is an error.
            early.parser.process(reader);
            return runHeadless(*options);
        }
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
