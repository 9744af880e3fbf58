// Files and folders through the Windows ANSI calls.
#pragma once
#include "platform/files.h"

namespace platform::win32 {

class Win32Files : public Files {
public:
    bool folderExists(const std::string& path) override;
    bool pathExists(const std::string& path) override;
    FileHandle createNew(const std::string& path, bool* alreadyExists = nullptr) override;
    bool write(FileHandle file, const std::uint8_t* data, std::size_t size) override;
    bool close(FileHandle file) override;
    bool remove(const std::string& path) override;
    std::optional<std::vector<std::uint8_t>> read(const std::string& path) override;
    std::optional<std::vector<FileEntry>> listFiles(const std::string& folder) override;
};

}  // namespace platform::win32
