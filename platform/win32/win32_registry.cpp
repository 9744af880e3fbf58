#include "platform/win32/win32_registry.h"

#include <windows.h>

namespace platform::win32 {
namespace {
// The predefined keys are sign-extended 32-bit values in 64-bit Windows: take them from the
// headers rather than widening the program's number.
HKEY K(HKey key) {
    if (key == kHKeyLocalMachine) return HKEY_LOCAL_MACHINE;
    return reinterpret_cast<HKEY>(key);
}
}  // namespace

long Win32Registry::createKeyEx(HKey key, const std::string& subKey, std::uint32_t options,
                                std::uint32_t sam, HKey& result, std::uint32_t& disposition) {
    HKEY out = nullptr;
    DWORD disp = 0;
    LONG r = RegCreateKeyExA(K(key), subKey.c_str(), 0, nullptr, options, sam, nullptr, &out,
                             &disp);
    result = reinterpret_cast<HKey>(out);
    disposition = disp;
    return r;
}

long Win32Registry::openKeyEx(HKey key, const std::string& subKey, std::uint32_t options,
                              std::uint32_t sam, HKey& result) {
    HKEY out = nullptr;
    LONG r = RegOpenKeyExA(K(key), subKey.c_str(), options, sam, &out);
    result = reinterpret_cast<HKey>(out);
    return r;
}

long Win32Registry::setValueEx(HKey key, const std::string& name, std::uint32_t type,
                               const std::uint8_t* data, std::uint32_t size) {
    return RegSetValueExA(K(key), name.c_str(), 0, type, data, size);
}

long Win32Registry::queryValueEx(HKey key, const std::string& name, std::uint32_t* type,
                                 std::uint8_t* data, std::uint32_t* size) {
    DWORD t = 0;
    DWORD n = size ? *size : 0;
    LONG r = RegQueryValueExA(K(key), name.c_str(), nullptr, type ? &t : nullptr, data,
                              size ? &n : nullptr);
    if (type) *type = t;
    if (size) *size = n;
    return r;
}

long Win32Registry::enumKey(HKey key, std::uint32_t index, char* name, std::uint32_t nameSize) {
    return RegEnumKeyA(K(key), index, name, nameSize);
}

long Win32Registry::deleteKey(HKey key, const std::string& subKey) {
    return RegDeleteKeyA(K(key), subKey.c_str());
}

long Win32Registry::closeKey(HKey key) { return RegCloseKey(K(key)); }

}  // namespace platform::win32
