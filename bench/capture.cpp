// What --capture costs on the receive path: bench_flood with the journal on (as the program
// always runs) against bench_flood with the journal and a capture file, taken in turn three
// times each, as separate processes. Prints each run, the means and the difference.
//   bench_capture [RUNS]
#include "BuildType.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

namespace {

struct Figures {
    double delivered = 0; // level reports per second into the store
    double processCpu = 0; // cores
    double receiveCpu = 0; // seconds in the window
    double userInterfaceCpu = 0;
};

double figure(const QString &output, const char *label)
{
    const QRegularExpression line(
        QStringLiteral("^%1\\s+([0-9.]+)").arg(QRegularExpression::escape(QLatin1String(label))),
        QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = line.match(output);
    return match.hasMatch() ? match.captured(1).toDouble() : -1;
}

Figures flood(const QStringList &arguments)
{
    QProcess bench;
    bench.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    bench.start(QCoreApplication::applicationDirPath() + QStringLiteral("/bench_flood"), arguments);
    bench.waitForFinished(120000);
    const QString output = QString::fromUtf8(bench.readAllStandardOutput());
    if (bench.exitCode() != 0) {
        std::fprintf(stderr, "bench_flood %s failed:\n%s\n", qPrintable(arguments.join(' ')),
            qPrintable(output));
        std::exit(1);
    }
    const double window = figure(output, "measured window:");
    return { .delivered = figure(output, "level reports delivered to the store:"),
        .processCpu = figure(output, "application CPU in the window:") / window,
        .receiveCpu = figure(output, "  receive thread:"),
        .userInterfaceCpu = figure(output, "  user-interface thread (parser):") };
}

// The application's CPU time per datagram delivered: steadier than the rate on a machine that
// others share, as it does not count the time the flood waits for a core.
double microsecondsPerDatagram(const Figures &f)
{
    return f.delivered > 0 ? 1e6 * f.processCpu / f.delivered : 0;
}

void print(const char *what, const Figures &f)
{
    std::printf("%-22s %10.0f datagrams/s  %5.2f cores  %5.2f us CPU/datagram  receive thread "
                "%5.2f s  UI thread %5.2f s\n",
        what, f.delivered, f.processCpu, microsecondsPerDatagram(f), f.receiveCpu,
        f.userInterfaceCpu);
}

Figures mean(const std::vector<Figures> &runs)
{
    Figures sum;
    for (const Figures &run : runs) {
        sum.delivered += run.delivered / double(runs.size());
        sum.processCpu += run.processCpu / double(runs.size());
        sum.receiveCpu += run.receiveCpu / double(runs.size());
        sum.userInterfaceCpu += run.userInterfaceCpu / double(runs.size());
    }
    return sum;
}

} // namespace

int main(int argc, char *argv[])
{
    printBuildType();
    QCoreApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    QTemporaryDir directory;
    const QString capture = directory.filePath(QStringLiteral("flood.pcap"));
    std::vector<Figures> without;
    std::vector<Figures> with;
    qint64 captureBytes = 0;
    for (int run = 1; run <= runs; ++run) {
        without.push_back(flood({ QStringLiteral("--journal") }));
        print("journal only", without.back());
        with.push_back(flood({ QStringLiteral("--capture"), capture }));
        print("journal and capture", with.back());
        captureBytes = QFileInfo(capture).size();
    }
    std::printf("\nmeans of %d runs each (64 units flooding level reports, bench_flood):\n", runs);
    const Figures off = mean(without);
    const Figures on = mean(with);
    print("journal only", off);
    print("journal and capture", on);
    std::printf("capture costs %.2f us of CPU per datagram (%+.0f %%) and %.1f %% of the datagrams "
                "delivered; its last file held %.1f MB\n",
        microsecondsPerDatagram(on) - microsecondsPerDatagram(off),
        100.0 * (microsecondsPerDatagram(on) / microsecondsPerDatagram(off) - 1),
        100.0 * (off.delivered - on.delivered) / off.delivered, double(captureBytes) / 1e6);
    return 0;
}
