// The toolkit's backend on real Win32 (ANSI calls).
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "kit/backend.h"

namespace kit::win32 {

// The folder of the running exe, without a trailing backslash except for a root ("C:\").
std::string ModuleFolder();
// The exe's file name without folder and extension.
std::string ModuleBaseName();
// Runs f; an error escaping it is reported in a message box and ends the process, as an
// unhandled run-time error does. Every event handler call goes through this.
void RunGuarded(const std::function<void()>& f);

class Win32Backend : public Backend {
public:
    Win32Backend();
    ~Win32Backend() override;

    DateTime now() override;
    std::uint64_t tickMs() override;

    Handle createTimer(std::function<void()> tick) override;
    void setTimer(Handle timer, unsigned intervalMs, bool enabled) override;
    void destroyTimer(Handle timer) override;

    int popupMenu(Handle owner, const std::vector<MenuEntry>& entries) override;
    int msgBox(Handle owner, const std::string& text, const std::string& caption,
               int flags) override;
    void doEvents() override;
    void waitEvents() override;
    double secondsSinceMidnight() override;

    std::string appPath() override;
    std::string appTitle() override;
    bool prevInstance() override;
    Handle focusedWindow() override { return reinterpret_cast<Handle>(GetFocus()); }
    int screenWidthTwips() override;
    int screenHeightTwips() override;
    int twipsPerPixelX() override;
    int twipsPerPixelY() override;
    Color systemColor(int index) override;
    [[noreturn]] void endProcess(int exitCode) override;

    // The message loop of the program; ends the process on WM_QUIT.
    [[noreturn]] void run();

    // The named mutex that marks a running instance of this exe.
    static std::string instanceMutexName(const std::string& title);

    // While on, DoEvents looks at the queue at most once per short gap unless our own code
    // posted to this thread meanwhile (NotePosted). On while network reads are in flight.
    static void QuietGaps(bool on);
    static void NotePosted();

private:
    static LRESULT CALLBACK helperProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void onTimer(UINT_PTR id);
    void pump();
    int twipsOf(int pixels, int caps);
    int dpiX_ = 0, dpiY_ = 0;  // logical pixels per inch, read once

    HWND helper_ = nullptr;  // hidden window that owns the timers
    UINT_PTR nextTimerId_ = 1;
    // Shared so a timer destroyed inside its own tick stays alive until the tick returns.
    std::map<UINT_PTR, std::shared_ptr<std::function<void()>>> timers_;
    HANDLE instanceMutex_ = nullptr;
    bool prevInstanceChecked_ = false;
    bool prevInstance_ = false;
    DWORD lastTick_ = 0;
    std::uint64_t postsSeen_ = 0;
    LONGLONG quietUntil_ = 0;  // performance counter: DoEvents does not look before then
    std::uint64_t tickHigh_ = 0;
};

}  // namespace kit::win32
