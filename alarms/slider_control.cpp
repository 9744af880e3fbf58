#include "alarms/slider_control.h"

#include <algorithm>

#include "kit/convert.h"

namespace {

constexpr int kThumbWidthPx = 9, kThumbHeightPx = 17;
constexpr int kThumbPointRows = 4;  // the lowest rows narrow to a point
constexpr kit::Color kThumbDark = 0x000000, kThumbGrey = 0x808080;
// The groove: a shadow line with a highlight line under it, 8 pixels below the top.
constexpr int kGrooveTopPx = 8;
// The control's rim: a thin sunken edge; the thumb's own picture is its edge.
constexpr unsigned kControlEdge = kit::kBdrSunkenOuter;
constexpr unsigned kThumbEdge = 0;

std::int32_t ReadOr(const PropertyBag& bag, const char* name, std::int32_t fallback) {
    auto it = bag.find(name);
    return it == bag.end() ? fallback : it->second;
}

void WriteUnlessDefault(PropertyBag& bag, const char* name, std::int32_t v, std::int32_t def) {
    if (v != def) bag[name] = v;
}

constexpr std::int32_t kTrue = -1;

}  // namespace

OcxSlider::Thumb::Thumb(OcxSlider* slider)
    : kit::PictureBox(slider, kThumbWidthPx, kThumbHeightPx), slider_(slider) {
    setScaleMode(kit::kScaleTwips);
}

void OcxSlider::Thumb::onPaint(kit::Handle dc) { slider_->picSlider_Paint(dc); }

OcxSlider::OcxSlider(kit::Container* parent, const PropertyBag* stored) : kit::UserControl(parent) {
    MouseDown = [this](int b, int s, int x, int y) { UserControl_MouseDown(b, s, x, y); };
    picSlider.MouseMove = [this](int b, int s, int x, int y) { picSlider_MouseMove(b, s, x, y); };
    if (stored) UserControl_ReadProperties(*stored);
    else UserControl_InitProperties();
}

void OcxSlider::UserControl_InitProperties() {
    mMin = kDefaultMin;
    mMax = kDefaultMax;
    mValue = kDefaultValue;
    mSliderWidth = kDefaultSliderWidth;
    mSliderMove = kDefaultSliderMove;
    UpdateSliderPos();
}

void OcxSlider::UserControl_ReadProperties(const PropertyBag& bag) {
    mMin = ReadOr(bag, "Min", kDefaultMin);
    mMax = ReadOr(bag, "Max", kDefaultMax);
    mValue = ReadOr(bag, "Value", kDefaultValue);
    mSliderWidth = ReadOr(bag, "SliderWidth", kDefaultSliderWidth);
    mSliderMove = ReadOr(bag, "SliderMove", kDefaultSliderMove ? kTrue : 0) != 0;
    UpdateSliderPos();
}

void OcxSlider::UserControl_WriteProperties(PropertyBag& bag) const {
    WriteUnlessDefault(bag, "Min", mMin, kDefaultMin);
    WriteUnlessDefault(bag, "Max", mMax, kDefaultMax);
    WriteUnlessDefault(bag, "Value", mValue, kDefaultValue);
    WriteUnlessDefault(bag, "SliderWidth", mSliderWidth, kDefaultSliderWidth);
    WriteUnlessDefault(bag, "SliderMove", mSliderMove ? kTrue : 0, kDefaultSliderMove ? kTrue : 0);
}

void OcxSlider::setValue(std::int32_t v) {
    if (v > mMax) mValue = mMax;
    else if (v <= mMin) mValue = mMin;
    else mValue = v;
    UpdateSliderPos();
}

void OcxSlider::setMax(std::int32_t v) {
    if (v < mMin) return;
    mMax = v;
    if (mValue > v) mValue = v;
    UpdateSliderPos();
}

void OcxSlider::setMin(std::int32_t v) {
    if (v > mMax) return;
    mMin = v;
    if (mValue < v) mValue = v;
    UpdateSliderPos();
}

