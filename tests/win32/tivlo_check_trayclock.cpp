// The taskbar clock hidden by the program comes back however the process ends: through End,
// after an error no handler caught, and in a crash. Wine has no taskbar clock, so this check
// makes the three windows the program looks for, and each end runs in a child process.
#include <windows.h>

#include <string>

#include "app/win32_app.h"
#include "kit/controls.h"
#include "kit/runtime.h"
#include "shell/system.h"
#include "tests/win32/check.h"

namespace {

platform::win32::Win32System g_system;

kit::win32::Win32Backend& Bind() {
    static kit::win32::Win32Backend& backend = app::BindWin32(g_system);
    return backend;
}

// Shell_TrayWnd > TrayNotifyWnd > TrayClockWClass, the clock visible.
struct FakeTaskbar {
    HWND tray = nullptr, notify = nullptr, clock = nullptr;
    FakeTaskbar() {
        for (const char* name : {"Shell_TrayWnd", "TrayNotifyWnd", "TrayClockWClass"}) {
            WNDCLASSA wc{};
            wc.lpfnWndProc = DefWindowProcA;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = name;
            RegisterClassA(&wc);
        }
        tray = CreateWindowExA(WS_EX_TOOLWINDOW, "Shell_TrayWnd", "", WS_POPUP, 0, 0, 10, 10,
                               nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        notify = CreateWindowExA(0, "TrayNotifyWnd", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, tray,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
        clock = CreateWindowExA(0, "TrayClockWClass", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10,
                                notify, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~FakeTaskbar() { DestroyWindow(tray); }
    // The clock's own visibility (its hidden parent aside).
    bool clockShown() const { return (GetWindowLongPtrA(clock, GWL_STYLE) & WS_VISIBLE) != 0; }
    bool foundFirst() const { return FindWindowA("Shell_TrayWnd", nullptr) == tray; }
};

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

struct BoxSearch {
    DWORD pid;
    HWND box;
};

BOOL CALLBACK FindBox(HWND hwnd, LPARAM lParam) {
    auto* s = reinterpret_cast<BoxSearch*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    char cls[16] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (pid == s->pid && std::string(cls) == "#32770" && IsWindowVisible(hwnd)) {
        s->box = hwnd;
        return FALSE;
    }
    return TRUE;
}

struct ChildRun {
    DWORD exitCode = 0xFFFFFFFF;
    bool finished = false;
    bool boxSeen = false;
    bool clockShownWhileBoxUp = false;
    std::string boxCaption;
};

// Starts this exe as "--child mode", keeps our windows answering while it runs, and answers
// a message box of its with OK.
ChildRun RunChild(const char* mode, const FakeTaskbar& taskbar) {
    ChildRun run;
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string cmd = std::string("\"") + exe + "\" --child " + mode;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return run;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 30000) {
        DWORD r = MsgWaitForMultipleObjects(1, &pi.hProcess, FALSE, 50, QS_ALLINPUT);
        if (r == WAIT_OBJECT_0) {
            run.finished = true;
            break;
        }
        Pump();
        BoxSearch s{pi.dwProcessId, nullptr};
        EnumWindows(FindBox, reinterpret_cast<LPARAM>(&s));
        if (s.box && !run.boxSeen) {
            run.boxSeen = true;
            run.clockShownWhileBoxUp = taskbar.clockShown();
            char caption[128] = {};
            GetWindowTextA(s.box, caption, sizeof caption);
            run.boxCaption = caption;
            PostMessageA(s.box, WM_COMMAND, IDOK, 0);
        }
    }
    if (!run.finished) TerminateProcess(pi.hProcess, 99);
    WaitForSingleObject(pi.hProcess, 5000);
    GetExitCodeProcess(pi.hProcess, &run.exitCode);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    Pump();
    return run;
}

// A child that hides the clock and then ends as mode says; whatever the end, it has ended
// and the clock is back.
ChildRun EndChild(const char* mode, const FakeTaskbar& taskbar) {
    CHECK(taskbar.foundFirst());
    ChildRun run = RunChild(mode, taskbar);
    CHECK(run.finished);
    CHECK(taskbar.clockShown());
    return run;
}

// Hides the clock as start-up does, for the children.
void HideAsStartUpDoes() {
    Bind();
    eSystem::HideTrayClock();
}

}  // namespace

CHECK_CHILD(end_after_hiding) {
    HideAsStartUpDoes();
    kit::End(0);
}

CHECK_CHILD(unhandled_error_after_hiding) {
    HideAsStartUpDoes();
    kit::win32::Win32Backend& backend = Bind();
    const kit::Handle timer = backend.createTimer([] { throw kit::RuntimeError(9, "Subscript out of range"); });
    backend.setTimer(timer, 10, true);
    backend.run();
}

CHECK_CHILD(crash_after_hiding) {
    HideAsStartUpDoes();
    *static_cast<volatile int*>(nullptr) = 1;
    return 0;
}

CHECK_CASE(hiding_and_showing_find_the_clock_three_windows_down) {
    FakeTaskbar taskbar;
    CHECK(taskbar.foundFirst());
    Bind();
    eSystem::HideTrayClock();
    CHECK(!taskbar.clockShown());
    eSystem::ShowTrayClock();
    CHECK(taskbar.clockShown());
    kit::RunProcessEndActions();  // showing it cancelled the end action: nothing left to do
    CHECK(taskbar.clockShown());
}

CHECK_CASE(the_clock_comes_back_when_the_process_ends) {
    FakeTaskbar taskbar;
    ChildRun run = EndChild("end_after_hiding", taskbar);
    CHECK_EQ(run.exitCode, static_cast<DWORD>(0));
    CHECK(!run.boxSeen);
}

CHECK_CASE(the_clock_comes_back_before_the_box_of_an_unhandled_error) {
    FakeTaskbar taskbar;
    ChildRun run = EndChild("unhandled_error_after_hiding", taskbar);
    CHECK(run.boxSeen);
    CHECK(run.clockShownWhileBoxUp);
    CHECK_EQ(run.boxCaption, std::string("tivlo_check_trayclock"));
    CHECK_EQ(run.exitCode, static_cast<DWORD>(1));
}

CHECK_CASE(the_clock_comes_back_after_a_crash) {
    FakeTaskbar taskbar;
    ChildRun run = EndChild("crash_after_hiding", taskbar);
    CHECK(run.exitCode != 0);
}
