// The file-open dialog through GetOpenFileNameA.
#include <vector>

#include "kit/commondialog.h"
#include "kit/win32/system_dlls.h"

namespace kit {

std::optional<std::string> ShowOpenFileDialog(const OpenFileRequest& request) {
    // "Description|patterns|..." becomes the dialog's NUL-separated list with two NULs at the end.
    std::vector<char> filter(request.filter.begin(), request.filter.end());
    for (char& c : filter)
        if (c == '|') c = '\0';
    filter.push_back('\0');
    filter.push_back('\0');
    char file[MAX_PATH] = {};
    request.fileName.copy(file, sizeof file - 1);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = reinterpret_cast<HWND>(request.owner);
    ofn.lpstrFilter = filter.data();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.Flags = request.flags;
    // Without the dialog's DLL nothing can be chosen: the same as a cancel.
    const win32::CommonDialogApi* dialogs = win32::CommonDialogs();
    if (!dialogs || !dialogs->GetOpenFileNameA(&ofn)) return std::nullopt;
    return std::string(file);
}

}  // namespace kit
