#include "kit/line.h"

#include "kit/form.h"
#include "kit/gdi.h"

namespace kit {

namespace {
int Scale(const Form* f) { return f ? f->childScaleMode() : kScaleTwips; }
}  // namespace

Line::Line(Form* form) : Component(form), x1_(0), y1_(0), x2_(0), y2_(0) {
    if (form) form->addLine(this);
}

Line::~Line() {
    if (owner()) owner()->removeLine(this);
}

int Line::X1() const { return FromPixelsX(x1_, Scale(owner())); }
int Line::Y1() const { return FromPixelsY(y1_, Scale(owner())); }
int Line::X2() const { return FromPixelsX(x2_, Scale(owner())); }
int Line::Y2() const { return FromPixelsY(y2_, Scale(owner())); }

void Line::setX1(double v) {
    x1_ = ToPixelsX(v, Scale(owner()));
    changed();
}
void Line::setY1(double v) {
    y1_ = ToPixelsY(v, Scale(owner()));
    changed();
}
void Line::setX2(double v) {
    x2_ = ToPixelsX(v, Scale(owner()));
    changed();
}
void Line::setY2(double v) {
    y2_ = ToPixelsY(v, Scale(owner()));
    changed();
}

void Line::setBorderColor(Color c) {
    color_ = c;
    changed();
}

void Line::setBorderWidth(int pixels) {
    width_ = pixels < 1 ? 1 : pixels;
    changed();
}

void Line::setVisible(bool on) {
    visible_ = on;
    changed();
}

void Line::changed() {
    if (owner()) owner()->repaint();
}

void Line::paint(Handle dc) const {
    if (!visible_) return;
    Gdi& g = gdi();
    Handle pen = g.createPen(ResolveColor(color_), width_);
    Handle old = g.selectObject(dc, pen);
    g.moveTo(dc, x1_, y1_);
    g.lineTo(dc, x2_, y2_);
    g.selectObject(dc, old);
    g.deleteObject(pen);
}

}  // namespace kit
