#pragma once

#include "seams/Prompts.h"

#include <deque>
#include <vector>

namespace arx::test {

// Keeps every text shown and answers from a script: confirmations OK unless queued
// otherwise, file dialogs from the queued names and the colour dialog from the queued
// colours (cancel when none is left).
class ScriptedPrompts final : public Prompts {
public:
    void message(const std::string &text) override { shown.push_back(text); }
    bool confirm(const std::string &text) override
    {
        shown.push_back(text);
        if (confirmAnswers.empty())
            return true;
        const bool answer = confirmAnswers.front();
        confirmAnswers.pop_front();
        return answer;
    }
    std::optional<std::string> openFileName(
        const std::string &filter, const std::string &startFolder) override
    {
        return next(filter, startFolder);
    }
    std::optional<std::string> saveFileName(
        const std::string &filter, const std::string &startFolder) override
    {
        return next(filter, startFolder);
    }
    std::optional<std::uint32_t> chooseColour(std::uint32_t initial) override
    {
        colourDialogsOpened.push_back(initial);
        if (colours.empty())
            return std::nullopt;
        const std::uint32_t colour = colours.front();
        colours.pop_front();
        return colour;
    }

    std::vector<std::string> shown;
    std::deque<bool> confirmAnswers;
    std::deque<std::string> fileNames;
    // What each file dialog was opened with, in order.
    std::vector<std::string> dialogFilters;
    std::vector<std::string> dialogFolders;
    std::deque<std::uint32_t> colours;
    // The colour each colour dialog opened on.
    std::vector<std::uint32_t> colourDialogsOpened;

private:
    std::optional<std::string> next(const std::string &filter, const std::string &startFolder)
    {
        dialogFilters.push_back(filter);
        dialogFolders.push_back(startFolder);
        if (fileNames.empty())
            return std::nullopt;
        std::string name = fileNames.front();
        fileNames.pop_front();
        return name;
    }
};

} // namespace arx::test
