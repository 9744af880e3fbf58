#include "platform/win32/win32_sound.h"

#include <windows.h>

namespace platform::win32 {

bool Win32Sound::messageBeep(std::uint32_t type) { return MessageBeep(type) != FALSE; }

}  // namespace platform::win32
