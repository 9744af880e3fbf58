// The schedule dialog driven as a user drives it: opened from the tray, alarms added, edited,
// removed, saved or thrown away, and the rows' texts and bands.
#include <map>

#include "alarms/alarm_list_rows.h"
#include "alarms/schedule_state.h"
#include "platform/services.h"
#include "schedule_fixture.h"
#include "shell/globals.h"

namespace {

// Records the store's writes and deletions, in order, on their way to the real store.
class RecordingRegistry : public platform::Registry {
public:
    explicit RecordingRegistry(platform::Registry& inner) : inner_(inner) {}
    std::vector<std::string> calls;

    long createKeyEx(platform::HKey k, const std::string& s, std::uint32_t o, std::uint32_t sam,
                     platform::HKey& r, std::uint32_t& d) override {
        const long rc = inner_.createKeyEx(k, s, o, sam, r, d);
        paths_[r] = s;
        return rc;
    }
    long openKeyEx(platform::HKey k, const std::string& s, std::uint32_t o, std::uint32_t sam,
                   platform::HKey& r) override {
        const long rc = inner_.openKeyEx(k, s, o, sam, r);
        paths_[r] = s;
        return rc;
    }
    long setValueEx(platform::HKey k, const std::string& name, std::uint32_t type,
                    const std::uint8_t* data, std::uint32_t size) override {
        calls.push_back("set " + name);
        return inner_.setValueEx(k, name, type, data, size);
    }
    long queryValueEx(platform::HKey k, const std::string& n, std::uint32_t* t, std::uint8_t* d,
                      std::uint32_t* s) override {
        return inner_.queryValueEx(k, n, t, d, s);
    }
    long enumKey(platform::HKey k, std::uint32_t i, char* n, std::uint32_t s) override {
        return inner_.enumKey(k, i, n, s);
    }
    long deleteKey(platform::HKey k, const std::string& s) override {
        calls.push_back("delete " + (s.empty() ? paths_[k] : s));
        return inner_.deleteKey(k, s);
    }
    long closeKey(platform::HKey k) override { return inner_.closeKey(k); }

private:
    platform::Registry& inner_;
    std::map<platform::HKey, std::string> paths_;
};

class ScheduleDialogTest : public ScheduleTest {
protected:
    // The colour of the band behind a row (counted from 1), read from the list's picture.
    kit::Color Band(int row) {
        auto px = world.gdi.bitmapPixels(List().lstAlarmList.picture()->handle());
        return px.at(5, (row - 1) * kit::headless::kListRowPx + kit::headless::kListRowPx / 2);
    }
    std::vector<std::string> Column(int column) {
        std::vector<std::string> texts;
        for (int r = 1; r <= List().lstAlarmList.RowCount(); ++r)
            texts.push_back(List().lstAlarmList.Cell(r, column));
        return texts;
    }
    // Saves with a recording store and returns what it wrote, in order.
    std::vector<std::string> SaveRecorded() {
        RecordingRegistry recording(world.registry);
        platform::services().registry = &recording;
        Press(Dialog().cmdOK);
        platform::services().registry = &world.registry;
        return recording.calls;
    }
};

constexpr kit::Color kRed = 255, kDark = 8355711, kLight = 11842740;

TEST_F(ScheduleDialogTest, TheTrayItemOpensTheCollapsedDialogCentredForTheEditor) {
    StartWith({});
    FrmSchedule& d = Open();
    EXPECT_TRUE(d.Visible());
    EXPECT_FALSE(frmTivlo().mnuSchedule.Enabled);
    EXPECT_EQ(d.Caption(), "Alarm Schedule Setting");
    EXPECT_EQ(d.ScaleWidth(), 8880);
    EXPECT_EQ(d.ScaleHeight(), 4695);
    EXPECT_EQ(d.Top(), 1350);  // a 768-pixel screen: (11520 - 8820) / 2
    EXPECT_EQ(d.Left(), (15360 - d.Width()) / 2);
    EXPECT_FALSE(d.cmdOK.Enabled());
    EXPECT_EQ(gAlarmEditHeight, 3675);
    // The parts sit where the dialog's design puts them.
    EXPECT_EQ(d.ocxAlarmList.Left(), -90);
    EXPECT_EQ(d.ocxAlarmList.Width(), 8895);
    EXPECT_EQ(d.cmdOK.Left(), 5520);
    EXPECT_EQ(d.cmdOK.Top(), 4200);
    EXPECT_EQ(d.cmdHelp.Left(), 7440);
    EXPECT_EQ(d.ocxAlarm.Top(), 4695);
    EXPECT_EQ(d.ocxCalendar.Left(), 5520);
    EXPECT_EQ(d.ocxCalendar.Top(), 4680);
    EXPECT_EQ(List().lstAlarmList.Width(), 8055);
    EXPECT_EQ(List().lstAlarmList.Height(), 3615);
    EXPECT_EQ(List().lstAlarmList.ColumnTitle(6), "Snooze");
    EXPECT_EQ(List().lstAlarmList.ColumnWidthPx(0), 90);  // 8055 / 6 twips

    Press(d.cmdHelp);
    ASSERT_EQ(world.shell.calls().size(), 1u);
    EXPECT_EQ(world.shell.calls()[0].file,
              "C:\\Program Files\\Tivlo\\Tivlo 2.3 Full Version Help.chm");
    EXPECT_EQ(world.shell.calls()[0].owner, 0u);

    // Add opens the editor: 8820 twips; OK or Cancel lowers it again by 3675.
    Press(List().cmdAdd);
    EXPECT_EQ(d.Height(), 8820);
    Press(Editor().cmdCancel(0));
    EXPECT_EQ(d.Height(), 8820 - 3675);
    EXPECT_FALSE(List().cmdRemoveAll.Enabled());  // Add and Cancel on an empty list
    EXPECT_TRUE(List().cmdAdd.Enabled());
}

TEST_F(ScheduleDialogTest, SaveOfAnEmptyListWritesTheSettingsAndNoAlarmInOrder) {
    StartWith({Stored("Tea", "Every day", "", "04:00:00 pm"),
               Stored("Bed", "Every day", "", "10:00:00 pm")});
    world.registry.put(kKey, "AlarmList3", "left over");
    Open();
    Press(List().cmdRemoveAll);  // answered No: nothing changes
    EXPECT_EQ(List().lstAlarmList.RowCount(), 2);
    EXPECT_FALSE(Dialog().cmdOK.Enabled());
    world.backend.queueMsgBoxAnswer(kit::kIdYes);
    gHourlyAlarmSet = true;
    Press(List().cmdRemoveAll);
    ASSERT_EQ(Messages(),
              (std::vector<std::string>{"Do you want to continue ?", "Do you want to continue ?"}));
    EXPECT_EQ(world.backend.msgBoxCalls()[0].flags, 52);
    EXPECT_EQ(world.backend.msgBoxCalls()[0].caption, "Tivlo 2.3");
    EXPECT_EQ(world.backend.msgBoxCalls()[0].owner, List().hWnd());
    EXPECT_EQ(List().lstAlarmList.RowCount(), 0);
    EXPECT_FALSE(gHourlyAlarmSet);
    EXPECT_FALSE(List().cmdRemoveAll.Enabled());
    ASSERT_TRUE(Dialog().cmdOK.Enabled());

    gDispColor = 0xFF;
    EXPECT_EQ(SaveRecorded(),
              (std::vector<std::string>{"delete Software\\Tivlo\\TimeSetting", "set Day_Mode",
                                        "set AM/PM_Mode", "set DispColor", "set AlarmNum"}));
    EXPECT_EQ(Reg("AlarmNum"), "0");
    EXPECT_EQ(Reg("DispColor"), "255");
    EXPECT_EQ(Reg("Day_Mode"), "1");
    EXPECT_EQ(Reg("AlarmList1"), std::nullopt);
    EXPECT_EQ(Reg("AlarmList3"), std::nullopt);
    EXPECT_FALSE(frmSchedule.Loaded());
    EXPECT_TRUE(frmTivlo().mnuSchedule.Enabled);
    EXPECT_EQ(gSavedAlarmCount, 0);
    EXPECT_EQ(gAlarmQueueCount, 0);
}

TEST_F(ScheduleDialogTest, AnAddedAlarmIsSavedAfterTheSettingsAndQueued) {
    StartWith({Stored("Tea", "Every day", "", "04:00:00 pm")});
    Open();
    Press(List().cmdAdd);
    ChooseTab(1);
    TypeOver(Editor().txtAlarmHint, "Bed");
    // An hour later by the picker's spin.
    Press(Calendar().txtTime(0));
    SpinUp();
    Press(Editor().cmdOK(1));
    ASSERT_TRUE(Messages().empty()) << Messages()[0];
    ASSERT_EQ(gAlarmCount, 2);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"Tea", "Bed"}));
    EXPECT_EQ(gAlarmQueueCount, 2);
    EXPECT_EQ(SaveRecorded(),
              (std::vector<std::string>{"delete Software\\Tivlo\\TimeSetting", "set Day_Mode",
                                        "set AM/PM_Mode", "set DispColor", "set AlarmList1",
                                        "set AlarmList2", "set AlarmNum"}));
    EXPECT_EQ(Reg("AlarmList2"), "Bed/Once/Dec 07 , 2026/10:41:30 am//Do nothing/10/0/");
    EXPECT_EQ(Reg("AlarmNum"), "2");
    EXPECT_EQ(gSavedAlarmCount, 2);
    EXPECT_EQ(gSavedAlarms[1].Hint, "Bed");
    EXPECT_EQ(gAlarmQueueCount, 2);
    EXPECT_EQ(gAlarmQueue[1].NextTime, "10:41:30 am");  // "04:00:00 pm" sorts first, as text
}

