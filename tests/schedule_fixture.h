// A started program with the schedule dialog at hand: alarms stored before the start, the tray
// item that opens the dialog, and a user's presses, clicks and typing on its controls.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "alarms/alarm_records.h"
#include "alarms/schedule_form.h"
#include "kit/headless/headless_listview.h"
#include "program_fixture.h"
#include "shell/tivlo_form.h"

class ScheduleTest : public ProgramTest {
protected:
    static constexpr const char* kKey = "Software\\Tivlo\\TimeSetting";
    static constexpr int kAltMask = kit::kAltMask;

    // An alarm's stored text.
    static std::string Stored(const std::string& hint, const std::string& mode,
                              const std::string& date, const std::string& time,
                              const std::string& action = "Do nothing",
                              const std::string& snooze = "10", int week = 0,
                              const std::string& lastDate = "", const std::string& music = "") {
        return AlarmListValue({.Hint = hint, .Date = date, .Time = time, .Music = music,
                               .Action = action, .Snooze = snooze, .Mode = mode,
                               .Week = static_cast<int16_t>(week), .LastDate = lastDate});
    }

    // Starts on a store holding these alarms and display settings.
    void StartWith(const std::vector<std::string>& alarms, const std::string& amPm = "1",
                   const std::string& day = "1") {
        ASSERT_FALSE(Start());  // writes the defaults
        world.registry.put(kKey, "AM/PM_Mode", amPm);
        world.registry.put(kKey, "Day_Mode", day);
        for (std::size_t i = 0; i < alarms.size(); ++i)
            world.registry.put(kKey, AlarmValueName(int(i)), alarms[i]);
        world.registry.put(kKey, "AlarmNum", std::to_string(alarms.size()));
        ResetGlobals();
        ASSERT_FALSE(Start());
    }

    // A right click on a tray icon and "&Alarm Schedule".
    FrmSchedule& Open() {
        world.backend.setMenuChooser([](const std::vector<kit::MenuEntry>& entries) {
            for (std::size_t i = 0; i < entries.size(); ++i)
                if (entries[i].caption == "&Alarm Schedule") return static_cast<int>(i);
            return -1;
        });
        world.backend.mouseMove(frmTivlo().tmpIcon(0).hWnd(), 0x204, 0);
        return frmSchedule();
    }

    FrmSchedule& Dialog() { return frmSchedule(); }
    OcxAlarmList& List() { return frmSchedule().ocxAlarmList; }
    OcxAlarm& Editor() { return frmSchedule().ocxAlarm; }
    OcxCalendar& Calendar() { return frmSchedule().ocxCalendar; }

    void Press(kit::Control& c) { world.backend.click(c.hWnd()); }
    void PressRow(int row) {
        const kit::Handle h = List().lstAlarmList.hWnd();
        const int y = kit::headless::ListRowCenterY(row - 1);
        world.backend.mouseDown(h, 30, y);
        world.backend.mouseUp(h, 30, y);
    }
    // The user puts the caret into a box, selects what it holds and types over it.
    void TypeOver(kit::TextBox& box, const std::string& text) {
        world.backend.focus(box.hWnd());
        box.setSelStart(0);
        box.setSelLength(static_cast<int>(box.Text().size()));
        world.backend.typeText(text);
    }
    void ChooseTab(int index) {
        kit::TabStrip& tabs = Editor().tabAlarm;
        for (int i = 0; i < 3 && tabs.Tab() != index; ++i) {
            world.backend.focus(tabs.hWnd());
            world.backend.pressKey(tabs.Tab() < index ? kit::kKeyRight : kit::kKeyLeft);
        }
    }

    // The upper and lower arrow of the time picker's spin.
    void SpinUp() { PressSpin(true); }
    void SpinDown() { PressSpin(false); }
    void PressSpin(bool up) {
        kit::ScrollBar& spin = Calendar().vslTime;
        const int y = up ? 2 : spin.heightPx() - 3;
        world.backend.mouseDown(spin.hWnd(), 3, y);
        world.backend.mouseUp(spin.hWnd(), 3, y);
    }
    // Opens a drop-down list and picks the entry.
    void Choose(kit::ComboBox& box, const std::string& entry) {
        for (int i = 0; i < box.ListCount(); ++i)
            if (box.List(i) == entry) world.backend.choose(box.hWnd(), i);
    }

    std::optional<std::string> Reg(const std::string& name) {
        return world.registry.value(kKey, name);
    }
    std::vector<std::string> Messages() {
        std::vector<std::string> texts;
        for (auto& call : world.backend.msgBoxCalls()) texts.push_back(call.text);
        return texts;
    }
    bool Expanded() { return Dialog().Height() >= 6000; }
};
