#include "platform/headless/scripted_mixer.h"

namespace platform::headless {

void ScriptedMixer::reset() {
    hasDevice = hasSpeakerLine = hasVolumeControl = true;
    refuseRead = refuseSet = false;
    minimum = 0;
    maximum = 65535;
    value = 32768;
    open_.clear();
    sets_.clear();
    opens_ = 0;
}

std::uint32_t ScriptedMixer::open(unsigned device, MixerHandle& handle) {
    if (!hasDevice || device != 0) return kMmsysErrBadDeviceId;
    handle = ++next_;
    open_.insert(handle);
    ++opens_;
    return 0;
}

std::uint32_t ScriptedMixer::lineByComponent(MixerHandle mixer, std::uint32_t componentType,
                                             std::uint32_t& lineId) {
    if (!isOpen(mixer)) return kMmsysErrInvalHandle;
    if (!hasSpeakerLine || componentType != kMixerComponentSpeakers) return kMixerErrInvalLine;
    lineId = kSpeakerLineId;
    return 0;
}

std::uint32_t ScriptedMixer::controlByType(MixerHandle mixer, std::uint32_t lineId,
                                           std::uint32_t controlType, MixerControl& control) {
    if (!isOpen(mixer)) return kMmsysErrInvalHandle;
    if (lineId != kSpeakerLineId) return kMixerErrInvalLine;
    if (!hasVolumeControl || controlType != kMixerControlVolume) return kMixerErrInvalControl;
    control = MixerControl{kVolumeControlId, kMixerControlVolume, minimum, maximum,
                           "Master Volume"};
    return 0;
}

std::uint32_t ScriptedMixer::getValue(MixerHandle mixer, std::uint32_t controlId,
                                      std::int32_t& v) {
    if (!isOpen(mixer)) return kMmsysErrInvalHandle;
    if (!hasVolumeControl || controlId != kVolumeControlId || refuseRead)
        return kMixerErrInvalControl;
    v = value;
    return 0;
}

std::uint32_t ScriptedMixer::setValue(MixerHandle mixer, std::uint32_t controlId,
                                      std::int32_t v) {
    if (!isOpen(mixer)) return kMmsysErrInvalHandle;
    if (!hasVolumeControl || controlId != kVolumeControlId || refuseSet)
        return kMixerErrInvalControl;
    value = v;
    sets_.push_back(v);
    return 0;
}

std::uint32_t ScriptedMixer::close(MixerHandle mixer) {
    if (!open_.erase(mixer)) return kMmsysErrInvalHandle;
    return 0;
}

}  // namespace platform::headless
