#include "app/CARNApp.h"
#include "protocol/Address.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ARX"));
    QApplication::setApplicationVersion(QStringLiteral("1.2"));
    // Settings are not used; the name is kept for the settings object's sake.
    QApplication::setOrganizationName(QStringLiteral("应用程序向导生成的本地应用程序"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Control of a networked conference-audio installation."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption interfaceOption(QStringLiteral("interface"),
        QStringLiteral("Local IPv4 address to bind to, to carry in the search and connection "
                       "requests, and to send the search on. Default: any address, carrying "
                       "the first address of the host name."),
        QStringLiteral("ADDRESS"));
    parser.addOption(interfaceOption);
    parser.process(application);

    arx::StartOptions options;
    options.interfaceAddress = parser.value(interfaceOption);
    if (!options.interfaceAddress.isEmpty()) {
        if (!arx::isDottedIPv4(options.interfaceAddress.toStdString())) {
            std::fprintf(stderr, "arx: --interface needs a dotted IPv4 address, not \"%s\"\n",
                qPrintable(options.interfaceAddress));
            return 2;
        }
    }
    return arx::CARNApp(options).run();
}
