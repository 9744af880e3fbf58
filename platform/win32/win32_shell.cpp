#include "platform/win32/win32_shell.h"

#include <windows.h>
#include <shellapi.h>

#include "kit/win32/system_dlls.h"
#include "platform/win32/win32_system.h"
#include <shlobj.h>

#include <cstring>

namespace platform::win32 {
namespace {
// Empty texts go in as null, the shell's "default".
const char* OrNull(const std::string& s) { return s.empty() ? nullptr : s.c_str(); }

// The start folder with its NUL, for the callback, which cannot take it as an argument.
std::string gBrowseStartFolder;

// Selects the start folder when the dialog opens, and sends each selected folder's path as
// the status text (shown only when the flags ask for a status line).
int CALLBACK BrowseCallbackProc(HWND hwnd, UINT msg, LPARAM lParam, LPARAM /*lpData*/) {
    if (msg == BFFM_INITIALIZED) {
        SendMessageA(hwnd, BFFM_SETSELECTIONA, TRUE,
                     reinterpret_cast<LPARAM>(gBrowseStartFolder.c_str()));
    } else if (msg == BFFM_SELCHANGED) {
        char path[MAX_PATH] = {};
        if (SHGetPathFromIDListA(reinterpret_cast<LPCITEMIDLIST>(lParam), path) == TRUE)
            SendMessageA(hwnd, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(path));
    }
    return 0;
}
}  // namespace

std::intptr_t Win32Shell::execute(kit::Handle owner, const std::string& verb,
                                  const std::string& file, const std::string& parameters,
                                  const std::string& directory, int show) {
    HINSTANCE r = ShellExecuteA(reinterpret_cast<HWND>(owner), OrNull(verb), file.c_str(),
                                OrNull(parameters), OrNull(directory), show);
    return reinterpret_cast<std::intptr_t>(r);
}

std::string Win32Shell::browseForFolder(kit::Handle owner, const std::string& title,
                                        unsigned flags, const std::string& startFolder) {
    gBrowseStartFolder = startFolder;
    gBrowseStartFolder += '\0';
    BROWSEINFOA info{};
    info.hwndOwner = reinterpret_cast<HWND>(owner);
    info.pidlRoot = nullptr;        // the desktop
    info.pszDisplayName = nullptr;  // no display name wanted
    info.lpszTitle = title.c_str();
    info.ulFlags = flags;
    info.lpfn = BrowseCallbackProc;
    info.lParam = 0;
    info.iImage = 0;
    // The dialog is a COM object of this thread; without COM nothing is chosen.
    const kit::win32::OleApi* ole = kit::win32::Ole();
    if (!ole) return {};
    LPITEMIDLIST chosen = SHBrowseForFolderA(&info);
    if (!chosen) return {};
    char path[MAX_PATH] = {};
    std::string result;
    if (SHGetPathFromIDListA(chosen, path)) result = std::string(path, strnlen(path, MAX_PATH));
    ole->CoTaskMemFree(chosen);
    return result;
}

int Win32Shell::fileOperation(ShFileOpStruct& op) {
    SHFILEOPSTRUCTA s{};
    s.hwnd = reinterpret_cast<HWND>(op.hwnd);
    s.wFunc = op.wFunc;
    s.pFrom = op.pFrom.empty() ? nullptr : op.pFrom.c_str();
    s.pTo = op.pTo.empty() ? nullptr : op.pTo.c_str();
    s.fFlags = op.fFlags;
    s.fAnyOperationsAborted = FALSE;
    s.hNameMappings = nullptr;
    s.lpszProgressTitle = op.lpszProgressTitle.empty() ? nullptr : op.lpszProgressTitle.c_str();
    const int r = SHFileOperationA(&s);
    op.fAnyOperationsAborted = s.fAnyOperationsAborted != FALSE;
    return r;
}

std::intptr_t RecordingEffectsShell::execute(kit::Handle, const std::string& verb,
                                             const std::string& file, const std::string&,
                                             const std::string&, int) {
    RecordEffect("ShellExecute " + (verb.empty() ? std::string("(default)") : verb) + " " + file);
    // Web addresses are not looked up.
    if (file.find("://") == std::string::npos &&
        GetFileAttributesA(file.c_str()) == INVALID_FILE_ATTRIBUTES)
        return SE_ERR_FNF;
    return 42;  // what a successful start returns (above 32)
}

}  // namespace platform::win32
