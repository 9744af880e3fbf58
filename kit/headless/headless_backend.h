// A backend without a screen for native tests: a virtual clock, windows that only remember
// their state, timers driven by advance(), scripted menus and message boxes, and drivers that
// press, click, type and move the focus as a user would.
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "kit/backend.h"
#include "kit/headless/raster_gdi.h"

namespace kit::headless {

class HeadlessWindow;

// Something outside the toolkit that delivers events at virtual times (a scripted socket, a
// scripted download): the backend runs them as it runs timers, in time order.
class EventSource {
public:
    virtual ~EventSource() = default;
    // The virtual tick of its next event; nullopt when it has none.
    virtual std::optional<std::uint64_t> nextDue() const = 0;
    // Runs its events due at or before tick.
    virtual void deliverDue(std::uint64_t tick) = 0;
    // Sources fed from outside the process (a real network client) also take in, without
    // blocking, what has arrived; at every round of event processing.
    virtual void poll() {}
    // And sleep in real time until something arrives, ms at most; false (without sleeping)
    // when nothing of theirs is in progress.
    virtual bool waitOutside(unsigned ms) { return false; }
};

class HeadlessBackend : public Backend {
public:
    struct MenuCall {
        Handle owner = 0;
        std::vector<MenuEntry> entries;
    };
    struct MsgBoxCall {
        Handle owner = 0;
        std::string text, caption;
        int flags = 0;
    };

    HeadlessBackend();

    // Backend.
    DateTime now() override;
    std::uint64_t tickMs() override { return tick_; }
    Handle createTimer(std::function<void()> tick) override;
    void setTimer(Handle timer, unsigned intervalMs, bool enabled) override;
    void destroyTimer(Handle timer) override;
    int popupMenu(Handle owner, const std::vector<MenuEntry>& entries) override;
    int msgBox(Handle owner, const std::string& text, const std::string& caption,
               int flags) override;
    void doEvents() override;
    // Runs what is pending; otherwise moves the virtual clock to the next timer or delivery,
    // kEventWaitMs at most, running what falls due. Silent waits cost no real time.
    void waitEvents() override;
    double secondsSinceMidnight() override;
    std::string appPath() override { return appPath_; }
    std::string appTitle() override { return appTitle_; }
    bool prevInstance() override { return prevInstance_; }
    Handle focusedWindow() override { return focus_; }
    int screenWidthTwips() override { return screenWidthTwips_; }
    int screenHeightTwips() override { return screenHeightTwips_; }
    int twipsPerPixelX() override { return 15; }
    int twipsPerPixelY() override { return 15; }
    Color systemColor(int index) override;
    [[noreturn]] void endProcess(int exitCode) override;

    // Clock. setNow sets the wall clock at the current tick; the tick counter never goes back.
    static DateTime defaultNow() { return DateTime{2026, 12, 7, 9, 41, 0}; }
    void setNow(const DateTime& d);
    // Moves virtual time forward, firing due timers and source deliveries in time order (ties:
    // timers by creation order, then sources), each at its own due time.
    void advance(std::uint64_t ms);
    // Sources are not owned; remove one before it goes away.
    void addEventSource(EventSource* source);
    void removeEventSource(EventSource* source);

    // Windows. Unknown handles throw std::invalid_argument.
    bool hasWindow(Handle h) const { return windows_.count(h) != 0; }
    HeadlessWindow& window(Handle h) const;
    bool isVisible(Handle h) const;
    // Visible and enabled, with every parent.
    bool isUsable(Handle h) const;
    Handle windowParent(Handle h) const;
    std::size_t windowCount() const { return windows_.size(); }
    // Children of a window, back to front.
    const std::vector<Handle>& childrenOf(Handle h) const;
    // The window's top left corner on the screen (a form's client area for a form).
    void screenOrigin(Handle h, int& x, int& y) const;

    // Mouse drivers. Positions are pixels in the client area of h. While a button is held the
    // window it went down in has the mouse: moves and the release go to it, in its own
    // coordinates, wherever they happen.
    void mouseMove(Handle h, int x, int y = 0, int button = 0, int shift = 0);
    void mouseDown(Handle h, int x, int y = 0, int button = kLeftButton, int shift = 0);
    void mouseUp(Handle h, int x, int y = 0, int button = kLeftButton, int shift = 0);
    // The pointer leaves whatever window it is over.
    void mouseAway();
    // A press and release in the middle of the window.
    void click(Handle h, int button = kLeftButton, int shift = 0);
    // A double click with the button: press, release (Click), second press (DblClick), release.
    void dblClick(Handle h, int x = -1, int y = -1, int button = kLeftButton);
    // The window that has the mouse, and the one under the pointer.
    Handle captured() const { return capture_; }
    Handle hovered() const { return hover_; }
    // The mouse is taken away while a button is held (another window captured it).
    void loseCapture();

    // Keyboard drivers: keys go to the window with the focus.
    void pressKey(int keyCode, int shift = 0);
    // The two halves of a press, for a key released somewhere other than where it went down.
    void keyDown(int keyCode, int shift = 0);
    void keyUp(int keyCode, int shift = 0);
    // A wheel message (WM_MOUSEWHEEL) with this delta and key state, sent to h through its
    // window procedure; returns what the procedure returned.
    std::intptr_t wheel(Handle h, int delta, int keys = 0);
    // The user picks an item of a form's menu bar; nothing when the item or its menu is
    // disabled.
    void chooseMenuItem(Handle form, MenuItem& item);
    void typeText(const std::string& text);
    // The user opens a list (a combo box's) and picks the entry at index.
    void choose(Handle h, int index);
    // The user puts the focus into a window (by clicking, without the click).
    void focus(Handle h);
    Handle focused() const { return focus_; }
    // What the peers call.
    void setFocus(Handle h);

