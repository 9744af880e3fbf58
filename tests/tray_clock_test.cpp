#include "program_fixture.h"
#include "shell/tivlo_form.h"
#include "shell/tray.h"

namespace {

class TrayClockTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        world.system.addWindow(0, "Shell_TrayWnd", 100);
        world.system.addWindow(100, "TrayNotifyWnd", 101);
        world.system.addWindow(101, "TrayClockWClass", 102);
    }
    // Starts on an empty store with the given display settings stored first.
    void StartWith(const std::string& amPm = "1", const std::string& color = "0", const std::string& day = "1") {
        ASSERT_FALSE(Start());
        world.registry.put("Software\\Tivlo\\TimeSetting", "AM/PM_Mode", amPm);
        world.registry.put("Software\\Tivlo\\TimeSetting", "DispColor", color);
        world.registry.put("Software\\Tivlo\\TimeSetting", "Day_Mode", day);
        ResetGlobals();
        world.tray.reset();
        ASSERT_FALSE(Start());
    }
    kit::Handle IconOf(int record) {
        auto rec = world.tray.icon(frmTivlo().tmpIcon(record).hWnd(), 1);
        return rec ? rec->hIcon : 0;
    }
    std::string Tip(int record) {
        auto rec = world.tray.icon(frmTivlo().tmpIcon(record).hWnd(), 1);
        return rec ? std::string(rec->szTip) : std::string("<none>");
    }
    int Redraws() {
        int n = 0;
        for (auto& call : world.tray.calls()) n += call.message == platform::kNimModify;
        return n;
    }
};

TEST_F(TrayClockTest, IconsShowHourAndMinutesWithTheAmPmLetter) {
    world.backend.setNow({2026, 12, 7, 9, 41, 30});
    StartWith();
    ASSERT_EQ(gWinVersion, 3);  // what Wine and every Windows after Vista report
    // Code 3 orders like XP and Vista: record 1 holds the hour.
    EXPECT_EQ(OpaquePixels(IconOf(1)), TextPixels("09:", 0, 2));
    EXPECT_EQ(OpaquePixels(IconOf(0)), TextPixels("41", -1, 2, "a", 11));
    EXPECT_FALSE(TextPixels("41", -1, 2).empty());

    // The record of the hour goes to the shell first.
    auto& calls = world.tray.calls();
    ASSERT_GE(calls.size(), 4u);
    EXPECT_EQ(calls[calls.size() - 2].data.hWnd, frmTivlo().tmpIcon(1).hWnd());
    EXPECT_EQ(calls[calls.size() - 1].data.hWnd, frmTivlo().tmpIcon(0).hWnd());

    for (auto [hour, hourText, letter] : {std::tuple{12, "12:", "p"}, std::tuple{0, "12:", "a"}}) {
        world.backend.setNow({2026, 12, 7, hour, 5, 0});
        frmTivlo().TrayDispDateTime(kit::DateText(kit::Now()), kit::TimeText(kit::Now()));
        EXPECT_EQ(OpaquePixels(IconOf(1)), TextPixels(hourText, 0, 2)) << hour;
        EXPECT_EQ(OpaquePixels(IconOf(0)), TextPixels("05", -1, 2, letter, 11)) << hour;
    }
}

TEST_F(TrayClockTest, TwentyFourHourClockAndWindows2000Order) {
    world.system.version().dwMajorVersion = 5;
    world.system.version().dwMinorVersion = 0;
    world.backend.setNow({2026, 12, 7, 21, 41, 0});
    StartWith("2");
    ASSERT_EQ(gWinVersion, 0);
    EXPECT_EQ(OpaquePixels(IconOf(0)), TextPixels("21:", 0, 2));
    EXPECT_EQ(OpaquePixels(IconOf(1)), TextPixels("41", -1, 2));
    auto& calls = world.tray.calls();
    EXPECT_EQ(calls[calls.size() - 2].data.hWnd, frmTivlo().tmpIcon(0).hWnd());
}

TEST_F(TrayClockTest, WhiteDigitsStayVisibleAndColoursAreKept) {
    StartWith("1", "16777215");
    EXPECT_EQ(frmTivlo().picMask.BackColor(), 0x000000u);
    auto hour = TextPixels("09:", 0, 2);
    EXPECT_EQ(OpaquePixels(IconOf(1)), hour);
    auto color = world.gdi.iconColor(IconOf(1));
    for (auto [x, y] : hour) EXPECT_EQ(color.at(x, y), 0xFFFFFFu);
    EXPECT_EQ(color.at(15, 15), 0x000000u);

    ResetGlobals();
    StartWith("1", "255");  // red
    EXPECT_EQ(frmTivlo().picMask.BackColor(), 0xFFFFFFu);
    color = world.gdi.iconColor(IconOf(1));
    for (auto [x, y] : hour) EXPECT_EQ(color.at(x, y), 0x0000FFu);
}

