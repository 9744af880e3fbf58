// Drop-down lists on Win32: a combo box whose CBN_SELCHANGE, reflected by its parent, is the
// user's choice. Its window reaches down over the opened list; its height is the closed box's.
#include "kit/combobox.h"
#include "kit/win32/win32_window.h"

namespace kit::win32 {
namespace {

constexpr int kListHeight = 160;  // pixels of the opened list

class Win32ComboBoxPeer : public Win32Peer<ComboBoxPeer> {
public:
    Win32ComboBoxPeer(HWND parent, ComboBox* box) : Win32Peer<ComboBoxPeer>(box), box_(box) {
        createNative("COMBOBOX", 0, WS_CHILD | WS_CLIPSIBLINGS | WS_VSCROLL | CBS_DROPDOWNLIST, parent);
    }
    void setBounds(int x, int y, int w, int h) override { moveTo(x, y, w, h + kListHeight); }
    void insertItem(int index, const std::string& t) override {
        if (hwnd()) SendMessageA(hwnd(), CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(t.c_str()));
    }
    void clearItems() override {
        if (hwnd()) SendMessageA(hwnd(), CB_RESETCONTENT, 0, 0);
    }
    void select(int index) override {
        if (hwnd()) SendMessageA(hwnd(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
    bool onReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        if (msg == WM_COMMAND && HIWORD(wParam) == CBN_SELCHANGE) {
            const int index = static_cast<int>(SendMessageA(hwnd(), CB_GETCURSEL, 0, 0));
            if (index >= 0) Guarded([&] { box_->userChose(index); });
            result = 0;
            return true;
        }
        return Win32Window::onReflected(msg, wParam, lParam, result);
    }

private:
    ComboBox* box_;
};

}  // namespace
}  // namespace kit::win32

namespace kit {
std::unique_ptr<ComboBoxPeer> NewComboBoxPeer(Handle parent, ComboBox* box) {
    return std::make_unique<win32::Win32ComboBoxPeer>(reinterpret_cast<HWND>(parent), box);
}
}  // namespace kit