    // Forms: the close box, and the active form.
    void pressCloseBox(Handle form);
    // The shell's "TaskbarCreated" broadcast, which every top-level window receives.
    void broadcastTaskbarCreated();
    Handle activeForm() const { return activeForm_; }
    void setActiveForm(Handle form) { activeForm_ = form; }

    // Pictures. snapshot paints the window and its children as the screen would show them
    // (a form: its client area). Refreshes are counted; with keepShownImages each refresh also
    // keeps what it showed.
    RasterGdi::Pixels snapshot(Handle h);
    int repaintCount(Handle h) const;
    void keepShownImages(bool on) { keepShown_ = on; }
    const RasterGdi::Pixels& shownImage(Handle h) const;
    void noteRepaint(Handle h);

    // Timers.
    std::size_t timerCount() const { return timers_.size(); }
    bool timerEnabled(Handle t) const;
    unsigned timerInterval(Handle t) const;

    // Menus: the chooser picks the answer (default: dismissed, -1).
    void setMenuChooser(std::function<int(const std::vector<MenuEntry>&)> chooser) {
        chooser_ = std::move(chooser);
    }
    const std::vector<MenuCall>& menuCalls() const { return menuCalls_; }

    // Message boxes: scripted answers are used first; then the handler, when set, answers (it
    // runs while the box is open, so it may advance the clock as a slow user would); then OK
    // boxes answer kIdOk and Yes/No boxes kIdNo.
    void setMsgBoxHandler(std::function<int(const MsgBoxCall&)> handler) {
        msgBoxHandler_ = std::move(handler);
    }
    std::deque<int>& msgBoxAnswers() { return msgBoxAnswers_; }
    void queueMsgBoxAnswer(int answer) { msgBoxAnswers_.push_back(answer); }
    const std::vector<MsgBoxCall>& msgBoxCalls() const { return msgBoxCalls_; }

    // Events: doEvents runs what was posted before it started, in order.
    void post(std::function<void()> fn) { posted_.push_back(std::move(fn)); }
    std::size_t pendingPosts() const { return posted_.size(); }
    int doEventsCount() const { return doEventsCount_; }

    void setAppPath(std::string p) { appPath_ = std::move(p); }
    void setAppTitle(std::string t) { appTitle_ = std::move(t); }
    void setPrevInstance(bool b) { prevInstance_ = b; }
    void setScreenTwips(int width, int height) {
        screenWidthTwips_ = width;
        screenHeightTwips_ = height;
    }

    std::optional<int> endedWith() const { return endedWith_; }

    // Clears recordings, scripts and settings back to their defaults. Live windows and timers
    // stay: they belong to objects that will still destroy them.
    void reset();

    // For HeadlessWindow.
    Handle addWindow(HeadlessWindow* w, Handle parent);
    void removeWindow(Handle h);
    void restack(Handle h, bool top);

private:
    struct Timer {
        std::function<void()> tick;
        unsigned interval = 0;
        bool enabled = false;
        std::uint64_t due = 0;
    };

    // advance without opening an event: waitEvents runs inside the handler that waits.
    void runFor(std::uint64_t ms);
    bool hasPendingEvents() const;
    void deliverSources();
    // Translates a point in a's client area into b's.
    void translate(Handle a, Handle b, int& x, int& y) const;
    void paintInto(Handle h, Handle dc, int ox, int oy, int clipL, int clipT, int clipR, int clipB);

    Handle nextHandle_ = 0x100;
    std::uint64_t tick_ = 0;
    long long baseSerial_ = 0;  // wall clock, in serial seconds, at baseTick_
    std::uint64_t baseTick_ = 0;
    std::map<Handle, HeadlessWindow*> windows_;
    std::vector<Handle> topLevel_;
    std::map<Handle, Timer> timers_;  // ordered by handle = creation order
    Handle focus_ = 0, capture_ = 0, hover_ = 0, activeForm_ = 0;
    int pressed_ = 0;  // buttons held in the capturing window
    std::map<Handle, int> repaints_;
    std::map<Handle, RasterGdi::Pixels> shown_;
    bool keepShown_ = false;
    std::function<int(const std::vector<MenuEntry>&)> chooser_;
    std::vector<MenuCall> menuCalls_;
    std::deque<int> msgBoxAnswers_;
    std::function<int(const MsgBoxCall&)> msgBoxHandler_;
    std::vector<EventSource*> sources_;
    std::vector<MsgBoxCall> msgBoxCalls_;
    std::deque<std::function<void()>> posted_;
    int doEventsCount_ = 0;
    std::string appPath_, appTitle_;
    bool prevInstance_ = false;
    int screenWidthTwips_ = 0, screenHeightTwips_ = 0;
    std::optional<int> endedWith_;
};

// The headless backend that is bound; throws std::logic_error when another one is.
HeadlessBackend& Bound();

}  // namespace kit::headless
