// The slider control: its range and value invariants, where presses and drags put the thumb,
// which mouse actions raise Change, and what it paints.
#include <gtest/gtest.h>

#include "alarms/slider_control.h"
#include "kit/controls.h"
#include "platform/headless/bind.h"

namespace {

struct SliderHost : kit::Form {
    SliderHost() {
        volume.Move(1320, 1110, 3375, 255);
        progress.Move(1320, 1500, 3375, 255);
        volume.Change = [this] { ++changes; };
        progress.Change = [this] { ++changes; };
        progress.setSlideMove(false);
    }
    void Form_Load() override { Move(0, 0, 6000, 3000); }
    OcxSlider volume{this};
    OcxSlider progress{this};
    int changes = 0;
};
kit::FormInstance<SliderHost> host;

class SliderTest : public ::testing::Test {
protected:
    platform::headless::HeadlessWorld world;
    kit::headless::HeadlessBackend& ui = world.backend;
    void SetUp() override { world.bind(); }
    void TearDown() override { kit::ResetAllForms(); }
};

TEST_F(SliderTest, SetMembersKeepTheValueInRangeAndPlaceTheThumbWithoutRaisingChange) {
    OcxSlider& s = host().volume;
    EXPECT_EQ(s.picSlider.Left(), 1620);  // 50 of 0..100 on a 3375-twip control
    s.setValue(150);
    EXPECT_EQ(s.getValue(), 100);
    EXPECT_EQ(s.picSlider.Left(), 3240);
    s.setValue(-5);
    EXPECT_EQ(s.getValue(), 0);
    EXPECT_EQ(s.picSlider.Left(), 0);

    s.setValue(50);
    s.setMax(40);
    EXPECT_EQ(s.getMax(), 40);
    EXPECT_EQ(s.getValue(), 40);
    EXPECT_EQ(s.picSlider.Left(), 3240);
    s.setMax(-1);  // below the minimum: ignored
    EXPECT_EQ(s.getMax(), 40);
    EXPECT_EQ(s.getValue(), 40);

    s.setMax(100);
    s.setValue(50);
    s.setMin(60);
    EXPECT_EQ(s.getMin(), 60);
    EXPECT_EQ(s.getValue(), 60);
    EXPECT_EQ(s.picSlider.Left(), 0);
    s.setMin(101);  // above the maximum: ignored
    EXPECT_EQ(s.getMin(), 60);
    EXPECT_EQ(host().changes, 0);
}

TEST_F(SliderTest, APressPutsTheThumbCentreUnderThePointerInWholePixels) {
    const slider::Range r{0, 100};
    struct Case {
        double x;
        int left;
        int value;
    } cases[] = {
        {0, 0, 0},         // far left
        {3375, 3240, 100}, // far right
        {700, 630, 19},    // 632.5 rounds to 632, cut to 42 steps; 630 / 32.4 = 19.44
        {-400, 0, 0},      // left of the control
        {5000, 3240, 100}, // right of it
    };
    for (const Case& c : cases) {
        const slider::Placed p = slider::PlaceAt(c.x, 3375, 135, 135, r);
        EXPECT_EQ(p.left, c.left) << c.x;
        EXPECT_EQ(p.value, c.value) << c.x;
    }
    // A wide range keeps the ends: the speaker volume's 0..65535 never leaves it.
    EXPECT_EQ(slider::PlaceAt(5000, 3375, 135, 135, {0, 65535}).value, 65535);
    EXPECT_EQ(slider::PlaceAt(-10, 3375, 135, 135, {-10, 65535}).value, -10);
    // A single-value range gives that value instead of dividing by nothing, and so does a
    // control no wider than its thumb.
    EXPECT_EQ(slider::PlaceAt(700, 3375, 135, 135, {7, 7}).value, 7);
    EXPECT_EQ(slider::PlaceAt(700, 135, 135, 135, {0, 100}).value, 0);
    EXPECT_FALSE(slider::ThumbLeft(3375, 135, {7, 7}, 7).has_value());
}

TEST_F(SliderTest, TheLeftButtonMovesTheThumbAndRaisesChangeOnEveryMovement) {
    SliderHost& h = host();
    h.Show();
    OcxSlider& s = h.volume;
    ui.mouseDown(s.hWnd(), 46, 5);  // 690 twips: 622.5 rounds to 622, 41 steps
    EXPECT_EQ(s.picSlider.Left(), 615);
    EXPECT_EQ(s.getValue(), 19);
    EXPECT_EQ(h.changes, 1);
    ui.mouseUp(s.hWnd(), 46, 5);

    // The press on the thumb itself does not move it; moving with the button held does.
    const kit::Handle thumb = s.picSlider.hWnd();
    ui.mouseDown(thumb, 4, 5);
    EXPECT_EQ(h.changes, 1);
    ui.mouseMove(thumb, 14, 5, 1);  // 825 twips: 757.5 rounds to 758, 50 steps
    EXPECT_EQ(s.picSlider.Left(), 750);
    EXPECT_EQ(s.getValue(), 23);
    ui.mouseMove(thumb, 4, 6, 1);  // the same place again: Change all the same
    EXPECT_EQ(h.changes, 3);
    ui.mouseUp(thumb, 4, 6);
    ui.mouseMove(thumb, 8, 6, 0);  // no button
    EXPECT_EQ(h.changes, 3);

    // A single-value range moves no value but divides by nothing.
    s.setMin(0);
    s.setMax(0);
    ui.mouseDown(s.hWnd(), 200, 5);
    EXPECT_EQ(s.getValue(), 0);
    EXPECT_EQ(h.changes, 4);
}

TEST_F(SliderTest, OtherButtonsAndAFixedSliderDoNothing) {
    SliderHost& h = host();
    h.Show();
    ui.mouseDown(h.volume.hWnd(), 20, 5, kit::kRightButton);
    ui.mouseUp(h.volume.hWnd(), 20, 5, kit::kRightButton);
    ui.mouseDown(h.progress.hWnd(), 20, 5);
    ui.mouseUp(h.progress.hWnd(), 20, 5);
    ui.mouseMove(h.progress.picSlider.hWnd(), 8, 5, 1);
    EXPECT_EQ(h.volume.getValue(), 50);
    EXPECT_EQ(h.progress.getValue(), 50);
    EXPECT_EQ(h.changes, 0);
    h.progress.setValue(70);  // the host still sets it
    EXPECT_EQ(h.progress.picSlider.leftPx(), 151);  // 2268 twips
}

TEST_F(SliderTest, PaintsTheGrooveTheRimAndTheThumbPicture) {
    SliderHost& h = host();
    h.Show();
    h.volume.setValue(0);
    const auto px = ui.snapshot(h.volume.hWnd());
    ASSERT_EQ(px.width, 225);
    ASSERT_EQ(px.height, 17);
    // Sunken rim: shadow above and left, highlight below and right.
    EXPECT_EQ(px.at(100, 0), 0x808080u);
    EXPECT_EQ(px.at(224, 5), 0xFFFFFFu);
    // The groove right of the thumb: shadow over highlight.
    EXPECT_EQ(px.at(100, 8), 0x808080u);
    EXPECT_EQ(px.at(100, 9), 0xFFFFFFu);
    // The thumb at the left end: dark and grey stripes, narrowing to a point at the bottom.
    EXPECT_EQ(px.at(2, 4), 0x000000u);
    EXPECT_EQ(px.at(3, 4), 0x808080u);
    EXPECT_EQ(px.at(4, 16), 0x000000u);
    EXPECT_EQ(px.at(3, 16), 0xC8D0D4u);
    // Painting leaves nothing behind.
    const int objects = world.gdi.liveObjectCount();
    for (int i = 0; i < 20; ++i) ui.snapshot(h.volume.hWnd());
    EXPECT_EQ(world.gdi.liveObjectCount(), objects);
}

TEST_F(SliderTest, StoredPropertiesAreReadWithDefaultsAndOnlyChangedOnesWritten) {
    PropertyBag bag;
    host().volume.UserControl_WriteProperties(bag);
    EXPECT_TRUE(bag.empty());
    host().progress.UserControl_WriteProperties(bag);
    EXPECT_EQ(bag, (PropertyBag{{"SliderMove", 0}}));

    const PropertyBag stored{{"Max", 200}, {"Value", 150}, {"SliderMove", 0}};
    OcxSlider s(&host(), &stored);
    EXPECT_EQ(s.getMin(), 0);
    EXPECT_EQ(s.getMax(), 200);
    EXPECT_EQ(s.getValue(), 150);
    EXPECT_FALSE(s.getSlideMove());
    PropertyBag again;
    s.UserControl_WriteProperties(again);
    EXPECT_EQ(again, stored);
}

}  // namespace
