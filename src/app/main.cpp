#include "app/CARNApp.h"
#include "protocol/Address.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>
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
        parser.addOption(interfaceOption);
        parser.addOption(journalOption);
        parser.addOption(captureOption);
        parser.addOption(checkIntervalOption);
    }

    // The options, or nothing when one is unusable (the reason on standard error).
    std::optional<arx::StartOptions> options() const
    {
        arx::StartOptions options;
        options.interfaceAddress = parser.value(interfaceOption);
        options.journalPath = parser.value(journalOption);
        options.capturePath = parser.value(captureOption);
        if (!options.interfaceAddress.isEmpty()
            && !arx::isDottedIPv4(options.interfaceAddress.toStdString())) {
            std::fprintf(stderr, "arx: --interface needs a dotted IPv4 address, not \"%s\"\n",
                qPrintable(options.interfaceAddress));
            return std::nullopt;
        }
        if (parser.isSet(checkIntervalOption)) {
            const auto seconds = checkInterval(parser.value(checkIntervalOption));
            if (!seconds)
                return std::nullopt;
            options.checkIntervalSeconds = *seconds;
        }
        return options;
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

} // namespace

int main(int argc, char *argv[])
{
    // --help, --version, a wrong address and a wrong check interval are answered before the
    // window system is asked for, so that they work without a display. Options this first
    // reading does not know may be Qt's own (-platform, -style); the application object takes
    // those below.
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
    return arx::CARNApp(*options).run();
}
