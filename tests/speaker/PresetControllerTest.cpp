#include "speaker/PresetController.h"

#include "FakeFiles.h"
#include "RecordingLink.h"
#include "ScriptedPrompts.h"
#include "dsp/CoefficientDesigns.h"
#include "dsp/CoefficientFrames.h"
#include "protocol/Frames.h"
#include "speaker/PresetFile.h"
#include "speaker/SpeakerSetting.h"

#include <gtest/gtest.h>

#include <functional>

#include <cstring>
#include <memory>

namespace arx {
namespace {

using test::FakeFiles;
using test::hex;
using test::RecordingLink;
using test::ScriptedPrompts;

constexpr const char *Documents = "/home/tech/Documents";
constexpr const char *ProcessorAddress = "127.0.9.200";

bool sameSetting(const SpeakerStore &a, const SpeakerStore &b)
{
    return std::memcmp(&a, &b, PresetFileSize) == 0;
}

std::vector<std::uint8_t> fileOf(const SpeakerStore &speaker)
{
    const PresetBytes bytes = encodePreset(speaker);
    return { bytes.begin(), bytes.end() };
}

// Runs `shown` for every change announced.
struct Announcements final : RoomObserver {
    std::function<void()> shown;
    void speakerChanged(const SpeakerChange &) override { shown(); }
};

class PresetControllerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetDefaults(*store);
        store->eulerConstant = computeEulerConstant();
        store->rdaAddress = ProcessorAddress;
        // The announcement goes into the link's log, so that its place among the frames shows.
        announcements.shown = [this] {
            link.log.push_back("refresh");
            ++refreshes;
        };
    }

    void connect() { store->speaker.rdaConnected = 1; }

    // What the processor gets for `speaker`, from the one sender of the whole setting.
    std::vector<std::string> settingSentFor(const SpeakerStore &speaker)
    {
        auto copy = std::make_unique<Store>(*store);
        copy->speaker = speaker;
        RecordingLink expected;
        sendSpeakerSetting(expected, *copy);
        return expected.log;
    }

    void recallFile(const std::string &path)
    {
        prompts.fileNames.push_back(path);
        presets.recall();
    }

    std::unique_ptr<Store> store = std::make_unique<Store>();
    RecordingLink link;
    ScriptedPrompts prompts;
    FakeFiles files;
    Announcements announcements;
    PresetController presets { *store, link, prompts, files, announcements, Documents };
    int refreshes = 0;
};

TEST_F(PresetControllerTest, DeviceResetAsksAndSendsCommand08OnlyWhenConnectedAndConfirmed)
{
    const SpeakerStore before = store->speaker;
    presets.deviceReset();
    EXPECT_EQ(prompts.shown, std::vector<std::string> { "If do you reset the device data? " });
    EXPECT_TRUE(link.log.empty()) << "not connected: nothing sent";

    connect();
    prompts.confirmAnswers = { false };
    presets.deviceReset();
    EXPECT_TRUE(link.log.empty()) << "Cancel sends nothing";

    presets.deviceReset();
    EXPECT_EQ(link.log, std::vector<std::string> { "AA 55 01 08 A5 -> 127.0.9.200:39060" });
    store->speaker.rdaConnected = 0;
    EXPECT_TRUE(sameSetting(store->speaker, before)) << "a device reset changes no setting";
    EXPECT_EQ(refreshes, 0);
}

TEST_F(PresetControllerTest, SaveRightAfterStartUpWritesThe724BytesOfTheDefaults)
{
    prompts.fileNames = { "/presets/hall.box" };
    presets.save();
    ASSERT_TRUE(files.files.contains("/presets/hall.box"));
    EXPECT_EQ(files.files["/presets/hall.box"], fileOf(store->speaker));
    EXPECT_EQ(
        prompts.dialogFilters, std::vector<std::string> { "Box Files (*.box);;All Files (*)" });
    EXPECT_EQ(prompts.dialogFolders, std::vector<std::string> { Documents });
    EXPECT_TRUE(prompts.shown.empty()) << "a save that worked says nothing";
    EXPECT_TRUE(link.log.empty());
}

