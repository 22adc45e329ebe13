#include "app/DatagramPump.h"

namespace arx {

DatagramPump::DatagramPump(UdpTransport &transport, QObject *parent)
    : QObject(parent)
    , transport_(transport)
{
}

DatagramPump::~DatagramPump()
{
    transport_.stop();
}

void DatagramPump::start()
{
    transport_.start([this](const Datagram &datagram) { enqueue(datagram); });
}

std::size_t DatagramPump::pendingCount() const
{
    std::lock_guard lock(mutex_);
    return queue_.size();
}

void DatagramPump::enqueue(const Datagram &datagram)
{
    std::unique_lock lock(mutex_);
    if (queue_.size() >= Capacity) {
        ++dropped_;
        lock.unlock();
        if (onDropped_)
            onDropped_(datagram);
        return;
    }
    queue_.push_back(datagram);
    if (!drainPosted_) {
        drainPosted_ = true;
        QMetaObject::invokeMethod(this, &DatagramPump::drain, Qt::QueuedConnection);
    }
}

void DatagramPump::drain()
{
    std::deque<Datagram> batch;
    {
        std::lock_guard lock(mutex_);
        batch.swap(queue_);
        drainPosted_ = false;
    }
    for (const Datagram &datagram : batch)
        emit received(datagram);
}

} // namespace arx
