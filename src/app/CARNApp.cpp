#include "app/CARNApp.h"

#include "app/CARNDlg.h"
#include "app/DatagramPump.h"
#include "model/Store.h"
#include "protocol/CommandSocket.h"
#include "protocol/LocalAddress.h"

#include <QApplication>

namespace arx {

void nameTheApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("ARX"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ARX_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(ARX_APPLICATION_ID));
    // Settings are not used; the name is kept for the settings object's sake.
    QCoreApplication::setOrganizationName(QStringLiteral("应用程序向导生成的本地应用程序"));
}

CARNApp::CARNApp(StartOptions options)
    : store_(std::make_unique<Store>())
{
    const std::string interfaceAddress = options.interfaceAddress.toStdString();
    window_ = std::make_unique<CARNDlg>(*store_, transport_, clock_, prompts_,
        [interfaceAddress] { return findLocalAddress(interfaceAddress); });
    prompts_.setParent(window_.get());
    window_->show();

    pump_ = std::make_unique<DatagramPump>(transport_);
    QObject::connect(pump_.get(), &DatagramPump::received, window_.get(),
        [this](const Datagram &datagram) { window_->discovery().received(datagram); });
    QObject::connect(
        window_.get(), &CARNDlg::closing, window_.get(), [this] { transport_.stop(); });
    if (openCommandSocket(transport_, interfaceAddress, prompts_))
        pump_->start();
}

CARNApp::~CARNApp()
{
    // No datagram may reach the pump or the window once they are gone.
    transport_.stop();
}

int CARNApp::run()
{
    QApplication::exec();
    transport_.stop();
    return 0;
}

} // namespace arx
