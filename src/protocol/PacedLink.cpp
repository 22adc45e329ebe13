#include "protocol/PacedLink.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <future>

namespace arx {

namespace {

using SteadyClock = std::chrono::steady_clock;

// The observer's time: monotonic milliseconds, as `SystemClock::monotonicMs` reads them.
std::int64_t monotonicMs(SteadyClock::time_point at)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(at.time_since_epoch()).count();
}

std::string mergeKey(
    const std::string &address, std::uint16_t port, std::span<const std::uint8_t> bytes)
{
    std::string key = address;
    key += ':';
    key += std::to_string(port);
    key += ' ';
    key.append(bytes.begin(), bytes.end());
    return key;
}

} // namespace

PacedLink::PacedLink(UdpTransport &transport, SendObserver *observer, std::size_t capacity)
    : transport_(transport)
    , observer_(observer)
    , capacity_(capacity)
    , notBefore_(SteadyClock::now())
{
    std::promise<int> threadId;
    std::future<int> reported = threadId.get_future();
    thread_ = std::thread([this, threadId = std::move(threadId)]() mutable {
        threadId.set_value(static_cast<int>(::syscall(SYS_gettid)));
        run();
    });
    senderThreadId_ = reported.get();
}

PacedLink::~PacedLink()
{
    close();
}

bool PacedLink::send(
    const std::string &address, std::uint16_t port, std::span<const std::uint8_t> bytes)
{
    return enqueue(address, port, bytes, false);
}

bool PacedLink::sendUnlessWaiting(
    const std::string &address, std::uint16_t port, std::span<const std::uint8_t> bytes)
{
    return enqueue(address, port, bytes, true);
}

bool PacedLink::enqueue(const std::string &address, std::uint16_t port,
    std::span<const std::uint8_t> bytes, bool unlessWaiting)
{
    SendOutcome outcome = SendOutcome::Queued;
    std::size_t refusedSoFar = 0;
    RefusalListener listener;
    bool wasIdle = false;
    {
        const std::lock_guard lock(mutex_);
        const std::uint64_t ticket = ++tickets_;
        std::string key;
        if (unlessWaiting)
            key = mergeKey(address, port, bytes);
        if (closed_) {
            outcome = SendOutcome::Refused;
        } else if (unlessWaiting && waitingOnce_.count(key) != 0) {
            outcome = SendOutcome::Merged;
        } else if (queue_.size() >= capacity_) {
            outcome = SendOutcome::Refused;
            refusedSoFar = ++refused_;
            listener = onRefused_;
        } else {
            wasIdle = queue_.empty();
            Entry &entry = queue_.emplace_back();
            entry.ticket = ticket;
            entry.address = address;
            entry.port = port;
            entry.bytes.assign(bytes.begin(), bytes.end());
            if (unlessWaiting) {
                entry.indexed = true;
                ++waitingOnce_[key];
            }
            mostWaiting_ = std::max(mostWaiting_, queue_.size());
        }
        lastDropped_ = outcome != SendOutcome::Queued;
        // Under the lock, so that the observer always hears of a frame before it is sent.
        if (observer_)
            observer_->queued(ticket, outcome);
    }
    if (wasIdle)
        wake_.notify_one();
    if (listener)
        listener(refusedSoFar);
    return outcome != SendOutcome::Refused;
}

void PacedLink::pause(int milliseconds)
{
    if (milliseconds <= 0)
        return;
    const std::lock_guard lock(mutex_);
    if (closed_ || lastDropped_)
        return;
    if (!queue_.empty())
        queue_.back().pauseAfterMs += milliseconds;
    else
        notBefore_ += std::chrono::milliseconds(milliseconds);
}

std::shared_ptr<const SendFence> PacedLink::fence(std::int64_t nowMs)
{
    const std::lock_guard lock(mutex_);
    if (queue_.empty())
        return SendFence::completedAt(nowMs);
    auto fence = std::make_shared<SendFence>();
    fences_.emplace_back(queue_.back().ticket, fence);
    return fence;
}

void PacedLink::completeFences(std::uint64_t ticket, std::int64_t atMs)
{
    while (!fences_.empty() && fences_.front().first <= ticket) {
        fences_.front().second->complete(atMs);
        fences_.pop_front();
    }
}

void PacedLink::forget(Entry &entry)
{
    if (!entry.indexed)
        return;
    entry.indexed = false;
    const auto found = waitingOnce_.find(mergeKey(entry.address, entry.port, entry.bytes));
    if (found != waitingOnce_.end() && --found->second == 0)
        waitingOnce_.erase(found);
}

void PacedLink::run()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return !queue_.empty() || closed_; });
        if (queue_.empty() || abandon_)
            break;
        Entry &front = queue_.front();
        while (!abandon_ && SteadyClock::now() < notBefore_)
            wake_.wait_until(lock, notBefore_);
        if (abandon_)
            break;
        // Waiting ends here: an identical frame from now on is queued behind this one.
        forget(front);
        // The deque keeps the front in place while callers append behind it.
        const std::uint64_t ticket = front.ticket;
        lock.unlock();
        const int error = transport_.sendDatagram(front.address, front.port, front.bytes);
        const SteadyClock::time_point end = SteadyClock::now();
        if (observer_)
            observer_->sent(ticket, monotonicMs(end), error);
        lock.lock();
        // Pauses issued while the frame was on its way were added to it as well.
        notBefore_ = end + std::chrono::milliseconds(queue_.front().pauseAfterMs);
        queue_.pop_front();
        completeFences(ticket, monotonicMs(end));
        if (queue_.empty())
            drained_.notify_all();
    }
    // Abandoned at close: what is left never goes.
    while (!queue_.empty()) {
        if (observer_)
            observer_->sent(queue_.front().ticket, monotonicMs(SteadyClock::now()), ECANCELED);
        forget(queue_.front());
        queue_.pop_front();
    }
    completeFences(tickets_, monotonicMs(SteadyClock::now()));
    drained_.notify_all();
}

void PacedLink::close(std::chrono::milliseconds drainLimit)
{
    {
        std::unique_lock lock(mutex_);
        closed_ = true;
        wake_.notify_one();
        drained_.wait_for(lock, drainLimit, [this] { return queue_.empty(); });
        abandon_ = true;
        wake_.notify_one();
    }
    if (thread_.joinable())
        thread_.join();
}

void PacedLink::setRefusalListener(RefusalListener listener)
{
    const std::lock_guard lock(mutex_);
    onRefused_ = std::move(listener);
}

std::size_t PacedLink::refusedCount() const
{
    const std::lock_guard lock(mutex_);
    return refused_;
}

std::size_t PacedLink::waitingFrames() const
{
    const std::lock_guard lock(mutex_);
    return queue_.size();
}

std::size_t PacedLink::mostWaitingFrames() const
{
    const std::lock_guard lock(mutex_);
    return mostWaiting_;
}

} // namespace arx
