// System sounds through MessageBeep.
#pragma once
#include "platform/sound.h"

namespace platform::win32 {

class Win32Sound : public Sound {
public:
    bool messageBeep(std::uint32_t type) override;
};

}  // namespace platform::win32
