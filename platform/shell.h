// The desktop shell: opening documents.
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
};

}  // namespace platform
