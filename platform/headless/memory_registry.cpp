#include "platform/headless/memory_registry.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace platform::headless {

namespace {

std::string upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::vector<std::string> split(const std::string& path) {
    std::vector<std::string> parts;
    std::string cur;
    for (char c : path) {
        if (c == '\\') {
            if (!cur.empty()) parts.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) parts.push_back(cur);
    return parts;
}

bool isPredefined(HKey k) { return k >= 0x80000000u && k <= 0x80000006u; }

std::string stripRoot(const std::string& path) {
    for (const char* prefix : {"HKEY_LOCAL_MACHINE\\", "HKLM\\"}) {
        std::size_t n = std::strlen(prefix);
        if (path.size() >= n && upper(path.substr(0, n)) == prefix) return path.substr(n);
    }
    return path;
}

}  // namespace

MemoryRegistry::MemoryRegistry() { clear(); }

void MemoryRegistry::clear() {
    roots_.clear();
    handles_.clear();
    auto root = std::make_shared<Key>();
    root->name = "HKEY_LOCAL_MACHINE";
    roots_[kHKeyLocalMachine] = root;
}

long MemoryRegistry::resolve(HKey key, std::shared_ptr<Key>& out) const {
    if (isPredefined(key)) {
        auto it = roots_.find(key);
        if (it == roots_.end()) return kErrorInvalidHandle;
        out = it->second;
        return kErrorSuccess;
    }
    auto it = handles_.find(key);
    if (it == handles_.end()) return kErrorInvalidHandle;
    if (it->second->deleted) return kErrorKeyDeleted;
    out = it->second;
    return kErrorSuccess;
}

std::shared_ptr<MemoryRegistry::Key> MemoryRegistry::walk(std::shared_ptr<Key> from,
                                                          const std::string& path, bool create,
                                                          bool* created) const {
    if (created) *created = false;
    for (const auto& part : split(path)) {
        auto it = from->children.find(upper(part));
        if (it != from->children.end()) {
            from = it->second;
            continue;
        }
        if (!create) return nullptr;
        auto k = std::make_shared<Key>();
        k->name = part;
        k->parent = from.get();
        from->children[upper(part)] = k;
        from = k;
        if (created) *created = true;
    }
    return from;
}

long MemoryRegistry::createKeyEx(HKey key, const std::string& subKey, std::uint32_t,
                                 std::uint32_t, HKey& result, std::uint32_t& disposition) {
    std::shared_ptr<Key> base;
    if (long e = resolve(key, base)) return e;
    bool created = false;
    auto k = walk(base, subKey, true, &created);
    result = next_++;
    handles_[result] = k;
    disposition = created ? 1 : 2;  // REG_CREATED_NEW_KEY / REG_OPENED_EXISTING_KEY
    return kErrorSuccess;
}

long MemoryRegistry::openKeyEx(HKey key, const std::string& subKey, std::uint32_t,
                               std::uint32_t, HKey& result) {
    std::shared_ptr<Key> base;
    if (long e = resolve(key, base)) return e;
    auto k = walk(base, subKey, false, nullptr);
    if (!k) return kErrorFileNotFound;
    result = next_++;
    handles_[result] = k;
    return kErrorSuccess;
}

long MemoryRegistry::setValueEx(HKey key, const std::string& name, std::uint32_t type,
                                const std::uint8_t* data, std::uint32_t size) {
    std::shared_ptr<Key> k;
    if (long e = resolve(key, k)) return e;
    if (!data && size > 0) return kErrorInvalidParameter;
    std::uint32_t n = size;
    // NT counts in a terminator the caller left out but has in its buffer.
    if (type == kRegSz && size > 0 && data[size - 1] != 0 && data[size] == 0) ++n;
    Value v{name, type, std::vector<std::uint8_t>(data, data + n)};
    k->values[upper(name)] = std::move(v);
    return kErrorSuccess;
}

long MemoryRegistry::queryValueEx(HKey key, const std::string& name, std::uint32_t* type,
                                  std::uint8_t* data, std::uint32_t* size) {
    std::shared_ptr<Key> k;
    if (long e = resolve(key, k)) return e;
    auto it = k->values.find(upper(name));
    if (it == k->values.end()) return kErrorFileNotFound;
    const Value& v = it->second;
    if (data && !size) return kErrorInvalidParameter;
    if (type) *type = v.type;
    auto needed = static_cast<std::uint32_t>(v.bytes.size());
    if (data) {
        if (*size < needed) {
            *size = needed;
            return kErrorMoreData;
        }
        std::copy(v.bytes.begin(), v.bytes.end(), data);
    }
    if (size) *size = needed;
    return kErrorSuccess;
}

long MemoryRegistry::enumKey(HKey key, std::uint32_t index, char* name, std::uint32_t nameSize) {
    std::shared_ptr<Key> k;
    if (long e = resolve(key, k)) return e;
    if (index >= k->children.size()) return kErrorNoMoreItems;
    auto it = k->children.begin();
    std::advance(it, index);
    const std::string& n = it->second->name;
    if (!name || nameSize < n.size() + 1) return kErrorMoreData;
    std::memcpy(name, n.c_str(), n.size() + 1);
    return kErrorSuccess;
}

long MemoryRegistry::deleteKey(HKey key, const std::string& subKey) {
    std::shared_ptr<Key> base;
    if (long e = resolve(key, base)) return e;
    auto k = walk(base, subKey, false, nullptr);
    if (!k) return kErrorFileNotFound;
    if (!k->parent) return kErrorAccessDenied;  // a root
    if (!k->children.empty()) return kErrorAccessDenied;
    // Open handles keep the node alive, marked deleted, as on Windows.
    k->deleted = true;
    k->parent->children.erase(upper(k->name));
    k->parent = nullptr;
    return kErrorSuccess;
}

long MemoryRegistry::closeKey(HKey key) {
    if (isPredefined(key)) return kErrorSuccess;
    return handles_.erase(key) ? kErrorSuccess : kErrorInvalidHandle;
}

std::shared_ptr<MemoryRegistry::Key> MemoryRegistry::findPath(const std::string& path) const {
    return walk(roots_.at(kHKeyLocalMachine), stripRoot(path), false, nullptr);
}

const MemoryRegistry::Value* MemoryRegistry::findValue(const std::string& path,
                                                       const std::string& name) const {
    auto k = findPath(path);
    if (!k) return nullptr;
    auto it = k->values.find(upper(name));
    return it == k->values.end() ? nullptr : &it->second;
}

bool MemoryRegistry::exists(const std::string& path) const { return findPath(path) != nullptr; }

std::optional<std::string> MemoryRegistry::value(const std::string& path,
                                                 const std::string& name) const {
    const Value* v = findValue(path, name);
    if (!v) return std::nullopt;
    std::string s(v->bytes.begin(), v->bytes.end());
    if (!s.empty() && s.back() == '\0') s.pop_back();
    return s;
}

std::optional<std::uint32_t> MemoryRegistry::valueType(const std::string& path,
                                                       const std::string& name) const {
    const Value* v = findValue(path, name);
    return v ? std::optional<std::uint32_t>(v->type) : std::nullopt;
}

void MemoryRegistry::put(const std::string& path, const std::string& name,
                         const std::string& text) {
    auto k = walk(roots_.at(kHKeyLocalMachine), stripRoot(path), true, nullptr);
    Value v{name, kRegSz, std::vector<std::uint8_t>(text.begin(), text.end())};
    v.bytes.push_back(0);
    k->values[upper(name)] = std::move(v);
}

}  // namespace platform::headless
