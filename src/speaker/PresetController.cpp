#include "speaker/PresetController.h"

#include "protocol/Senders.h"
#include "speaker/PresetFile.h"
#include "speaker/SpeakerSetting.h"

#include <optional>

namespace arx {

namespace {

std::size_t nameStart(const std::string &path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? 0 : slash + 1;
}

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
    const std::size_t start = nameStart(path);
    // A leading dot starts a hidden name, not an extension.
    const std::size_t dot = path.find('.', start + 1);
    if (start == path.size() || dot != std::string::npos)
        return path;
    return path + PresetSuffix;
}

PresetController::PresetController(
    Store &store, Link &link, Prompts &prompts, Files &files, std::string documentsFolder)
    : store_(store)
    , link_(link)
    , prompts_(prompts)
    , files_(files)
    , dialogFolder_(std::move(documentsFolder))
{
}

void PresetController::deviceReset()
{
    if (!prompts_.confirm(DeviceResetQuestion))
        return;
    if (store_.speaker.rdaConnected)
        SendDeviceReset(link_, store_);
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

    // One byte more than a preset is enough to tell a longer file.
    const FileRead file = files_.read(*path, PresetFileSize + 1);
    if (!file.status) {
        prompts_.message(notRecalled(*path, describe(file.status)));
        return;
    }
    if (file.size != PresetFileSize) {
        prompts_.message(notRecalled(*path, presetSizeProblem(file.size)));
        return;
    }
    if (const PresetLoad load = loadPreset(file.bytes, store_.speaker); !load.accepted) {
        prompts_.message(notRecalled(*path, load.problem));
        return;
    }
    dialogFolder_ = folderOf(*path);

    const bool connected = store_.speaker.rdaConnected != 0;
    // The page shows what the processor is about to get.
    if (connected)
        limitVariableCrossoverQ(store_.speaker);
    if (refreshPage_)
        refreshPage_();
    if (connected)
        sendSpeakerSetting(link_, store_);
    prompts_.message(RecallDone);
}

} // namespace arx