TEST_F(PresetControllerTest, CancelledDialogsChangeAndWriteNothing)
{
    presets.save();
    prompts.confirmAnswers = { false };
    presets.recall();
    presets.recall(); // confirmed, then the open dialog is cancelled
    EXPECT_TRUE(files.replaced.empty());
    EXPECT_TRUE(files.reads.empty());
    EXPECT_EQ(prompts.dialogFolders.size(), 2u) << "no open dialog after Cancel in the question";
    EXPECT_EQ(prompts.shown, (std::vector<std::string> { RecallQuestion, RecallQuestion }));
    EXPECT_EQ(refreshes, 0);
}

TEST(PresetSuffix, IsAddedOnlyToANameWithoutExtension)
{
    EXPECT_EQ(withPresetSuffix("/p/hall"), "/p/hall.box");
    EXPECT_EQ(withPresetSuffix("hall"), "hall.box");
    EXPECT_EQ(withPresetSuffix("/p.d/hall"), "/p.d/hall.box")
        << "a dot in the folder is no extension";
    EXPECT_EQ(withPresetSuffix("/p/.hall"), "/p/.hall.box") << "a leading dot is no extension";
    EXPECT_EQ(withPresetSuffix("/p/hall.box"), "/p/hall.box");
    EXPECT_EQ(withPresetSuffix("/p/hall.BOX"), "/p/hall.BOX");
    EXPECT_EQ(withPresetSuffix("/p/hall.bak"), "/p/hall.bak")
        << "typed with an extension of its own";
}

TEST_F(PresetControllerTest, ANameWithoutSuffixIsNotSavedOverAnExistingBoxFileWithoutAsking)
{
    const std::vector<std::uint8_t> old(724, 0x5A);
    files.files["/p/hall.box"] = old;

    prompts.fileNames = { "/p/hall" };
    prompts.confirmAnswers = { false };
    presets.save();
    EXPECT_EQ(prompts.shown,
        std::vector<std::string> { "\"/p/hall.box\" already exists.\nDo you want to replace it?" });
    EXPECT_EQ(files.files["/p/hall.box"], old) << "Cancel keeps the old file";
    EXPECT_TRUE(files.replaced.empty());

    prompts.fileNames = { "/p/hall" };
    presets.save();
    EXPECT_EQ(files.files["/p/hall.box"], fileOf(store->speaker)) << "OK replaces it";

    prompts.shown.clear();
    prompts.fileNames = { "/p/other", "/p/hall.box" };
    presets.save();
    presets.save();
    EXPECT_TRUE(prompts.shown.empty())
        << "no question for a new name, nor for a name the dialog itself asked about";
    EXPECT_TRUE(files.files.contains("/p/other.box"));
}

struct SaveFailure {
    const char *name;
    FileStatus status;
    const char *reason;
};

void PrintTo(const SaveFailure &row, std::ostream *out)
{
    *out << row.name;
}

class PresetSaveFailure : public PresetControllerTest,
                          public ::testing::WithParamInterface<SaveFailure> { };

TEST_P(PresetSaveFailure, SaysWhyAndKeepsTheOldFile)
{
    const std::vector<std::uint8_t> old(724, 0x11);
    files.files["/p/hall.box"] = old;
    files.writeFailures["/p/hall.box"] = GetParam().status;

    prompts.fileNames = { "/p/hall.box", "/p/hall.box" };
    presets.save();
    EXPECT_EQ(prompts.shown,
        std::vector<std::string> { std::string("The preset could not be saved to \"/p/hall.box\": ")
            + GetParam().reason + ". No file was changed." });
    EXPECT_EQ(files.files["/p/hall.box"], old);
    presets.save();
    EXPECT_EQ(prompts.dialogFolders.back(), Documents) << "a failed save is not remembered";
}

INSTANTIATE_TEST_SUITE_P(Reasons, PresetSaveFailure,
    ::testing::Values(SaveFailure { "PermissionDenied", { .error = FileError::PermissionDenied },
                          "permission denied" },
        SaveFailure { "DiskFull", { .error = FileError::DiskFull }, "the disk is full" },
        SaveFailure { "CannotOpen", { .error = FileError::CannotOpen, .systemError = EMFILE },
            "it cannot be opened (Too many open files)" },
        SaveFailure { "CannotWrite", { .error = FileError::CannotWrite, .systemError = EIO },
            "it cannot be written (Input/output error)" },
        SaveFailure { "FolderGone", { .error = FileError::NotFound },
            "the file or its folder does not exist" }),
    [](const ::testing::TestParamInfo<SaveFailure> &info) { return info.param.name; });

