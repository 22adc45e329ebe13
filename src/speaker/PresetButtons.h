#pragma once

#include "seams/Files.h"
#include "speaker/PresetController.h"

#include <functional>
#include <string>

namespace arx {

// Where the preset dialogs start in a run: the operator's documents folder (the home folder
// when the desktop names none). The program's own folder is no place for presets: it is a
// build folder that a clean deletes, or a system folder once installed.
std::string presetDocumentsFolder();

// Presets as the speaker page's three buttons need them: the controller on the real file
// system, starting in the documents folder.
class PresetButtons {
public:
    PresetButtons(Store &store, Link &link, Prompts &prompts);
    PresetButtons(const PresetButtons &) = delete;
    PresetButtons &operator=(const PresetButtons &) = delete;

    // Handlers for RESET (1131), SAVE (1132) and RECALL (1133); they refer to this object.
    std::function<void()> deviceResetHandler();
    std::function<void()> saveHandler();
    std::function<void()> recallHandler();

    // The page's refreshPage, called after an accepted recall and before anything is sent.
    void setRefreshPage(std::function<void()> refreshPage);

    const PresetController &controller() const { return controller_; }

private:
    SystemFiles files_;
    PresetController controller_;
};

} // namespace arx
