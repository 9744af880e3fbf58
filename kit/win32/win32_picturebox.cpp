// Picture boxes (and user controls) on Win32: a child window of the toolkit's picture class
// that paints through its control; a sunken border is the client edge.
#include "kit/picturebox.h"
#include "kit/win32/win32_window.h"

namespace kit::win32 {
namespace {

class Win32PictureBoxPeer : public Win32Peer<PictureBoxPeer> {
public:
    Win32PictureBoxPeer(HWND parent, WindowSink* sink, bool sunken) : Win32Peer<PictureBoxPeer>(sink) {
        ownClicks_ = true;
        createOwn(kPictureClass, sunken ? WS_EX_CLIENTEDGE : 0,
                  WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, parent, 0, 0, 0, 0);
    }
};

}  // namespace
}  // namespace kit::win32

namespace kit {
std::unique_ptr<PictureBoxPeer> NewPictureBoxPeer(Handle parent, WindowSink* sink, bool sunken) {
    return std::make_unique<win32::Win32PictureBoxPeer>(reinterpret_cast<HWND>(parent), sink, sunken);
}
}  // namespace kit
