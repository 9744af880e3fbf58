// Image boxes: show a picture, stretched over the box or at its natural size (the box then
// takes the picture's size); clicks as on any box.
#pragma once
#include <memory>

#include "kit/control.h"
#include "kit/picture.h"

namespace kit {

class ImagePeer : public ControlPeer {};
std::unique_ptr<ImagePeer> NewImagePeer(Handle parent, WindowSink* sink);

class Image : public Control {
public:
    explicit Image(Container* parent);

    const Picture& picture() const { return picture_; }
    // Without Stretch the box takes the picture's natural size.
    void setPicture(Picture p);
    bool Stretch() const { return stretch_; }
    void setStretch(bool on);

    void onPaint(Handle dc) override;
    // The picture goes with the window.
    void destroyPeer() override;

protected:
    std::unique_ptr<ControlPeer> makePeer(Handle parentWindow) override;

private:
    void fit();
    Picture picture_;
    bool stretch_ = false;
};

}  // namespace kit
