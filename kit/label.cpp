#include "kit/label.h"

#include <algorithm>
#include <vector>

#include "kit/gdi.h"

namespace kit {

namespace {
constexpr int kBorderPx = 2;  // the sunken edge on each side

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        if (text[i] == '\n' || text[i] == '\r') {
            lines.emplace_back();
            continue;
        }
        lines.back() += text[i];
    }
    return lines;
}

// The caption as shown: a single "&" marks the access key and is not drawn.
std::string Shown(const std::string& line) {
    std::string out;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '&') {
            if (i + 1 < line.size() && line[i + 1] == '&') out += '&', ++i;
            continue;
        }
        out += line[i];
    }
    return out;
}
}  // namespace

Label::Label(Container* parent, std::string caption) : Control(parent), caption_(std::move(caption)) {
    tabStop_ = false;
    if (container_) back_ = kSysButtonFace;
}

void Label::setCaption(const std::string& text) {
    if (text == caption_) return;
    caption_ = text;
    if (peer()) peer()->setText(caption_);
    fit();
}

void Label::setAutoSize(bool on) {
    autoSize_ = on;
    fit();
}

void Label::setAlignment(int alignment) {
    alignment_ = alignment;
    if (peer()) labelPeer()->setAlignment(alignment);
}

void Label::setBorderStyle(int style) {
    border_ = style ? 1 : 0;
    if (peer()) labelPeer()->setBorder(border_ != 0);
    fit();
}

void Label::setBackStyle(int style) {
    backStyle_ = style ? kBackOpaque : kBackTransparent;
    applyBack();
}

void Label::setBackColor(Color c) {
    Control::setBackColor(c);
    applyBack();
}

void Label::setMousePointer(int shape) {
    pointer_ = shape == kPointerHand ? kPointerHand : kPointerDefault;
    if (peer()) labelPeer()->setPointer(pointer_);
}

void Label::applyBack() {
    if (!peer()) return;
    const Color under = container_ ? ResolveColor(container_->containerBackColor()) : 0;
    labelPeer()->setTransparent(backStyle_ == kBackTransparent, under);
}

void Label::textSizePx(int& width, int& height) const {
    Gdi& g = gdi();
    Handle screen = g.getDC(0);
    Handle dc = g.createCompatibleDC(screen);
    g.releaseDC(0, screen);
    Handle font = g.createFontIndirect(font_);
    Handle old = g.selectObject(dc, font);
    width = height = 0;
    for (const std::string& line : Lines(caption_)) {
        int w = 0, h = 0;
        const std::string shown = Shown(line);
        g.getTextExtent(dc, shown.empty() ? " " : shown, w, h);
        if (shown.empty()) w = 0;
        width = std::max(width, w);
        height += h;
    }
    g.selectObject(dc, old);
    g.deleteObject(font);
    g.deleteDC(dc);
    if (border_) {
        width += 2 * kBorderPx;
        height += 2 * kBorderPx;
    }
}

void Label::fit() {
    if (!autoSize_) return;
    int w, h;
    textSizePx(w, h);
    movePx(x_, y_, w, h);
}

std::unique_ptr<ControlPeer> Label::makePeer(Handle parentWindow) { return NewLabelPeer(parentWindow, this); }

void Label::applyState() {
    Control::applyState();
    peer()->setText(caption_);
    labelPeer()->setAlignment(alignment_);
    labelPeer()->setBorder(border_ != 0);
    labelPeer()->setPointer(pointer_);
    applyBack();
}

}  // namespace kit
