// The audio mixer through winmm's mixer calls, with zero-filled global memory blocks as the
// transfer buffers.
#pragma once
#include "platform/mixer.h"

namespace platform::win32 {

class Win32Mixer : public Mixer {
public:
    std::uint32_t open(unsigned device, MixerHandle& handle) override;
    std::uint32_t lineByComponent(MixerHandle mixer, std::uint32_t componentType,
                                  std::uint32_t& lineId) override;
    std::uint32_t controlByType(MixerHandle mixer, std::uint32_t lineId, std::uint32_t controlType,
                                MixerControl& control) override;
    std::uint32_t getValue(MixerHandle mixer, std::uint32_t controlId,
                           std::int32_t& value) override;
    std::uint32_t setValue(MixerHandle mixer, std::uint32_t controlId,
                           std::int32_t value) override;
    std::uint32_t close(MixerHandle mixer) override;
};

}  // namespace platform::win32
