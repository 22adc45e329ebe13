#include "journal/JournalFile.h"

#include "journal/JournalText.h"

#include <cerrno>
#include <cstring>

namespace arx {

JournalFile::JournalFile(Journal &journal, const std::string &path, std::string local)
    : journal_(journal)
    , local_(std::move(local))
{
    file_ = std::fopen(path.c_str(), "ae");
    if (!file_) {
        error_ = std::strerror(errno);
        return;
    }
    written_ = journal_.lastSequence();
    thread_ = std::jthread([this](std::stop_token stop) {
        while (!stop.stop_requested())
            write(written_, journal_.waitSince(written_, stop));
    });
}

JournalFile::~JournalFile()
{
    if (!file_)
        return;
    thread_.request_stop();
    thread_.join();
    write(written_, journal_.since(written_));
    std::fclose(file_);
}

void JournalFile::write(std::uint64_t &written, const std::vector<JournalEntry> &entries)
{
    if (entries.empty())
        return;
    if (entries.front().sequence > written + 1) {
        const std::uint64_t lost = entries.front().sequence - written - 1;
        std::fprintf(file_,
            "{\"time\":\"%s\",\"direction\":\"note\",\"device\":\"\",\"from\":\"\",\"to\":\"\","
            "\"hex\":\"\",\"meaning\":\"%llu entries not written: the file fell behind\"}\n",
            utcText(entries.front().wallMs).c_str(), static_cast<unsigned long long>(lost));
    }
    for (const JournalEntry &entry : entries) {
        const std::string line = jsonLine(entry, local_);
        std::fputs(line.c_str(), file_);
        std::fputc('\n', file_);
    }
    std::fflush(file_);
    written = entries.back().sequence;
}

} // namespace arx
