#include "alarm_test_fixture.h"
#include "kit/headless/headless_window.h"

namespace {

using Lines = std::vector<std::string>;
using Cmds = std::vector<std::string>;

class AlarmPopupTest : public AlarmTest {
protected:
    kit::Handle Popup() { return frmAlarm().hWnd(); }
    // The red of the hint's text in a frame copied onto the window (text pixels are pure red).
    static int RedOf(const kit::headless::RasterGdi::Pixels& frame) {
        for (std::uint32_t p : frame.px)
            if ((p & 0xFFFF00) == 0 && (p & 0xFF) != 0) return int(p & 0xFF);
        return -1;
    }
    std::vector<bool> Blocks() { return world.system.blockInputCalls(); }
};

TEST_F(AlarmPopupTest, ThePopupFlashesItsHintAboveAllWindowsAtTheTopOfTheScreen) {
    StartWith({2026, 12, 7, 9, 59, 59}, {Alarm("Tea is ready", kModeOnce, "10:00:00")});
    Seconds(2);
    ASSERT_TRUE(PopupOpen());
    const kit::Handle h = Popup();
    auto& w = world.backend.window(h);
    EXPECT_TRUE(w.topmost);
    EXPECT_EQ(w.border, 0);
    EXPECT_GE(w.x, 0);
    EXPECT_LE(w.x + w.width, 1024);
    EXPECT_EQ(w.y, 0);
    EXPECT_EQ(w.width, 168);  // 2520 twips

    // One frame from the hint's arrival, then one per 80 ms.
    world.backend.advance(80 * 38);
    std::vector<int> reds;
    for (const auto& frame : world.gdi.windowFrames(h)) reds.push_back(RedOf(frame));
    std::vector<int> want{255};
    for (int r = 255; r >= 80; r -= 10) want.push_back(r);  // 255 ... 85
    want.push_back(80);
    for (int r = 90; r <= 250; r += 10) want.push_back(r);
    want.insert(want.end(), {255, 245});
    ASSERT_GE(reds.size(), want.size());
    reds.resize(want.size());
    EXPECT_EQ(reds, want);

    // Each frame is one copy of the buffer, centred text.
    const auto frame = world.gdi.windowFrames(h).back();
    EXPECT_EQ(frame.width, 168);
    EXPECT_EQ(frame.height, 15);
    int left = frame.width, right = -1;
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x)
            if ((frame.at(x, y) & 0xFFFF00) == 0) left = std::min(left, x), right = std::max(right, x);
    EXPECT_LE(std::abs((left + right) - (frame.width - 1)), 3) << left << ".." << right;
}

TEST_F(AlarmPopupTest, LinesGrowTheWindowAndDoubleClicksRemoveThem) {
    std::vector<AlarmRecord> alarms;
    for (const char* hint : {"one", "two", "three", "four"}) alarms.push_back(Alarm(hint, kModeDaily, "10:00:00"));
    StartWith({2026, 12, 7, 10, 0, 0}, alarms);
    Seconds(1);
    ASSERT_EQ(gHintCount, 4);
    const kit::Handle h = Popup();
    world.backend.advance(80);
    EXPECT_EQ(world.backend.window(h).height, 66);  // 4 x 225 + 85 = 985 twips
    EXPECT_EQ(frmAlarm().pbTextBuffer.ScaleHeight(), 60);
    EXPECT_EQ(world.gdi.windowFrames(h).back().height, 60);

    // A left double-click removes the line under the pointer.
    world.backend.mouseMove(h, 80, 20);
    world.backend.dblClick(h, 80, 20);
    EXPECT_EQ(Hints(), (Lines{"one", "three", "four"}));
    world.backend.mouseMove(h, 80, 58);  // below the last line: the last goes
    world.backend.dblClick(h, 80, 58);
    EXPECT_EQ(Hints(), (Lines{"one", "three"}));
    world.backend.advance(80);
    EXPECT_EQ(world.backend.window(h).height, 36);  // 535 twips

    // The left button drags the borderless window.
    EXPECT_GT(world.backend.window(h).drags, 0);

    // A right double-click closes it, whatever the line.
    world.backend.dblClick(h, 80, 5, kit::kRightButton);
    EXPECT_FALSE(frmAlarm.Loaded());
    EXPECT_EQ(gHintCount, 0);
    EXPECT_FALSE(world.backend.hasWindow(h));

    // The last line's double-click closes the window too.
    gAlarms[0].LastDate.clear();
    eSchedule::BuildAlarmQueue();
    Seconds(1);
    ASSERT_EQ(gHintCount, 1);
    world.backend.dblClick(Popup(), 80, 5);
    EXPECT_FALSE(frmAlarm.Loaded());
}

