#include "control/ControlParameters.h"

#include "control/ControlSyntax.h"
#include "format/Gbk.h"

#include <algorithm>
#include <vector>

namespace arx {

namespace {

using enum UnitParameter;

// clang-format off
constexpr UnitParameterRow UnitParameterRows[] = {
    {.name = "DEVICE", .parameter = Device, .reportedOn = UnitField::Identity},
    {.name = "NAME", .parameter = Name, .reportedOn = {}},
    {.name = "MUTE", .parameter = Mute, .reportedOn = UnitField::Mute,
     .setting = UnitSetting::Mute, .settable = true, .mostFrames = 2},
    {.name = "LOW_CUT", .parameter = LowCut, .reportedOn = UnitField::LowCut,
     .setting = UnitSetting::LowCut, .settable = true, .mostFrames = 3},
    {.name = "PHANTOM", .parameter = Phantom, .reportedOn = UnitField::Phantom,
     .setting = UnitSetting::Phantom, .settable = true, .mostFrames = 2},
    {.name = "LOCATE", .parameter = Locate, .reportedOn = UnitField::Locate,
     .setting = UnitSetting::Locate, .settable = true, .mostFrames = 2},
    {.name = "GAIN", .parameter = Gain, .reportedOn = UnitField::Gain,
     .setting = UnitSetting::Gain, .settable = true, .mostFrames = 2},
    {.name = "MODE", .parameter = Mode, .reportedOn = UnitField::Mode,
     .setting = UnitSetting::Mode, .settable = true, .mostFrames = 2},
    {.name = "COLOUR_OPEN", .parameter = ColourOpen, .reportedOn = UnitField::ColourOpen,
     .setting = UnitSetting::ColourOpen, .settable = true, .mostFrames = 2},
    {.name = "COLOUR_MUTE", .parameter = ColourMute, .reportedOn = UnitField::ColourMute,
     .setting = UnitSetting::ColourMute, .settable = true, .mostFrames = 2},
    {.name = "COLOUR_CALL", .parameter = ColourCall, .reportedOn = UnitField::ColourCall,
     .setting = UnitSetting::ColourCall, .settable = true, .mostFrames = 2},
    {.name = "EQ1", .parameter = Eq1, .reportedOn = eqBandField(1), .settable = true,
     .mostFrames = 1},
    {.name = "EQ2", .parameter = Eq2, .reportedOn = eqBandField(2), .settable = true,
     .mostFrames = 1},
    {.name = "EQ3", .parameter = Eq3, .reportedOn = eqBandField(3), .settable = true,
     .mostFrames = 1},
    {.name = "EQ4", .parameter = Eq4, .reportedOn = eqBandField(4), .settable = true,
     .mostFrames = 1},
    {.name = "EQ_LOW_CUT", .parameter = EqLowCut,
     .reportedOn = UnitField::EqLowCut | UnitField::LowCut, .settable = true, .mostFrames = 2},
    {.name = "LEVEL", .parameter = Level, .reportedOn = {}},
};
// clang-format on

bool switchOn(std::int32_t value)
{
    return value != 0;
}

std::string equaliserBandText(const MicEqBand &band)
{
    return formatCode(band.frequency, EqFrequencyScale) + " " + formatCode(band.gain, EqGainScale)
        + " " + formatCode(band.q, EqQScale);
}

// What follows the channel's letter for each knob row, "%d" standing for the band.
const char *knobSuffix(SpeakerParameter parameter)
{
    switch (parameter) {
    case SpeakerParameter::BandGain:
        return "BAND%d_GAIN";
    case SpeakerParameter::BandFrequency:
        return "BAND%d_FREQUENCY";
    case SpeakerParameter::BandQ:
        return "BAND%d_Q";
    case SpeakerParameter::HighPassFrequency:
        return "HP_FREQUENCY";
    case SpeakerParameter::HighPassQ:
        return "HP_Q";
    case SpeakerParameter::LowPassFrequency:
        return "LP_FREQUENCY";
    case SpeakerParameter::LowPassQ:
        return "LP_Q";
    case SpeakerParameter::Threshold:
        return "THRESHOLD";
    case SpeakerParameter::Ratio:
        return "RATIO";
    case SpeakerParameter::Attack:
        return "ATTACK";
    case SpeakerParameter::Release:
        break;
    }
    return "RELEASE";
}

std::string channelPrefix(int channel)
{
    return channel == 0 ? "A_" : "B_";
}

std::string knobName(const SpeakerKnob &knob)
{
    std::string suffix = knobSuffix(knob.row->parameter);
    if (const std::size_t band = suffix.find("%d"); band != std::string::npos)
        suffix.replace(band, 2, std::to_string(knob.band));
    return channelPrefix(knob.channel) + suffix;
}

// The crossover selector whose change reports a knob anew, 0 for the others.
int crossoverSelectorOf(const SpeakerKnob &knob)
{
    if (knob.row->sender == SpeakerSender::HighPass)
        return crossoverSelector(knob.channel, CrossoverPass::HighPass).selectorId;
    if (knob.row->sender == SpeakerSender::LowPass)
        return crossoverSelector(knob.channel, CrossoverPass::LowPass).selectorId;
    return 0;
}

std::vector<SpeakerParameterEntry> listSpeakerParameters()
{
    using Kind = SpeakerParameterKind;
    std::vector<SpeakerParameterEntry> entries;
    entries.push_back({ .name = "CONNECTED", .kind = Kind::Connected, .mostFrames = 0 });
    entries.push_back({ .name = "CONNECT", .kind = Kind::Connect });
    entries.push_back({ .name = "NAME", .kind = Kind::Name });
    for (const LevelSlider &slider : LevelSliders) {
        const bool main = slider.target == LevelTarget::Main;
        const int channel = main ? -1 : slider.target == LevelTarget::ChannelA ? 0 : 1;
        entries.push_back({ .name = main ? "LEVEL_MAIN"
                : channel == 0           ? "LEVEL_A"
                                         : "LEVEL_B",
            .kind = Kind::Level,
            .channel = channel,
            .sliderId = slider.sliderId,
            .levelTarget = slider.target });
    }
    for (const ChannelButtons &buttons : ChannelButtonIds) {
        const std::string prefix = channelPrefix(buttons.channel);
        entries.push_back({ .name = std::string("PHASE_") + (buttons.channel == 0 ? "A" : "B"),
            .kind = Kind::Phase,
            .channel = buttons.channel });
        entries.push_back({ .name = prefix + "RESET",
            .kind = Kind::Action,
            .channel = buttons.channel,
            .buttonId = buttons.resetId,
            .action = SpeakerAction::ChannelReset,
            .mostFrames = SpeakerBandCount + 2 });
        entries.push_back({ .name = prefix + "LIMITER_RESET",
            .kind = Kind::Action,
            .channel = buttons.channel,
            .buttonId = buttons.limiterResetId,
            .action = SpeakerAction::LimiterReset });
    }
    for (const CrossoverSelector &selector : CrossoverSelectors) {
        entries.push_back({ .name = channelPrefix(selector.channel)
                + (selector.pass == CrossoverPass::HighPass ? "HP_TYPE" : "LP_TYPE"),
            .kind = Kind::CrossoverType,
            .channel = selector.channel,
            .selectorListId = selector.listId,
            .pass = selector.pass,
            .crossoverSelectorId = selector.selectorId });
    }
    for (const SpeakerKnob &knob : speakerKnobs()) {
        entries.push_back({ .name = knobName(knob),
            .kind = Kind::Knob,
            .channel = knob.channel,
            .knob = knob,
            .crossoverSelectorId = crossoverSelectorOf(knob) });
    }
    entries.push_back(
        { .name = "DEVICE_RESET", .kind = Kind::Action, .action = SpeakerAction::DeviceReset });
    // Two channels of seven bands, two crossovers and the dynamics, three levels, the name.
    entries.push_back({ .name = "RECALL",
        .kind = Kind::Action,
        .action = SpeakerAction::Recall,
        .mostFrames = 2 * (SpeakerBandCount + 3) + 4 });
    return entries;
}

} // namespace

std::span<const UnitParameterRow> unitParameters()
{
    return UnitParameterRows;
}

const UnitParameterRow *findUnitParameter(std::string_view name)
{
    for (const UnitParameterRow &row : UnitParameterRows) {
        if (name == row.name)
            return &row;
    }
    return nullptr;
}

int equaliserBandOf(UnitParameter parameter)
{
    switch (parameter) {
    case Eq1:
        return 1;
    case Eq2:
        return 2;
    case Eq3:
        return 3;
    case Eq4:
        return 4;
    default:
        return 0;
    }
}

bool unitHas(const DeviceRecord &record, UnitParameter parameter)
{
    if (record.type < UnitTypeArn1 || record.type > UnitTypeVelKShort)
        return parameter == Device;
    const StripControlsShown controls = stripControlsFor(record.type);
    switch (parameter) {
    case Phantom:
        return controls.phantom;
    case ColourOpen:
    case ColourMute:
    case ColourCall:
        return controls.colourCombos || controls.colourButtons;
    case Eq1:
    case Eq2:
    case Eq3:
    case Eq4:
    case EqLowCut:
        return controls.equaliser;
    default:
        return true;
    }
}

namespace {

const char *deviceStateText(UnitCheckState check)
{
    switch (check) {
    case UnitCheckState::NotResponding:
        return "NOT_RESPONDING";
    case UnitCheckState::Differs:
        return "DIFFERS";
    default:
        return "ONLINE";
    }
}

} // namespace

std::string unitValueText(const DeviceRecord &record, UnitParameter parameter, UnitCheckState check)
{
    switch (parameter) {
    case Device:
        if (!record.inUse)
            return "NONE";
        return quotedText(gbkToUtf8(textOf(record.name))) + " " + std::string(textOf(record.ip))
            + " " + unitFamilyName(record.type) + " " + deviceStateText(check);
    case Name:
        return quotedText(gbkToUtf8(textOf(record.name)));
    case Mute:
        return switchText(switchOn(record.micMute));
    case LowCut:
        return switchText(switchOn(record.lowCut));
    case Phantom:
        return switchText(switchOn(record.phantom));
    case Locate:
        return switchText(switchOn(record.locate));
    case Gain:
        return unitGainText(settingValue(record, UnitSetting::Gain));
    case Mode:
        return record.mode >= 0 && record.mode < ModeCount ? ModeNames[record.mode] : "UNKNOWN";
    case ColourOpen:
        return colourText(record.type, record.colourOpen);
    case ColourMute:
        return colourText(record.type, record.colourMute);
    case ColourCall:
        return colourText(record.type, record.colourCall);
    case Eq1:
    case Eq2:
    case Eq3:
    case Eq4:
        return equaliserBandText(record.eqBands[equaliserBandOf(parameter) - 1]);
    case EqLowCut:
        return std::string(switchText(switchOn(record.eqLowCutOn))) + " "
            + formatCode(record.eqLowCutFrequency, EqLowCutScale);
    case Level:
        break;
    }
    return std::to_string(record.level);
}

std::span<const SpeakerParameterEntry> speakerParameters()
{
    static const std::vector<SpeakerParameterEntry> entries = listSpeakerParameters();
    return entries;
}

const SpeakerParameterEntry *findSpeakerParameter(std::string_view name)
{
    for (const SpeakerParameterEntry &entry : speakerParameters()) {
        if (entry.name == name)
            return &entry;
    }
    return nullptr;
}

CodeScale knobScale(const SpeakerKnobRow &row)
{
    CodeScale scale { .minimum = row.minimum, .maximum = row.maximum };
    switch (row.kind) {
    case ValueKind::Frequency:
        scale.unit = "Hz";
        break;
    case ValueKind::Q:
    case ValueKind::Ratio:
        scale.decimals = 1;
        break;
    case ValueKind::SpeakerGain:
        scale.decimals = 1;
        scale.offset = 180;
        scale.unit = "dB";
        break;
    case ValueKind::Threshold:
        scale.sign = -1;
        scale.unit = "dB";
        break;
    default: // attack and release
        scale.unit = "ms";
        break;
    }
    return scale;
}

std::string speakerValueText(const Store &store, const SpeakerParameterEntry &entry)
{
    const SpeakerStore &speaker = store.speaker;
    switch (entry.kind) {
    case SpeakerParameterKind::Connected:
        if (speaker.rdaConnected)
            return "ON " + store.rdaAddress;
        return speaker.rdaConnecting ? "CONNECTING " + store.rdaAddress : "OFF";
    case SpeakerParameterKind::Level:
        return formatCode(
            entry.channel < 0 ? speaker.mainLevel : speaker.channels[entry.channel].level,
            ProcessorLevelScale);
    case SpeakerParameterKind::Phase:
        return switchText(speaker.channels[entry.channel].phase != 0);
    case SpeakerParameterKind::Name:
        return quotedText(gbkToUtf8(textOf(speaker.processorName)));
    case SpeakerParameterKind::Knob: {
        const SpeakerChannel &channel = speaker.channels[entry.channel];
        const SpeakerKnobRow &row = *entry.knob.row;
        const std::int32_t code = row.bandField ? channel.bands[entry.knob.band - 1].*row.bandField
                                                : channel.*row.channelField;
        return formatCode(code, knobScale(row));
    }
    case SpeakerParameterKind::CrossoverType: {
        const SpeakerChannel &channel = speaker.channels[entry.channel];
        const int type = entry.pass == CrossoverPass::HighPass ? channel.hpType : channel.lpType;
        const int last = static_cast<int>(std::size(filterTypeNames)) - 1;
        return quotedText(filterTypeNames[std::clamp(type, 0, last)]);
    }
    default:
        return {};
    }
}

bool speakerChangeReports(const SpeakerChange &change, const SpeakerParameterEntry &entry)
{
    using Kind = SpeakerChange::Kind;
    switch (change.kind) {
    case Kind::Knob:
        return entry.kind == SpeakerParameterKind::Knob && entry.knob.id == change.id;
    case Kind::Crossover:
        return entry.crossoverSelectorId == change.id;
    case Kind::Level:
        return entry.kind == SpeakerParameterKind::Level && entry.sliderId == change.id;
    case Kind::Phase:
        return entry.kind == SpeakerParameterKind::Phase && entry.channel == change.channel;
    case Kind::Name:
        return entry.kind == SpeakerParameterKind::Name;
    case Kind::Channel:
        return entry.hasValue() && entry.kind != SpeakerParameterKind::Connected
            && entry.channel == change.channel;
    case Kind::Everything:
        break;
    }
    return entry.hasValue() && entry.kind != SpeakerParameterKind::Connected;
}

} // namespace arx
