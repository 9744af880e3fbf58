// Headless image boxes: a window of the toolkit's own class that paints through its control.
#include "kit/headless/headless_window.h"
#include "kit/image.h"

namespace kit::headless {
namespace {

class HeadlessImagePeer : public HeadlessPeer<ImagePeer> {
public:
    HeadlessImagePeer(Handle parent, WindowSink* sink) : HeadlessPeer<ImagePeer>(parent, sink, "image") {}
    bool paintsThroughSink() const override { return true; }
};

}  // namespace
}  // namespace kit::headless

namespace kit {
std::unique_ptr<ImagePeer> NewImagePeer(Handle parent, WindowSink* sink) {
    return std::make_unique<headless::HeadlessImagePeer>(parent, sink);
}
}  // namespace kit
