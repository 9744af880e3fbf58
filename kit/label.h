// Labels: a caption (one or more lines) with alignment, an optional sunken border, opaque or
// transparent, sized to its text on request; clicks, the pointer entering and leaving, and the
// pointer's shape over the label.
#pragma once
#include <memory>
#include <string>

#include "kit/control.h"

namespace kit {

enum Alignment : int { kAlignLeft = 0, kAlignRight = 1, kAlignCenter = 2 };
enum BackStyle : int { kBackTransparent = 0, kBackOpaque = 1 };
// The pointer's shape over a label: the system's arrow, or the hand of a link.
enum PointerShape : int { kPointerDefault = 0, kPointerHand = 1 };

class LabelPeer : public ControlPeer {
public:
    virtual void setAlignment(int alignment) = 0;
    virtual void setBorder(bool on) = 0;
    // Transparent labels show their container's background colour behind the text.
    virtual void setTransparent(bool on, Color containerBack) = 0;
    virtual void setPointer(int shape) = 0;
};
std::unique_ptr<LabelPeer> NewLabelPeer(Handle parent, WindowSink* sink);

class Label : public Control {
public:
    explicit Label(Container* parent, std::string caption = {});

    // Lines are separated by CR LF (or LF alone).
    const std::string& Caption() const { return caption_; }
    void setCaption(const std::string& text);
    bool AutoSize() const { return autoSize_; }
    void setAutoSize(bool on);
    int Alignment() const { return alignment_; }
    void setAlignment(int alignment);
    // 0: none; 1: fixed single, a 2-pixel sunken edge (the selection mark of a day).
    int BorderStyle() const { return border_; }
    void setBorderStyle(int style);
    int BackStyle() const { return backStyle_; }
    void setBackStyle(int style);
    void setBackColor(Color c) override;
    int MousePointer() const { return pointer_; }
    void setMousePointer(int shape);

    char accessKey() const override { return AccessKeyOf(caption_); }

    // The caption's size in pixels in the label's font, border included.
    void textSizePx(int& width, int& height) const;

protected:
    std::unique_ptr<ControlPeer> makePeer(Handle parentWindow) override;
    void applyState() override;
    void fontChanged() override { fit(); }

private:
    LabelPeer* labelPeer() const { return static_cast<LabelPeer*>(peer()); }
    void fit();
    void applyBack();
    std::string caption_;
    bool autoSize_ = false;
    int alignment_ = kAlignLeft, border_ = 0, backStyle_ = kBackOpaque, pointer_ = kPointerDefault;
};

}  // namespace kit
