// What a windowing backend provides to the toolkit. Two implementations: Win32 and headless.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "kit/datetime.h"
#include "kit/peer.h"

namespace kit {

struct MenuEntry {
    std::string caption;  // "-" is a separator
    bool enabled = true;
    bool checked = false;
    bool visible = true;
};

// Message box flags and answers.
enum : int {
    kMbOk = 0,
    kMbYesNo = 4,
    kMbIconError = 16,
    kMbIconExclamation = 48,
};
enum : int { kIdOk = 1, kIdCancel = 2, kIdYes = 6, kIdNo = 7 };

// The longest sleep of Backend::waitEvents when nothing happens: short enough for a loop's own
// deadline (events wake it at once), long enough that an idle wait costs little under Wine,
// where each wake-up is a round trip to the window server.
constexpr unsigned kEventWaitMs = 50;

class Backend {
public:
    virtual ~Backend() = default;

    // Local date and time now, and a millisecond counter.
    virtual DateTime now() = 0;
    virtual std::uint64_t tickMs() = 0;

    // Timers tick on the user-interface thread. Disabled or zero interval: no ticks.
    // Changing the interval or enabling again restarts the count.
    virtual Handle createTimer(std::function<void()> tick) = 0;
    virtual void setTimer(Handle timer, unsigned intervalMs, bool enabled) = 0;
    virtual void destroyTimer(Handle timer) = 0;

    // Opens a popup menu at the mouse position and returns the index of the chosen entry,
    // or -1 when the menu was dismissed.
    virtual int popupMenu(Handle owner, const std::vector<MenuEntry>& entries) = 0;

    // Modal message box; returns kIdOk, kIdYes, kIdNo, ...
    virtual int msgBox(Handle owner, const std::string& text, const std::string& caption,
                       int flags) = 0;

    // Processes the pending events, then returns.
    virtual void doEvents() = 0;
    // For loops that wait inside a handler: processes the pending events; when there are none,
    // sleeps until the next one arrives, kEventWaitMs at most, and processes what came. So a
    // loop that checks its own condition between calls neither spins nor lags.
    virtual void waitEvents() = 0;
    // Local time of day in seconds since midnight, with its fraction.
    virtual double secondsSinceMidnight() = 0;

    // The window that has the keyboard focus now; 0 when none has it.
    virtual Handle focusedWindow() = 0;

    // The program's folder, without a trailing backslash.
    virtual std::string appPath() = 0;
    // The application's default title (used by message boxes that give none).
    virtual std::string appTitle() = 0;
    // Another instance of the program is running.
    virtual bool prevInstance() = 0;
    virtual int screenWidthTwips() = 0;
    virtual int screenHeightTwips() = 0;
    // Twips per screen pixel (15 at 96 dots per inch).
    virtual int twipsPerPixelX() = 0;
    virtual int twipsPerPixelY() = 0;
    // A system colour by its index (5 window, 8 window text, 15 button face, ...).
    virtual Color systemColor(int index) = 0;

    // Ends the process at once, running no further handlers.
    [[noreturn]] virtual void endProcess(int exitCode) = 0;
};

Backend& backend();
void setBackend(Backend* b);

}  // namespace kit
