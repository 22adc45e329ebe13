#include "app/DatagramPump.h"

#include <algorithm>
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
    transport_.startBatches([this](std::span<const Datagram> batch) { enqueue(batch); });
}

std::size_t DatagramPump::pendingCount() const
{
    std::lock_guard lock(mutex_);
    return incoming_.size() + handingLeft_.load();
}

void DatagramPump::enqueue(std::span<const Datagram> batch)
{
    std::size_t taken = 0;
    {
        std::lock_guard lock(mutex_);
        // The UI thread only ever lowers handingLeft_, so this may count a datagram it has
        // just handed over as waiting, never the other way round: the bound holds.
        const std::size_t waiting = incoming_.size() + handingLeft_.load();
        taken = std::min(batch.size(), Capacity - std::min(waiting, Capacity));
        incoming_.insert(incoming_.end(), batch.begin(), batch.begin() + static_cast<long>(taken));
        if (taken > 0 && !drainPosted_) {
            drainPosted_ = true;
            QMetaObject::invokeMethod(this, &DatagramPump::drain, Qt::QueuedConnection);
        }
    }
    // What did not fit, in order, as a full socket buffer would drop it.
    for (const Datagram &datagram : batch.subspan(taken)) {
        ++dropped_;
        if (onDropped_)
            onDropped_(datagram);
    }
}

void DatagramPump::drain()
{
    const auto sliceEnd = std::chrono::steady_clock::now() + DrainSlice;
    for (;;) {
        if (handed_ == handing_.size()) {
            std::lock_guard lock(mutex_);
            handing_.clear();
            handed_ = 0;
            if (incoming_.empty()) {
                drainPosted_ = false;
                return;
            }
            handing_.swap(incoming_);
            handingLeft_ = handing_.size();
        }
        if (std::chrono::steady_clock::now() >= sliceEnd) {
            // The rest in a later call, so that timers and input get their turn.
            QMetaObject::invokeMethod(this, &DatagramPump::drain, Qt::QueuedConnection);
            return;
        }
        // A copy: a receiver that turns the event loop may come back into this function.
        const Datagram datagram = handing_[handed_++];
        --handingLeft_;
        emit received(datagram);
    }
}

} // namespace arx
