// The desktop shell: opening documents and choosing a folder.
#pragma once
#include <cstdint>
#include <string>

#include "kit/backend.h"

namespace platform {

// SHFILEOPSTRUCT with its texts as byte strings: a list holds each path followed by a NUL, and
// an empty entry (one more NUL) ends it. Empty pTo or progress title: none.
struct ShFileOpStruct {
    kit::Handle hwnd = 0;
    unsigned wFunc = 0;
    std::string pFrom, pTo;
    std::uint16_t fFlags = 0;
    bool fAnyOperationsAborted = false;  // out
    std::string lpszProgressTitle;
};
constexpr unsigned kFoDelete = 3;
constexpr std::uint16_t kFofAllowUndo = 0x0040;

class Shell {
public:
    virtual ~Shell() = default;
    // ShellExecuteA; returns its result (> 32 on success).
    virtual std::intptr_t execute(kit::Handle owner, const std::string& verb,
                                  const std::string& file, const std::string& parameters,
                                  const std::string& directory, int show) = 0;
    // SHBrowseForFolderA with the title and flags, opened with startFolder selected (nothing is
    // selected when it does not exist). Returns the chosen folder's path, read into 260
    // characters, or "" when the dialog is cancelled or the choice has no file-system path.
    virtual std::string browseForFolder(kit::Handle owner, const std::string& title,
                                        unsigned flags, const std::string& startFolder) = 0;
    // SHFileOperationA: 0 when the shell carried the operation out or the user declined it
    // (fAnyOperationsAborted then set), an error code otherwise.
    virtual int fileOperation(ShFileOpStruct& op) = 0;
};

}  // namespace platform
