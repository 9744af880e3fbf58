// A started program with alarms seeded into the store and the queue, on a virtual clock.
#pragma once
#include <string>
#include <vector>

#include "alarms/alarm_popup.h"
#include "alarms/alarm_records.h"
#include "program_fixture.h"
#include "shell/registration.h"
#include "shell/tivlo_form.h"

class AlarmTest : public ProgramTest {
protected:
    static AlarmRecord Alarm(const std::string& hint, const std::string& mode, const std::string& time,
                             const std::string& music = "", const std::string& action = kActionNothing,
                             const std::string& snooze = "1", const std::string& date = "Dec 07 , 2026") {
        return {.Hint = hint, .Date = date, .Time = time, .Music = music, .Action = action,
                .Snooze = snooze, .Mode = mode, .LastDate = ""};
    }

    // Starts the program at the given time with these alarms stored.
    void StartWith(const kit::DateTime& at, std::vector<AlarmRecord> alarms) {
        world.backend.setNow(at);
        ASSERT_FALSE(Start());
        for (std::size_t i = 0; i < alarms.size(); ++i)
            eRegistration::SetRegistryValue(kTimeSettingKey, AlarmValueName(int(i)), AlarmListValue(alarms[i]));
        eRegistration::SetRegistryValue(kTimeSettingKey, "AlarmNum", std::to_string(alarms.size()));
        LoadAlarms();
    }

    // Seconds of the virtual clock, one tmrAlarm tick each.
    void Seconds(int n) { world.backend.advance(1000ull * n); }
    // Runs the clock until it reads this time of day (today or after midnight).
    void RunTo(int h, int m, int s) {
        const kit::DateTime now = kit::Now();
        long long want = h * 3600LL + m * 60 + s, have = now.hour * 3600LL + now.minute * 60 + now.second;
        if (want < have) want += 86400;
        world.backend.advance(static_cast<std::uint64_t>(want - have) * 1000);
    }
    std::string Stored(int index) {
        return world.registry.value(kTimeSettingKey, AlarmValueName(index)).value_or("");
    }
    bool PopupOpen() { return frmAlarm.Loaded() && frmAlarm().Visible(); }
    // Closes the pop-up with a right double-click.
    void Dismiss() {
        ASSERT_TRUE(PopupOpen());
        world.backend.dblClick(frmAlarm().hWnd(), 10, 5, kit::kRightButton);
        ASSERT_FALSE(frmAlarm.Loaded());
    }
    std::vector<std::string> Hints() { return {gHints.begin(), gHints.begin() + gHintCount}; }
};
