#include "speaker/PresetButtons.h"

#include "RecordingLink.h"
#include "ScriptedPrompts.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <memory>

namespace arx {
namespace {

TEST(PresetButtons, EachButtonRunsItsOwnOperationAndDialogsStartInTheDocuments)
{
    auto store = std::make_unique<Store>();
    SetDefaults(*store);
    store->rdaAddress = "127.0.81.200";
    store->speaker.rdaConnected = 1;
    test::RecordingLink link;
    test::ScriptedPrompts prompts;
    PresetButtons buttons(*store, link, prompts);

    buttons.deviceResetHandler()();
    EXPECT_EQ(prompts.shown, std::vector<std::string> { DeviceResetQuestion });
    EXPECT_EQ(link.log, std::vector<std::string> { "AA 55 01 08 A5 -> 127.0.81.200:39060" });

    prompts.shown.clear();
    buttons.saveHandler()(); // the dialog is cancelled
    EXPECT_TRUE(prompts.shown.empty()) << "SAVE asks nothing before its dialog";
    buttons.recallHandler()();
    EXPECT_EQ(prompts.shown, std::vector<std::string> { RecallQuestion });

    const std::string documents
        = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
    ASSERT_EQ(prompts.dialogFolders.size(), 2u);
    for (const std::string &folder : prompts.dialogFolders) {
        EXPECT_EQ(folder, documents.empty() ? QDir::homePath().toStdString() : documents);
        EXPECT_NE(folder, QCoreApplication::applicationDirPath().toStdString())
            << "never the program's own folder";
    }
}

} // namespace
} // namespace arx
