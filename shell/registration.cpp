#include "shell/registration.h"

#include <vector>

#include "kit/controls.h"
#include "platform/services.h"

using namespace platform;

namespace eRegistration {

void SetRegistryValue(const std::string& key, const std::string& name, const std::string& value) {
    HKey handle = 0;
    std::uint32_t disposition = 0;
    if (registry().createKeyEx(kHKeyLocalMachine, key, 0, kKeyAllAccess, handle, disposition) !=
        kErrorSuccess)
        return;
    // The byte after the counted ones is a NUL, which the registry counts in.
    std::string data = value;
    registry().setValueEx(handle, name, kRegSz, reinterpret_cast<const std::uint8_t*>(data.c_str()),
                          static_cast<std::uint32_t>(value.size()));
    registry().closeKey(handle);
}

std::string GetRegistryValue(const std::string& key, const std::string& name) {
    HKey handle = 0;
    if (registry().openKeyEx(kHKeyLocalMachine, key, 0, kKeyRead, handle) != kErrorSuccess) return "";
    std::vector<std::uint8_t> buffer(255, ' ');
    std::uint32_t size = 255;
    std::uint32_t type = 0;
    long rc = registry().queryValueEx(handle, name, &type, buffer.data(), &size);
    if (rc == kErrorMoreData) {
        // Longer than the usual buffer: read it whole.
        buffer.assign(size, ' ');
        rc = registry().queryValueEx(handle, name, &type, buffer.data(), &size);
        if (rc != kErrorSuccess) size = 0;
    }
    registry().closeKey(handle);
    if (size == 0) return "";
    std::string text(buffer.begin(), buffer.begin() + (size - 1));
    return text;
}

void DeleteRegistryKey(const std::string& key) {
    HKey handle = 0;
    if (registry().openKeyEx(kHKeyLocalMachine, key, 0, kKeyRead, handle) != kErrorSuccess) return;
    registry().deleteKey(handle, "");
    registry().closeKey(handle);
}

void DeleteRegistrySubKeys(const std::string& key) {
    HKey handle = 0;
    if (registry().openKeyEx(kHKeyLocalMachine, key, 0, kKeyAllAccess, handle) != kErrorSuccess)
        return;
    // Collect first: deleting while enumerating would shift the indices.
    std::vector<std::string> names;
    for (std::uint32_t index = 0;; ++index) {
        char name[256];
        std::fill(std::begin(name), std::end(name), ' ');
        if (registry().enumKey(handle, index, name, sizeof name) != kErrorSuccess) break;
        names.emplace_back(name, std::find(name, name + sizeof name, '\0'));
    }
    for (const std::string& name : names) {
        DeleteRegistrySubKeys(key + "\\" + name);
        registry().deleteKey(handle, name);
    }
    registry().closeKey(handle);
}

void DeleteRegistryTree(std::string key) {
    if (!key.empty() && key.back() == '\\') key.pop_back();
    DeleteRegistrySubKeys(key);
    std::size_t p = key.rfind('\\');
    if (p != std::string::npos && p > 0) {
        HKey parent = 0;
        if (registry().openKeyEx(kHKeyLocalMachine, key.substr(0, p), 0, kKeyAllAccess, parent) !=
            kErrorSuccess) {
            kit::MsgBox("Error opening parent key", kit::kMbOk);
            return;
        }
        registry().deleteKey(parent, key.substr(p + 1));
        registry().closeKey(parent);
    } else if (p == std::string::npos) {
        registry().deleteKey(kHKeyLocalMachine, key);
    }
}

}  // namespace eRegistration
