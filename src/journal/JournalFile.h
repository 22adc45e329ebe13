#pragma once

#include "journal/Journal.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <thread>

namespace arx {

// Appends every journal entry to a file as one JSON line, on a thread of its own, so that a
// slow disk never holds up sending or receiving. Should the file fall so far behind that the
// ring has moved on, a line says how many entries were lost.
class JournalFile {
public:
    // Opens `path` for appending and starts writing from the next entry on. `local` is this
    // end's ADDRESS:PORT for the lines' from and to.
    JournalFile(Journal &journal, const std::string &path, std::string local);
    // Writes what is still waiting, then closes the file.
    ~JournalFile();
    JournalFile(const JournalFile &) = delete;
    JournalFile &operator=(const JournalFile &) = delete;

    bool isOpen() const { return file_ != nullptr; }
    // Why the file could not be opened.
    const std::string &error() const { return error_; }

private:
    void write(std::uint64_t &written, const std::vector<JournalEntry> &entries);

    Journal &journal_;
    const std::string local_;
    std::FILE *file_ = nullptr;
    std::string error_;
    std::uint64_t written_ = 0;
    std::jthread thread_;
};

} // namespace arx
