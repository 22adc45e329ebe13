#pragma once

#include "seams/Files.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace arx::test {

// Files in memory, with every failure a test asks for. A failed replace leaves the file as it
// was, which is what the real file layer promises.
class FakeFiles final : public Files {
public:
    FileRead read(const std::string &path, std::size_t limit) override
    {
        reads.push_back(path);
        FileRead result;
        if (const auto failure = readFailures.find(path); failure != readFailures.end()) {
            result.status = failure->second;
        } else if (folders.contains(path)) {
            result.status = { .error = FileError::IsFolder };
        } else if (const auto file = files.find(path); file == files.end()) {
            result.status = { .error = FileError::NotFound };
        } else {
            result.size = file->second.size();
            const std::size_t count = std::min(limit, file->second.size());
            result.bytes.assign(file->second.begin(), file->second.begin() + count);
        }
        return result;
    }

    FileStatus replace(const std::string &path, std::span<const std::uint8_t> bytes) override
    {
        replaced.push_back(path);
        if (const auto failure = writeFailures.find(path); failure != writeFailures.end())
            return failure->second;
        if (folders.contains(path))
            return { .error = FileError::IsFolder };
        files[path].assign(bytes.begin(), bytes.end());
        return {};
    }

    bool exists(const std::string &path) override
    {
        return files.contains(path) || folders.contains(path);
    }

    std::map<std::string, std::vector<std::uint8_t>> files;
    std::set<std::string> folders;
    std::map<std::string, FileStatus> readFailures;
    std::map<std::string, FileStatus> writeFailures;
    std::vector<std::string> reads; // every path read, in order
    std::vector<std::string> replaced; // every path written or tried, in order
};

} // namespace arx::test
