#include "roomfile/RoomFiles.h"

#include "roomfile/RoomFileJson.h"

namespace arx {

namespace {

std::string quoted(const std::string &path)
{
    return "\"" + path + "\"";
}

} // namespace

std::string withRoomFileSuffix(const std::string &path)
{
    return withSuffix(path, RoomFileSuffix);
}

RoomFiles::RoomFiles(Store &store, Files &files, Prompts &prompts, const Clock &clock,
    std::string version, RoomApply &apply)
    : store_(store)
    , files_(files)
    , prompts_(prompts)
    , clock_(clock)
    , version_(std::move(version))
    , apply_(apply)
{
}

std::optional<std::string> RoomFiles::save(const std::string &path)
{
    const std::string text
        = roomFileText(roomFileOf(store_, savedTimeText(clock_.localTime()), "ARX " + version_));
    const auto *bytes = reinterpret_cast<const std::uint8_t *>(text.data());
    if (const FileStatus status = files_.replace(path, { bytes, text.size() }); !status)
        return "The room could not be saved to " + quoted(path) + ": " + describe(status)
            + ". No file was changed.";
    return std::nullopt;
}

RoomFiles::Opened RoomFiles::open(const std::string &path)
{
    const auto refused = [&path](const std::string &reason) {
        return Opened { .file = std::nullopt,
            .problem = "The room file " + quoted(path) + " was not opened: " + reason
                + ". Nothing was changed." };
    };
    // One byte more than the limit is enough to tell a longer file.
    const FileRead read = files_.read(path, RoomFileSizeLimit + 1);
    if (!read.status)
        return refused(describe(read.status));
    if (read.size > RoomFileSizeLimit)
        return refused("it holds " + std::to_string(read.size) + " bytes, more than a room file ("
            + std::to_string(RoomFileSizeLimit) + ")");
    RoomFileRead room = readRoomFile(
        std::string_view(reinterpret_cast<const char *>(read.bytes.data()), read.bytes.size()));
    if (!room.file)
        return refused(room.problem);
    return { .file = std::move(room.file), .problem = {} };
}

void RoomFiles::saveAsked(const std::string &folder)
{
    const std::optional<std::string> chosen = prompts_.saveFileName(RoomFileFilter, folder);
    if (!chosen)
        return;
    const std::string path = withRoomFileSuffix(*chosen);
    // The dialog asked about the name without the suffix.
    if (path != *chosen && files_.exists(path)
        && !prompts_.confirm(quoted(path) + " already exists.\nDo you want to replace it?"))
        return;
    if (const std::optional<std::string> problem = save(path))
        prompts_.message(*problem);
}

std::optional<RoomFile> RoomFiles::openAsked(const std::string &folder, std::string *path)
{
    const std::optional<std::string> chosen = prompts_.openFileName(RoomFileFilter, folder);
    if (!chosen)
        return std::nullopt;
    Opened opened = open(*chosen);
    if (!opened.file) {
        prompts_.message(opened.problem);
        return std::nullopt;
    }
    if (path)
        *path = *chosen;
    return std::move(opened.file);
}

} // namespace arx