TEST_F(PresetControllerTest, AFolderChosenAsTheSaveFileIsTold)
{
    files.folders.insert("/p/hall.box");
    prompts.fileNames = { "/p/hall.box" };
    presets.save();
    EXPECT_EQ(prompts.shown,
        std::vector<std::string> { "The preset could not be saved to "
                                   "\"/p/hall.box\": it is a folder, not a "
                                   "file. No file was changed." });
}

TEST_F(PresetControllerTest, SaveThenRecallWhileConnectedRestoresTheStoreAndSendsTheWholeSetting)
{
    SpeakerStore &speaker = store->speaker;
    speaker.channels[0].bands[2].gain = 250;
    speaker.channels[1].lpType = 3;
    speaker.channels[1].unused6[4] = -42;
    speaker.mainLevel = 40;
    speaker.reservedBytes[3] = 9;
    setText(speaker.processorName, "RDA-1");
    prompts.fileNames = { "/p/hall" };
    presets.save();
    const SpeakerStore saved = speaker;

    for (SpeakerChannel &channel : speaker.channels) {
        channel.bands[0].frequency = 777;
        channel.ratio = 500;
        channel.unused1[0] = 1;
    }
    speaker.mainLevel = 0;
    speaker.reservedBytes[3] = 0;
    setText(speaker.processorName, "OTHER");
    connect();
    prompts.shown.clear();

    recallFile("/p/hall.box");
    EXPECT_TRUE(sameSetting(speaker, saved)) << "byte-identical, unused words included";
    std::vector<std::string> expected = settingSentFor(saved);
    expected.push_back("refresh");
    EXPECT_EQ(link.log, expected) << "24 frames each followed by 50 ms, then the announcement";
    EXPECT_EQ(link.frames.size(), 24u);
    EXPECT_EQ(prompts.shown, (std::vector<std::string> { RecallQuestion, RecallDone }));
    EXPECT_EQ(prompts.dialogFolders.back(), "/p") << "the recall dialog starts where the save went";
}

TEST_F(PresetControllerTest, RecallWhileNotConnectedRefreshesSendsNothingAndSaysSo)
{
    SpeakerStore other = store->speaker;
    other.channels[0].threshold = 12;
    files.files["/p/loud.box"] = fileOf(other);

    recallFile("/p/loud.box");
    EXPECT_TRUE(sameSetting(store->speaker, other));
    EXPECT_EQ(refreshes, 1);
    EXPECT_EQ(link.log, std::vector<std::string> { "refresh" }) << "no frame";
    EXPECT_EQ(prompts.shown, (std::vector<std::string> { RecallQuestion, RecallDone }));
}

TEST_F(PresetControllerTest, ARecalledVariableCrossoverWithQCodeZeroIsSentWithQCodeOne)
{
    SpeakerStore variable = store->speaker;
    variable.channels[1].hpType = CrossoverVariable;
    variable.channels[1].hpQ = 0;
    files.files["/p/v.box"] = fileOf(variable);
    connect();
    std::int32_t shownQ = -1;
    announcements.shown = [&] { shownQ = store->speaker.channels[1].hpQ; };

    recallFile("/p/v.box");
    SpeakerChannel sent = variable.channels[1];
    sent.hpQ = 1;
    const std::string highPassB = hex(*buildHighPassFrame(sent, 1)) + " -> 127.0.9.200:39060";
    EXPECT_NE(std::find(link.log.begin(), link.log.end(), highPassB), link.log.end());
    EXPECT_EQ(store->speaker.channels[1].hpQ, 1);
    EXPECT_EQ(shownQ, 1) << "the page shows the code that is sent";
}

struct RefusedRecall {
    const char *name;
    std::function<void(FakeFiles &)> prepare; // puts something at /p/x.box
    const char *reason;
};

