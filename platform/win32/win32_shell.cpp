#include "platform/win32/win32_shell.h"

#include <windows.h>
#include <shellapi.h>

namespace platform::win32 {
namespace {
// Empty texts go in as null, the shell's "default".
const char* OrNull(const std::string& s) { return s.empty() ? nullptr : s.c_str(); }
}  // namespace

std::intptr_t Win32Shell::execute(kit::Handle owner, const std::string& verb,
                                  const std::string& file, const std::string& parameters,
                                  const std::string& directory, int show) {
    HINSTANCE r = ShellExecuteA(reinterpret_cast<HWND>(owner), OrNull(verb), file.c_str(),
                                OrNull(parameters), OrNull(directory), show);
    return reinterpret_cast<std::intptr_t>(r);
}

}  // namespace platform::win32
