// Status bars on Win32: a status bar control placed by the toolkit (not by its parent).
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "kit/statusbar.h"
#include "kit/win32/win32_window.h"

namespace kit::win32 {
namespace {

class Win32StatusBarPeer : public Win32Peer<StatusBarPeer> {
public:
    Win32StatusBarPeer(HWND parent, WindowSink* sink) : Win32Peer<StatusBarPeer>(sink) {
        createNative(STATUSCLASSNAMEA, 0,
                     WS_CHILD | WS_CLIPSIBLINGS | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER, parent);
    }
    void setText(const std::string&) override {}
    void setColors(Color, Color) override {}
    void setPanels(const std::vector<int>& edges) override {
        if (!hwnd() || edges.empty()) return;
        std::vector<int> parts(edges);
        SendMessageA(hwnd(), SB_SETPARTS, parts.size(), reinterpret_cast<LPARAM>(parts.data()));
    }
    void setPanelText(int index, const std::string& t) override {
        if (hwnd()) SendMessageA(hwnd(), SB_SETTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(t.c_str()));
    }
};

}  // namespace
}  // namespace kit::win32

namespace kit {
std::unique_ptr<StatusBarPeer> NewStatusBarPeer(Handle parent, WindowSink* sink) {
    return std::make_unique<win32::Win32StatusBarPeer>(reinterpret_cast<HWND>(parent), sink);
}
}  // namespace kit
