// The registry calls of the ANSI interface. Results are the platform's error codes.
#pragma once
#include <cstdint>
#include <string>

namespace platform {

using HKey = std::uintptr_t;
constexpr HKey kHKeyLocalMachine = 0x80000002u;
constexpr std::uint32_t kKeyRead = 0x20019;
constexpr std::uint32_t kKeyAllAccess = 0xF003F;
constexpr std::uint32_t kRegSz = 1;
constexpr long kErrorSuccess = 0;
constexpr long kErrorFileNotFound = 2;
constexpr long kErrorAccessDenied = 5;
constexpr long kErrorMoreData = 234;
constexpr long kErrorNoMoreItems = 259;

class Registry {
public:
    virtual ~Registry() = default;
    virtual long createKeyEx(HKey key, const std::string& subKey, std::uint32_t options,
                             std::uint32_t sam, HKey& result, std::uint32_t& disposition) = 0;
    virtual long openKeyEx(HKey key, const std::string& subKey, std::uint32_t options,
                           std::uint32_t sam, HKey& result) = 0;
    // As on Windows NT: for REG_SZ data whose last counted byte is not NUL and whose next
    // byte is, the NUL is counted in.
    virtual long setValueEx(HKey key, const std::string& name, std::uint32_t type,
                            const std::uint8_t* data, std::uint32_t size) = 0;
    // size: in, the buffer size; out, the bytes stored (or needed, with kErrorMoreData).
    // type and data may be null.
    virtual long queryValueEx(HKey key, const std::string& name, std::uint32_t* type,
                              std::uint8_t* data, std::uint32_t* size) = 0;
    virtual long enumKey(HKey key, std::uint32_t index, char* name, std::uint32_t nameSize) = 0;
    // Fails with kErrorAccessDenied when the key has subkeys; an empty name deletes key itself.
    virtual long deleteKey(HKey key, const std::string& subKey) = 0;
    virtual long closeKey(HKey key) = 0;
};

}  // namespace platform
