#pragma once

#include "model/Store.h"
#include "roomfile/RoomApply.h"
#include "roomfile/RoomFile.h"
#include "seams/Clock.h"
#include "seams/Files.h"
#include "seams/Prompts.h"

#include <optional>
#include <string>

namespace arx {

// The name a room file is written under: ".arxroom" is added to a name without extension.
std::string withRoomFileSuffix(const std::string &path);

// Room files for the window and the command interface: saving the room as ARX sees it
// (atomically, as presets are), opening a file (which never sends anything), and the apply
// that sends what the operator chose of a comparison.
class RoomFiles {
public:
    // `version` is the program's, written into every file saved.
    RoomFiles(Store &store, Files &files, Prompts &prompts, const Clock &clock, std::string version,
        RoomApply &apply);

    // Writes the room to `path`; nothing when it was written, else why not, in the words the
    // operator is shown: "The room could not be saved to ...: ... No file was changed."
    std::optional<std::string> save(const std::string &path);
    // Reads the room file at `path`; the file, or why it was refused, naming the file and the
    // first offending field: "The room file ... was not opened: ... Nothing was changed."
    struct Opened {
        std::optional<RoomFile> file;
        std::string problem;
    };
    Opened open(const std::string &path);

    // The window's: asks for a name starting in `folder` (".arxroom" added, a replaced file
    // asked about), writes, and tells a failure.
    void saveAsked(const std::string &folder);
    // Asks for a file starting in `folder` and reads it; a refusal is told.
    std::optional<RoomFile> openAsked(const std::string &folder, std::string *path = nullptr);

    RoomApply &apply() { return apply_; }

private:
    Store &store_;
    Files &files_;
    Prompts &prompts_;
    const Clock &clock_;
    std::string version_;
    RoomApply &apply_;
};

} // namespace arx
