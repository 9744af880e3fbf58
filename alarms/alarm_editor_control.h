// The alarm editor of the schedule dialog: three pages on a tab strip ("Sched&ule",
// "Action&s", "&Date/Time Format") for one alarm and the tray clock's display settings. It keeps
// the alarm in members of its own; the alarm list loads and reads them through the get and set
// members, the calendar pushes its date and time into them.
#pragma once
#include <cstdint>
#include <string>

#include "alarms/slider_control.h"
#include "kit/commondialog.h"
#include "kit/controls.h"
#include "kit/mmcontrol.h"
#include "platform/mixer.h"
#include "kit/tabstrip.h"

class OcxAlarm : public kit::UserControl {
public:
    explicit OcxAlarm(kit::Container* parent);

    void setAlarmHint(const std::string& v) { mHint = v; }
    std::string getAlarmHint() const { return mHint; }
    void setAlarmDate(const std::string& v) { mDate = v; }
    std::string getAlarmDate() const { return mDate; }
    void setAlarmTime(const std::string& v) { mTime = v; }
    std::string getAlarmTime() const { return mTime; }
    void setAlarmMusic(const std::string& v) { mMusic = v; }
    std::string getAlarmMusic() const { return mMusic; }
    void setAlarmMode(const std::string& v) { mMode = v; }
    std::string getAlarmMode() const { return mMode; }
    void setAlarmWeek(const std::string& v);
    int16_t getAlarmWeek() const { return mWeek; }
    void setAlarmAction(const std::string& v) { mAction = v; }
    std::string getAlarmAction() const { return mAction; }
    void setAlarmSnooze(const std::string& v);
    std::string getAlarmSnooze() const { return std::to_string(mSnooze); }

    // Resets the editor for a new alarm.
    void AlarmSetting();
    // Applies the mode the mode list shows.
    void cmbAlarmMode_Click();
    // Shows the members in the controls.
    void EditAlarm();

    void tabAlarm_Click();
    void chkWeek_Click(int index);
    void cmbAlarmAction_Click();
    void txtSnoozeTime_Change();
    void vslSnoozeTime_Change();
    void txtAlarmHint_Change();
    void cmdOK_Click(int index);
    void cmdCancel_Click(int index);
    void optTimeFormat_Click(int index);
    void optDateFormat_Click(int index);
    void optTimeFormat_GotFocus(int index);
    void optDateFormat_GotFocus(int index);
    void cmbDispColor_Click();
    void cmdMusicPath_Click();
    void cmdPlay_Click();
    void cmdStop_Click();
    void mciMedia_StatusUpdate();
    void sldVolume_Change();

    kit::TabStrip tabAlarm{this};
    kit::PictureBox picAlarmSchedule{&tabAlarm, 1, 1};
    kit::PictureBox picAlarmAction{&tabAlarm, 1, 1};
    kit::PictureBox picAlarmDateTime{&tabAlarm, 1, 1};

    // "Sched&ule"
    kit::Label lblAlarmMode{&picAlarmSchedule, "Alarm mode :"};
    kit::ComboBox cmbAlarmMode{&picAlarmSchedule};
    kit::Label lblDateTime{&picAlarmSchedule, "Alarm date and time :"};
    kit::Label lblDate{&picAlarmSchedule, "Date :"};
    kit::TextBox txtDate{&picAlarmSchedule};
    kit::Label lblTime{&picAlarmSchedule, "Time :"};
    kit::TextBox txtTime{&picAlarmSchedule};
    kit::Label lblWeek{&picAlarmSchedule, "Applicable days of the week :"};
    kit::ControlArray<kit::CheckBox> chkWeek;

    // "Action&s"
    kit::Label lblAlarmHint{&picAlarmAction, "Alarm hint :"};
    kit::TextBox txtAlarmHint{&picAlarmAction};
    kit::Label lblAlarmMusic{&picAlarmAction, "Alarm music :"};
    kit::TextBox txtAlarmMusic{&picAlarmAction};
    kit::CommandButton cmdMusicPath{&picAlarmAction, "..."};
    kit::CommandButton cmdPlay{&picAlarmAction, "Play"};
    kit::CommandButton cmdStop{&picAlarmAction, "Stop"};
    OcxSlider sldProgress{&picAlarmAction};
    kit::Label lblVolume{&picAlarmAction, "Volume level :"};
    OcxSlider sldVolume{&picAlarmAction};
    kit::Label lblAction{&picAlarmAction, "Actions after alarm :"};
    kit::ComboBox cmbAlarmAction{&picAlarmAction};
    kit::Label lblSnooze{&picAlarmAction, "Snooze time :"};
    kit::TextBox txtSnoozeTime{&picAlarmAction};
    kit::UpDown vslSnoozeTime{&picAlarmAction};
    kit::Label lblMinutes{&picAlarmAction, "minutes"};

    // "&Date/Time Format"
    kit::Label lblDispColor{&picAlarmDateTime, "Display Color"};
    kit::ComboBox cmbDispColor{&picAlarmDateTime};
    kit::Frame fmeTimeFormat{&picAlarmDateTime, "&Time Format"};
    kit::ControlArray<kit::OptionButton> optTimeFormat;
    kit::Frame fmeDateFormat{&picAlarmDateTime, "&Date Format"};
    kit::ControlArray<kit::OptionButton> optDateFormat;

    // One per page: the index is the page.
    kit::ControlArray<kit::CommandButton> cmdOK;
    kit::ControlArray<kit::CommandButton> cmdCancel;

    kit::TextBox txtDumb{this};
    kit::MMControl mciMedia{hostForm()};
    kit::CommonDialog CommonDialog1{hostForm()};

    std::string mHint, mDate, mTime, mMusic, mMode, mAction;
    int16_t mWeek = 0;
    int16_t mSnooze = 0;
    bool mReady = false;
    bool mBusy = false;
    int32_t mLastDispColor = 0;
    platform::MixerHandle mMixer = 0;
    platform::MixerControl mVolumeControl;
    double mPlayedMs = 0;

protected:
    void UserControl_Initialize() override;
    void UserControl_Terminate() override;

private:
    void lowerDialog();
    void SetUpMusic();
    void ClosePreview();
    void selectAll(kit::TextBox& box);
    kit::PictureBox& page(int index);
    bool showingAlarm_ = false;
};
