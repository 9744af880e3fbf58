// Registry calls passed straight to the ANSI API.
#pragma once
#include "platform/registry.h"

namespace platform::win32 {

class Win32Registry : public Registry {
public:
    long createKeyEx(HKey key, const std::string& subKey, std::uint32_t options,
                     std::uint32_t sam, HKey& result, std::uint32_t& disposition) override;
    long openKeyEx(HKey key, const std::string& subKey, std::uint32_t options,
                   std::uint32_t sam, HKey& result) override;
    long setValueEx(HKey key, const std::string& name, std::uint32_t type,
                    const std::uint8_t* data, std::uint32_t size) override;
    long queryValueEx(HKey key, const std::string& name, std::uint32_t* type,
                      std::uint8_t* data, std::uint32_t* size) override;
    long enumKey(HKey key, std::uint32_t index, char* name, std::uint32_t nameSize) override;
    long deleteKey(HKey key, const std::string& subKey) override;
    long closeKey(HKey key) override;
};

}  // namespace platform::win32
