// Text boxes on Win32: a single-line edit. EN_CHANGE, reflected by its parent, reports the
// user's edits; the program's own changes are reported by the control itself.
#include "kit/label.h"
#include "kit/textbox.h"
#include "kit/win32/win32_window.h"

namespace kit::win32 {
namespace {

DWORD AlignStyle(int alignment) {
    return alignment == kAlignCenter ? ES_CENTER : alignment == kAlignRight ? ES_RIGHT : ES_LEFT;
}

class Win32TextBoxPeer : public Win32Peer<TextBoxPeer> {
public:
    Win32TextBoxPeer(HWND parent, TextBox* box, int alignment) : Win32Peer<TextBoxPeer>(box), box_(box) {
        ownClicks_ = true;  // an edit reports no clicks of its own
        createNative("EDIT", WS_EX_CLIENTEDGE,
                     WS_CHILD | WS_CLIPSIBLINGS | ES_AUTOHSCROLL | AlignStyle(alignment), parent);
    }
    void setText(const std::string& t) override {
        quiet_ = true;
        setWindowText(t);
        quiet_ = false;
    }
    void setMaxLength(int chars) override {
        if (hwnd()) SendMessageA(hwnd(), EM_LIMITTEXT, static_cast<WPARAM>(chars), 0);
    }
    void setLocked(bool on) override {
        if (hwnd()) SendMessageA(hwnd(), EM_SETREADONLY, on, 0);
    }
    void setAlignment(int alignment) override {
        if (!hwnd()) return;
        LONG_PTR style = GetWindowLongPtrA(hwnd(), GWL_STYLE) & ~static_cast<LONG_PTR>(ES_CENTER | ES_RIGHT);
        style |= AlignStyle(alignment);
        SetWindowLongPtrA(hwnd(), GWL_STYLE, style);
        InvalidateRect(hwnd(), nullptr, TRUE);
    }
    void setSelection(int start, int length) override {
        if (!hwnd()) return;
        SendMessageA(hwnd(), EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(start + length));
        SendMessageA(hwnd(), EM_SCROLLCARET, 0, 0);
    }
    void selection(int& start, int& length) const override {
        DWORD s = 0, e = 0;
        if (hwnd()) SendMessageA(hwnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
        start = static_cast<int>(s);
        length = static_cast<int>(e - s);
    }
    bool onReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        if (msg == WM_COMMAND && HIWORD(wParam) == EN_CHANGE) {
            if (!quiet_) {
                const int n = GetWindowTextLengthA(hwnd());
                std::string text(static_cast<std::size_t>(n) + 1, '\0');
                GetWindowTextA(hwnd(), text.data(), n + 1);
                text.resize(static_cast<std::size_t>(n));
                Guarded([&] { box_->userEdited(text); });
            }
            result = 0;
            return true;
        }
        return Win32Window::onReflected(msg, wParam, lParam, result);
    }

private:
    TextBox* box_;
    bool quiet_ = false;
};

}  // namespace
}  // namespace kit::win32

namespace kit {
std::unique_ptr<TextBoxPeer> NewTextBoxPeer(Handle parent, TextBox* box, int alignment) {
    return std::make_unique<win32::Win32TextBoxPeer>(reinterpret_cast<HWND>(parent), box, alignment);
}
}  // namespace kit
