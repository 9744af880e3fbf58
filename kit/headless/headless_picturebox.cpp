// Headless picture boxes (and user controls): windows of the toolkit's own class that paint
// through their control; a sunken border takes 2 pixels on each side.
#include "kit/headless/headless_window.h"
#include "kit/picturebox.h"

namespace kit::headless {
namespace {

class HeadlessPictureBoxPeer : public HeadlessPeer<PictureBoxPeer> {
public:
    HeadlessPictureBoxPeer(Handle parent, WindowSink* sink, bool sunken)
        : HeadlessPeer<PictureBoxPeer>(parent, sink, "picture") {
        border = sunken ? 2 : 0;
    }
    bool paintsThroughSink() const override { return true; }
};

}  // namespace
}  // namespace kit::headless

namespace kit {
std::unique_ptr<PictureBoxPeer> NewPictureBoxPeer(Handle parent, WindowSink* sink, bool sunken) {
    return std::make_unique<headless::HeadlessPictureBoxPeer>(parent, sink, sunken);
}
}  // namespace kit
