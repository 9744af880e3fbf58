/* The floor of an idle tray program: one hidden window, two 1-second timers that do nothing,
   a GetMessage loop. Given a file name, it writes that file at its first tick, so that a
   script can time its start-up. */
#include <windows.h>
#include <stdio.h>

static const char* firstTickFile;

static LRESULT CALLBACK FloorProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_TIMER) {
        if (firstTickFile) {
            FILE* f = fopen(firstTickFile, "w");
            if (f) {
                fputs("tick\n", f);
                fclose(f);
            }
            firstTickFile = NULL;
        }
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

int main(int argc, char** argv) {
    WNDCLASSA wc = {0};
    HWND hwnd;
    MSG msg;
    if (argc > 1) firstTickFile = argv[1];
    wc.lpfnWndProc = FloorProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "IdleFloor";
    if (!RegisterClassA(&wc)) return 1;
    hwnd = CreateWindowA("IdleFloor", "IdleFloor", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, NULL, NULL,
                         wc.hInstance, NULL);
    if (!hwnd) return 1;
    SetTimer(hwnd, 1, 1000, NULL);
    SetTimer(hwnd, 2, 1000, NULL);
    while (GetMessageA(&msg, NULL, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}
