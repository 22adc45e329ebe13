#include "speaker/SpeakerEditing.h"

#include "dsp/CoefficientDesigns.h"
#include "dsp/CoefficientSenders.h"
#include "protocol/Senders.h"
#include "speaker/SpeakerSetting.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace arx {

namespace {

std::vector<SpeakerKnob> listKnobs()
{
    std::vector<SpeakerKnob> knobs;
    for (const SpeakerKnobRow &row : SpeakerKnobRows) {
        for (int channel = 0; channel < SpeakerChannelCount; ++channel) {
            const auto &ids = channel == 0 ? row.channelA : row.channelB;
            for (int index = 0; index < SpeakerBandCount; ++index) {
                if (ids[static_cast<std::size_t>(index)] == 0)
                    continue;
                knobs.push_back({ .row = &row,
                    .id = ids[static_cast<std::size_t>(index)],
                    .channel = channel,
                    .band = row.bandField ? index + 1 : 0 });
            }
        }
    }
    return knobs;
}

const ChannelButtons *channelButtonsWhere(int buttonId, int ChannelButtons::*id)
{
    for (const ChannelButtons &buttons : ChannelButtonIds) {
        if (buttons.*id == buttonId)
            return &buttons;
    }
    return nullptr;
}

} // namespace

std::span<const SpeakerKnob> speakerKnobs()
{
    static const std::vector<SpeakerKnob> knobs = listKnobs();
    return knobs;
}

std::optional<SpeakerKnob> findSpeakerKnob(int id)
{
    for (const SpeakerKnob &knob : speakerKnobs()) {
        if (knob.id == id)
            return knob;
    }
    return std::nullopt;
}

std::int32_t &knobField(SpeakerStore &speaker, const SpeakerKnob &knob)
{
    SpeakerChannel &channel = speaker.channels[knob.channel];
    if (knob.row->bandField)
        return channel.bands[knob.band - 1].*(knob.row->bandField);
    return channel.*(knob.row->channelField);
}

std::int32_t &crossoverType(SpeakerChannel &channel, CrossoverPass pass)
{
    return pass == CrossoverPass::HighPass ? channel.hpType : channel.lpType;
}

std::int32_t &crossoverQ(SpeakerChannel &channel, CrossoverPass pass)
{
    return pass == CrossoverPass::HighPass ? channel.hpQ : channel.lpQ;
}

bool crossoverQShown(const SpeakerChannel &channel, CrossoverPass pass)
{
    return (pass == CrossoverPass::HighPass ? channel.hpType : channel.lpType) == CrossoverVariable;
}

std::int32_t &levelCode(SpeakerStore &speaker, LevelTarget target)
{
    switch (target) {
    case LevelTarget::ChannelA:
        return speaker.channels[0].level;
    case LevelTarget::ChannelB:
        return speaker.channels[1].level;
    default:
        return speaker.mainLevel;
    }
}

std::string levelText(int code)
{
    char text[32];
    std::snprintf(text, sizeof text, "%0.1f dB", 24.0 - 0.5 * code);
    return text;
}

int levelSliderPosition(int code)
{
    return std::clamp(LevelCodeMax - code, 0, LevelCodeMax);
}

const CrossoverSelector &crossoverSelector(int channel, CrossoverPass pass)
{
    return *std::find_if(std::begin(CrossoverSelectors), std::end(CrossoverSelectors),
        [&](const CrossoverSelector &s) { return s.channel == channel && s.pass == pass; });
}

SpeakerEditor::SpeakerEditor(Store &store, Link &link, Prompts &prompts, RoomObserver &announce,
    std::function<void(const std::string &)> processorRenamed)
    : store_(store)
    , link_(link)
    , prompts_(prompts)
    , announce_(announce)
    , processorRenamed_(std::move(processorRenamed))
{
}

bool SpeakerEditor::knobChanged(int knobId, int value)
{
    const std::optional<SpeakerKnob> knob = findSpeakerKnob(knobId);
    if (!knob)
        return false;
    knobField(store_.speaker, *knob) = std::clamp(value, knob->row->minimum, knob->row->maximum);
    switch (knob->row->sender) {
    case SpeakerSender::HighPass:
        crossoverChanged(knob->channel, CrossoverPass::HighPass);
        break;
    case SpeakerSender::LowPass:
        crossoverChanged(knob->channel, CrossoverPass::LowPass);
        break;
    default:
        send(knob->row->sender, knob->channel, knob->band);
        announce_.speakerChanged({ .kind = SpeakerChange::Kind::Knob, .id = knobId });
        break;
    }
    return true;
}

void SpeakerEditor::crossoverTypeSelected(int listId, int index)
{
    const auto *selector
        = std::find_if(std::begin(CrossoverSelectors), std::end(CrossoverSelectors),
            [listId](const CrossoverSelector &s) { return s.listId == listId; });
    if (selector == std::end(CrossoverSelectors))
        return;
    const int last = static_cast<int>(std::size(filterTypeNames)) - 1;
    crossoverType(store_.speaker.channels[selector->channel], selector->pass)
        = std::clamp(index, 0, last);
    crossoverChanged(selector->channel, selector->pass);
}

void SpeakerEditor::crossoverChanged(int channel, CrossoverPass pass)
{
    limitVariableCrossoverQ(store_.speaker.channels[channel]);
    send(pass == CrossoverPass::HighPass ? SpeakerSender::HighPass : SpeakerSender::LowPass,
        channel, 0);
    announce_.speakerChanged({ .kind = SpeakerChange::Kind::Crossover,
        .id = crossoverSelector(channel, pass).selectorId,
        .channel = channel });
}

