// Opening documents through ShellExecuteA; the folder dialog of the shell.
#pragma once
#include "platform/shell.h"

namespace platform::win32 {

class Win32Shell : public Shell {
public:
    std::intptr_t execute(kit::Handle owner, const std::string& verb, const std::string& file,
                          const std::string& parameters, const std::string& directory,
                          int show) override;
    std::string browseForFolder(kit::Handle owner, const std::string& title, unsigned flags,
                                const std::string& startFolder) override;
};

}  // namespace platform::win32
