#include "journal/CaptureFile.h"

#include <chrono>
#include <cstdio>

namespace arx {

namespace {

constexpr std::chrono::milliseconds BatchPause { 20 };

} // namespace

CaptureFile::CaptureFile(Journal &journal, const std::string &path)
    : journal_(journal)
    , path_(path)
    , writer_(path)
{
    if (!writer_.isOpen())
        return;
    written_ = journal_.lastSequence();
    thread_ = std::jthread([this](std::stop_token stop) {
        while (!stop.stop_requested()) {
            write(journal_.waitSince(written_, stop));
            // Lets a flood gather into one write instead of one system call per datagram.
            std::this_thread::sleep_for(BatchPause);
        }
    });
}

CaptureFile::~CaptureFile()
{
    if (!writer_.isOpen())
        return;
    thread_.request_stop();
    thread_.join();
    write(journal_.since(written_));
}

void CaptureFile::write(const std::vector<JournalEntry> &entries)
{
    if (entries.empty())
        return;
    if (entries.front().sequence > written_ + 1)
        std::fprintf(stderr, "arx: %llu datagrams not written to the capture %s: it fell behind\n",
            static_cast<unsigned long long>(entries.front().sequence - written_ - 1),
            path_.c_str());
    for (const JournalEntry &entry : entries)
        writer_.write(entry);
    writer_.flush();
    written_ = entries.back().sequence;
}

} // namespace arx
