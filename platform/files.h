// Files and folders through the ANSI calls, with a Windows backend and an in-memory one.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

using FileHandle = std::uintptr_t;

// A file of a folder's listing: its name, size in bytes and last write time (in the
// platform's own units: only compared for equality).
struct FileEntry {
    std::string name;
    std::uint64_t size = 0;
    std::uint64_t modified = 0;
    bool operator==(const FileEntry&) const = default;
};

class Files {
public:
    virtual ~Files() = default;
    virtual bool folderExists(const std::string& path) = 0;
    // Anything at the path: a file with any attributes, or a folder.
    virtual bool pathExists(const std::string& path) = 0;
    // Creates a new file for writing; fails (0) when anything exists at the path or the
    // folder is missing. alreadyExists tells the first case from the others.
    virtual FileHandle createNew(const std::string& path, bool* alreadyExists = nullptr) = 0;
    virtual bool write(FileHandle file, const std::uint8_t* data, std::size_t size) = 0;
    virtual bool close(FileHandle file) = 0;
    virtual bool remove(const std::string& path) = 0;
    virtual std::optional<std::vector<std::uint8_t>> read(const std::string& path) = 0;
    // The normal files of a folder (no folders, no hidden or system files), in no particular
    // order; nothing when the folder cannot be read.
    virtual std::optional<std::vector<FileEntry>> listFiles(const std::string& folder) = 0;
};

}  // namespace platform
