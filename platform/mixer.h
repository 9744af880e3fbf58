// The sound card's audio mixer: a device opened by number, its lines found by component type,
// a line's control found by control type, and that control's one value read and set.
// Every call returns 0 or the mixer's error number.
#pragma once
#include <cstdint>
#include <string>

#include "kit/backend.h"

namespace platform {

using MixerHandle = kit::Handle;

constexpr std::uint32_t kMixerComponentSpeakers = 4;        // the speakers destination line
constexpr std::uint32_t kMixerControlVolume = 0x50030001;   // a fader: the volume
// Error numbers the mixer returns.
constexpr std::uint32_t kMmsysErrBadDeviceId = 2;
constexpr std::uint32_t kMmsysErrInvalHandle = 5;
constexpr std::uint32_t kMixerErrInvalLine = 1024;
constexpr std::uint32_t kMixerErrInvalControl = 1025;

// What the program keeps of a control as the mixer described it.
struct MixerControl {
    std::uint32_t controlId = 0;
    std::uint32_t controlType = 0;
    std::int32_t minimum = 0, maximum = 0;
    std::string name;
};

class Mixer {
public:
    virtual ~Mixer() = default;
    // mixerOpen of a device by number, no callback; handle is left alone on failure.
    virtual std::uint32_t open(unsigned device, MixerHandle& handle) = 0;
    // mixerGetLineInfoA by component type: the line's ID.
    virtual std::uint32_t lineByComponent(MixerHandle mixer, std::uint32_t componentType,
                                          std::uint32_t& lineId) = 0;
    // mixerGetLineControlsA, one control by type.
    virtual std::uint32_t controlByType(MixerHandle mixer, std::uint32_t lineId,
                                        std::uint32_t controlType, MixerControl& control) = 0;
    // mixerGetControlDetailsA / mixerSetControlDetails: one channel's 32-bit value.
    virtual std::uint32_t getValue(MixerHandle mixer, std::uint32_t controlId,
                                   std::int32_t& value) = 0;
    virtual std::uint32_t setValue(MixerHandle mixer, std::uint32_t controlId,
                                   std::int32_t value) = 0;
    virtual std::uint32_t close(MixerHandle mixer) = 0;
};

}  // namespace platform
