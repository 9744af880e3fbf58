// Headless drop-down lists: the user picks an entry (HeadlessBackend::choose), or steps through
// them with the arrow keys.
#include <vector>

#include "kit/combobox.h"
#include "kit/headless/headless_text.h"
#include "kit/headless/headless_window.h"

namespace kit::headless {
namespace {

class HeadlessComboBoxPeer : public HeadlessPeer<ComboBoxPeer> {
public:
    HeadlessComboBoxPeer(Handle parent, ComboBox* box) : HeadlessPeer<ComboBoxPeer>(parent, box, "combobox"), box_(box) {
        border = 2;
    }
    void insertItem(int index, const std::string& t) override { items_.insert(items_.begin() + index, t); }
    void clearItems() override {
        items_.clear();
        sel_ = -1;
    }
    void select(int index) override { sel_ = index; }
    bool takesFocus() const override { return true; }
    void nativeChoose(int index) override {
        if (index >= 0 && index < static_cast<int>(items_.size())) box_->userChose(index);
    }
    void nativeKey(int keyCode, int) override {
        const int n = static_cast<int>(items_.size());
        if (keyCode == kKeyUp && sel_ > 0) box_->userChose(sel_ - 1);
        if (keyCode == kKeyDown && sel_ + 1 < n) box_->userChose(sel_ + 1);
    }
    void paint(Handle dc) override {
        const int w = clientWidth(), h = clientHeight();
        FillBox(dc, 0, 0, w, h, back);
        FillBox(dc, w - 16, 0, w, h, 0xC8D0D4);
        if (sel_ >= 0 && sel_ < static_cast<int>(items_.size()))
            DrawLines(dc, {items_[sel_]}, 2, (h - 13) / 2, w - 18, 0, fore, false);
    }

private:
    ComboBox* box_;
    std::vector<std::string> items_;
    int sel_ = -1;
};

}  // namespace
}  // namespace kit::headless

namespace kit {
std::unique_ptr<ComboBoxPeer> NewComboBoxPeer(Handle parent, ComboBox* box) {
    return std::make_unique<headless::HeadlessComboBoxPeer>(parent, box);
}
}  // namespace kit
