#include "speaker/PresetController.h"

#include "protocol/Senders.h"
#include "speaker/PresetFile.h"
#include "speaker/SpeakerSetting.h"

#include <optional>

namespace arx {

namespace {

std::string quoted(const std::string &path)
{
    return "\"" + path + "\"";
}

std::string notSaved(const std::string &path, const std::string &reason)
{
    return "The preset could not be saved to " + quoted(path) + ": " + reason
        + ". No file was changed.";
}

std::string notRecalled(const std::string &path, const std::string &reason)
{
    return "The preset " + quoted(path) + " was not recalled: " + reason + ". Nothing was changed.";
}

} // namespace

std::string withPresetSuffix(const std::string &path)
{
    return withSuffix(path, PresetSuffix);
}

PresetController::PresetController(Store &store, Link &link, Prompts &prompts, Files &files,
    RoomObserver &announce, std::string documentsFolder)
    : store_(store)
    , link_(link)
    , prompts_(prompts)
    , files_(files)
    , announce_(announce)
    , dialogFolder_(std::move(documentsFolder))
{
}

bool PresetController::deviceReset(Confirm confirm)
{
    if (confirm == Confirm::Ask && !prompts_.confirm(DeviceResetQuestion))
        return false;
    if (!store_.speaker.rdaConnected)
        return false;
    SendDeviceReset(link_, store_);
    return true;
}

void PresetController::save()
{
    const std::optional<std::string> chosen = prompts_.saveFileName(PresetFilter, dialogFolder_);
    if (!chosen)
        return;
    const std::string path = withPresetSuffix(*chosen);
    // The dialog asked about the name without the suffix, so a file under the full name has
    // not been asked about yet.
    if (path != *chosen && files_.exists(path)
        && !prompts_.confirm(quoted(path) + " already exists.\nDo you want to replace it?"))
        return;

    const PresetBytes bytes = encodePreset(store_.speaker);
    if (const FileStatus status = files_.replace(path, bytes); !status) {
        prompts_.message(notSaved(path, describe(status)));
        return;
    }
    dialogFolder_ = folderOf(path);
}

void PresetController::recall()
{
    if (!prompts_.confirm(RecallQuestion))
        return;
    const std::optional<std::string> path = prompts_.openFileName(PresetFilter, dialogFolder_);
    if (!path)
        return;
    const std::optional<std::string> problem = recallFile(*path);
    prompts_.message(problem ? *problem : std::string(RecallDone));
}

std::optional<std::string> PresetController::recallFile(const std::string &path)
{
    // One byte more than a preset is enough to tell a longer file.
    const FileRead file = files_.read(path, PresetFileSize + 1);
    if (!file.status)
        return notRecalled(path, describe(file.status));
    if (file.size != PresetFileSize)
        return notRecalled(path, presetSizeProblem(file.size));
    if (const PresetLoad load = loadPreset(file.bytes, store_.speaker); !load.accepted)
        return notRecalled(path, load.problem);
    dialogFolder_ = folderOf(path);

    const bool connected = store_.speaker.rdaConnected != 0;
    // What is shown is what the processor is about to get.
    if (connected) {
        limitVariableCrossoverQ(store_.speaker);
        sendSpeakerSetting(link_, store_);
    }
    announce_.speakerChanged({ .kind = SpeakerChange::Kind::Everything });
    return std::nullopt;
}

bool PresetController::recallSetting(const SpeakerStore &setting)
{
    decodePreset(encodePreset(setting), store_.speaker);
    const bool connected = store_.speaker.rdaConnected != 0;
    if (connected)
        sendSpeakerSettingAndPhases(link_, store_);
    announce_.speakerChanged({ .kind = SpeakerChange::Kind::Everything });
    return connected;
}

} // namespace arx
