#include "app/DatagramPump.h"

#include <chrono>

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
    const auto sliceEnd = std::chrono::steady_clock::now() + DrainSlice;
    for (;;) {
        Datagram datagram;
        {
            std::lock_guard lock(mutex_);
            if (queue_.empty()) {
                drainPosted_ = false;
                return;
            }
            if (std::chrono::steady_clock::now() >= sliceEnd) {
                // The rest in a later call, so that timers and input get their turn.
                QMetaObject::invokeMethod(this, &DatagramPump::drain, Qt::QueuedConnection);
                return;
            }
            datagram = std::move(queue_.front());
            queue_.pop_front();
        }
        emit received(datagram);
    }
}

} // namespace arx
