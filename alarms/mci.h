// The speaker volume through the audio mixer, and the music preview's progress arithmetic.
#pragma once
#include <cstdint>
#include <optional>

#include "platform/mixer.h"

namespace eMci {

// The control of that type on the line of that component type; False when the mixer has
// either not.
bool GetVolumeControl(platform::MixerHandle mixer, std::uint32_t componentType,
                      std::uint32_t controlType, platform::MixerControl& control);
// The control's value, or -1 when the mixer refuses.
std::int32_t GetVolume(platform::MixerHandle mixer, const platform::MixerControl& control);
// True when the mixer takes the value.
bool SetVolume(platform::MixerHandle mixer, const platform::MixerControl& control,
               std::int32_t value);

// The progress value for playedMs of a file lengthMs long on a bar whose maximum is max:
// the played share of max, no more than max, rounded halves to even. Nothing while the
// length is unknown (0 or less).
std::optional<std::int32_t> ProgressValue(double playedMs, long lengthMs, std::int32_t max);

}  // namespace eMci
