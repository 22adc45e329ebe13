// The file layer on a real folder, and presets saved and recalled through it.
#include "seams/Files.h"

#include "RecordingLink.h"
#include "ScriptedPrompts.h"
#include "speaker/PresetController.h"
#include "speaker/PresetFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include <csignal>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace arx {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> contentOf(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
}

void writeFile(const fs::path &path, const std::vector<std::uint8_t> &bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(
        reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Permissions do not stop root, so tests of real permissions have nothing to show there; the
// injected file layer covers the same cases for every user.
#define SKIP_AS_ROOT()                                                                             \
    if (::geteuid() == 0)                                                                          \
    GTEST_SKIP() << "permissions do not apply to root"

class SystemFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "arx-presets-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder = pattern;
    }
    void TearDown() override
    {
        fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(folder);
    }

    std::string at(const std::string &name) const { return (folder / name).string(); }
    std::size_t entries() const
    {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
    }

    fs::path folder;
    SystemFiles files;
    const std::vector<std::uint8_t> old = std::vector<std::uint8_t>(724, 0x33);
    const std::vector<std::uint8_t> fresh = std::vector<std::uint8_t>(724, 0xCC);
};

TEST_F(SystemFilesTest, ReplaceWritesEveryByteKeepsTheModeAndLeavesNoTemporaryFile)
{
    writeFile(at("hall.box"), old);
    fs::permissions(
        at("hall.box"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(files.replace(at("hall.box"), fresh));
    EXPECT_EQ(contentOf(at("hall.box")), fresh);
    EXPECT_EQ(fs::status(at("hall.box")).permissions() & fs::perms::all,
        fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(files.replace(at("new.box"), fresh));
    EXPECT_EQ(contentOf(at("new.box")), fresh);
    EXPECT_EQ(entries(), 2u) << "no temporary file is left behind";
    EXPECT_TRUE(files.exists(at("new.box")));
    EXPECT_FALSE(files.exists(at("none.box")));
}

TEST_F(SystemFilesTest, AWriteThatFailsHalfwayLeavesTheOldFileAndNoTemporaryFile)
{
    writeFile(at("hall.box"), old);
    // A file size limit stops the write after 100 bytes, for root as for anyone.
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 100;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const FileStatus status = files.replace(at("hall.box"), fresh);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    EXPECT_EQ(status.error, FileError::CannotWrite);
    EXPECT_EQ(status.systemError, EFBIG);
    EXPECT_EQ(contentOf(at("hall.box")), old) << "the old preset survives";
    EXPECT_EQ(entries(), 1u) << "the half-written temporary file is gone";
}

TEST_F(SystemFilesTest, ReadGivesTheWholeSizeAndAtMostTheLimit)
{
    writeFile(at("big.box"), std::vector<std::uint8_t>(100000, 7));
    const FileRead read = files.read(at("big.box"), 725);
    ASSERT_TRUE(read.status);
    EXPECT_EQ(read.size, 100000u);
    EXPECT_EQ(read.bytes.size(), 725u);
}

TEST_F(SystemFilesTest, FoldersMissingFilesAndPipesAreToldApart)
{
    fs::create_directory(at("folder.box"));
    EXPECT_EQ(files.read(at("folder.box"), 725).status.error, FileError::IsFolder);
    EXPECT_EQ(files.replace(at("folder.box"), fresh).error, FileError::IsFolder);
    EXPECT_TRUE(fs::is_directory(at("folder.box")));
    EXPECT_EQ(files.read(at("none.box"), 725).status.error, FileError::NotFound);
    EXPECT_EQ(files.replace(at("gone/x.box"), fresh).error, FileError::NotFound);
    ASSERT_EQ(::mkfifo(at("pipe.box").c_str(), 0600), 0);
    EXPECT_EQ(files.read(at("pipe.box"), 725).status.error, FileError::NotAFile)
        << "refused at once instead of waiting for a writer";
}

TEST_F(SystemFilesTest, AReadOnlyPresetIsRecalled)
{
    auto store = std::make_unique<Store>();
    SetDefaults(*store);
    SpeakerStore wanted = store->speaker;
    wanted.channels[1].attack = 50;
    const PresetBytes bytes = encodePreset(wanted);
    writeFile(at("ro.box"), { bytes.begin(), bytes.end() });
    fs::permissions(
        at("ro.box"), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);

    test::RecordingLink link;
    test::ScriptedPrompts prompts;
    RoomObserver noPage;
    PresetController presets(*store, link, prompts, files, noPage, folder.string());
    prompts.fileNames = { at("ro.box") };
    presets.recall();
    EXPECT_EQ(prompts.shown, (std::vector<std::string> { RecallQuestion, RecallDone }));
    EXPECT_EQ(store->speaker.channels[1].attack, 50);
}

TEST_F(SystemFilesTest, SaveIntoAFolderThatBecameReadOnlyKeepsTheOldFileAndSaysWhy)
{
    SKIP_AS_ROOT();
    writeFile(at("hall.box"), old);
    fs::permissions(folder,
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
        fs::perm_options::remove);

    auto store = std::make_unique<Store>();
    SetDefaults(*store);
    test::RecordingLink link;
    test::ScriptedPrompts prompts;
    RoomObserver noPage;
    PresetController presets(*store, link, prompts, files, noPage, folder.string());
    prompts.fileNames = { at("hall.box") };
    presets.save();
    EXPECT_EQ(prompts.shown,
        std::vector<std::string> { "The preset could not be saved to \"" + at("hall.box")
            + "\": permission denied. No file was changed." });
    EXPECT_EQ(contentOf(at("hall.box")), old);
    EXPECT_EQ(entries(), 1u);
}

TEST_F(SystemFilesTest, ProtectedFilesAreNeitherReadNorReplaced)
{
    SKIP_AS_ROOT();
    writeFile(at("locked.box"), old);
    fs::permissions(at("locked.box"), fs::perms::none);
    EXPECT_EQ(files.read(at("locked.box"), 725).status.error, FileError::PermissionDenied);
    fs::permissions(at("locked.box"), fs::perms::owner_read);
    EXPECT_EQ(files.replace(at("locked.box"), fresh).error, FileError::PermissionDenied)
        << "a write-protected file stays, although its folder would allow the rename";
    EXPECT_EQ(contentOf(at("locked.box")), old);
}

} // namespace
} // namespace arx
