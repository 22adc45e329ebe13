#include "app/CARNApp.h"
#include "protocol/Address.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>
#include <optional>

namespace {

void nameTheApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("ARX"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.2"));
    // Settings are not used; the name is kept for the settings object's sake.
    QCoreApplication::setOrganizationName(QStringLiteral("应用程序向导生成的本地应用程序"));
}

// The options, or nothing when they are unusable (the reason is on standard error). --help,
// --version and unknown options end the program here.
std::optional<arx::StartOptions> readOptions(const QCoreApplication &application)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Control of a networked conference-audio installation."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption interfaceOption(QStringLiteral("interface"),
        QStringLiteral("Local IPv4 address to bind to, to carry in the search and connection "
                       "requests, and to send the search on. Default: any address, carrying "
                       "this computer's address on its network."),
        QStringLiteral("ADDRESS"));
    parser.addOption(interfaceOption);
    parser.process(application);

    arx::StartOptions options;
    options.interfaceAddress = parser.value(interfaceOption);
    if (!options.interfaceAddress.isEmpty()
        && !arx::isDottedIPv4(options.interfaceAddress.toStdString())) {
        std::fprintf(stderr, "arx: --interface needs a dotted IPv4 address, not \"%s\"\n",
            qPrintable(options.interfaceAddress));
        return std::nullopt;
    }
    return options;
}

} // namespace

int main(int argc, char *argv[])
{
    // The command line is read before the window system is asked for, so that --help,
    // --version and a wrong address are answered without a display.
    std::optional<arx::StartOptions> options;
    {
        QCoreApplication reader(argc, argv);
        nameTheApplication();
        options = readOptions(reader);
    }
    if (!options)
        return 2;

    QApplication application(argc, argv);
    nameTheApplication();
    return arx::CARNApp(*options).run();
}
