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
    int fileOperation(ShFileOpStruct& op) override;
};

// For smoke runs: what would be opened is written to effects.log ("ShellExecute VERB FILE"),
// and nothing opens; a file that is not there gets the shell's answer for it, so the program
// reacts as it would. The folder dialog is the real one.
class RecordingEffectsShell : public Win32Shell {
public:
    std::intptr_t execute(kit::Handle owner, const std::string& verb, const std::string& file,
                          const std::string& parameters, const std::string& directory,
                          int show) override;
};

}  // namespace platform::win32