void SpeakerEditor::levelMoved(int sliderId, int position)
{
    const auto *slider = std::find_if(std::begin(LevelSliders), std::end(LevelSliders),
        [sliderId](const LevelSlider &s) { return s.sliderId == sliderId; });
    if (slider == std::end(LevelSliders))
        return;
    levelCode(store_.speaker, slider->target)
        = LevelCodeMax - std::clamp(position, 0, LevelCodeMax);
    if (connected())
        SendLevel(link_, store_, slider->target);
    announce_.speakerChanged({ .kind = SpeakerChange::Kind::Level, .id = sliderId });
}

void SpeakerEditor::togglePhase(int buttonId)
{
    const ChannelButtons *buttons = channelButtonsWhere(buttonId, &ChannelButtons::phaseId);
    if (!buttons)
        return;
    setPhase(buttons->channel, store_.speaker.channels[buttons->channel].phase == 0 ? 1 : 0);
}

void SpeakerEditor::setPhase(int channel, std::int32_t phase)
{
    if (channel < 0 || channel >= SpeakerChannelCount)
        return;
    store_.speaker.channels[channel].phase = phase;
    if (connected())
        SendPhase(link_, store_, ChannelButtonIds[channel].phaseTarget);
    announce_.speakerChanged({ .kind = SpeakerChange::Kind::Phase, .channel = channel });
}

void SpeakerEditor::resetChannel(int buttonId, Confirm confirm)
{
    const ChannelButtons *buttons = channelButtonsWhere(buttonId, &ChannelButtons::resetId);
    if (!buttons || (confirm == Confirm::Ask && !prompts_.confirm(ResetQuestion)))
        return;
    SpeakerChannel &channel = store_.speaker.channels[buttons->channel];
    channel.hpType = CrossoverButterworth1;
    channel.lpType = CrossoverButterworth1;
    channel.hpQ = 10;
    channel.lpQ = 10;
    channel.hpFrequency = 20;
    channel.lpFrequency = 20000;
    for (int band = 0; band < SpeakerBandCount; ++band) {
        SpeakerBand &b = channel.bands[band];
        b.q = 20;
        b.gain = 180;
        b.bandFlag = 1;
        b.frequency = ResetBandFrequencies[static_cast<std::size_t>(band)];
    }
    channel.phase = buttons->resetPhase;
    if (connected()) {
        for (int band = 1; band <= SpeakerBandCount; ++band) {
            send(SpeakerSender::EqBand, buttons->channel, band);
            link_.pause(SettingFramePauseMs);
        }
        send(SpeakerSender::HighPass, buttons->channel, 0);
        link_.pause(SettingFramePauseMs);
        send(SpeakerSender::LowPass, buttons->channel, 0);
        link_.pause(SettingFramePauseMs);
    }
    announce_.speakerChanged({ .kind = SpeakerChange::Kind::Channel, .channel = buttons->channel });
}

void SpeakerEditor::resetLimiter(int buttonId, Confirm confirm)
{
    const ChannelButtons *buttons = channelButtonsWhere(buttonId, &ChannelButtons::limiterResetId);
    if (!buttons || (confirm == Confirm::Ask && !prompts_.confirm(ResetQuestion)))
        return;
    SpeakerChannel &channel = store_.speaker.channels[buttons->channel];
    channel.threshold = 0;
    channel.ratio = 10;
    channel.attack = 1;
    channel.release = 1;
    send(SpeakerSender::Dynamics, buttons->channel, 0);
    announce_.speakerChanged({ .kind = SpeakerChange::Kind::Channel, .channel = buttons->channel });
}

bool SpeakerEditor::setProcessorName(const std::string &gbkName, Confirm confirm)
{
    if (gbkName.size() > ProcessorNameLength) {
        if (confirm == Confirm::Ask)
            prompts_.message(NameTooLongMessage);
        return false;
    }
    setText(store_.speaker.processorName, gbkName);
    if (connected()) {
        SendDeviceName(link_, store_);
        if (processorRenamed_)
            processorRenamed_(std::string(textOf(store_.speaker.processorName)));
    }
    announce_.speakerChanged({ .kind = SpeakerChange::Kind::Name });
    return true;
}

bool SpeakerEditor::sendAll(Confirm confirm)
{
    if (!connected()) {
        if (confirm == Confirm::Ask)
            prompts_.message(SendAllOfflineMessage);
        return false;
    }
    if (confirm == Confirm::Ask && !prompts_.confirm(SendAllQuestion))
        return false;
    const bool limited = limitVariableCrossoverQ(store_.speaker);
    sendSpeakerSetting(link_, store_, NameFrame::SkipWhenEmpty);
    for (const ChannelButtons &buttons : ChannelButtonIds) {
        SendPhase(link_, store_, buttons.phaseTarget);
        link_.pause(SettingFramePauseMs);
    }
    if (limited)
        announce_.speakerChanged({ .kind = SpeakerChange::Kind::Everything });
    return true;
}

void SpeakerEditor::send(SpeakerSender sender, int channel, int band)
{
    if (!connected())
        return;
    switch (sender) {
    case SpeakerSender::EqBand:
        sendSpeakerEqBand(link_, store_, channel, band);
        break;
    case SpeakerSender::HighPass:
        sendHighPass(link_, store_, channel);
        break;
    case SpeakerSender::LowPass:
        sendLowPass(link_, store_, channel);
        break;
    case SpeakerSender::Dynamics:
        sendDynamics(link_, store_, channel);
        break;
    }
}

} // namespace arx