void PrintTo(const RefusedRecall &row, std::ostream *out)
{
    *out << row.name;
}

class PresetRecallRefused : public PresetControllerTest,
                            public ::testing::WithParamInterface<RefusedRecall> { };

TEST_P(PresetRecallRefused, SaysWhyAndChangesNothing)
{
    GetParam().prepare(files);
    connect();
    const SpeakerStore before = store->speaker;

    recallFile("/p/x.box");
    EXPECT_EQ(prompts.shown,
        (std::vector<std::string> { RecallQuestion,
            std::string("The preset \"/p/x.box\" was not recalled: ") + GetParam().reason
                + ". Nothing was changed." }));
    EXPECT_TRUE(sameSetting(store->speaker, before));
    EXPECT_EQ(store->speaker.rdaConnected, 1);
    EXPECT_EQ(refreshes, 0);
    EXPECT_TRUE(link.log.empty()) << "nothing reaches the processor";
    prompts.fileNames = {};
    presets.recall();
    EXPECT_EQ(prompts.dialogFolders.back(), Documents) << "a refused file is not remembered";
}

std::function<void(FakeFiles &)> sized(std::size_t size)
{
    return [size](FakeFiles &files) {
        std::vector<std::uint8_t> bytes(size, 0);
        auto defaults = std::make_unique<Store>();
        SetDefaults(*defaults);
        const PresetBytes good = encodePreset(defaults->speaker);
        std::copy_n(good.begin(), std::min(size, good.size()), bytes.begin());
        files.files["/p/x.box"] = bytes;
    };
}

std::function<void(FakeFiles &)> failing(FileStatus status)
{
    return [status](FakeFiles &files) {
        files.files["/p/x.box"] = std::vector<std::uint8_t>(724, 0);
        files.readFailures["/p/x.box"] = status;
    };
}

INSTANTIATE_TEST_SUITE_P(Files, PresetRecallRefused,
    ::testing::Values(
        RefusedRecall { "Empty", sized(0), "it holds 0 bytes, and a preset holds exactly 724" },
        RefusedRecall {
            "OneByteShort", sized(723), "it holds 723 bytes, and a preset holds exactly 724" },
        RefusedRecall {
            "OneByteLong", sized(725), "it holds 725 bytes, and a preset holds exactly 724" },
        RefusedRecall {
            "Huge", sized(100000), "it holds 100000 bytes, and a preset holds exactly 724" },
        RefusedRecall { "Missing", [](FakeFiles &) {}, "the file or its folder does not exist" },
        RefusedRecall { "Folder", [](FakeFiles &files) { files.folders.insert("/p/x.box"); },
            "it is a folder, not a file" },
        RefusedRecall { "PermissionDenied", failing({ .error = FileError::PermissionDenied }),
            "permission denied" },
        RefusedRecall { "CannotRead",
            failing({ .error = FileError::CannotRead, .systemError = EIO }),
            "it cannot be read (Input/output error)" },
        RefusedRecall { "CannotOpen",
            failing({ .error = FileError::CannotOpen, .systemError = EMFILE }),
            "it cannot be opened (Too many open files)" },
        RefusedRecall { "FrequencyOutOfRange",
            [](FakeFiles &files) {
                auto defaults = std::make_unique<Store>();
                SetDefaults(*defaults);
                defaults->speaker.channels[0].bands[3].frequency = 48000;
                files.files["/p/x.box"] = fileOf(defaults->speaker);
            },
            "channel A, band 4 frequency is 48000; allowed 20..20000" }),
    [](const ::testing::TestParamInfo<RefusedRecall> &info) { return info.param.name; });

TEST_F(PresetControllerTest, DialogsStartInTheDocumentsThenInTheFolderOfTheLastPreset)
{
    files.files["/other/b.box"] = fileOf(store->speaker);
    prompts.fileNames = { "/presets/a.box" };
    presets.save();
    recallFile("/other/b.box");
    presets.save(); // cancelled
    prompts.fileNames = { "/root.box" };
    presets.save();
    presets.save(); // cancelled
    EXPECT_EQ(prompts.dialogFolders,
        (std::vector<std::string> { Documents, "/presets", "/other", "/other", "/" }));
}

} // namespace
} // namespace arx
