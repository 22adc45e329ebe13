#pragma once

// A room on the test seams: a recording link, a manual clock, scripted prompts and fake
// files, so that a test drives the controllers, or a window on them, and reads exactly what
// went out.

#include "room/Room.h"

#include "FakeFiles.h"
#include "RecordingLink.h"
#include "ScriptedPrompts.h"

#include <memory>
#include <optional>
#include <string>

namespace arx::test {

struct TestRoom {
    explicit TestRoom(std::string ownAddress = "127.0.10.1")
        : ownAddress_(std::move(ownAddress))
    {
    }

    std::unique_ptr<Store> store = std::make_unique<Store>();
    RecordingLink link;
    ManualClock clock;
    ScriptedPrompts prompts;
    FakeFiles files;

private:
    std::string ownAddress_;

public:
    Room room { RoomSeams { .store = *store,
        .link = link,
        .clock = clock,
        .prompts = prompts,
        .files = files,
        .ownAddress = [this] { return std::optional<std::string>(ownAddress_); },
        .presetFolder = "/presets" } };
};

} // namespace arx::test
