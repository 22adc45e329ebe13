// Room files over the room-control port: `arx --headless` on 127.0.160.1 driven by arxctl,
// against arx-sim on 127.0.160.0/24 with a unit of every family and a processor.
#include "HeadlessArx.h"

#include "SimControl.h"
#include "SimProcess.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

namespace arx::test {
namespace {

namespace fs = std::filesystem;
using arxsim::Bytes;
using namespace std::chrono_literals;

const std::string Arx = "127.0.160.1";
constexpr std::uint8_t PhaseCommand = 0x0A;

class RoomFileCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "arx-roomfile-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder = pattern;
        arx = std::make_unique<HeadlessArx>(
            std::vector<std::string> { "--interface", Arx, "--control", Arx + ":0", "--search",
                "--preset-folder", folder.string() },
            "roomfile-control-e2e-arx.log");
        ASSERT_NE(arx->controlPort(), 0) << arx->log();
        ASSERT_TRUE(room.waitUntil([](arxsim::SimControl &r) { return r.unitsAttached(5); }));
        EXPECT_EQ(arxctl({ "set", "speaker", "connect", "127.0.160.200" }).status, 0);
        ASSERT_TRUE(room.waitUntil(
            [](arxsim::SimControl &r) { return r.processor().text("connected") == "1"; }));
    }
    void TearDown() override { fs::remove_all(folder); }

    ArxctlRun arxctl(std::vector<std::string> arguments)
    {
        return runArxctl(Arx, arx->controlPort(), std::move(arguments));
    }
    arxsim::SimProcess sim { { "--subnet", "127.0.160.0", "--units", "1,2,3,4,5", "--level-rate",
                                 "0" },
        "roomfile-control-e2e-sim.log" };
    arxsim::SimControl room { sim.control() };
    fs::path folder;
    std::unique_ptr<HeadlessArx> arx;
};

TEST_F(RoomFileCommands, ArxctlSavesComparesAndAppliesTheChangedUnitAndTheWholeProcessor)
{
    const ArxctlRun save = arxctl({ "room", "save", "Hall" });
    EXPECT_EQ(save.status, 0) << save.errors;
    EXPECT_EQ(save.output, "Hall.arxroom\n");
    EXPECT_TRUE(fs::exists(folder / "Hall.arxroom"));
    EXPECT_EQ(arxctl({ "room", "diff", "Hall" }).output, "The room holds what the file holds.\n");

    // After the save: the PXL2 unit's second band, and the processor's channel A level.
    ASSERT_EQ(arxctl({ "set", "3", "eq2", "1000", "-3.0", "2.0" }).status, 0);
    ASSERT_EQ(arxctl({ "set", "speaker", "level_a", "-6" }).status, 0);
    const ArxctlRun diff = arxctl({ "room", "diff", "Hall.arxroom" });
    EXPECT_EQ(diff.status, 0) << diff.errors;
    EXPECT_EQ(diff.output,
        "Unit     Parameter  File                    Room\n"
        "3        EQ2        500 0.0 1.0 PEAKING ON  1000 -3.0 2.0 PEAKING ON\n"
        "SPEAKER  LEVEL_A    24.0                    -6.0\n");

    ASSERT_TRUE(
        room.waitUntil([&](arxsim::SimControl &r) { return r.processorFrames().size() >= 2; }));
    room.clear();
    const ArxctlRun apply = arxctl({ "--json", "room", "apply", "Hall" });
    EXPECT_EQ(apply.status, 0) << apply.errors;
    EXPECT_NE(apply.output.find("\"applied\": 2"), std::string::npos) << apply.output;
    ASSERT_TRUE(
        room.waitUntil([](arxsim::SimControl &r) { return r.processorFrames().size() >= 26; }));
    std::this_thread::sleep_for(200ms);
    const std::vector<Bytes> unitFrames = room.unitSettingFrames(3);
    ASSERT_EQ(unitFrames.size(), 1u) << "the PXL2 sequence holds only the band that differs";
    EXPECT_EQ(unitFrames[0].at(1), 'T');
    EXPECT_EQ(unitFrames[0].at(2), 1) << "band 2";
    EXPECT_TRUE(room.unit(3).text("eq2").starts_with("1,0,500,")) << room.unit(3).text("eq2");
    for (const int unit : { 1, 2, 4, 5 })
        EXPECT_EQ(room.unitSettingFrames(unit), std::vector<Bytes> {}) << "unit " << unit;
    const std::vector<Bytes> processorFrames = room.processorFrames();
    ASSERT_EQ(processorFrames.size(), 26u) << "the recall's 24 frames, then both phases";
    EXPECT_EQ(processorFrames[24].at(3), PhaseCommand);
    EXPECT_EQ(processorFrames[25].at(3), PhaseCommand);
    EXPECT_EQ(room.processor().number("levelA"), 0) << "24 dB again";
    EXPECT_EQ(arxctl({ "room", "diff", "Hall" }).output, "The room holds what the file holds.\n");
}

} // namespace
} // namespace arx::test
