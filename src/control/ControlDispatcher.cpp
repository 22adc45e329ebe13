#include "control/ControlDispatcher.h"

#include "format/Gbk.h"
#include "roomfile/RoomComparison.h"
#include "roomfile/RoomFiles.h"
#include "speaker/PresetController.h"

#include <algorithm>
#include <functional>

namespace arx {

namespace {

using UnitChange = std::function<ChangeOutcome(int slot)>;

bool allDigits(std::string_view text)
{
    return !text.empty()
        && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A whole number of at most `digits` digits.
std::optional<int> smallNumber(std::string_view text, std::size_t digits)
{
    if (!allDigits(text) || text.size() > digits)
        return std::nullopt;
    int value = 0;
    for (const char c : text)
        value = value * 10 + (c - '0');
    return value;
}

// The first registered unit whose name, as the GBK bytes it announced, is `utf8`.
std::optional<int> slotNamed(const Store &store, const std::string &utf8)
{
    bool exact = false;
    const std::string gbk = utf8ToGbk(utf8, &exact);
    if (!exact || gbk.empty())
        return std::nullopt;
    for (int slot = 0; slot < UnitSlotCount; ++slot) {
        const DeviceRecord &record = store.unitTable[static_cast<std::size_t>(slot)];
        if (record.inUse && textOf(record.name) == gbk)
            return slot;
    }
    return std::nullopt;
}

// A switch's new state for one unit: ON and OFF as they are, TOGGLE from what the unit holds.
std::int32_t switchValue(SwitchWord word, std::int32_t current)
{
    if (word == SwitchWord::Toggle)
        return current != 0 ? 0 : 1;
    return word == SwitchWord::On ? 1 : 0;
}

std::optional<int> modeIndex(std::string_view text)
{
    const std::string word = upperCased(text);
    for (int index = 0; index < ModeCount; ++index) {
        if (word == ModeNames[index])
            return index;
    }
    return std::nullopt;
}

// What a SET does to one unit, from its value tokens; nothing when they are no such value.
std::optional<UnitChange> unitChangeOf(
    Room &room, const UnitParameterRow &row, const std::vector<ControlToken> &values)
{
    UnitController &units = room.units();
    const Store &store = room.store();
    if (const int band = equaliserBandOf(row.parameter); band != 0) {
        if (values.size() != 3)
            return std::nullopt;
        const auto frequency = parseCode(values[0].text, EqFrequencyScale);
        const auto gain = parseCode(values[1].text, EqGainScale);
        const auto q = parseCode(values[2].text, EqQScale);
        if (!frequency || !gain || !q)
            return std::nullopt;
        const EqualiserBandSetting setting {
            .frequency = *frequency, .gainCode = *gain, .qCode = *q
        };
        return [&units, band, setting](
                   int slot) { return units.setEqualiserBand(slot, band, setting); };
    }
    if (row.parameter == UnitParameter::EqLowCut) {
        if (values.empty() || values.size() > 2)
            return std::nullopt;
        const std::optional<SwitchWord> word = parseSwitch(values[0].text);
        const std::size_t frequencyAt = word ? 1 : 0;
        std::optional<int> frequency;
        if (frequencyAt < values.size()) {
            frequency = parseCode(values[frequencyAt].text, EqLowCutScale);
            if (!frequency)
                return std::nullopt;
        } else if (!word) {
            return std::nullopt;
        }
        return [&units, &store, word, frequency](int slot) {
            std::optional<bool> on;
            if (word)
                on = switchValue(*word, store.unitTable[static_cast<std::size_t>(slot)].eqLowCutOn)
                    != 0;
            return units.setEqualiserLowCut(slot, on, frequency);
        };
    }
    if (!row.setting || values.size() != 1)
        return std::nullopt;
    const UnitSetting setting = *row.setting;
    const std::string &text = values[0].text;
    std::optional<std::int32_t> value;
    switch (row.parameter) {
    case UnitParameter::Gain:
        value = parseUnitGain(text);
        break;
    case UnitParameter::Mode:
        value = modeIndex(text);
        break;
    case UnitParameter::ColourOpen:
    case UnitParameter::ColourMute:
    case UnitParameter::ColourCall:
        if (const auto colour = parseColour(text))
            value = static_cast<std::int32_t>(*colour);
        break;
    default: {
        const std::optional<SwitchWord> word = parseSwitch(text);
        if (!word)
            return std::nullopt;
        return [&units, &store, setting, word = *word](int slot) {
            const DeviceRecord &record = store.unitTable[static_cast<std::size_t>(slot)];
            return units.set(slot, setting, switchValue(word, settingValue(record, setting)));
        };
    }
    }
    if (!value)
        return std::nullopt;
    return [&units, setting, value = *value](int slot) { return units.set(slot, setting, value); };
}

// The path of the file a command names (a preset, a room file): a file with `suffix` right in
// the preset folder. A name without an extension is given the suffix, as a saved one is.
std::optional<std::string> namedFile(const std::string &folder, const std::string &name,
    const std::string &suffix, const std::string &kind, std::string &reason)
{
    const bool control = std::any_of(name.begin(), name.end(),
        [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
    if (name.empty() || control || name.find_first_of("/\\") != std::string::npos
        || name.find("..") != std::string::npos || name.front() == '.') {
        reason = kind + " is named by its file name in the preset folder alone";
        return std::nullopt;
    }
    const std::string file = withSuffix(name, suffix);
    if (file.size() <= suffix.size()
        || file.compare(file.size() - suffix.size(), suffix.size(), suffix) != 0) {
        reason = kind + " is a " + suffix + " file";
        return std::nullopt;
    }
    return folder + "/" + file;
}

// A value of a ROOM_DIFF line as one word: a bare word or a name (quoted already) as it is,
// anything else quoted.
std::string diffWord(const std::string &text)
{
    const bool bare = !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')
            || std::string_view("_+-.#:").find(c) != std::string_view::npos;
    });
    const bool quoted = text.size() >= 2 && text.front() == '"' && text.back() == '"';
    return bare || quoted ? text : quotedText(text);
}

// The ROOM_DIFF lines of a comparison: each difference with the unit's number (- for a unit
// the room lacks) or SPEAKER; a unit found on one side only as DEVICE, its name against NONE.
std::vector<std::string> diffLines(
    const RoomComparison &comparison, const RoomFile &file, const Store &store)
{
    std::vector<std::string> lines;
    const auto line = [&lines](const std::string &index, const std::string &parameter,
                          const std::string &fileValue, const std::string &roomValue) {
        lines.push_back(messageLine("REP", "ARX", "ROOM_DIFF",
            index + " " + parameter + " " + fileValue + " " + roomValue));
    };
    const auto nameOf
        = [](const DeviceRecord &unit) { return quotedText(gbkToUtf8(textOf(unit.name))); };
    for (const ComparisonRow &row : comparison.rows) {
        const std::string index = row.processor ? "SPEAKER"
            : row.slot >= 0                     ? std::to_string(row.slot + 1)
                                                : "-";
        switch (row.state) {
        case RowState::Same:
            break;
        case RowState::NotFound:
            line(index, "DEVICE", nameOf(file.units[static_cast<std::size_t>(row.fileUnit)]),
                "NONE");
            break;
        case RowState::NotInFile:
            line(index, "DEVICE", "NONE",
                nameOf(store.unitTable[static_cast<std::size_t>(row.slot)]));
            break;
        case RowState::Differs:
            for (const FieldDifference &difference : row.differences)
                line(index, difference.parameter, diffWord(difference.file),
                    diffWord(difference.room));
            break;
        }
    }
    return lines;
}

} // namespace

void ControlDispatcher::Command::refuse(const std::string &reason)
{
    answers.push_back(messageLine("ERR", echoToken(request.index), request.parameter.text, reason));
}

void ControlDispatcher::Command::reply(
    std::string_view index, std::string_view parameter, std::string_view value)
{
    answers.push_back(messageLine("REP", index, parameter, value));
}

ControlDispatcher::ControlDispatcher(Room &room, ClientFrames &frames, ControlReports &reports,
    ControlBroadcast &everyone, std::string version)
    : room_(room)
    , frames_(frames)
    , reports_(reports)
    , everyone_(everyone)
    , version_(std::move(version))
{
}

std::vector<std::string> ControlDispatcher::handle(ControlSession &session, std::string_view line)
{
    const ParsedLine parsed = parseControlLine(line);
    if (!parsed.request)
        return { messageLine("ERR", parsed.errorIndex, parsed.errorParameter, parsed.reason) };
    Command command { .session = session, .request = *parsed.request, .answers = {} };
    reports_.beginCommand();
    const ControlToken &index = command.request.index;
    const std::string word = upperCased(index.text);
    if (index.quoted) {
        if (const auto slot = slotNamed(room_.store(), index.text))
            handleUnits(command, *slot);
        else
            command.refuse("no unit has this name");
    } else if (word == "SPEAKER") {
        handleSpeaker(command);
    } else if (word == "ARX") {
        handleArx(command);
    } else if (const auto number = smallNumber(word, 2); number && *number <= UnitSlotCount) {
        handleUnits(command, *number == 0 ? std::nullopt : std::optional(*number - 1));
    } else {
        command.refuse("unknown index");
    }
    return std::move(command.answers);
}

bool ControlDispatcher::roomFor(Command &command, std::size_t frames)
{
    if (frames_.fits(command.session.id(), frames))
        return true;
    command.refuse("busy");
    return false;
}

bool ControlDispatcher::admit(Command &command, PacedAction action)
{
    std::optional<std::int64_t> &last = lastActionMs_[static_cast<std::size_t>(action)];
    const std::int64_t now = room_.clock().monotonicMs();
    if (last && now - *last < ActionIntervalMs) {
        command.refuse("busy");
        return false;
    }
    last = now;
    return true;
}

void ControlDispatcher::handleUnits(Command &command, std::optional<int> slot)
{
    const ControlRequest &request = command.request;
    const UnitParameterRow *row = findUnitParameter(request.parameterName);
    if (!row)
        return command.refuse("unknown parameter");
    const bool get = request.verb == "GET";
    if (get && !request.values.empty())
        return command.refuse("a GET takes no value");
    const Store &store = room_.store();

    std::vector<int> targets;
    if (slot) {
        const DeviceRecord &record = store.unitTable[static_cast<std::size_t>(*slot)];
        // A free number reads NONE: that is how a panel learns the unit has gone.
        if (get && row->parameter == UnitParameter::Device)
            return command.reply(std::to_string(*slot + 1), row->name,
                unitValueText(record, UnitParameter::Device, room_.check().unit(*slot).state));
        if (!record.inUse)
            return command.refuse("no unit has this number");
        if (!unitHas(record, row->parameter))
            return command.refuse("this unit's family has no such control");
        targets.push_back(*slot);
    } else {
        bool anyRegistered = false;
        for (int s = 0; s < UnitSlotCount; ++s) {
            const DeviceRecord &record = store.unitTable[static_cast<std::size_t>(s)];
            anyRegistered = anyRegistered || record.inUse;
            if (record.inUse && unitHas(record, row->parameter))
                targets.push_back(s);
        }
        if (targets.empty())
            return command.refuse(
                anyRegistered ? "no unit has this control" : "no unit is registered");
    }

    if (get) {
        for (const int target : targets)
            command.reply(std::to_string(target + 1), row->name,
                unitValueText(store.unitTable[static_cast<std::size_t>(target)], row->parameter));
        return;
    }
    if (!row->settable)
        return command.refuse("read only");
    const std::optional<UnitChange> change = unitChangeOf(room_, *row, request.values);
    if (!change)
        return command.refuse("not a value of " + std::string(row->name));
    if (!roomFor(command, static_cast<std::size_t>(row->mostFrames) * targets.size()))
        return;

    std::vector<int> changed;
    {
        const ClientFrames::Attribution attribution(frames_, command.session.id());
        if (slot) {
            if ((*change)(*slot) != ChangeOutcome::Changed)
                return command.refuse("not a value this unit takes");
            changed.push_back(*slot);
        } else {
            changed = room_.units().apply(targets, *change).changed;
            if (changed.empty())
                return command.refuse("not a value any unit takes");
        }
    }
    for (const int target : changed) {
        if (!reports_.reportedDuringCommand(target, row->parameter))
            command.reply(std::to_string(target + 1), row->name,
                unitValueText(store.unitTable[static_cast<std::size_t>(target)], row->parameter));
    }
}

void ControlDispatcher::handleSpeaker(Command &command)
{
    const ControlRequest &request = command.request;
    const SpeakerParameterEntry *entry = findSpeakerParameter(request.parameterName);
    if (!entry)
        return command.refuse("unknown parameter");
    if (request.verb == "GET") {
        if (!request.values.empty())
            return command.refuse("a GET takes no value");
        if (!entry->hasValue())
            return command.refuse("an action has no value to read");
        return command.reply("SPEAKER", entry->name, speakerValueText(room_.store(), *entry));
    }
    if (entry->kind == SpeakerParameterKind::Connected)
        return command.refuse("read only");
    if (entry->kind == SpeakerParameterKind::Action) {
        runSpeakerAction(command, *entry);
        return;
    }
    setSpeaker(command, *entry);
}

void ControlDispatcher::setSpeaker(Command &command, const SpeakerParameterEntry &entry)
{
    const std::vector<ControlToken> &values = command.request.values;
    if (values.size() != 1)
        return command.refuse("not a value of " + entry.name);
    const std::string &text = values[0].text;
    SpeakerEditor &speaker = room_.speaker();
    // Each kind reads its value first and refuses before anything changes.
    std::function<void()> change;
    switch (entry.kind) {
    case SpeakerParameterKind::Connect:
        if (!isUnicastIPv4(text))
            return command.refuse("CONNECT takes the processor's unicast IPv4 address");
        change = [this, &command, text] {
            if (!room_.discovery().connectTo(text, Confirm::Given))
                command.refuse("no IPv4 address of this computer was found to carry");
        };
        break;
    case SpeakerParameterKind::Level: {
        const auto code = parseCode(text, ProcessorLevelScale);
        if (!code)
            return command.refuse("not a value of " + entry.name);
        change = [&speaker, &entry, code = *code] {
            speaker.levelMoved(entry.sliderId, LevelCodeMax - code);
        };
        break;
    }
    case SpeakerParameterKind::Phase: {
        const auto word = parseSwitch(text);
        if (!word)
            return command.refuse("not a value of " + entry.name);
        const std::int32_t phase
            = switchValue(*word, room_.store().speaker.channels[entry.channel].phase);
        change = [&speaker, &entry, phase] { speaker.setPhase(entry.channel, phase); };
        break;
    }
    case SpeakerParameterKind::Name: {
        std::string reason;
        const auto gbk = gbkNameOf(text, ProcessorNameLength, reason);
        if (!gbk)
            return command.refuse(reason);
        change = [&speaker, gbk = *gbk] { speaker.setProcessorName(gbk, Confirm::Given); };
        break;
    }
    case SpeakerParameterKind::Knob: {
        const auto code = parseCode(text, knobScale(*entry.knob.row));
        if (!code)
            return command.refuse("not a value of " + entry.name);
        change = [&speaker, &entry, code = *code] { speaker.knobChanged(entry.knob.id, code); };
        break;
    }
    case SpeakerParameterKind::CrossoverType: {
        const std::string wanted = upperCased(text);
        const auto *type = std::find_if(std::begin(filterTypeNames), std::end(filterTypeNames),
            [&](const char *name) { return upperCased(name) == wanted; });
        if (type == std::end(filterTypeNames))
            return command.refuse("not a value of " + entry.name);
        const int index = static_cast<int>(type - std::begin(filterTypeNames));
        change = [&speaker, &entry, index] {
            speaker.crossoverTypeSelected(entry.selectorListId, index);
        };
        break;
    }
    default:
        return command.refuse("read only");
    }
    if (!roomFor(command, static_cast<std::size_t>(entry.mostFrames)))
        return;
    {
        const ClientFrames::Attribution attribution(frames_, command.session.id());
        change();
    }
    const SpeakerParameterEntry &shown
        = entry.kind == SpeakerParameterKind::Connect ? *findSpeakerParameter("CONNECTED") : entry;
    if (!reports_.reportedDuringCommand(shown))
        command.reply("SPEAKER", shown.name, speakerValueText(room_.store(), shown));
}

bool ControlDispatcher::runSpeakerAction(Command &command, const SpeakerParameterEntry &entry)
{
    const std::vector<ControlToken> &values = command.request.values;
    const bool recall = entry.action == SpeakerAction::Recall;
    if (values.size() != (recall ? 1u : 0u)) {
        command.refuse(recall ? "RECALL takes the name of a preset" : "an action takes no value");
        return false;
    }
    std::string path;
    std::string doneText = "DONE";
    if (recall) {
        std::string reason;
        const auto found
            = namedFile(room_.presetFolder(), values[0].text, PresetSuffix, "a preset", reason);
        if (!found) {
            command.refuse(reason);
            return false;
        }
        path = *found;
        doneText = quotedText(path.substr(room_.presetFolder().size() + 1));
    }
    const bool connected = room_.store().speaker.rdaConnected != 0;
    if (entry.action == SpeakerAction::DeviceReset && !connected) {
        command.refuse("no processor is connected");
        return false;
    }
    if (!roomFor(command, static_cast<std::size_t>(entry.mostFrames)))
        return false;
    if (entry.action == SpeakerAction::DeviceReset && !admit(command, PacedAction::DeviceReset))
        return false;
    {
        const ClientFrames::Attribution attribution(frames_, command.session.id());
        switch (entry.action) {
        case SpeakerAction::DeviceReset:
            room_.presets().deviceReset(Confirm::Given);
            break;
        case SpeakerAction::ChannelReset:
            room_.speaker().resetChannel(entry.buttonId, Confirm::Given);
            break;
        case SpeakerAction::LimiterReset:
            room_.speaker().resetLimiter(entry.buttonId, Confirm::Given);
            break;
        case SpeakerAction::Recall:
            if (const auto problem = room_.presets().recallFile(path)) {
                command.refuse(*problem);
                return false;
            }
            break;
        case SpeakerAction::None:
            break;
        }
    }
    everyone_.broadcast(messageLine("REP", "SPEAKER", entry.name, doneText));
    return true;
}

void ControlDispatcher::runCheck(Command &command, bool get)
{
    RoomCheck &check = room_.check();
    if (get)
        return command.reply("ARX", "CHECK", checkStateText(check.summary().running));
    if (!command.request.values.empty())
        return command.refuse("CHECK takes no value");
    // The two search requests; the attach answers are the room's, not the client's.
    if (!roomFor(command, 2) || !admit(command, PacedAction::Check))
        return;
    switch (check.run()) {
    case RoomCheck::Outcome::Started:
        break;
    case RoomCheck::Outcome::Skipped:
        return command.refuse("busy");
    case RoomCheck::Outcome::SearchOff:
        return command.refuse("the search is off");
    case RoomCheck::Outcome::NotSent:
        return command.refuse("the search request could not be sent");
    }
    if (!reports_.checkReportedDuringCommand())
        command.reply("ARX", "CHECK", checkStateText(check.summary().running));
}

void ControlDispatcher::handleArx(Command &command)
{
    const ControlRequest &request = command.request;
    const std::string &name = request.parameterName;
    const bool get = request.verb == "GET";
    if (get && !request.values.empty())
        return command.refuse("a GET takes no value");
    Store &store = room_.store();
    if (name == "VERSION") {
        if (!get)
            return command.refuse("read only");
        return command.reply("ARX", name, version_);
    }
    if (name == "METER_RATE") {
        if (!get) {
            const auto rate = request.values.size() == 1 ? smallNumber(request.values[0].text, 5)
                                                         : std::nullopt;
            if (!rate || !command.session.setMeterRate(*rate))
                return command.refuse("a meter rate is 0 (off) or 100 to 60000 ms");
        }
        return command.reply("ARX", name, std::to_string(command.session.meterRateMs()));
    }
    if (name == "CHECK")
        return runCheck(command, get);
    if (name == "ROOM_SAVE" || name == "ROOM_DIFF" || name == "ROOM_APPLY")
        return handleRoomFile(command, get);
    if (name != "SEARCH")
        return command.refuse("unknown parameter");
    if (get)
        return command.reply("ARX", name, switchText(store.scanActive));

    const auto word
        = request.values.size() == 1 ? parseSwitch(request.values[0].text) : std::nullopt;
    if (!word)
        return command.refuse("not a value of SEARCH");
    const bool wanted = switchValue(*word, store.scanActive ? 1 : 0) != 0;
    // Stopping detaches every unit; starting sends the request twice.
    if (!roomFor(command, UnitSlotCount + 2) || !admit(command, PacedAction::Search))
        return;
    bool requested = true;
    if (wanted != store.scanActive) {
        const ClientFrames::Attribution attribution(frames_, command.session.id());
        if (wanted)
            requested = room_.discovery().startSearch(Confirm::Given);
        else
            room_.discovery().stopSearch();
    }
    if (!reports_.searchReportedDuringCommand())
        command.reply("ARX", name, switchText(store.scanActive));
    if (!requested)
        command.refuse("no IPv4 address of this computer was found to carry; no request went out");
}

void ControlDispatcher::handleRoomFile(Command &command, bool get)
{
    const ControlRequest &request = command.request;
    const std::string &action = request.parameterName;
    if (get)
        return command.refuse("an action has no value to read");
    if (request.values.size() != 1)
        return command.refuse(action + " takes the name of a room file");
    std::string reason;
    const std::string &folder = room_.presetFolder();
    const auto path
        = namedFile(folder, request.values[0].text, RoomFileSuffix, "a room file", reason);
    if (!path)
        return command.refuse(reason);
    const std::string shownName = quotedText(path->substr(folder.size() + 1));
    RoomFiles &files = room_.roomFiles();
    if (action == "ROOM_SAVE") {
        if (const auto problem = files.save(*path))
            return command.refuse(*problem);
        return command.reply("ARX", action, shownName);
    }
    RoomFiles::Opened opened = files.open(*path);
    if (!opened.file)
        return command.refuse(opened.problem);
    const Store &store = room_.store();
    const RoomComparison comparison = compareRoom(*opened.file, store);
    if (action == "ROOM_DIFF") {
        std::vector<std::string> lines = diffLines(comparison, *opened.file, store);
        const std::size_t count = lines.size();
        for (std::string &line : lines)
            command.answers.push_back(std::move(line));
        return command.reply("ARX", action, "END " + std::to_string(count));
    }
    if (files.apply().running())
        return command.refuse("busy");
    const ClientFrames::ClientId client = command.session.id();
    const std::weak_ptr<bool> alive = alive_;
    files.apply().start(applyPlan(comparison, *opened.file, store),
        [this, alive, client, shownName](const RoomApplyReport &report) {
            if (!alive.expired())
                everyone_.sendTo(client,
                    messageLine("REP", "ARX", "ROOM_APPLY",
                        shownName + " DONE " + std::to_string(report.applied())));
        });
}

} // namespace arx
