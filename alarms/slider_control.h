// The slider user control: a 9 x 17-pixel thumb on a groove standing for a whole number between
// a minimum and a maximum. The host sets the range and the value; the left button moves the
// thumb (when SliderMove allows) and raises Change on every movement.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "alarms/slider_rules.h"
#include "kit/controls.h"

// A host's stored design values by property name; Booleans as -1 (True) and 0.
using PropertyBag = std::map<std::string, std::int32_t>;

class OcxSlider : public kit::UserControl {
public:
    // Without stored values the control starts from its defaults; with them, from the bag.
    explicit OcxSlider(kit::Container* parent, const PropertyBag* stored = nullptr);

    std::int32_t getValue() const { return mValue; }
    std::int32_t getMax() const { return mMax; }
    std::int32_t getMin() const { return mMin; }
    // Nothing is redrawn.
    void setSlideMove(bool v) { mSliderMove = v; }
    // Clamped into the range.
    void setValue(std::int32_t v);
    // Ignored below the minimum; lowers the value when it was above.
    void setMax(std::int32_t v);
    // Ignored above the maximum; raises the value when it was below.
    void setMin(std::int32_t v);
    bool getSlideMove() const { return mSliderMove; }
    std::int32_t getSliderWidth() const { return mSliderWidth; }

    // Raised by the mouse only, never by the set members.
    std::function<void()> Change;

    void UserControl_InitProperties();
    void UserControl_ReadProperties(const PropertyBag& bag);
    // Stores only the values that differ from their defaults.
    void UserControl_WriteProperties(PropertyBag& bag) const;
    void UserControl_MouseDown(int button, int shift, double x, double y);
    void picSlider_MouseMove(int button, int shift, double x, double y);

    // The thumb, which paints its own picture.
    class Thumb : public kit::PictureBox {
    public:
        explicit Thumb(OcxSlider* slider);
        void onPaint(kit::Handle dc) override;

    private:
        OcxSlider* slider_;
    };
    Thumb picSlider{this};

    void onPaint(kit::Handle dc) override;

    static constexpr std::int32_t kDefaultMin = 0, kDefaultMax = 100, kDefaultValue = 50,
                                  kDefaultSliderWidth = 135;
    static constexpr bool kDefaultSliderMove = true;

protected:
    void boundsChanged() override;

private:
    void UserControl_Resize();
    void UserControl_Paint(kit::Handle dc);
    void picSlider_Paint(kit::Handle dc);
    void UpdateSliderPos();
    void moveThumbTo(const slider::Placed& p);
    slider::Range range() const { return {mMin, mMax}; }

    std::int32_t mMin = kDefaultMin, mMax = kDefaultMax, mValue = kDefaultValue;
    std::int32_t mSliderWidth = kDefaultSliderWidth;
    bool mSliderMove = kDefaultSliderMove;
};
