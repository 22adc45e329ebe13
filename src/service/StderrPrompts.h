#pragma once

#include "seams/Prompts.h"

namespace arx {

// The prompts of a program without a window: what the operator would be told goes to standard
// error as "arx: TEXT"; a question is answered Cancel (nobody is there to answer it), and no
// file or colour is ever chosen.
class StderrPrompts final : public Prompts {
public:
    void message(const std::string &text) override;
    bool confirm(const std::string &text) override;
    std::optional<std::string> openFileName(
        const std::string &filter, const std::string &startFolder) override;
    std::optional<std::string> saveFileName(
        const std::string &filter, const std::string &startFolder) override;
    std::optional<std::uint32_t> chooseColour(std::uint32_t initial) override;
};

} // namespace arx
