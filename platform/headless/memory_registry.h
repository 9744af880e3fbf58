// An in-memory registry with the Windows NT behaviour the program relies on. Subkeys are
// enumerated in case-insensitive name order, as Windows does.
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace platform::headless {

constexpr long kErrorInvalidHandle = 6;
constexpr long kErrorInvalidParameter = 87;
constexpr long kErrorKeyDeleted = 1018;

class MemoryRegistry : public Registry {
public:
    MemoryRegistry();

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

    // Test API. Paths are under HKEY_LOCAL_MACHINE ("SOFTWARE\\Tivlo"); a leading
    // "HKEY_LOCAL_MACHINE\\" or "HKLM\\" is allowed.
    bool exists(const std::string& path) const;
    // The stored bytes as text, without the trailing NUL.
    std::optional<std::string> value(const std::string& path, const std::string& name) const;
    std::optional<std::uint32_t> valueType(const std::string& path, const std::string& name) const;
    // Stores text plus NUL as REG_SZ, creating the keys.
    void put(const std::string& path, const std::string& name, const std::string& text);
    // Empties the tree and forgets every open handle.
    void clear();
    int openHandleCount() const { return static_cast<int>(handles_.size()); }

private:
    struct Value {
        std::string name;
        std::uint32_t type = 0;
        std::vector<std::uint8_t> bytes;
    };
    struct Key {
        std::string name;
        Key* parent = nullptr;
        bool deleted = false;
        std::map<std::string, std::shared_ptr<Key>> children;  // by upper-case name
        std::map<std::string, Value> values;                   // by upper-case name
    };

    long resolve(HKey key, std::shared_ptr<Key>& out) const;
    std::shared_ptr<Key> walk(std::shared_ptr<Key> from, const std::string& path, bool create,
                              bool* created) const;
    std::shared_ptr<Key> findPath(const std::string& path) const;
    const Value* findValue(const std::string& path, const std::string& name) const;

    std::map<HKey, std::shared_ptr<Key>> roots_;
    std::map<HKey, std::shared_ptr<Key>> handles_;
    HKey next_ = 0x100;
};

}  // namespace platform::headless
