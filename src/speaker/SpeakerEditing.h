#pragma once

#include "format/ValueKind.h"
#include "model/RoomObserver.h"
#include "model/Store.h"
#include "protocol/Frames.h"
#include "seams/Link.h"
#include "seams/Prompts.h"

#include <array>
#include <functional>
#include <optional>
#include <span>
#include <string>

namespace arx {

// What the speaker page's controls edit, which store field each writes and which frame it
// sends: the tables the page is built from and the editor that walks them. No widgets here.

enum class SpeakerParameter {
    BandGain,
    BandFrequency,
    BandQ,
    HighPassFrequency,
    HighPassQ,
    LowPassFrequency,
    LowPassQ,
    Threshold,
    Ratio,
    Attack,
    Release,
};

enum class SpeakerSender { EqBand, HighPass, LowPass, Dynamics };

// One row of the knob table: the knobs of one parameter, band by band for the band rows
// (element b - 1 is band b), in element 0 alone for the others.
struct SpeakerKnobRow {
    const char *name;
    SpeakerParameter parameter;
    std::array<int, SpeakerBandCount> channelA;
    std::array<int, SpeakerBandCount> channelB;
    // Exactly one of the two names the field.
    std::int32_t SpeakerBand::*bandField = nullptr;
    std::int32_t SpeakerChannel::*channelField = nullptr;
    SpeakerSender sender;
    ValueKind kind;
    int minimum;
    int maximum;
};

// clang-format off
inline constexpr SpeakerKnobRow SpeakerKnobRows[] = {
    {.name = "BandGain", .parameter = SpeakerParameter::BandGain,
     .channelA = {1014, 1038, 1039, 1040, 1041, 1042, 1043},
     .channelB = {1046, 1047, 1048, 1049, 1050, 1051, 1052},
     .bandField = &SpeakerBand::gain, .sender = SpeakerSender::EqBand,
     .kind = ValueKind::SpeakerGain, .minimum = 0, .maximum = 300},
    {.name = "BandFrequency", .parameter = SpeakerParameter::BandFrequency,
     .channelA = {1055, 1056, 1057, 1058, 1059, 1060, 1061},
     .channelB = {1064, 1065, 1066, 1067, 1068, 1069, 1070},
     .bandField = &SpeakerBand::frequency, .sender = SpeakerSender::EqBand,
     .kind = ValueKind::Frequency, .minimum = 20, .maximum = 20000},
    {.name = "BandQ", .parameter = SpeakerParameter::BandQ,
     .channelA = {1073, 1074, 1075, 1076, 1077, 1078, 1079},
     .channelB = {1080, 1081, 1082, 1083, 1084, 1085, 1086},
     .bandField = &SpeakerBand::q, .sender = SpeakerSender::EqBand,
     .kind = ValueKind::Q, .minimum = 1, .maximum = 1000},
    {.name = "HighPassFrequency", .parameter = SpeakerParameter::HighPassFrequency,
     .channelA = {1062}, .channelB = {1071},
     .channelField = &SpeakerChannel::hpFrequency, .sender = SpeakerSender::HighPass,
     .kind = ValueKind::Frequency, .minimum = 20, .maximum = 20000},
    {.name = "HighPassQ", .parameter = SpeakerParameter::HighPassQ,
     .channelA = {1127}, .channelB = {1129},
     .channelField = &SpeakerChannel::hpQ, .sender = SpeakerSender::HighPass,
     .kind = ValueKind::Q, .minimum = 1, .maximum = 1000},
    {.name = "LowPassFrequency", .parameter = SpeakerParameter::LowPassFrequency,
     .channelA = {1063}, .channelB = {1072},
     .channelField = &SpeakerChannel::lpFrequency, .sender = SpeakerSender::LowPass,
     .kind = ValueKind::Frequency, .minimum = 20, .maximum = 20000},
    {.name = "LowPassQ", .parameter = SpeakerParameter::LowPassQ,
     .channelA = {1128}, .channelB = {1130},
     .channelField = &SpeakerChannel::lpQ, .sender = SpeakerSender::LowPass,
     .kind = ValueKind::Q, .minimum = 1, .maximum = 1000},
    {.name = "Threshold", .parameter = SpeakerParameter::Threshold,
     .channelA = {1092}, .channelB = {1100},
     .channelField = &SpeakerChannel::threshold, .sender = SpeakerSender::Dynamics,
     .kind = ValueKind::Threshold, .minimum = 0, .maximum = 60},
    {.name = "Ratio", .parameter = SpeakerParameter::Ratio,
     .channelA = {1094}, .channelB = {1102},
     .channelField = &SpeakerChannel::ratio, .sender = SpeakerSender::Dynamics,
     .kind = ValueKind::Ratio, .minimum = 10, .maximum = 2000},
    {.name = "Attack", .parameter = SpeakerParameter::Attack,
     .channelA = {1096}, .channelB = {1104},
     .channelField = &SpeakerChannel::attack, .sender = SpeakerSender::Dynamics,
     .kind = ValueKind::Attack, .minimum = 1, .maximum = 100},
    {.name = "Release", .parameter = SpeakerParameter::Release,
     .channelA = {1098}, .channelB = {1106},
     .channelField = &SpeakerChannel::release, .sender = SpeakerSender::Dynamics,
     .kind = ValueKind::Release, .minimum = 1, .maximum = 100},
};
// clang-format on

// One knob of the table: its row, channel 0 (A) or 1 (B), band 1..7 (0 outside the bands).
struct SpeakerKnob {
    const SpeakerKnobRow *row;
    int id;
    int channel;
    int band;
};

// Every knob of the page, row by row, channel A before B, band by band.
std::span<const SpeakerKnob> speakerKnobs();
std::optional<SpeakerKnob> findSpeakerKnob(int id);
std::int32_t &knobField(SpeakerStore &speaker, const SpeakerKnob &knob);

enum class CrossoverPass { HighPass, LowPass };

// The four filter-type selectors with their drop lists and the Q knob each shows.
struct CrossoverSelector {
    int selectorId;
    int listId;
    int channel;
    CrossoverPass pass;
    int qKnobId;
};
// clang-format off
inline constexpr CrossoverSelector CrossoverSelectors[] = {
    {.selectorId = 1044, .listId = 1087, .channel = 0, .pass = CrossoverPass::HighPass, .qKnobId = 1127},
    {.selectorId = 1045, .listId = 1088, .channel = 0, .pass = CrossoverPass::LowPass, .qKnobId = 1128},
    {.selectorId = 1053, .listId = 1089, .channel = 1, .pass = CrossoverPass::HighPass, .qKnobId = 1129},
    {.selectorId = 1054, .listId = 1090, .channel = 1, .pass = CrossoverPass::LowPass, .qKnobId = 1130},
};
// clang-format on

inline constexpr const char *filterTypeNames[]
    = { "Butterworth 1", "Butterworth 2", "Bessel 2", "Linkwitz 2", "Variable" };

std::int32_t &crossoverType(SpeakerChannel &channel, CrossoverPass pass);
std::int32_t &crossoverQ(SpeakerChannel &channel, CrossoverPass pass);
// The Q knob of a crossover is shown exactly for "Variable".
bool crossoverQShown(const SpeakerChannel &channel, CrossoverPass pass);

// The three level sliders with their value labels.
struct LevelSlider {
    int sliderId;
    int labelId;
    LevelTarget target;
};
inline constexpr LevelSlider LevelSliders[] = {
    { .sliderId = 1109, .labelId = 1114, .target = LevelTarget::ChannelA },
    { .sliderId = 1110, .labelId = 1116, .target = LevelTarget::ChannelB },
    { .sliderId = 1111, .labelId = 1118, .target = LevelTarget::Main },
};
constexpr int LevelCodeMax = 254;

std::int32_t &levelCode(SpeakerStore &speaker, LevelTarget target);
// "%0.1f dB" of 24 - 0.5 x code: code 0 reads "24.0 dB", 254 "-103.0 dB".
std::string levelText(int code);
// The slider stands at 254 - code, so that its right end is +24 dB.
int levelSliderPosition(int code);

// The per-channel buttons.
struct ChannelButtons {
    int channel;
    int phaseId;
    int resetId;
    int limiterResetId;
    PhaseTarget phaseTarget;
    std::int32_t resetPhase; // the phase a channel reset leaves
};
inline constexpr ChannelButtons ChannelButtonIds[] = {
    { .channel = 0,
        .phaseId = 1123,
        .resetId = 1124,
        .limiterResetId = 1107,
        .phaseTarget = PhaseTarget::ChannelA,
        .resetPhase = 1 },
    { .channel = 1,
        .phaseId = 1125,
        .resetId = 1126,
        .limiterResetId = 1108,
        .phaseTarget = PhaseTarget::ChannelB,
        .resetPhase = 0 },
};

constexpr int SetNameButtonId = 1121;
constexpr int InertAddressButtonId = 1122;
constexpr int NameEditId = 1138;
constexpr int AddressEditId = 1139;
constexpr int DeviceResetButtonId = 1131;
constexpr int SaveButtonId = 1132;
constexpr int RecallButtonId = 1133;

inline constexpr const char *ResetQuestion = "是否要复位设置";
inline constexpr const char *NameTooLongMessage = "Name is too long.";
inline constexpr const char *SendAllQuestion
    = "Send the whole speaker setting of this page to the processor?";
inline constexpr const char *SendAllOfflineMessage
    = "No processor is connected, so nothing was sent. Connect to a processor first.";

// Band frequencies of the start values and of a channel reset.
inline constexpr std::array<std::int32_t, SpeakerBandCount> ResetBandFrequencies
    = { 50, 200, 800, 1000, 3000, 8000, 12000 };

// The speaker page's behaviour without its window: every edit is stored first, then sent only
// while rdaConnected is set, then announced. Runs on the user-interface thread.
class SpeakerEditor {
public:
    // `processorRenamed` shows a new name (GBK bytes) in the processor list's row of the
    // connected processor.
    SpeakerEditor(Store &store, Link &link, Prompts &prompts, RoomObserver &announce,
        std::function<void(const std::string &)> processorRenamed = {});

