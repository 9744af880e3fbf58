#include "platform/win32/win32_files.h"

#include <windows.h>

namespace platform::win32 {

bool Win32Files::folderExists(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32Files::pathExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

FileHandle Win32Files::createNew(const std::string& path, bool* alreadyExists) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (alreadyExists) {
        const DWORD e = GetLastError();
        *alreadyExists = h == INVALID_HANDLE_VALUE &&
                         (e == ERROR_FILE_EXISTS || e == ERROR_ALREADY_EXISTS ||
                          (e == ERROR_ACCESS_DENIED && pathExists(path)));
    }
    return h == INVALID_HANDLE_VALUE ? 0 : reinterpret_cast<FileHandle>(h);
}

bool Win32Files::write(FileHandle file, const std::uint8_t* data, std::size_t size) {
    HANDLE h = reinterpret_cast<HANDLE>(file);
    while (size > 0) {
        const DWORD chunk = size > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(h, data, chunk, &written, nullptr) || written == 0) return false;
        data += written;
        size -= written;
    }
    return true;
}

bool Win32Files::close(FileHandle file) { return CloseHandle(reinterpret_cast<HANDLE>(file)) != 0; }

bool Win32Files::remove(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

std::optional<std::vector<std::uint8_t>> Win32Files::read(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return std::nullopt;
    std::vector<std::uint8_t> out;
    char buf[65536];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(h, buf, sizeof buf, &got, nullptr) != 0) && got > 0)
        out.insert(out.end(), buf, buf + got);
    CloseHandle(h);
    if (!ok) return std::nullopt;
    return out;
}

std::optional<std::vector<FileEntry>> Win32Files::listFiles(const std::string& folder) {
    std::string pattern = folder;
    if (pattern.empty() || (pattern.back() != '\\' && pattern.back() != '/')) pattern += '\\';
    pattern += '*';
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA(pattern.c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) {
        // An empty folder still lists, as nothing; a missing one does not list at all.
        if (GetLastError() == ERROR_FILE_NOT_FOUND && folderExists(folder))
            return std::vector<FileEntry>{};
        return std::nullopt;
    }
    std::vector<FileEntry> out;
    constexpr DWORD kNotNormal =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    do {
        if (found.dwFileAttributes & kNotNormal) continue;
        FileEntry e;
        e.name = found.cFileName;
        e.size = (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        e.modified = (static_cast<std::uint64_t>(found.ftLastWriteTime.dwHighDateTime) << 32) |
                     found.ftLastWriteTime.dwLowDateTime;
        out.push_back(std::move(e));
    } while (FindNextFileA(h, &found));
    FindClose(h);
    return out;
}

}  // namespace platform::win32
