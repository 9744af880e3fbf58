// Lines drawn on a form: two end points in the form's scale, a colour and a width.
#pragma once
#include "kit/component.h"
#include "kit/font.h"

namespace kit {

class Line : public Component {
public:
    // Set the end points once the form's scale is set (in its constructor body or load).
    explicit Line(Form* form);
    ~Line() override;

    // End points in the form's scale.
    int X1() const;
    int Y1() const;
    int X2() const;
    int Y2() const;
    void setX1(double v);
    void setY1(double v);
    void setX2(double v);
    void setY2(double v);
    Color BorderColor() const { return color_; }
    void setBorderColor(Color c);
    int BorderWidth() const { return width_; }
    void setBorderWidth(int pixels);
    bool Visible() const { return visible_; }
    void setVisible(bool on);

    // End points in pixels of the form's client area.
    int x1Px() const { return x1_; }
    int y1Px() const { return y1_; }
    int x2Px() const { return x2_; }
    int y2Px() const { return y2_; }

    // Draws the line into a device context of the form's client area.
    void paint(Handle dc) const;

private:
    void changed();
    int x1_, y1_, x2_, y2_;
    Color color_ = kSysWindowText;
    int width_ = 1;
    bool visible_ = true;
};

}  // namespace kit
