// The help file beside the program, opened by every Help command.
#pragma once
#include <cstdint>
#include <string>

#include "kit/backend.h"

namespace shell {

// The program's folder followed by the help file's name.
std::string HelpFilePath();
// Opens the help through the shell's "open" verb in a normal window; returns the shell's
// answer (32 or less when it failed, for instance when the file is missing).
std::intptr_t OpenHelp(kit::Handle owner);

}  // namespace shell