TEST_F(AlarmPopupTest, EachDismissedPopupGivesBackItsWindowsAndDrawingObjects) {
    StartWith({2026, 12, 7, 10, 0, 0}, {Alarm("tea", kModeDaily, "10:00:00")});
    auto counts = [&] {
        return std::vector<long long>{world.gdi.liveObjectCount(), world.gdi.liveDCCount(),
                                      world.gdi.livePictureCount(), world.gdi.liveIconCount(),
                                      static_cast<long long>(world.backend.windowCount()),
                                      static_cast<long long>(world.backend.timerCount())};
    };
    std::vector<long long> first;
    for (int i = 0; i < 5; ++i) {
        gAlarms[0].LastDate.clear();
        eSchedule::BuildAlarmQueue();
        Seconds(1);
        world.backend.advance(200);
        Dismiss();
        if (i == 0) first = counts();
    }
    EXPECT_EQ(counts(), first);
    EXPECT_EQ(kit::UnloadedFormCount(), 0u);
}

TEST_F(AlarmPopupTest, MusicLoopsAndTheNextAlarmsMusicReplacesIt) {
    world.mci.addFile("C:\\a.wav", 2000);
    world.mci.addFile("C:\\b.mp3", 3000);
    StartWith({2026, 12, 7, 10, 0, 0},
              {Alarm("a", kModeOnce, "10:00:00", "C:\\a.wav"), Alarm("b", kModeOnce, "10:00:05", "C:\\b.mp3")});
    Seconds(1);
    EXPECT_EQ(world.mci.playing(), "C:\\a.wav");
    world.mci.finishPlaying();
    world.backend.advance(50);  // the next status event starts it again
    EXPECT_EQ(world.mci.playing(), "C:\\a.wav");
    EXPECT_EQ(world.mci.commands(), (Cmds{"open C:\\a.wav", "time format 0", "play C:\\a.wav", "close C:\\a.wav",
                                          "open C:\\a.wav", "time format 0", "play C:\\a.wav"}));
    RunTo(10, 0, 6);
    EXPECT_EQ(world.mci.playing(), "C:\\b.mp3");
    EXPECT_EQ(world.mci.openDevices(), 1);
    EXPECT_TRUE(world.sound.beeps().empty());
    world.backend.mouseMove(Popup(), 80, 5);
    world.backend.dblClick(Popup(), 80, 5);  // one line goes, the music goes on
    EXPECT_EQ(Hints(), Lines{"b"});
    EXPECT_EQ(world.mci.playing(), "C:\\b.mp3");
    world.backend.dblClick(Popup(), 80, 20, kit::kRightButton);  // all go, the music stops
    EXPECT_EQ(world.mci.openDevices(), 0);
}

TEST_F(AlarmPopupTest, AShutDownWarnsThenShutsDownAMinuteLater) {
    StartWith({2026, 12, 7, 10, 0, 0},
              {Alarm("lock", kModeOnce, "10:00:00", "", kActionLock, "5"),
               Alarm("bye", kModeOnce, "10:00:03", "", kActionShutdown),
               Alarm("lock again", kModeOnce, "10:00:05", "", kActionLock, "1")});
    Seconds(1);
    EXPECT_EQ(Blocks(), std::vector<bool>{true});
    RunTo(10, 0, 4);
    ASSERT_EQ(world.backend.msgBoxCalls().size(), 1u);
    const auto& box = world.backend.msgBoxCalls()[0];
    EXPECT_EQ(box.text, "Save your data please, computer will\r\nbe shut down in one minute !");
    EXPECT_EQ(box.caption, "Tivlo 2.3");
    EXPECT_EQ(box.flags, 48);
    EXPECT_EQ(box.owner, frmTivlo().hWnd());
    EXPECT_EQ(Blocks(), (std::vector<bool>{true, false}));  // unlocked so the user can save

    RunTo(10, 0, 6);  // no lock while a shut-down is pending
    EXPECT_EQ(gHintCount, 3);
    EXPECT_EQ(Blocks(), (std::vector<bool>{true, false}));
    const kit::Handle h = Popup();
    world.backend.dblClick(h, 80, 5, kit::kRightButton);  // double-clicks are ignored
    world.backend.dblClick(h, 80, 5);
    EXPECT_EQ(gHintCount, 3);

    RunTo(10, 1, 3);
    EXPECT_TRUE(world.system.exitWindowsCalls().empty());
    Seconds(1);
    ASSERT_EQ(world.system.exitWindowsCalls().size(), 1u);
    EXPECT_EQ(world.system.exitWindowsCalls()[0], (std::pair<std::uint32_t, std::uint32_t>{13, 0xFFFFFFFFu}));
    EXPECT_FALSE(frmAlarm.Loaded());
    EXPECT_EQ(gHintCount, 0);
}

