// Option buttons on Win32: a radio button that the control selects.
#include "kit/option.h"
#include "kit/win32/win32_check.h"

namespace kit::win32 {
namespace {

class Win32OptionPeer : public Win32CheckPeer<OptionButtonPeer> {
public:
    Win32OptionPeer(HWND parent, WindowSink* sink) : Win32CheckPeer(parent, sink, BS_RADIOBUTTON) {}
    void setCheck(bool on) override { showCheck(on ? BST_CHECKED : BST_UNCHECKED); }
};

}  // namespace
}  // namespace kit::win32

namespace kit {
std::unique_ptr<OptionButtonPeer> NewOptionButtonPeer(Handle parent, WindowSink* sink) {
    return std::make_unique<win32::Win32OptionPeer>(reinterpret_cast<HWND>(parent), sink);
}
}  // namespace kit
