#include "alarm_test_fixture.h"

namespace {

using Lines = std::vector<std::string>;

TEST_F(AlarmTest, AnAlarmFiresAtTheFirstTickAfterItsSecond) {
    StartWith({2026, 12, 7, 9, 59, 57},
              {Alarm("stand-up", kModeOnce, "10:00:00"), Alarm("never", kModeDaily, "23:59:59"),
               Alarm("lunch", kModeDaily, "01:00:00 pm"), Alarm("noon", kModeDaily, "00:30:00 pm")});
    RunTo(10, 0, 0);
    EXPECT_FALSE(frmAlarm.Loaded());
    Seconds(1);
    ASSERT_TRUE(PopupOpen());
    EXPECT_EQ(Hints(), Lines{"stand-up"});
    EXPECT_EQ(world.sound.beeps().size(), 1u);  // no music: one beep
    EXPECT_EQ(Stored(0), "stand-up/Once/Dec 07 , 2026/10:00:00//Do nothing/1/0/07 Dec 2026");
    EXPECT_EQ(gSavedAlarms[0].LastDate, "07 Dec 2026");

    // Each reminder read and closed, as the user would: hours of flashing cost the test dearly.
    Dismiss();
    RunTo(12, 30, 0);
    EXPECT_FALSE(frmAlarm.Loaded());
    Seconds(1);
    EXPECT_EQ(Hints(), Lines{"noon"});
    Dismiss();
    RunTo(13, 0, 0);
    EXPECT_FALSE(frmAlarm.Loaded());
    Seconds(1);
    EXPECT_EQ(Hints(), Lines{"lunch"});
    Dismiss();
    RunTo(0, 0, 10);  // 23:59:59 is never passed
    EXPECT_FALSE(frmAlarm.Loaded());
    EXPECT_EQ(Stored(1).substr(Stored(1).size() - 1), "/");  // never fired
}

TEST_F(AlarmTest, AlarmsDueInOneTickShareOnePopupInQueueOrder) {
    StartWith({2026, 12, 7, 9, 0, 0},
              {Alarm("second", kModeDaily, "10:00:00"), Alarm("first", kModeOnce, "09:30:00")});
    world.backend.setNow({2026, 12, 7, 10, 5, 0});  // the computer was busy
    Seconds(1);
    EXPECT_EQ(Hints(), (Lines{"first", "second"}));
    EXPECT_EQ(world.sound.beeps().size(), 2u);
    for (int i : {0, 1}) EXPECT_EQ(Stored(i).substr(Stored(i).size() - 11), "07 Dec 2026") << i;
    Seconds(5);  // fired entries stay quiet
    EXPECT_EQ(gHintCount, 2);
}

TEST_F(AlarmTest, TheHourlySlotFiresOncePerHourAndKeepsItsMinutes) {
    StartWith({2026, 12, 7, 9, 15, 0}, {Alarm("hourly", kModeHourly, "09:00:00")});
    EXPECT_EQ(gLastHourlyTime, "10:15:00");
    world.backend.setNow({2026, 12, 7, 13, 40, 0});  // busy until 13:40
    Seconds(1);
    EXPECT_EQ(Hints(), Lines{"hourly"});
    EXPECT_EQ(gLastHourlyTime, "14:15:00");
    EXPECT_EQ(gAlarms[0].Time, "14:15:00");
    EXPECT_EQ(Stored(0), AlarmListValue(Alarm("hourly", kModeHourly, "09:00:00")));  // not written
    Dismiss();
    RunTo(14, 15, 0);
    EXPECT_FALSE(frmAlarm.Loaded());
    Seconds(1);
    EXPECT_EQ(Hints(), Lines{"hourly"});
    EXPECT_EQ(gLastHourlyTime, "15:15:00");
}

TEST_F(AlarmTest, TheHourZeroSlotWaitsForMidnightWhileTheEveningGoesOn) {
    StartWith({2026, 12, 7, 23, 20, 0},
              {Alarm("hourly", kModeHourly, "09:00:00"), Alarm("late", kModeDaily, "23:45:00")});
    EXPECT_EQ(gLastHourlyTime, "00:20:00");
    RunTo(23, 45, 0);
    EXPECT_EQ(gHintCount, 0);  // 23:30 is later than 00:20:00 as text, but the slot is tomorrow's
    Seconds(1);
    EXPECT_EQ(Hints(), Lines{"late"});
    Dismiss();
    RunTo(0, 20, 0);
    EXPECT_EQ(gToday, "Dec 08 , 2026");  // rebuilt at midnight, slot kept
    EXPECT_EQ(gLastHourlyTime, "00:20:00");
    EXPECT_FALSE(frmAlarm.Loaded());
    Seconds(1);
    EXPECT_EQ(Hints(), Lines{"hourly"});
    EXPECT_EQ(gLastHourlyTime, "01:20:00");
}

TEST_F(AlarmTest, AfterANightAsleepTheHourlySlotTakesTheMorningsHour) {
    StartWith({2026, 12, 7, 19, 30, 0}, {Alarm("hourly", kModeHourly, "09:00:00")});
    EXPECT_EQ(gLastHourlyTime, "20:30:00");
    Seconds(1);
    world.backend.setNow({2026, 12, 8, 8, 0, 5});  // asleep from 20:00 to 08:00
    Seconds(1);
    EXPECT_EQ(gLastHourlyTime, "08:30:00");
    EXPECT_EQ(gAlarmQueue[0].NextTime, "08:30:00");
    RunTo(8, 30, 1);
    EXPECT_EQ(Hints(), Lines{"hourly"});
    EXPECT_EQ(gLastHourlyTime, "09:30:00");
}

TEST_F(AlarmTest, AfterASleepIntoTheNextDayYesterdaysAlarmsNeverFire) {
    // Monday 7 December 20:00, asleep until Tuesday 21:30.
    AlarmRecord mondays = Alarm("monday", kModeWeekly, "21:00:00");
    mondays.Week = 2;
    StartWith({2026, 12, 7, 20, 0, 0},
              {Alarm("once", kModeOnce, "21:00:00"), mondays, Alarm("daily", kModeDaily, "21:00:00")});
    const std::string onceStored = Stored(0), mondaysStored = Stored(1);
    Seconds(1);
    world.backend.setNow({2026, 12, 8, 21, 30, 0});
    Seconds(2);
    // Only the daily alarm fires, from Tuesday's queue; Monday's stay unfired and unstamped.
    EXPECT_EQ(Hints(), Lines{"daily"});
    EXPECT_EQ(Stored(0), onceStored);
    EXPECT_EQ(Stored(1), mondaysStored);
    EXPECT_EQ(gAlarms[2].LastDate, "08 Dec 2026");
}

TEST_F(AlarmTest, TheEleventhOfflineTickOfAGrabRunStopsIt) {
    StartWith({2026, 12, 7, 9, 0, 0}, {});
    gStopGrabbing = false;  // set at start-up
    frmTivlo().mnuGrabbing.Caption = "Stop &Grabbing";
    world.network.setOnline(false);
    Seconds(10);
    EXPECT_FALSE(gStopGrabbing);
    world.network.setOnline(true);  // online at any tick: the count starts again
    Seconds(1);
    world.network.setOnline(false);
    Seconds(10);
    EXPECT_FALSE(gStopGrabbing);
    Seconds(1);
    EXPECT_TRUE(gStopGrabbing && gGrabOffline);
    gStopGrabbing = gGrabOffline = false;
    Seconds(10);
    EXPECT_FALSE(gStopGrabbing);  // counted from 0 again
    EXPECT_TRUE(world.backend.msgBoxCalls().empty());
}

TEST_F(AlarmTest, GoingOfflineEndsAPendingSynchronisationOnce) {
    StartWith({2026, 12, 7, 9, 0, 0}, {});
    world.network.setOnline(false);
    Seconds(3);  // nothing pending: no message
    EXPECT_TRUE(world.backend.msgBoxCalls().empty());
    FrmTivlo& f = frmTivlo();
    f.mnuTimeSynch.Checked = true;
    f.mnuTimeSynch.Enabled = false;
    Seconds(2);
    ASSERT_EQ(world.backend.msgBoxCalls().size(), 1u);
    EXPECT_EQ(world.backend.msgBoxCalls()[0].text, "You are not on the internet !");
    EXPECT_EQ(world.backend.msgBoxCalls()[0].flags, 16);
    EXPECT_FALSE(f.mnuTimeSynch.Checked);
    EXPECT_TRUE(f.mnuTimeSynch.Enabled);
}

TEST_F(AlarmTest, TheConnectionIsProbedOnlyWhileAnAnswerCanChangeSomething) {
    StartWith({2026, 12, 7, 9, 0, 0}, {});
    FrmTivlo& f = frmTivlo();
    const int atStart = world.network.probeCount();
    Seconds(5);
    EXPECT_EQ(world.network.probeCount(), atStart);  // idle: not asked at all

    gStopGrabbing = false;
    f.mnuGrabbing.Caption = "Stop &Grabbing";
    world.network.setOnline(false);
    Seconds(3);
    EXPECT_EQ(world.network.probeCount(), atStart + 3);
    // The run ends with offline ticks counted: asked on until an online answer clears them,
    // so that the next run still gets its ten ticks.
    f.mnuGrabbing.Caption = "&Picture Grabbing";
    Seconds(2);
    EXPECT_EQ(world.network.probeCount(), atStart + 5);
    world.network.setOnline(true);
    Seconds(3);
    EXPECT_EQ(world.network.probeCount(), atStart + 6);

    f.mnuTimeSynch.Checked = true;
    Seconds(2);
    EXPECT_EQ(world.network.probeCount(), atStart + 8);
    f.mnuTimeSynch.Checked = false;
    Seconds(2);
    EXPECT_EQ(world.network.probeCount(), atStart + 8);
    EXPECT_TRUE(world.backend.msgBoxCalls().empty());
}

TEST_F(AlarmTest, NothingFiresWhileTheScheduleDialogIsOpen) {
    StartWith({2026, 12, 7, 9, 59, 0}, {Alarm("a", kModeOnce, "10:00:00"), Alarm("b", kModeDaily, "10:01:00")});
    frmTivlo().mnuSchedule.Enabled = false;
    RunTo(10, 5, 0);
    EXPECT_FALSE(frmAlarm.Loaded());
    frmTivlo().mnuSchedule.Enabled = true;
    Seconds(1);
    EXPECT_EQ(Hints(), (Lines{"a", "b"}));
}

TEST_F(AlarmTest, StoredTextsInNoEditorFormatNeverFire) {
    StartWith({2026, 12, 7, 9, 0, 0},
              {Alarm("bad time", kModeDaily, "25:99:00"), Alarm("bad date", kModeOnce, "09:00:00", "", kActionNothing, "1", "someday"),
               Alarm("empty", kModeDaily, ""), Alarm("ok", kModeDaily, "09:00:02")});
    Seconds(5);
    EXPECT_EQ(Hints(), Lines{"ok"});
}

}  // namespace
