// Image boxes on Win32: a child window of the toolkit's picture class that paints its picture
// through its control.
#include "kit/image.h"
#include "kit/win32/win32_window.h"

namespace kit::win32 {
namespace {

class Win32ImagePeer : public Win32Peer<ImagePeer> {
public:
    Win32ImagePeer(HWND parent, WindowSink* sink) : Win32Peer<ImagePeer>(sink) {
        ownClicks_ = true;
        createOwn(kPictureClass, 0, WS_CHILD | WS_CLIPSIBLINGS, parent, 0, 0, 0, 0);
    }
};

}  // namespace
}  // namespace kit::win32

namespace kit {
std::unique_ptr<ImagePeer> NewImagePeer(Handle parent, WindowSink* sink) {
    return std::make_unique<win32::Win32ImagePeer>(reinterpret_cast<HWND>(parent), sink);
}
}  // namespace kit