TEST_F(TrayClockTest, TooltipCarriesDateAndWeekday) {
    StartWith();
    EXPECT_EQ(Tip(0), "Dec 07,2026,Monday");
    EXPECT_EQ(Tip(1), "Dec 07,2026,Monday");
    auto rec = world.tray.icon(frmTivlo().tmpIcon(0).hWnd(), 1);
    EXPECT_EQ(rec->szTip[63], ' ');  // padded with blanks after the NUL
    EXPECT_EQ(rec->uFlags, 7u);
    EXPECT_EQ(rec->uCallbackMessage, 0x200u);
    EXPECT_EQ(rec->cbSize, 88u);
    ResetGlobals();
    StartWith("1", "0", "2");
    EXPECT_EQ(Tip(0), "07 Dec 2026,Monday");
}

TEST_F(TrayClockTest, ClockTickRedrawsAtSecondZeroOrOnRequest) {
    world.backend.setNow({2026, 12, 7, 9, 41, 30});
    StartWith();
    world.backend.advance(1000);  // the alarm tick's first rebuild of the queue redraws once
    const int start = Redraws();
    world.backend.advance(28000);  // up to 09:41:59
    EXPECT_EQ(Redraws(), start);
    world.backend.advance(1000);  // 09:42:00
    EXPECT_EQ(Redraws(), start + 2);
    EXPECT_EQ(OpaquePixels(IconOf(0)), TextPixels("42", -1, 2, "a", 11));
    gTrayRedraw = true;
    world.backend.advance(1000);
    EXPECT_EQ(Redraws(), start + 4);
    EXPECT_FALSE(gTrayRedraw);
    world.backend.advance(1000);
    EXPECT_EQ(Redraws(), start + 4);
}

TEST_F(TrayClockTest, RedrawsLeakNoDrawingObjects) {
    StartWith();
    auto& g = world.gdi;
    const int objects = g.liveObjectCount(), dcs = g.liveDCCount(), icons = g.liveIconCount(),
              pictures = g.livePictureCount();
    EXPECT_EQ(icons, 2);
    for (int i = 0; i < 500; ++i) frmTivlo().TrayDispDateTime("12/07/2026", "09:41:30");
    EXPECT_EQ(g.liveObjectCount(), objects);
    EXPECT_EQ(g.liveDCCount(), dcs);
    EXPECT_EQ(g.liveIconCount(), icons);
    EXPECT_EQ(g.livePictureCount(), pictures);
}

TEST_F(TrayClockTest, RightButtonOpensTheMenuOthersDoNothing) {
    StartWith();
    std::vector<std::string> captions;
    world.backend.setMenuChooser([&](const std::vector<kit::MenuEntry>& entries) {
        for (auto& e : entries) captions.push_back(e.caption);
        return -1;
    });
    world.backend.mouseMove(frmTivlo().tmpIcon(1).hWnd(), 0x200, 0);  // hover
    world.backend.mouseMove(frmTivlo().tmpIcon(1).hWnd(), 0x201, 0);  // left down
    world.backend.mouseMove(frmTivlo().tmpIcon(1).hWnd(), 0x203, 0);  // double click
    EXPECT_TRUE(world.backend.menuCalls().empty());
    for (int i : {0, 1}) world.backend.mouseMove(frmTivlo().tmpIcon(i).hWnd(), 0x204, 0);
    ASSERT_EQ(world.backend.menuCalls().size(), 2u);
    EXPECT_EQ(world.tray.foregroundCalls(), (std::vector<kit::Handle>{frmTivlo().hWnd(), frmTivlo().hWnd()}));
    const std::vector<std::string> expected = {"&Alarm Schedule", "&Picture Grabbing", "-", "&Fortune-telling", "-",
                                               "&Time Synch Via Web", "-", "&Help", "A&bout...", "E&xit"};
    EXPECT_EQ(std::vector<std::string>(captions.begin(), captions.begin() + 10), expected);

    world.backend.setMenuChooser([](auto&) { return 7; });  // &Help
    world.backend.mouseMove(frmTivlo().tmpIcon(0).hWnd(), 0x204, 0);
    ASSERT_EQ(world.shell.calls().size(), 1u);
    EXPECT_EQ(world.shell.calls()[0].verb, "open");
    EXPECT_EQ(world.shell.calls()[0].file, "C:\\Program Files\\Tivlo\\Tivlo 2.3 Full Version Help.chm");
    EXPECT_EQ(world.shell.calls()[0].show, 1);
}

TEST_F(TrayClockTest, TaskbarClockHiddenWhileRunningAndExitCleansUp) {
    StartWith();
    ASSERT_FALSE(world.system.showCalls().empty());
    EXPECT_EQ(world.system.showCalls().back(), (std::pair<kit::Handle, int>{102, 0}));
    const int objects = world.gdi.liveObjectCount();
    gStopGrabbing = false;
    world.backend.setMenuChooser([](auto&) { return 9; });  // E&xit
    EXPECT_TRUE(Ends([&] { world.backend.mouseMove(frmTivlo().tmpIcon(0).hWnd(), 0x204, 0); }));
    EXPECT_EQ(world.tray.iconCount(), 0u);
    EXPECT_EQ(frmTivlo().tmpIcon.UBound(), 0);
    EXPECT_TRUE(gStopGrabbing);
    EXPECT_EQ(world.system.showCalls().back(), (std::pair<kit::Handle, int>{102, 9}));
    EXPECT_EQ(world.gdi.liveObjectCount(), objects - 3);  // canvas, and the second box's bitmap and font
    EXPECT_EQ(eTray::gIconDC, 0u);
}

}  // namespace
