#include "app/CARNApp.h"

#include "app/CARNDlg.h"
#include "app/DatagramPump.h"
#include "app/QtPrompts.h"
#include "model/Store.h"
#include "protocol/CommandSocket.h"
#include "protocol/UdpTransport.h"
#include "seams/Clock.h"

#include <QApplication>

#include <memory>

namespace arx {

int CARNApp::run()
{
    auto store = std::make_unique<Store>();
    SystemClock clock;
    QtPrompts prompts;
    UdpTransport transport;

    CARNDlg window(*store, transport, clock, prompts);
    prompts.setParent(&window);
    window.show();

    DatagramPump pump(transport);
    if (openCommandSocket(transport, options_.interfaceAddress.toStdString(), prompts))
        pump.start();
    QObject::connect(&window, &CARNDlg::closing, &window, [&transport] { transport.stop(); });

    QApplication::exec();
    transport.stop();
    return 0;
}

} // namespace arx
