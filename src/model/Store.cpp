#include "model/Store.h"

namespace arx {

const char *unitFamilyName(std::int32_t type)
{
    switch (type) {
    case UnitTypeArn1:
    case UnitTypeArn1Short:
        return "ARN1";
    case UnitTypeVelK:
    case UnitTypeVelKShort:
        return "VEL-K";
    case UnitTypePxl2:
        return "PXL2";
    default:
        return "";
    }
}

double computeEulerConstant()
{
    double sum = 1.0;
    double factorial = 1.0;
    for (int k = 1; k <= 999; ++k) {
        factorial *= k; // reaches infinity past 170!, where the terms are 0 anyway
        sum += 1.0 / factorial;
    }
    return sum;
}

void SetDefaults(Store &store)
{
    constexpr std::int32_t micBandFrequencies[MicEqBandCount] = {100, 500, 2000, 5000};
    for (DeviceRecord &record : store.unitTable) {
        for (int band = 0; band < MicEqBandCount; ++band) {
            record.eqBands[band].frequency = micBandFrequencies[band];
            record.eqBands[band].gain = 300;
            record.eqBands[band].q = 200;
            record.eqBands[band].shape = 0;
        }
        record.eqLowCutFrequency = 20;
        record.eqLowCutShape = 4;
        record.eqLowCutQ = 200;
        record.eqLowCutOn = 1;
    }

    constexpr std::int32_t speakerBandFrequencies[SpeakerBandCount] = {50,   200,  800,  1000,
                                                                       3000, 8000, 12000};
    for (SpeakerChannel &channel : store.speaker.channels) {
        for (int band = 0; band < SpeakerBandCount; ++band) {
            channel.bands[band].frequency = speakerBandFrequencies[band];
            channel.bands[band].gain = 180;
            channel.bands[band].q = 20;
            channel.bands[band].bandFlag = 1;
        }
        channel.hpFrequency = 20;
        channel.lpFrequency = 20000;
        channel.level = 0;
        channel.threshold = 0;
        channel.attack = 1;
        channel.release = 1;
        channel.ratio = 10;
    }
}

bool slotMatchesSender(const DeviceRecord &record, std::string_view senderAddress)
{
    return record.inUse != 0 && textOf(record.ip) == senderAddress;
}

int findSlotForAnnouncement(const Store &store, std::string_view senderAddress,
                            std::string_view name)
{
    for (int slot = 0; slot < UnitSlotCount; ++slot) {
        const DeviceRecord &record = store.unitTable[slot];
        if (textOf(record.ip) == senderAddress || textOf(record.name) == name)
            return slot;
    }
    return -1;
}

int findFreeSlot(const Store &store)
{
    for (int slot = 0; slot < UnitSlotCount; ++slot) {
        if (store.unitTable[slot].inUse == 0)
            return slot;
    }
    return -1;
}

} // namespace arx
