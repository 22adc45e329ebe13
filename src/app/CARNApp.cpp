#include "app/CARNApp.h"

#include "app/CARNDlg.h"
#include "app/DatagramPump.h"
#include "model/Store.h"
#include "protocol/CommandSocket.h"
#include "protocol/LocalAddress.h"

#include <QApplication>

namespace arx {

CARNApp::CARNApp(StartOptions options)
    : store_(std::make_unique<Store>())
{
    const std::string interfaceAddress = options.interfaceAddress.toStdString();
    window_ = std::make_unique<CARNDlg>(*store_, link_, clock_, prompts_,
        [interfaceAddress] { return findLocalAddress(interfaceAddress); });
    prompts_.setParent(window_.get());
    // Every sender runs on this thread, so the listener may touch the window directly.
    link_.setRefusalListener([this](std::size_t dropped) { window_->showFramesDropped(dropped); });
    window_->show();

    pump_ = std::make_unique<DatagramPump>(transport_);
    QObject::connect(pump_.get(), &DatagramPump::received, window_.get(),
        [this](const Datagram &datagram) { window_->discovery().received(datagram); });
    QObject::connect(
        window_.get(), &CARNDlg::closing, window_.get(), [this] { shutDown(); });
    if (openCommandSocket(transport_, interfaceAddress, prompts_))
        pump_->start();
}

CARNApp::~CARNApp()
{
    // No datagram may reach the pump or the window once they are gone.
    shutDown();
}

int CARNApp::run()
{
    QApplication::exec();
    shutDown();
    return 0;
}

void CARNApp::shutDown()
{
    // The sender thread needs the socket until the queue has drained.
    link_.close();
    transport_.stop();
}

} // namespace arx
