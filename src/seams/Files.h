#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace arx {

// What can go wrong with a file the operator chose, in the terms the operator is told.
enum class FileError {
    None,
    NotFound,
    PermissionDenied,
    IsFolder,
    NotAFile, // a device, a pipe or a socket
    DiskFull,
    CannotOpen,
    CannotRead,
    CannotWrite,
};

struct FileStatus {
    FileError error = FileError::None;
    int systemError = 0; // the errno behind a CannotOpen, CannotRead or CannotWrite, else 0

    explicit operator bool() const { return error == FileError::None; }
};

// "permission denied", "the disk is full", ...: the reason as it reads after a colon.
std::string describe(const FileStatus &status);

// The folder part of a path: "/p" for "/p/a.box", "/" for "/a.box", "." for "a.box".
std::string folderOf(const std::string &path);

// The name a file is written under: a file name without any extension gets `suffix` (".box");
// a name with an extension of its own is kept as the operator typed it.
std::string withSuffix(const std::string &path, const std::string &suffix);

struct FileRead {
    FileStatus status;
    std::uint64_t size = 0; // the whole file's size
    std::vector<std::uint8_t> bytes; // its first bytes, at most the limit asked for
};

// The files the operator saves and opens. Production uses the file system; tests inject
// every failure the operator can meet.
class Files {
public:
    virtual ~Files() = default;

    // Opens the file read-only, so that a read-only file can be read.
    virtual FileRead read(const std::string &path, std::size_t limit) = 0;

    // Writes a complete new file and only then puts it in place of `path`, so that a failed
    // write (a full disk, a crash) leaves the previous file as it was.
    virtual FileStatus replace(const std::string &path, std::span<const std::uint8_t> bytes) = 0;

    virtual bool exists(const std::string &path) = 0;
};

// The file system through POSIX calls. `replace` writes a temporary file beside the target,
// flushes it to disk and renames it over the target.
class SystemFiles final : public Files {
public:
    FileRead read(const std::string &path, std::size_t limit) override;
    FileStatus replace(const std::string &path, std::span<const std::uint8_t> bytes) override;
    bool exists(const std::string &path) override;
};

} // namespace arx
