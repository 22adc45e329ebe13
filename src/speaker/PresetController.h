#pragma once

#include "model/Store.h"
#include "seams/Files.h"
#include "seams/Link.h"
#include "seams/Prompts.h"

#include <functional>
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

// The speaker page's RESET, SAVE and RECALL buttons, without a window. The page calls the
// three operations and gives a way to show the store again after a recall.
class PresetController {
public:
    // `documentsFolder` is where the file dialogs start until a preset has been saved or
    // recalled; then they start in that preset's folder.
    PresetController(
        Store &store, Link &link, Prompts &prompts, Files &files, std::string documentsFolder);

    void setRefreshPage(std::function<void()> refreshPage)
    {
        refreshPage_ = std::move(refreshPage);
    }

    // Asks, then sends command 08 while connected. Nothing in the store changes.
    void deviceReset();
    // Writes the setting to a file the operator names; every failure is told.
    void save();
    // Reads a file the operator picks; only an acceptable preset reaches the store, the page
    // and, while connected, the processor.
    void recall();

    const std::string &dialogFolder() const { return dialogFolder_; }

private:
    Store &store_;
    Link &link_;
    Prompts &prompts_;
    Files &files_;
    std::string dialogFolder_;
    std::function<void()> refreshPage_;
};

} // namespace arx
