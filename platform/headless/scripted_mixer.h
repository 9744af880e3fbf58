// A mixer for tests: one device with a speaker line and its volume control, each of which a
// test can take away, a read or a set it can refuse; every set and every open handle recorded.
#pragma once
#include <cstdint>
#include <set>
#include <vector>

#include "platform/mixer.h"

namespace platform::headless {

class ScriptedMixer : public Mixer {
public:
    ScriptedMixer() { reset(); }

    // Script.
    bool hasDevice = true, hasSpeakerLine = true, hasVolumeControl = true;
    bool refuseRead = false, refuseSet = false;
    std::int32_t minimum = 0, maximum = 65535;
    std::int32_t value = 32768;

    // Recordings.
    const std::vector<std::int32_t>& sets() const { return sets_; }
    int opens() const { return opens_; }
    int openHandles() const { return int(open_.size()); }

    void reset();

    std::uint32_t open(unsigned device, MixerHandle& handle) override;
    std::uint32_t lineByComponent(MixerHandle mixer, std::uint32_t componentType,
                                  std::uint32_t& lineId) override;
    std::uint32_t controlByType(MixerHandle mixer, std::uint32_t lineId, std::uint32_t controlType,
                                MixerControl& control) override;
    std::uint32_t getValue(MixerHandle mixer, std::uint32_t controlId,
                           std::int32_t& v) override;
    std::uint32_t setValue(MixerHandle mixer, std::uint32_t controlId, std::int32_t v) override;
    std::uint32_t close(MixerHandle mixer) override;

    static constexpr std::uint32_t kSpeakerLineId = 0xFFFF0000;
    static constexpr std::uint32_t kVolumeControlId = 1;

private:
    bool isOpen(MixerHandle h) const { return open_.count(h) != 0; }
    std::set<MixerHandle> open_;
    MixerHandle next_ = 0x7000;
    std::vector<std::int32_t> sets_;
    int opens_ = 0;
};

}  // namespace platform::headless
