#include "platform/win32/win32_network.h"

#include <windows.h>
#include <wininet.h>

namespace platform::win32 {

bool Win32Network::getConnectedState(std::uint32_t& flags) {
    DWORD f = 0;
    const BOOL online = InternetGetConnectedState(&f, 0);
    flags = f;
    return online != FALSE;
}

}  // namespace platform::win32
