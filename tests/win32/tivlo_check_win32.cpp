// The Win32 backends where the word size matters: window data, timers and the registry.
#include <windows.h>

#include "app/win32_app.h"
#include "kit/form.h"
#include "shell/registration.h"
#include "tests/win32/check.h"

namespace {

platform::win32::Win32System g_system;
kit::win32::Win32Backend& Backend() {
    static kit::win32::Win32Backend& backend = app::BindWin32(g_system);
    return backend;
}

struct MouseSink : kit::WindowSink {
    int moves = 0, lastX = 0, lastY = 0;
    void onMouseMove(int, int, int x, int y) override {
        ++moves;
        lastX = x;
        lastY = y;
    }
};

// Runs the message loop until done() or the time is up.
template <class F>
bool PumpUntil(F done, DWORD ms) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > ms) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        Backend().doEvents();
    }
    return true;
}

const char* const kKey = "Software\\TivloCheck";

}  // namespace

CHECK_CASE(window_messages_reach_the_sink_kept_in_the_window_data) {
    MouseSink sink;
    Backend();
    auto peer = kit::NewFormPeer(&sink, kit::kBorderSizable);
    const kit::Handle h = peer->handle();
    CHECK(h != 0);
    HWND hwnd = reinterpret_cast<HWND>(h);
    // The tray's callback arrives as a mouse move with the mouse message in the position.
    SendMessageA(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(516, 7));
    SendMessageA(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(-3, -4));
    CHECK_EQ(sink.moves, 2);
    CHECK_EQ(sink.lastX, -3);
    CHECK_EQ(sink.lastY, -4);
    peer.reset();
    CHECK(!IsWindow(hwnd));
}

CHECK_CASE(timers_tick_on_the_helper_window) {
    int ticks = 0;
    const kit::Handle t = Backend().createTimer([&] { ++ticks; });
    Backend().setTimer(t, 10, true);
    CHECK(PumpUntil([&] { return ticks >= 3; }, 5000));
    Backend().destroyTimer(t);
    const int after = ticks;
    PumpUntil([] { return false; }, 100);
    CHECK_EQ(ticks, after);
}

CHECK_CASE(registry_texts_round_trip_under_HKEY_LOCAL_MACHINE) {
    Backend();
    eRegistration::SetRegistryValue(std::string(kKey) + "\\Deep", "Name", "Dec 07 , 2026");
    CHECK_EQ(eRegistration::GetRegistryValue(std::string(kKey) + "\\Deep", "Name"), "Dec 07 , 2026");
    CHECK_EQ(eRegistration::GetRegistryValue(std::string(kKey) + "\\Deep", "Missing"), std::string(254, ' '));
    CHECK_EQ(eRegistration::GetRegistryValue(std::string(kKey) + "\\Nowhere", "Name"), "");

    // The stored form is the same from both builds: the text and one NUL, as REG_SZ.
    HKEY key = nullptr;
    CHECK_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\TivloCheck\\Deep", 0, KEY_READ, &key), 0L);
    DWORD type = 0, size = 0;
    if (key) {
        CHECK_EQ(RegQueryValueExA(key, "Name", nullptr, &type, nullptr, &size), 0L);
        RegCloseKey(key);
    }
    CHECK_EQ(type, static_cast<DWORD>(REG_SZ));
    CHECK_EQ(size, static_cast<DWORD>(14));

    eRegistration::DeleteRegistryTree(kKey);
    CHECK_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, KEY_READ, &key), 2L);
}
