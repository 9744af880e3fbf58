// Files and folders through the ANSI calls, with a Windows backend and an in-memory one.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

using FileHandle = std::uintptr_t;

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
};

}  // namespace platform
