// System sounds.
#pragma once
#include <cstdint>

namespace platform {

constexpr std::uint32_t kStandardBeep = 0;  // MB_OK: the user's default sound

class Sound {
public:
    virtual ~Sound() = default;
    // MessageBeep: plays the sound asynchronously and returns at once.
    virtual bool messageBeep(std::uint32_t type) = 0;
};

}  // namespace platform
