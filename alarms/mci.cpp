#include "alarms/mci.h"

#include <algorithm>

#include "kit/convert.h"
#include "platform/services.h"

namespace eMci {

bool GetVolumeControl(platform::MixerHandle mixer, std::uint32_t componentType,
                      std::uint32_t controlType, platform::MixerControl& control) {
    platform::Mixer& m = platform::mixer();
    std::uint32_t line = 0;
    if (m.lineByComponent(mixer, componentType, line) != 0) return false;
    platform::MixerControl found;
    if (m.controlByType(mixer, line, controlType, found) != 0) return false;
    control = found;
    return true;
}

std::int32_t GetVolume(platform::MixerHandle mixer, const platform::MixerControl& control) {
    std::int32_t value = 0;
    if (platform::mixer().getValue(mixer, control.controlId, value) != 0) return -1;
    return value;
}

bool SetVolume(platform::MixerHandle mixer, const platform::MixerControl& control,
               std::int32_t value) {
    return platform::mixer().setValue(mixer, control.controlId, value) == 0;
}

std::optional<std::int32_t> ProgressValue(double playedMs, long lengthMs, std::int32_t max) {
    if (lengthMs <= 0) return std::nullopt;
    // Clamped before rounding: a count past the length can never overflow the value.
    const double share = std::min(playedMs / double(lengthMs) * double(max), double(max));
    return static_cast<std::int32_t>(kit::RoundHalfEven(std::max(share, 0.0)));
}

}  // namespace eMci