TEST_F(ScheduleDialogTest, AddThenExitLeavesListStoreAndQueueAsBefore) {
    StartWith({Stored("Tea", "Every day", "", "04:00:00 pm")});
    const auto storeBefore = Reg("AlarmList1");
    Open();
    Press(List().cmdAdd);
    Choose(Editor().cmbAlarmMode, "Every hour after running computer");
    Press(Editor().cmdOK(0));
    ASSERT_EQ(gAlarmCount, 2);
    ASSERT_TRUE(gHourlyAlarmSet);
    ASSERT_EQ(gAlarmQueueCount, 2);
    Press(Dialog().cmdCancel);
    EXPECT_FALSE(frmSchedule.Loaded());
    EXPECT_EQ(gAlarmCount, 1);
    EXPECT_EQ(gAlarms.size(), 1u);
    EXPECT_EQ(gAlarms[0].Hint, "Tea");
    EXPECT_EQ(Reg("AlarmList1"), storeBefore);
    EXPECT_EQ(Reg("AlarmList2"), std::nullopt);
    EXPECT_EQ(Reg("AlarmNum"), "1");
    EXPECT_EQ(gAlarmQueueCount, 1);
    EXPECT_EQ(gAlarmQueue[0].AlarmIndex, 0);
    // The discarded hourly alarm leaves the hourly slot free.
    EXPECT_FALSE(gHourlyAlarmSet);
    EXPECT_TRUE(frmTivlo().mnuSchedule.Enabled);
}

