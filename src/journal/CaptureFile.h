#pragma once

#include "journal/Journal.h"
#include "journal/PcapWriter.h"

#include <cstdint>
#include <string>
#include <thread>

namespace arx {

// Writes every journal entry to a capture file (PcapWriter) on a thread of its own, as
// JournalFile does with JSON lines, so that a slow disk never holds up sending or receiving.
// Should the writer fall so far behind that the ring has moved on, the lost entries are
// counted and reported on standard error (a capture file has no place for a note).
class CaptureFile {
public:
    // Creates or empties `path` and writes from the next entry on.
    CaptureFile(Journal &journal, const std::string &path);
    // Writes what is still waiting, then closes the file.
    ~CaptureFile();
    CaptureFile(const CaptureFile &) = delete;
    CaptureFile &operator=(const CaptureFile &) = delete;

    bool isOpen() const { return writer_.isOpen(); }
    // Why the file could not be opened.
    const std::string &error() const { return writer_.error(); }

private:
    void write(const std::vector<JournalEntry> &entries);

    Journal &journal_;
    const std::string path_;
    PcapWriter writer_;
    std::uint64_t written_ = 0;
    std::jthread thread_;
};

} // namespace arx
