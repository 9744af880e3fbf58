// The desktop shell: opening documents and choosing a folder.
#pragma once
#include <cstdint>
#include <string>

#include "kit/backend.h"

namespace platform {

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
};

}  // namespace platform