    // A knob's new value; false for an id that is no knob of the table.
    bool knobChanged(int knobId, int value);
    void crossoverTypeSelected(int listId, int index);
    // Both the moving and the moved notification of a level slider.
    void levelMoved(int sliderId, int position);
    void togglePhase(int buttonId);
    // Phase 0 (normal) or 1 (inverted) of channel 0 (A) or 1 (B).
    void setPhase(int channel, std::int32_t phase);
    // After "是否要复位设置" unless given; Cancel changes nothing.
    void resetChannel(int buttonId, Confirm confirm = Confirm::Ask);
    void resetLimiter(int buttonId, Confirm confirm = Confirm::Ask);
    // gbkName is the name as GBK bytes; more than 10 bytes is refused (with "Name is too
    // long." when asked to tell) and changes nothing. True when the name was taken.
    bool setProcessorName(const std::string &gbkName, Confirm confirm = Confirm::Ask);
    // The whole setting in recall order, then both phases, after a confirmation unless given.
    // False when no processor is connected (told when asked to confirm) or when cancelled.
    bool sendAll(Confirm confirm = Confirm::Ask);

    bool connected() const { return store_.speaker.rdaConnected != 0; }

private:
    // The Q rule, the frame, then the announcement.
    void crossoverChanged(int channel, CrossoverPass pass);
    void send(SpeakerSender sender, int channel, int band);

    Store &store_;
    Link &link_;
    Prompts &prompts_;
    RoomObserver &announce_;
    std::function<void(const std::string &)> processorRenamed_;
};

// The selector of a channel's high- or low-pass filter.
const CrossoverSelector &crossoverSelector(int channel, CrossoverPass pass);

} // namespace arx