TEST_F(AlarmPopupTest, ALockIsReleasedWhenItsMinutesAreOver) {
    StartWith({2026, 12, 7, 10, 0, 0}, {Alarm("lock", kModeOnce, "10:00:00", "", kActionLock, "1")});
    Seconds(1);
    FrmAlarm& f = frmAlarm();
    EXPECT_EQ(Blocks(), std::vector<bool>{true});
    EXPECT_TRUE(f.tmrAction.Enabled());
    Seconds(59);
    EXPECT_EQ(Blocks(), std::vector<bool>{true});
    Seconds(1);
    EXPECT_EQ(Blocks(), (std::vector<bool>{true, false}));
    EXPECT_FALSE(f.mLockActive);
    EXPECT_FALSE(f.tmrAction.Enabled());
    EXPECT_TRUE(PopupOpen());  // the hint stays
}

TEST_F(AlarmPopupTest, BadSnoozeTextsNeverBlockInputWithoutACountdown) {
    StartWith({2026, 12, 7, 10, 0, 0},
              {Alarm("words", kModeOnce, "10:00:00", "", kActionLock, "ten"),
               Alarm("too long", kModeOnce, "10:00:01", "", kActionLock, "600"),  // 36000 s
               Alarm("zero", kModeOnce, "10:00:02", "", kActionLock, "0"),
               Alarm("12345678901234567890", kModeOnce, "10:00:03", "C:\\gone.wav", kActionLock, "-3")});
    RunTo(10, 0, 3);
    EXPECT_EQ(gHintCount, 3);
    EXPECT_TRUE(Blocks().empty());
    FrmAlarm& f = frmAlarm();
    Seconds(1);  // the zero lock is released at the next tick; the 20-character hint shows
    EXPECT_EQ(gHintCount, 4);
    EXPECT_TRUE(Blocks().empty() || Blocks().back() == false);
    Seconds(1);
    EXPECT_FALSE(f.mLockActive);
    EXPECT_FALSE(f.tmrAction.Enabled());
    EXPECT_EQ(world.sound.beeps().size(), 4u);  // the missing music beeps too
    world.backend.advance(80);
    const auto frame = world.gdi.windowFrames(f.hWnd()).back();
    int ink = 0;
    for (int y = 45; y < 60; ++y)
        for (int x = 0; x < frame.width; ++x) ink += (frame.at(x, y) & 0xFFFF00) == 0;
    EXPECT_GT(ink, 20);
}

TEST_F(AlarmPopupTest, AnAlarmWhoseMusicCannotPlayBeepsAndStillLocks) {
    world.mci.addFile("C:\\notes.txt.wav", 0);
    world.mci.setPlayError("C:\\notes.txt.wav", kit::headless::HeadlessMci::kErrCannotPlay);
    StartWith({2026, 12, 7, 10, 0, 0},
              {Alarm("moved", kModeOnce, "10:00:00", "C:\\moved.mp3", kActionLock, "1"),
               Alarm("not sound", kModeOnce, "10:00:02", "C:\\notes.txt.wav")});
    Seconds(1);
    EXPECT_EQ(world.sound.beeps().size(), 1u);
    EXPECT_EQ(Blocks(), std::vector<bool>{true});
    RunTo(10, 0, 3);
    EXPECT_EQ(world.sound.beeps().size(), 2u);
    EXPECT_EQ(world.mci.openDevices(), 0);
}

TEST_F(AlarmPopupTest, ATickDuringTheShutDownWarningWaitsForIt) {
    // The user leaves the warning open for 70 s, over midnight; another alarm falls due meanwhile.
    bool answered = false;
    StartWith({2026, 12, 7, 23, 59, 0},
              {Alarm("bye", kModeOnce, "23:59:00", "", kActionShutdown), Alarm("late", kModeDaily, "23:59:30")});
    kit::Handle popup = 0;
    world.backend.setMsgBoxHandler([&](const kit::headless::HeadlessBackend::MsgBoxCall&) {
        popup = frmAlarm().hWnd();
        world.backend.advance(70000);
        answered = true;
        return kit::kIdOk;
    });
    Seconds(1);
    ASSERT_TRUE(answered);
    // tmrAction and tmrFlash went on under the box; tmrAlarm did not.
    EXPECT_EQ(world.system.exitWindowsCalls().size(), 1u);
    EXPECT_GT(world.gdi.windowFrameCount(popup), 700);
    EXPECT_EQ(Stored(1).back(), '/');  // "late" never fired
    EXPECT_EQ(gHintCount, 0);
    // The outer tick went on and rebuilt the queue for the new day, once.
    EXPECT_EQ(gToday, "Dec 08 , 2026");
    ASSERT_EQ(gAlarmQueueCount, 1);
    EXPECT_EQ(gAlarmQueue[0].AlarmIndex, 1);
    EXPECT_TRUE(gAlarmQueue[0].Active);
}

}  // namespace
