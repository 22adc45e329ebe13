#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace arx {

// Whether an operation may ask or tell the operator: the window's do; a command from a room
// controller is its own confirmation and hears how it went in its answer, never in a dialog.
enum class Confirm { Ask, Given };

// Everything that asks the operator something or tells them something. Texts are UTF-8.
// Production shows Qt dialogs; tests script the answers and keep the texts.
class Prompts {
public:
    virtual ~Prompts() = default;

    // A message box with an OK button only.
    virtual void message(const std::string &text) = 0;

    // An OK/Cancel question with the exclamation icon; true for OK.
    virtual bool confirm(const std::string &text) = 0;

    // File dialogs, opening in `startFolder`; an empty result when the operator cancels. The
    // filter is in Qt's form, for example "Preset (*.box)". The save dialog asks before
    // overwriting a file the operator picked.
    virtual std::optional<std::string> openFileName(
        const std::string &filter, const std::string &startFolder)
        = 0;
    virtual std::optional<std::string> saveFileName(
        const std::string &filter, const std::string &startFolder)
        = 0;

    // The colour dialog, opened on `initial`; empty when the operator cancels. Colours are
    // 24-bit values with red in the low byte, as units take them.
    virtual std::optional<std::uint32_t> chooseColour(std::uint32_t initial) = 0;
};

} // namespace arx
