#include <gtest/gtest.h>

#include "kit/controls.h"
#include "platform/headless/bind.h"

namespace {

struct Probe : kit::Form {
    Probe() : tick(this, 250), boxes(this, [](kit::Container* c) { return std::make_unique<kit::PictureBox>(c); }) {
        tick.OnTimer = [this] { ++ticks; };
        item.Click = [this] { ++clicks; };
        grey.Enabled = false;
        grey.Click = [this] { ++clicks; };
        menu.Items = {&item, &grey};
    }
    void Form_Load() override {
        ++loads;
        if (unloadInLoad) selfSlot->Unload();
    }
    void Form_Unload(int& cancel) override {
        ++unloads;
        cancel = keep;
    }
    kit::Timer tick;
    kit::ControlArray<kit::PictureBox> boxes;
    kit::MenuItem menu, item{"&Go"}, grey{"&Grey"};
    int loads = 0, unloads = 0, ticks = 0, clicks = 0;
    bool keep = false;
    inline static bool unloadInLoad = false;
    inline static kit::FormInstance<Probe>* selfSlot = nullptr;
};

kit::FormInstance<Probe> probe;

class KitControlsTest : public ::testing::Test {
protected:
    platform::headless::HeadlessWorld world;
    void SetUp() override {
        world.bind();
        Probe::selfSlot = &probe;
        Probe::unloadInLoad = false;
    }
    void TearDown() override { kit::ResetAllForms(); }
};

TEST_F(KitControlsTest, PropertyChangesRaiseTheirEventOnlyWhenTheValueDiffers) {
    kit::Prop<std::string> text("a");
    int changes = 0;
    text.changed = [&] { ++changes; };
    text = "a";
    EXPECT_EQ(changes, 0);
    text = "b";
    text.set("b");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(text.get(), "b");
}

TEST_F(KitControlsTest, FormsAreCreatedOnFirstUseAndReleasedAtUnload) {
    EXPECT_FALSE(probe.Loaded());
    Probe& p = probe();
    EXPECT_EQ(&probe(), &p);
    EXPECT_EQ(p.loads, 1);
    EXPECT_NE(p.hWnd(), 0u);
    EXPECT_FALSE(p.Visible());

    p.boxes.Load(1);
    const kit::Handle child = p.boxes(1).hWnd();
    EXPECT_TRUE(world.backend.hasWindow(child));
    p.tick.setEnabled(true);
    world.backend.advance(1000);
    EXPECT_EQ(p.ticks, 4);

    p.keep = true;
    probe.Unload();  // cancelled
    EXPECT_TRUE(probe.Loaded());
    p.keep = false;
    probe.Unload();
    EXPECT_FALSE(probe.Loaded());
    EXPECT_FALSE(world.backend.hasWindow(child));
    EXPECT_EQ(world.backend.timerCount(), 0u);
    EXPECT_EQ(probe().loads, 1);  // a new instance

    // A form that unloads itself while loading is still returned whole.
    kit::ResetAllForms();
    Probe::unloadInLoad = true;
    EXPECT_EQ(probe().unloads, 1);
    EXPECT_FALSE(probe.Loaded());
}

TEST_F(KitControlsTest, PopupMenuRunsOnlyEnabledChoices) {
    Probe& p = probe();
    world.backend.setMenuChooser([](auto&) { return 1; });
    p.PopupMenu(p.menu);
    EXPECT_EQ(p.clicks, 0);
    world.backend.setMenuChooser([](auto&) { return 0; });
    p.PopupMenu(p.menu);
    EXPECT_EQ(p.clicks, 1);
    ASSERT_EQ(world.backend.menuCalls().size(), 2u);
    EXPECT_FALSE(world.backend.menuCalls()[0].entries[1].enabled);
    EXPECT_EQ(world.backend.menuCalls()[0].owner, p.hWnd());
}

TEST_F(KitControlsTest, PictureBoxesReleaseTheirDrawingObjects) {
    const int objects = world.gdi.liveObjectCount(), dcs = world.gdi.liveDCCount();
    {
        kit::PictureBox box(nullptr, 16, 16);
        box.setBackColor(0x00FF00);
        box.setFontName("MS Serif");
        box.setFontName("MS Sans Serif");
        box.setPicture(kit::CreatePicture(kit::kPictureTypeBitmap, world.gdi.createBitmap(4, 4, 1, 1), true));
        auto px = world.gdi.bitmapPixels(world.gdi.selectedBitmap(box.hDC()));
        EXPECT_EQ(px.at(3, 3), 0x00FF00u);
        EXPECT_EQ(world.gdi.fontFace(box.hDC()), "MS Sans Serif");
    }
    EXPECT_EQ(world.gdi.liveObjectCount(), objects);
    EXPECT_EQ(world.gdi.liveDCCount(), dcs);
    EXPECT_EQ(world.gdi.livePictureCount(), 0);
}

}  // namespace
