// Picture boxes: a child window that shows a persistent image (drawn through hDC, shown by
// Refresh), holds controls and captures the mouse while a button is down.
#pragma once
#include <memory>

#include "kit/control.h"
#include "kit/picture.h"
#include "kit/surface.h"

namespace kit {

class PictureBoxPeer : public ControlPeer {};
// sunken: a 2-pixel sunken border around the client area.
std::unique_ptr<PictureBoxPeer> NewPictureBoxPeer(Handle parent, WindowSink* sink, bool sunken);

class PictureBox : public Control, public Container {
public:
    // A box of this size in pixels, without a border.
    explicit PictureBox(Container* parent, int widthPx = 16, int heightPx = 16);
    ~PictureBox() override;

    // 0: none; 1: fixed single, drawn as a 2-pixel sunken edge. Set before the form loads.
    int BorderStyle() const { return border_; }
    void setBorderStyle(int style);
    // Pixels unless set otherwise; the unit of ScaleWidth, mouse positions and children.
    int ScaleMode() const { return scaleMode_; }
    void setScaleMode(int mode) { scaleMode_ = mode; }
    // The client area in the box's scale mode (pixels or twips).
    int ScaleWidth() const;
    int ScaleHeight() const;
    // A user scale: the client area is this many units wide, or high (fractions allowed);
    // drawing coordinates use it from then on.
    void setScaleWidth(double units);
    void setScaleHeight(double units);

    // A box filled with a colour between two corners in the box's scale, corners included.
    void FillBox(double x1, double y1, double x2, double y2, Color color);

    void setBackColor(Color c) override;  // clears the image
    void setForeColor(Color c) override;

    // The persistent image's device context, made on first use; drawing there shows at the
    // next Refresh (or whenever the window is painted).
    Handle hDC();
    // Clears the image to the background colour.
    void Cls();
    // Shows the image now.
    void Refresh();
    Surface& image() { return image_; }

    // The persistent image as a picture of its own (a copy of what is drawn now).
    Picture Image();

    const Picture& picture() const { return picture_; }
    // With AutoSize the box takes the picture's natural size (plus its border); taking the
    // picture away leaves the size as it was.
    void setPicture(Picture p);
    bool AutoSize() const { return autoSize_; }
    void setAutoSize(bool on);

    // Container.
    Form* hostForm() override { return owner(); }
    Handle containerWindow() override;
    int childScaleMode() const override { return scaleMode_; }
    Color containerBackColor() const override { return back_; }
    Control* asControl() override { return this; }

    void onPaint(Handle dc) override;
    void destroyPeer() override;

protected:
    std::unique_ptr<ControlPeer> makePeer(Handle parentWindow) override;
    int mouseScaleMode() const override { return scaleMode_; }
    void fontChanged() override;
    void boundsChanged() override;
    int borderPx() const { return border_ ? 2 : 0; }
    // A drawing coordinate in the box's scale as a pixel of its image.
    int drawPxX(double x) const;
    int drawPxY(double y) const;

private:
    void fitPicture();
    int border_ = 0;
    bool autoSize_ = false;
    int scaleMode_ = kScalePixels;
    double userWidth_ = 0, userHeight_ = 0;  // the user scale; 0: none on that axis
    Surface image_;
    Picture picture_;
};

}  // namespace kit
