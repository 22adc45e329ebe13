#pragma once

#include "model/RoomObserver.h"
#include "model/Store.h"
#include "seams/Files.h"
#include "seams/Link.h"
#include "seams/Prompts.h"
#include "speaker/SpeakerEditing.h"

#include <optional>
#include <string>

namespace arx {

constexpr const char *DeviceResetQuestion = "If do you reset the device data? ";
constexpr const char *RecallQuestion = "是否要调用保存设置";
constexpr const char *RecallDone = "Recall sucessfully!";
constexpr const char *PresetFilter = "Box Files (*.box);;All Files (*)";
constexpr const char *PresetSuffix = ".box";

// The name the preset is written under: a file name without any extension gets ".box"; a
// name with an extension of its own is kept as the operator typed it.
std::string withPresetSuffix(const std::string &path);

// The speaker page's RESET, SAVE and RECALL buttons, without a window; a recall is announced
// as a change of everything.
class PresetController {
public:
    // `documentsFolder` is where the file dialogs start until a preset has been saved or
    // recalled; then they start in that preset's folder.
    PresetController(Store &store, Link &link, Prompts &prompts, Files &files,
        RoomObserver &announce, std::string documentsFolder);

    // Asks unless given, then sends command 08 while connected. Nothing in the store changes.
    // False when nothing was sent.
    bool deviceReset(Confirm confirm = Confirm::Ask);
    // Writes the setting to a file the operator names; every failure is told.
    void save();
    // Asks, then reads a file the operator picks and recalls it (below); says how it went.
    void recall();
    // Reads the preset at `path`; only an acceptable preset reaches the store and, while
    // connected, the processor. Nothing when it was recalled, else why not, in the words
    // the operator is shown: "The preset ... was not recalled: ... Nothing was changed."
    std::optional<std::string> recallFile(const std::string &path);
    // Takes a whole setting kept elsewhere (a room file) as a recall takes a preset: every
    // field a preset holds, the connection state left alone. While connected it goes out as a
    // recall does and then both phases, since what the processor holds after a restart of ARX
    // is unknown. True when it was sent.
    bool recallSetting(const SpeakerStore &setting);

    const std::string &dialogFolder() const { return dialogFolder_; }

private:
    Store &store_;
    Link &link_;
    Prompts &prompts_;
    Files &files_;
    RoomObserver &announce_;
    std::string dialogFolder_;
};

} // namespace arx
