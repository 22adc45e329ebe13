#include "seams/Files.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace arx {

namespace {

FileStatus fromErrno(int error, FileError otherwise)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return { .error = FileError::NotFound };
    case EACCES:
    case EPERM:
        return { .error = FileError::PermissionDenied };
    case EISDIR:
        return { .error = FileError::IsFolder };
    case ENOSPC:
    case EDQUOT:
        return { .error = FileError::DiskFull };
    default:
        return { .error = otherwise, .systemError = error };
    }
}

// Closes on every path out.
class Descriptor {
public:
    explicit Descriptor(int fd)
        : fd_(fd)
    {
    }
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;

    int get() const { return fd_; }
    // Closes now, for a caller that must know whether the close succeeded.
    int close()
    {
        const int result = ::close(fd_);
        fd_ = -1;
        return result;
    }

private:
    int fd_;
};

std::string baseOf(const std::string &path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

mode_t newFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

bool writeAll(int fd, std::span<const std::uint8_t> bytes, int &error)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            error = errno;
            return false;
        }
        if (written == 0) { // nothing taken and no reason given: treat as a full device
            error = ENOSPC;
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    return true;
}

} // namespace

std::string folderOf(const std::string &path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string withSuffix(const std::string &path, const std::string &suffix)
{
    const std::size_t slash = path.rfind('/');
    const std::size_t start = slash == std::string::npos ? 0 : slash + 1;
    // A leading dot starts a hidden name, not an extension.
    const std::size_t dot = path.find('.', start + 1);
    if (start == path.size() || dot != std::string::npos)
        return path;
    return path + suffix;
}

std::string describe(const FileStatus &status)
{
    const std::string reason = status.systemError != 0
        ? std::string(" (") + std::strerror(status.systemError) + ")"
        : "";
    switch (status.error) {
    case FileError::None:
        return "no error";
    case FileError::NotFound:
        return "the file or its folder does not exist";
    case FileError::PermissionDenied:
        return "permission denied";
    case FileError::IsFolder:
        return "it is a folder, not a file";
    case FileError::NotAFile:
        return "it is not a regular file";
    case FileError::DiskFull:
        return "the disk is full";
    case FileError::CannotOpen:
        return "it cannot be opened" + reason;
    case FileError::CannotRead:
        return "it cannot be read" + reason;
    case FileError::CannotWrite:
        return "it cannot be written" + reason;
    }
    return "unknown error";
}

FileRead SystemFiles::read(const std::string &path, std::size_t limit)
{
    FileRead result;
    // Non-blocking, so that a named pipe chosen by mistake cannot hang the window on open.
    Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (file.get() < 0) {
        result.status = fromErrno(errno, FileError::CannotOpen);
        return result;
    }
    struct stat info { };
    if (::fstat(file.get(), &info) != 0) {
        result.status = fromErrno(errno, FileError::CannotRead);
        return result;
    }
    if (S_ISDIR(info.st_mode)) {
        result.status = { .error = FileError::IsFolder };
        return result;
    }
    if (!S_ISREG(info.st_mode)) {
        result.status = { .error = FileError::NotAFile };
        return result;
    }
    result.size = static_cast<std::uint64_t>(info.st_size);
    result.bytes.resize(limit);
    std::size_t done = 0;
    while (done < limit) {
        const ssize_t got = ::read(file.get(), result.bytes.data() + done, limit - done);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            result.status = fromErrno(errno, FileError::CannotRead);
            result.bytes.clear();
            return result;
        }
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    result.bytes.resize(done);
    return result;
}

FileStatus SystemFiles::replace(const std::string &path, std::span<const std::uint8_t> bytes)
{
    mode_t mode = newFileMode();
    struct stat target { };
    if (::stat(path.c_str(), &target) == 0) {
        if (S_ISDIR(target.st_mode))
            return { .error = FileError::IsFolder };
        if (!S_ISREG(target.st_mode))
            return { .error = FileError::NotAFile };
        // The rename would replace a write-protected file as long as its folder is
        // writable; a file its owner protected stays protected.
        if (::access(path.c_str(), W_OK) != 0)
            return fromErrno(errno, FileError::CannotWrite);
        mode = target.st_mode & 07777;
    }

    std::string temporary = folderOf(path) + "/." + baseOf(path) + ".XXXXXX";
    Descriptor file(::mkostemp(temporary.data(), O_CLOEXEC));
    if (file.get() < 0)
        return fromErrno(errno, FileError::CannotWrite);
    const auto fail = [&temporary](int error) {
        ::unlink(temporary.c_str());
        return fromErrno(error, FileError::CannotWrite);
    };
    int error = 0;
    if (!writeAll(file.get(), bytes, error))
        return fail(error);
    if (::fchmod(file.get(), mode) != 0 || ::fsync(file.get()) != 0)
        return fail(errno);
    if (file.close() != 0)
        return fail(errno);
    if (::rename(temporary.c_str(), path.c_str()) != 0)
        return fail(errno);

    // The new name itself reaches the disk with its folder; a failure here cannot be undone
    // and the file is already complete, so it is not reported.
    Descriptor folder(::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0)
        ::fsync(folder.get());
    return {};
}

bool SystemFiles::exists(const std::string &path)
{
    struct stat info { };
    return ::stat(path.c_str(), &info) == 0;
}

} // namespace arx
