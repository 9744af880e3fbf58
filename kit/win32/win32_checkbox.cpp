// Check boxes on Win32: a three-state button that the control ticks.
#include "kit/checkbox.h"
#include "kit/win32/win32_check.h"

namespace kit::win32 {
namespace {

class Win32CheckBoxPeer : public Win32CheckPeer<CheckBoxPeer> {
public:
    Win32CheckBoxPeer(HWND parent, WindowSink* sink) : Win32CheckPeer(parent, sink, BS_3STATE) {}
    void setCheck(int value) override {
        showCheck(value == kChecked ? BST_CHECKED : value == kGrayed ? BST_INDETERMINATE : BST_UNCHECKED);
    }
};

}  // namespace
}  // namespace kit::win32

namespace kit {
std::unique_ptr<CheckBoxPeer> NewCheckBoxPeer(Handle parent, WindowSink* sink) {
    return std::make_unique<win32::Win32CheckBoxPeer>(reinterpret_cast<HWND>(parent), sink);
}
}  // namespace kit
