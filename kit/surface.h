// An off-screen drawing surface: a memory device context with a bitmap, a font and colours,
// made on first use. Picture boxes keep their persistent image in one; boxes that are never
// seen can be plain surfaces.
#pragma once
#include <string>

#include "kit/component.h"
#include "kit/font.h"

namespace kit {

class Surface : public Component {
public:
    // owner may be null; a form's surface is released when the form unloads and made again on
    // the next use.
    Surface(Form* owner, int widthPx, int heightPx);
    ~Surface() override;

    int width() const { return width_; }
    int height() const { return height_; }
    // A new size; the image keeps what fits, the rest is cleared to the background colour.
    void resize(int widthPx, int heightPx);

    Color BackColor() const { return back_; }
    void setBackColor(Color c);  // clears the image, as a picture box does
    Color ForeColor() const { return fore_; }
    void setForeColor(Color c);
    const Font& font() const { return font_; }
    void setFont(const Font& f);

    // The image's device context.
    Handle hDC();
    // Clears the image to the background colour.
    void Cls();
    bool made() const { return dc_ != 0; }

    void destroyPeer() override;

private:
    void ensure();
    void selectFont();
    void release();
    int width_, height_;
    Color back_ = 0xFFFFFF, fore_ = 0;
    Font font_;
    Handle dc_ = 0, bitmap_ = 0, oldBitmap_ = 0, fontHandle_ = 0, oldFont_ = 0;
};

}  // namespace kit
