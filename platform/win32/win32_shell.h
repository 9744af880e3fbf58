// Opening documents through ShellExecuteA.
#pragma once
#include "platform/shell.h"

namespace platform::win32 {

class Win32Shell : public Shell {
public:
    std::intptr_t execute(kit::Handle owner, const std::string& verb, const std::string& file,
                          const std::string& parameters, const std::string& directory,
                          int show) override;
};

}  // namespace platform::win32
