#include "app/DatagramPump.h"

namespace arx {

DatagramPump::DatagramPump(UdpTransport &transport, QObject *parent)
    : QObject(parent)
    , transport_(transport)
{
}

void DatagramPump::start()
{
    transport_.start([this](const Datagram &datagram) {
        QMetaObject::invokeMethod(
            this, [this, datagram] { emit received(datagram); }, Qt::QueuedConnection);
    });
}

} // namespace arx
