#include "platform/headless/memory_files.h"

#include <cctype>

namespace platform::headless {

std::string MemoryFiles::Key(const std::string& path) {
    std::string k;
    k.reserve(path.size());
    for (char c : path) {
        if (c == '/') c = '\\';
        if (c == '\\' && !k.empty() && k.back() == '\\') continue;
        k += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    while (k.size() > 3 && k.back() == '\\') k.pop_back();  // "C:\" keeps its backslash
    if (k.size() == 2 && k[1] == ':') k += '\\';
    return k;
}

std::string MemoryFiles::Parent(const std::string& key) {
    const std::size_t slash = key.rfind('\\');
    if (slash == std::string::npos) return {};
    std::string parent = key.substr(0, slash);
    if (parent.size() == 2 && parent[1] == ':') parent += '\\';
    return parent;
}

void MemoryFiles::clear() {
    entries_.clear();
    open_.clear();
    writesLeft_ = -1;
    beforeCreate = nullptr;
    beforeAccess = nullptr;
}

bool MemoryFiles::folderExists(const std::string& path) {
    const std::string k = Key(path);
    if (k.size() == 3 && k[1] == ':') return true;  // a drive's root
    auto it = entries_.find(k);
    return it != entries_.end() && it->second.folder;
}

bool MemoryFiles::pathExists(const std::string& path) {
    return folderExists(path) || entries_.count(Key(path)) != 0;
}

FileHandle MemoryFiles::createNew(const std::string& path, bool* alreadyExists) {
    if (beforeCreate) beforeCreate(path);
    if (alreadyExists) *alreadyExists = false;
    const std::string k = Key(path);
    if (pathExists(path)) {
        if (alreadyExists) *alreadyExists = true;
        return 0;
    }
    if (!folderExists(Parent(k))) return 0;
    entries_[k] = Entry{path, false, false, {}, ++clock_};
    const FileHandle h = next_++;
    open_[h] = k;
    return h;
}

bool MemoryFiles::write(FileHandle file, const std::uint8_t* data, std::size_t size) {
    auto it = open_.find(file);
    if (it == open_.end()) return false;
    if (writesLeft_ == 0) return false;
    if (writesLeft_ > 0) --writesLeft_;
    Entry& e = entries_[it->second];
    e.bytes.append(reinterpret_cast<const char*>(data), size);
    e.modified = ++clock_;
    return true;
}

bool MemoryFiles::close(FileHandle file) { return open_.erase(file) != 0; }

bool MemoryFiles::remove(const std::string& path) {
    auto it = entries_.find(Key(path));
    if (it == entries_.end() || it->second.folder) return false;
    for (auto& [h, k] : open_)
        if (k == it->first) return false;  // Windows refuses to delete an open file
    entries_.erase(it);
    return true;
}

std::optional<std::vector<std::uint8_t>> MemoryFiles::read(const std::string& path) {
    if (beforeAccess) beforeAccess(path);
    auto it = entries_.find(Key(path));
    if (it == entries_.end() || it->second.folder) return std::nullopt;
    return std::vector<std::uint8_t>(it->second.bytes.begin(), it->second.bytes.end());
}

void MemoryFiles::addFolder(const std::string& path) {
    const std::string k = Key(path);
    if (k.empty() || (k.size() == 3 && k[1] == ':')) return;
    addFolder(Parent(k));
    if (!entries_.count(k)) entries_[k] = Entry{path, true, false, {}};
}

void MemoryFiles::addFile(const std::string& path, const std::string& bytes, bool hidden) {
    const std::string k = Key(path);
    addFolder(Parent(k));
    entries_[k] = Entry{path, false, hidden, bytes, ++clock_};
}

std::map<std::string, std::string> MemoryFiles::files() const {
    std::map<std::string, std::string> out;
    for (auto& [k, e] : entries_)
        if (!e.folder) out[e.name] = e.bytes;
    return out;
}

void MemoryFiles::touch(const std::string& path) {
    auto it = entries_.find(Key(path));
    if (it != entries_.end()) it->second.modified = ++clock_;
}

std::optional<std::vector<FileEntry>> MemoryFiles::listFiles(const std::string& folder) {
    if (beforeAccess) beforeAccess(folder);
    if (!folderExists(folder)) return std::nullopt;
    std::string prefix = Key(folder);
    if (prefix.back() != '\\') prefix += '\\';
    std::vector<FileEntry> out;
    for (auto it = entries_.lower_bound(prefix);
         it != entries_.end() && it->first.compare(0, prefix.size(), prefix) == 0; ++it) {
        const Entry& e = it->second;
        if (e.folder || e.hidden || it->first.find('\\', prefix.size()) != std::string::npos)
            continue;
        const std::size_t slash = e.name.find_last_of("\\/");
        out.push_back(FileEntry{slash == std::string::npos ? e.name : e.name.substr(slash + 1),
                                e.bytes.size(), e.modified});
    }
    return out;
}

}  // namespace platform::headless
