// Headless text boxes: typing replaces the selection (up to the maximum length, nothing when
// locked), Backspace and Delete remove, Home, End and the arrows move the caret.
#include <algorithm>

#include "kit/headless/headless_text.h"
#include "kit/headless/headless_window.h"
#include "kit/headless/raster_gdi.h"
#include "kit/textbox.h"

namespace kit::headless {
namespace {

class HeadlessTextBoxPeer : public HeadlessPeer<TextBoxPeer> {
public:
    HeadlessTextBoxPeer(Handle parent, TextBox* box) : HeadlessPeer<TextBoxPeer>(parent, box, "textbox"), box_(box) {
        border = 2;
    }
    void setText(const std::string& t) override {
        text = t;
        start_ = length_ = 0;  // as WM_SETTEXT leaves an edit
    }
    void setMaxLength(int chars) override { maxLength_ = chars; }
    void setLocked(bool on) override { locked_ = on; }
    void setAlignment(int a) override { alignment_ = a; }
    void setSelection(int start, int length) override {
        const int n = static_cast<int>(text.size());
        start_ = std::clamp(start, 0, n);
        length_ = std::clamp(length, 0, n - start_);
    }
    void selection(int& start, int& length) const override {
        start = start_;
        length = length_;
    }
    bool takesFocus() const override { return true; }

    void nativeChar(int ascii) override {
        if (locked_) return;
        if (ascii == kKeyBack) {
            if (length_ == 0 && start_ > 0) {
                --start_;
                length_ = 1;
            }
            replace("");
            return;
        }
        if (ascii < 32) return;
        if (maxLength_ > 0 && static_cast<int>(text.size()) - length_ + 1 > maxLength_) return;
        replace(std::string(1, static_cast<char>(ascii)));
    }
    void nativeKey(int keyCode, int shift) override {
        const int n = static_cast<int>(text.size());
        switch (keyCode) {
        case kKeyDelete:
            if (locked_) return;
            if (length_ == 0 && start_ < n) length_ = 1;
            replace("");
            return;
        case kKeyHome: start_ = 0, length_ = 0; return;
        case kKeyEnd: start_ = n, length_ = 0; return;
        case kKeyLeft: start_ = length_ ? start_ : std::max(start_ - 1, 0), length_ = 0; return;
        case kKeyRight: start_ = std::min(start_ + std::max(length_, 1), n), length_ = 0; return;
        default: return;
        }
    }
    void paint(Handle dc) override {
        const int w = clientWidth(), h = clientHeight();
        FillBox(dc, 0, 0, w, h, back);
        DrawLines(dc, {text}, 1, (h - RasterGdi::kCellHeight) / 2, w - 2, alignment_,
                  enabled ? fore : 0x808080, font.underline);
    }

private:
    void replace(const std::string& with) {
        const std::string before = text;
        text = text.substr(0, start_) + with + text.substr(start_ + length_);
        start_ += static_cast<int>(with.size());
        length_ = 0;
        if (text != before) box_->userEdited(text);
    }
    TextBox* box_;
    int start_ = 0, length_ = 0, maxLength_ = 0, alignment_ = 0;
    bool locked_ = false;
};

}  // namespace
}  // namespace kit::headless

namespace kit {
std::unique_ptr<TextBoxPeer> NewTextBoxPeer(Handle parent, TextBox* box, int) {
    return std::make_unique<headless::HeadlessTextBoxPeer>(parent, box);
}
}  // namespace kit
