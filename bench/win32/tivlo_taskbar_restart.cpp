// Does to a running Tivlo what a restarted taskbar does, for the Wine smoke cases. Run it in
// the program's desktop (explorer /desktop=NAME ...), since windows and the notification area
// belong to a desktop:
//   tivlo_taskbar_restart forget FILE    removes the icons of Tivlo's windows from the
//                                        notification area, as a new shell that never heard of
//                                        them, and writes the number removed to FILE
//   tivlo_taskbar_restart announce FILE  broadcasts the registered message "TaskbarCreated",
//                                        then writes "done" to FILE
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>

namespace {

bool ClassIs(HWND hwnd, const char* name) {
    char cls[64] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    return std::strcmp(cls, name) == 0;
}

BOOL CALLBACK ForgetChild(HWND child, LPARAM removed) {
    if (!ClassIs(child, "TivloPicture")) return TRUE;
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof data;
    data.hWnd = child;
    data.uID = 1;
    if (Shell_NotifyIconA(NIM_DELETE, &data)) ++*reinterpret_cast<int*>(removed);
    return TRUE;
}

BOOL CALLBACK ForgetForm(HWND top, LPARAM removed) {
    if (ClassIs(top, "TivloForm")) EnumChildWindows(top, ForgetChild, removed);
    return TRUE;
}

}  // namespace

namespace {
void Report(const char* file, const char* text) {
    if (FILE* f = std::fopen(file, "w")) {
        std::fputs(text, f);
        std::fclose(f);
    }
}
}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "forget") == 0) {
        int removed = 0;
        EnumWindows(ForgetForm, reinterpret_cast<LPARAM>(&removed));
        char text[16];
        std::snprintf(text, sizeof text, "%d\n", removed);
        Report(argv[2], text);
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "announce") == 0) {
        const UINT message = RegisterWindowMessageA("TaskbarCreated");
        DWORD_PTR result = 0;
        SendMessageTimeoutA(HWND_BROADCAST, message, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
        Report(argv[2], "done\n");
        return 0;
    }
    std::fprintf(stderr, "usage: tivlo_taskbar_restart forget|announce FILE\n");
    return 2;
}