TEST_F(ScheduleDialogTest, RemoveThenTheCloseBoxBringsTheAlarmBackButNotTheStoredClockFormat) {
    StartWith({Stored("Tea", "Every day", "", "04:00:00 pm"),
               Stored("Bed", "Every day", "", "10:00:00 pm")});
    FrmSchedule& d = Open();
    PressRow(1);
    EXPECT_TRUE(List().cmdEdit.Enabled());
    Press(List().cmdRemove);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"Bed"}));
    EXPECT_TRUE(d.cmdOK.Enabled());
    EXPECT_FALSE(List().cmdRemove.Enabled());
    EXPECT_TRUE(List().cmdRemoveAll.Enabled());

    // The 24-hour clock, chosen on the editor's last page, is stored at once.
    Press(List().cmdAdd);
    ChooseTab(2);
    Press(Editor().optTimeFormat(1));
    EXPECT_EQ(gAmPmMode, 2);
    EXPECT_EQ(Reg("AM/PM_Mode"), "2");
    EXPECT_TRUE(gTrayRedraw);
    world.tray.reset();
    world.backend.pressCloseBox(d.hWnd());
    EXPECT_FALSE(frmSchedule.Loaded());
    EXPECT_EQ(gAlarmCount, 2);
    EXPECT_EQ(gAlarms[0].Hint, "Tea");
    EXPECT_EQ(gAlarmQueueCount, 2);
    EXPECT_EQ(gAmPmMode, 1);
    EXPECT_EQ(Reg("AM/PM_Mode"), "2");
    EXPECT_EQ(Reg("AlarmNum"), "2");
    // The tray clock was drawn again, and the item is back.
    EXPECT_FALSE(world.tray.calls().empty());
    EXPECT_TRUE(frmTivlo().mnuSchedule.Enabled);
}

