// arx-equaliser-shot: the manual's picture of the equaliser. ARX's own parts (store, command
// socket, main window, discovery) find a simulated PXL2 unit, the unit receives four shaped
// bands and the low cut, the equaliser opens on it and a point is held mid-drag so that the
// readout shows; the dialog is then saved as an image.
//   arx-equaliser-shot --interface 127.0.N.1 --output FILE
// Run it beside `arx-sim --subnet 127.0.N.0 --units 3` on a display (or offscreen).
#include "app/CARNDlg.h"
#include "app/DatagramPump.h"
#include "app/QtPrompts.h"
#include "dsp/CMultiColorPlotCtrl.h"
#include "dsp/CoefficientFrames.h"
#include "dsp/CoefficientSenders.h"
#include "mic/CInputeqDlg.h"
#include "model/Store.h"
#include "protocol/CommandSocket.h"
#include "protocol/LocalAddress.h"
#include "protocol/Senders.h"
#include "protocol/UdpTransport.h"
#include "room/Room.h"
#include "seams/Files.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QThread>

#include <cstdio>

namespace {

using namespace arx;

void settle(int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
}

void mouse(QWidget *widget, QEvent::Type type, QPoint at, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(at), widget->mapToGlobal(QPointF(at)), Qt::LeftButton, buttons,
        Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Photographs the equaliser dialog."));
    parser.addHelpOption();
    const QCommandLineOption interfaceOption(QStringLiteral("interface"),
        QStringLiteral("Local loopback address of the room."), QStringLiteral("ADDRESS"));
    const QCommandLineOption outputOption(
        QStringLiteral("output"), QStringLiteral("The image to write."), QStringLiteral("FILE"));
    parser.addOption(interfaceOption);
    parser.addOption(outputOption);
    parser.process(application);
    const std::string interfaceAddress = parser.value(interfaceOption).toStdString();
    if (interfaceAddress.rfind("127.", 0) != 0 || !parser.isSet(outputOption)) {
        std::fprintf(stderr, "arx-equaliser-shot: give --interface 127.x.y.1 and --output\n");
        return 2;
    }

    Store store;
    SystemClock clock;
    QtPrompts prompts;
    SystemFiles files;
    UdpTransport transport;
    const OwnAddressLookup ownAddress
        = [interfaceAddress] { return findLocalAddress(interfaceAddress); };
    Room room({ .store = store,
        .link = transport,
        .clock = clock,
        .prompts = prompts,
        .files = files,
        .ownAddress = ownAddress,
        .presetFolder = {} });
    CARNDlg window(room, transport, clock, prompts, ownAddress);
    DatagramPump pump(transport);
    QObject::connect(&pump, &DatagramPump::received, &window,
        [&room](const Datagram &datagram) { room.received(datagram); });
    if (!openCommandSocket(transport, interfaceAddress, prompts))
        return 1;
    pump.start();

    window.discovery().startSearch();
    for (int wait = 0; wait < 100 && !store.unitTable[0].inUse; ++wait)
        settle(50);
    DeviceRecord &unit = store.unitTable[0];
    if (!unit.inUse || unit.type != UnitTypePxl2) {
        std::fprintf(stderr, "arx-equaliser-shot: no PXL2 unit answered\n");
        return 1;
    }

    // A speech voicing: less rumble, a cut in the boxy mids, presence and air.
    const MicEqBand shaped[MicEqBandCount] = {
        { .frequency = 120, .gain = 360, .q = 8, .enabled = 1, .shape = EqShapePeaking },
        { .frequency = 400, .gain = 210, .q = 25, .enabled = 1, .shape = EqShapePeaking },
        { .frequency = 2500, .gain = 345, .q = 14, .enabled = 1, .shape = EqShapePeaking },
        { .frequency = 9000, .gain = 390, .q = 12, .enabled = 1, .shape = EqShapePeaking },
    };
    for (int b = 0; b < MicEqBandCount; ++b)
        unit.eqBands[b] = shaped[b];
    unit.eqLowCutOn = 1;
    unit.lowCut = 1;
    unit.eqLowCutFrequency = 80;
    const std::string address(textOf(unit.ip));
    for (int band = 1; band <= MicLowCutBand; ++band)
        sendMicEqBand(transport, store, address, 0, band);
    SendUnitSettings(transport, store, 0);

    CInputeqDlg dialog(store, transport, clock, 0, &window);
    dialog.show();
    settle(400);

    // Hold band 2's point a little lower and to the right, mid-drag.
    CMultiColorPlotCtrl *plot = dialog.plot();
    const HandleRect handle = plot->handles().handles()[1].rect;
    const QPoint from(handle.centreX(), handle.centreY());
    mouse(plot, QEvent::MouseButtonPress, from, Qt::LeftButton);
    mouse(plot, QEvent::MouseMove, from + QPoint(6, 3), Qt::LeftButton);
    mouse(plot, QEvent::MouseMove, from + QPoint(12, 6), Qt::LeftButton);
    settle(300);

    const bool saved = dialog.grab().save(parser.value(outputOption), "PNG");
    mouse(plot, QEvent::MouseButtonRelease, from + QPoint(12, 6), Qt::NoButton);
    settle(100);
    transport.stop();
    return saved ? 0 : 1;
}