void OcxSlider::UpdateSliderPos() {
    if (auto left = slider::ThumbLeft(ScaleWidth(), mSliderWidth, range(), mValue))
        picSlider.setLeft(*left);
}

void OcxSlider::moveThumbTo(const slider::Placed& p) {
    picSlider.setLeft(p.left);
    mValue = p.value;
    if (Change) Change();
}

void OcxSlider::UserControl_MouseDown(int button, int, double x, double) {
    if (button != 1 || !mSliderMove) return;
    moveThumbTo(slider::PlaceAt(x, ScaleWidth(), mSliderWidth, picSlider.Width(), range()));
}

void OcxSlider::picSlider_MouseMove(int button, int, double x, double) {
    if (button != 1 || !mSliderMove) return;
    moveThumbTo(slider::PlaceAt(picSlider.Left() + x, ScaleWidth(), mSliderWidth, mSliderWidth,
                                range()));
}

void OcxSlider::boundsChanged() { UserControl_Resize(); }

void OcxSlider::UserControl_Resize() {
    if (peer()) peer()->repaint();
    UpdateSliderPos();
}

void OcxSlider::onPaint(kit::Handle dc) { UserControl_Paint(dc); }

void OcxSlider::UserControl_Paint(kit::Handle dc) {
    kit::Gdi& g = kit::gdi();
    kit::Handle back = g.createSolidBrush(kit::ResolveColor(BackColor()));
    g.fillRect(dc, 0, 0, widthPx(), heightPx(), back);
    g.deleteObject(back);
    // The groove runs past both ends; the control's width cuts it off.
    const struct {
        kit::Color color;
        int y, from, to;
    } groove[] = {{kit::kSys3DShadow, kGrooveTopPx, -1, widthPx() + 1},
                  {kit::kSys3DHighlight, kGrooveTopPx + 1, 0, widthPx() + 1}};
    for (const auto& line : groove) {
        kit::Handle pen = g.createPen(kit::ResolveColor(line.color), 1);
        kit::Handle old = g.selectObject(dc, pen);
        g.moveTo(dc, line.from, line.y);
        g.lineTo(dc, line.to, line.y);
        g.selectObject(dc, old);
        g.deleteObject(pen);
    }
    kit::Rect rc;
    g.setRect(rc, 0, 0,
              int(kit::RoundHalfEven(double(ScaleWidth()) / kit::backend().twipsPerPixelX())),
              int(kit::RoundHalfEven(double(ScaleHeight()) / kit::backend().twipsPerPixelY())));
    g.drawEdge(dc, rc, kControlEdge, kit::kBfRect);
}

void OcxSlider::picSlider_Paint(kit::Handle dc) {
    kit::Gdi& g = kit::gdi();
    kit::Handle back = g.createSolidBrush(kit::ResolveColor(picSlider.BackColor()));
    kit::Handle dark = g.createSolidBrush(kThumbDark);
    kit::Handle grey = g.createSolidBrush(kThumbGrey);
    g.fillRect(dc, 0, 0, kThumbWidthPx, kThumbHeightPx, back);
    // Vertical stripes, dark at the sides; the lowest rows narrow to the bottom centre.
    const int body = kThumbHeightPx - kThumbPointRows;
    for (int x = 0; x < kThumbWidthPx; ++x) {
        const int fromCentre = std::abs(x - kThumbWidthPx / 2);
        const int bottom = body + std::max(0, kThumbPointRows - fromCentre);
        g.fillRect(dc, x, 0, x + 1, bottom, x % 2 == 0 ? dark : grey);
    }
    g.deleteObject(grey);
    g.deleteObject(dark);
    g.deleteObject(back);
    kit::Rect rc;
    g.setRect(rc, 0, 0, picSlider.Width() / slider::kTwipsPerStep,
              picSlider.Height() / slider::kTwipsPerStep);
    g.drawEdge(dc, rc, kThumbEdge, kit::kBfRect);
}