TEST_F(ScheduleDialogTest, ExitAndTheCloseBoxKeepTheHourlyRhythm) {
    StartWith({Stored("Stretch", "Every hour after running computer", "", "09:00:00")});
    const std::string slot = gLastHourlyTime;
    ASSERT_FALSE(slot.empty());
    world.backend.advance(10 * 60 * 1000);
    // Edited into a daily alarm, then thrown away with Exit.
    Open();
    PressRow(1);
    Press(List().cmdEdit);
    Choose(Editor().cmbAlarmMode, "Every day");
    Press(Editor().cmdOK(0));
    ASSERT_EQ(gAlarms[0].Mode, "Every day");
    Press(Dialog().cmdCancel);
    EXPECT_TRUE(gHourlyAlarmSet);
    EXPECT_EQ(gLastHourlyTime, slot);
    ASSERT_EQ(gAlarmQueueCount, 1);
    EXPECT_EQ(gAlarmQueue[0].NextTime, slot);
    // Removed, then thrown away with the close box.
    Open();
    PressRow(1);
    Press(List().cmdRemove);
    world.backend.pressCloseBox(Dialog().hWnd());
    EXPECT_EQ(gLastHourlyTime, slot);
    ASSERT_EQ(gAlarmQueueCount, 1);
    EXPECT_EQ(gAlarmQueue[0].NextTime, slot);
    EXPECT_EQ(gAlarms[0].Time, slot);
}

TEST_F(ScheduleDialogTest, EachClosingGivesBackEveryWindowAndDrawingObjectOfTheDialog) {
    StartWith({Stored("Tea", "Every day", "", "04:00:00 pm")});
    auto counts = [&] {
        return std::vector<long long>{world.gdi.liveObjectCount(), world.gdi.liveDCCount(),
                                      world.gdi.livePictureCount(), world.gdi.liveIconCount(),
                                      static_cast<long long>(world.backend.windowCount()),
                                      static_cast<long long>(world.backend.timerCount())};
    };
    // Closed by Exit, by the close box, and after the editor was open.
    auto openAndClose = [&](int way) {
        Open();
        if (way == 2) Press(List().cmdAdd);
        if (way == 0)
            Press(Dialog().cmdCancel);
        else
            world.backend.pressCloseBox(Dialog().hWnd());
        ASSERT_FALSE(frmSchedule.Loaded());
    };
    openAndClose(0);
    const auto first = counts();
    for (int i = 1; i < 10; ++i) openAndClose(i % 3);
    EXPECT_EQ(counts(), first);
    EXPECT_EQ(kit::UnloadedFormCount(), 0u);
}

TEST_F(ScheduleDialogTest, BandsTellTheStateOfEachAlarmToday) {
    // Monday 7 Dec 2026, 09:41:30.
    StartWith({Stored("Yesterday", "Once", "Dec 06 , 2026", "11:00:00 pm"),
               Stored("Later", "Once", "07 Dec 2026", "10:00:00 am"),
               Stored("Past, unfired", "Once", "Dec 07 , 2026", "08:00:00 am"),
               Stored("Fired", "Once", "Dec 07 , 2026", "08:30:00 am", "Do nothing", "10", 0,
                      "07 Dec 2026"),
               Stored("Tomorrow", "Once", "Dec 08 , 2026", "07:00:00 am"),
               Stored("Daily", "Every day", "", "01:00:00 pm"),
               Stored("Sunday", "Every week", "", "01:00:00 pm", "Do nothing", "10", 1)});
    Open();
    EXPECT_EQ(Band(1), kDark);
    EXPECT_EQ(Band(2), kRed);
    EXPECT_EQ(Band(3), kRed);  // still queued: the dispatcher waits while the dialog is open
    EXPECT_EQ(Band(4), kDark);
    EXPECT_EQ(Band(5), kLight);
    EXPECT_EQ(Band(6), kRed);
    EXPECT_EQ(Band(7), kLight);  // another weekday
    EXPECT_EQ(Band(8), kLight);  // below the last alarm
    Press(Dialog().cmdCancel);

    // 12-hour texts are compared as times of day: at 11 am, 1 pm lies ahead; at 1 pm, 11 am
    // has passed (both fired earlier, so neither is queued).
    ResetGlobals();
    world.backend.setNow({2026, 12, 7, 11, 0, 0});
    StartWith({Stored("One", "Once", "Dec 07 , 2026", "01:00:00 pm", "Do nothing", "10", 0,
                      "07 Dec 2026"),
               Stored("Eleven", "Once", "Dec 07 , 2026", "11:00:00 am", "Do nothing", "10", 0,
                      "07 Dec 2026")});
    Open();
    EXPECT_EQ(Band(1), kLight);
    Press(Dialog().cmdCancel);
    world.backend.setNow({2026, 12, 7, 13, 0, 0});
    Open();
    EXPECT_EQ(Band(2), kDark);
}

