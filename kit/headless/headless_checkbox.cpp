// Headless check boxes: a box that shows 0, 1 or 2.
#include "kit/checkbox.h"
#include "kit/headless/headless_check.h"

namespace kit::headless {
namespace {

class HeadlessCheckBoxPeer : public HeadlessCheckPeer<CheckBoxPeer> {
public:
    HeadlessCheckBoxPeer(Handle parent, WindowSink* sink) : HeadlessCheckPeer(parent, sink, "checkbox") {}
    void setCheck(int value) override { check_ = value; }
};

}  // namespace
}  // namespace kit::headless

namespace kit {
std::unique_ptr<CheckBoxPeer> NewCheckBoxPeer(Handle parent, WindowSink* sink) {
    return std::make_unique<headless::HeadlessCheckBoxPeer>(parent, sink);
}
}  // namespace kit
