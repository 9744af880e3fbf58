// The help window as the user meets it, for the Wine smoke cases. Run it in the program's
// desktop (explorer /desktop=NAME ...), where the help window opens:
//   tivlo_help_window open FILE OUT        opens FILE through the product's shell service, as
//                                          its Help commands do, and writes the shell's answer
//                                          to OUT
//   tivlo_help_window contents TITLE OUT   writes the entries of the contents list of the
//                                          visible window titled TITLE to OUT, one a line;
//                                          ends with 1, writing nothing, while there is none
//   tivlo_help_window texts TITLE OUT      writes the texts of that window's controls (a
//                                          message box's message), one a line
// The contents list belongs to the help viewer's process: its entries are read through memory
// lent in that process, as a tree view answers only with pointers valid there.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/win32/win32_shell.h"

namespace {

void Report(const char* file, const std::string& text) {
    if (FILE* f = std::fopen(file, "w")) {
        std::fputs(text.c_str(), f);
        std::fclose(f);
    }
}

BOOL CALLBACK AddText(HWND child, LPARAM texts) {
    char text[512] = {};
    // WM_GETTEXT, not GetWindowText: a control of another process answers only the message.
    SendMessageA(child, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    if (text[0]) *reinterpret_cast<std::string*>(texts) += std::string(text) + "\n";
    return TRUE;
}

BOOL CALLBACK FindTree(HWND child, LPARAM found) {
    char cls[64] = {};
    GetClassNameA(child, cls, sizeof cls);
    if (std::strcmp(cls, WC_TREEVIEWA) != 0 || !IsWindowVisible(child)) return TRUE;
    *reinterpret_cast<HWND*>(found) = child;
    return FALSE;
}

// The entries in their order, each indented by two blanks per level; "" when unreadable.
std::string Entries(HWND tree) {
    DWORD pid = 0;
    GetWindowThreadProcessId(tree, &pid);
    HANDLE process =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) return {};
    constexpr int kTextMax = 260;
    char* lent = static_cast<char*>(
        VirtualAllocEx(process, nullptr, sizeof(TVITEMA) + kTextMax, MEM_COMMIT, PAGE_READWRITE));
    std::string list;
    const auto next = [tree](UINT how, HTREEITEM from) {
        return reinterpret_cast<HTREEITEM>(
            SendMessageA(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(from)));
    };
    // Depth first: child, else next sibling, else the next sibling of the nearest parent.
    int depth = 0;
    for (HTREEITEM item = next(TVGN_ROOT, nullptr); lent && item;) {
        TVITEMA tv{};
        tv.mask = TVIF_TEXT | TVIF_HANDLE;
        tv.hItem = item;
        tv.pszText = lent + sizeof(TVITEMA);
        tv.cchTextMax = kTextMax;
        char text[kTextMax + 1] = {};
        if (!WriteProcessMemory(process, lent, &tv, sizeof tv, nullptr) ||
            !SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(lent)) ||
            !ReadProcessMemory(process, tv.pszText, text, kTextMax, nullptr)) {
            list.clear();
            break;
        }
        list += std::string(2 * depth, ' ') + text + "\n";
        if (HTREEITEM child = next(TVGN_CHILD, item)) {
            item = child;
            ++depth;
            continue;
        }
        while (item && !next(TVGN_NEXT, item)) {
            item = next(TVGN_PARENT, item);
            --depth;
        }
        if (item) item = next(TVGN_NEXT, item);
    }
    if (lent) VirtualFreeEx(process, lent, 0, MEM_RELEASE);
    CloseHandle(process);
    return list;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "open") == 0) {
        platform::win32::Win32Shell shell;
        const auto answer = shell.execute(0, "open", argv[2], "", "", SW_SHOWNORMAL);
        Report(argv[3], std::to_string(answer) + "\n");
        return 0;
    }
    if (argc == 4 && std::strcmp(argv[1], "contents") == 0) {
        HWND window = FindWindowA(nullptr, argv[2]);
        HWND tree = nullptr;
        if (window && IsWindowVisible(window))
            EnumChildWindows(window, FindTree, reinterpret_cast<LPARAM>(&tree));
        const std::string list = tree ? Entries(tree) : std::string();
        if (list.empty()) return 1;
        Report(argv[3], list);
        return 0;
    }
    if (argc == 4 && std::strcmp(argv[1], "texts") == 0) {
        HWND window = FindWindowA(nullptr, argv[2]);
        std::string texts;
        if (window && IsWindowVisible(window))
            EnumChildWindows(window, AddText, reinterpret_cast<LPARAM>(&texts));
        if (texts.empty()) return 1;
        Report(argv[3], texts);
        return 0;
    }
    std::fprintf(stderr, "usage: tivlo_help_window open FILE OUT | contents|texts TITLE OUT\n");
    return 2;
}