TEST_F(ScheduleDialogTest, RowsFollowTheDisplaySettingsWithWeekdaysMusicAndSnooze) {
    StartWith({Stored("Gym", "Every week", "", "07:00:00", "Do nothing", "10", 2 | 8),
               Stored("Swim", "Every week", "", "07:00:00", "Do nothing", "10", 32),
               Stored("Any day", "Every week", "", "07:00:00", "Do nothing", "10", 127),
               Stored("Birthday", "Every year", "Mar 05 , 2008", "07:00:00",
                      "Lock keyboard and mouse", "25"),
               Stored("Rent", "Every month", "05 Mar 2008", "07:00:00", "Shut down computer", "25",
                      0, "", "C:\\My Music\\rent.mp3"),
               Stored("Dentist", "Once", "Mar 05 , 2008", "02:05:00 pm")},
              "2", "2");
    Open();
    EXPECT_EQ(Column(2), (std::vector<std::string>{"Mon,Wed", "Fri", "Sun,Mon,Tue,Wed,Thu,Fri,Sat",
                                                   "05 Mar", "05", "05 Mar 2008"}));
    EXPECT_EQ(Column(3)[5], "14:05:00");
    EXPECT_EQ(Column(4), (std::vector<std::string>{"", "", "", "", "rent.mp3", ""}));
    EXPECT_EQ(Column(6), (std::vector<std::string>{"", "", "", "25", "", ""}));
    EXPECT_EQ(Column(1)[0], "Every week");
}

TEST_F(ScheduleDialogTest, TabFromASelectedRowRunsEdit) {
    StartWith({Stored("Tea", "Every day", "", "04:00:00 pm"),
               Stored("Bed", "Every day", "", "10:00:00 pm")});
    FrmSchedule& d = Open();
    PressRow(2);
    EXPECT_EQ(List().mSelectedAlarm, 2);
    EXPECT_EQ(Editor().getAlarmHint(), "Bed");
    EXPECT_FALSE(Expanded());
    world.backend.pressKey(kit::kKeyTab);
    EXPECT_TRUE(Expanded());
    EXPECT_FALSE(gAddingAlarm);
    EXPECT_FALSE(List().cmdAdd.Enabled());
    EXPECT_FALSE(List().cmdEdit.Enabled());
    EXPECT_FALSE(List().cmdRemoveAll.Enabled());
    // The edit: the picker (still on the current time) an hour on, then OK changes the alarm
    // in place.
    Press(Calendar().txtTime(0));
    SpinUp();
    Press(Editor().cmdOK(0));
    EXPECT_EQ(d.Height(), 8820 - 3675);
    EXPECT_EQ(gAlarms[1].Time, "10:41:30 am");
    EXPECT_EQ(gAlarms[1].Hint, "Bed");
    EXPECT_TRUE(d.cmdOK.Enabled());
    EXPECT_TRUE(List().cmdAdd.Enabled());

    // Leaving the list for anything else turns Edit and Remove off again.
    PressRow(1);
    EXPECT_TRUE(List().cmdRemove.Enabled());
    world.backend.focus(d.cmdHelp.hWnd());
    EXPECT_FALSE(List().cmdRemove.Enabled());
    EXPECT_EQ(gAlarmCount, 2);
}

}  // namespace
