// An in-memory file system with Windows semantics: backslash paths with drive letters, names
// compared ignoring case, hidden files, folders, and a write failure a test can inject.
#pragma once
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/files.h"

namespace platform::headless {

class MemoryFiles : public Files {
public:
    bool folderExists(const std::string& path) override;
    bool pathExists(const std::string& path) override;
    FileHandle createNew(const std::string& path, bool* alreadyExists = nullptr) override;
    bool write(FileHandle file, const std::uint8_t* data, std::size_t size) override;
    bool close(FileHandle file) override;
    bool remove(const std::string& path) override;
    std::optional<std::vector<std::uint8_t>> read(const std::string& path) override;
    std::optional<std::vector<FileEntry>> listFiles(const std::string& folder) override;

    // Test API.
    void addFolder(const std::string& path);  // with its parents
    void addFile(const std::string& path, const std::string& bytes, bool hidden = false);
    // A later write time, as a save over the file would give it.
    void touch(const std::string& path);
    // A test hook run at the start of every listing and read (files may vanish meanwhile).
    std::function<void(const std::string&)> beforeAccess;
    // Files (not folders) with their bytes, in the case they were created with.
    std::map<std::string, std::string> files() const;
    // The next writes fail after this many more succeed (-1: never).
    void failWritesAfter(int successes) { writesLeft_ = successes; }
    // Runs just before a createNew checks the path: lets a test take a name meanwhile.
    std::function<void(const std::string&)> beforeCreate;
    int openCount() const { return static_cast<int>(open_.size()); }
    void clear();

private:
    struct Entry {
        std::string name;  // as created
        bool folder = false;
        bool hidden = false;
        std::string bytes;
        std::uint64_t modified = 0;
    };
    static std::string Key(const std::string& path);
    static std::string Parent(const std::string& key);

    std::map<std::string, Entry> entries_;  // by upper-case path
    std::map<FileHandle, std::string> open_;
    FileHandle next_ = 0x10;
    int writesLeft_ = -1;
    std::uint64_t clock_ = 0;  // write times: each change gets the next
};

}  // namespace platform::headless
