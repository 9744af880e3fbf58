// Headless option buttons: a box that shows whether the option is selected.
#include "kit/headless/headless_check.h"
#include "kit/option.h"

namespace kit::headless {
namespace {

class HeadlessOptionPeer : public HeadlessCheckPeer<OptionButtonPeer> {
public:
    HeadlessOptionPeer(Handle parent, WindowSink* sink) : HeadlessCheckPeer(parent, sink, "option") {}
    void setCheck(bool on) override { check_ = on ? 1 : 0; }
};

}  // namespace
}  // namespace kit::headless

namespace kit {
std::unique_ptr<OptionButtonPeer> NewOptionButtonPeer(Handle parent, WindowSink* sink) {
    return std::make_unique<headless::HeadlessOptionPeer>(parent, sink);
}
}  // namespace kit
