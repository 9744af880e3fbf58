// The hidden main form: tray clock, timers, tray menu and exit.
#pragma once
#include <memory>
#include <string>

#include "grabber/parse_web.h"
#include "kit/controls.h"
#include "kit/filelistbox.h"
#include "platform/tcp_client.h"

class FrmTivlo : public kit::Form {
public:
    FrmTivlo();

    // Redraws both tray icons and their tooltips. dateText: the toolkit's date text; timeText:
    // 24-hour "hh:mm:ss".
    void TrayDispDateTime(const std::string& dateText, const std::string& timeText);

    // Clock synchronisation with a daytime server.
    void mnuTimeSynch_Click();
    void tmrUTC_Timer();
    void CheckUTC();
    bool WaitTimeReply();
    void sckUTC_DataArrival(long bytesTotal);
    void sckUTC_Error(int number);
    void CloseTimeSocket();
    void ResetTimeSynchMenu();
    void ShowSynchFinished();
    void ShowSynchError();
    // Ends a pending synchronisation because the connection is gone: the start still due is
    // dropped, the attempts under way end quietly, the menu item is usable again, the socket
    // is closed, and the user reads "You are not on the internet !". The alarm tick calls it.
    void CancelTimeSynch();

    void tmrClock_Timer();
    // The shell restarted (the "TaskbarCreated" broadcast): it forgot our icons.
    void Form_TaskbarCreated() override;
    // The alarm dispatcher (alarms/alarm_dispatcher.cpp).
    void tmrAlarm_Timer();
    void tmpIcon_MouseMove(int index, int button, int shift, int x, int y);
    void mnuSchedule_Click();
    void mnuGrabbing_Click();
    void mnuFortune_Click();
    void mnuHelp_Click();
    void mnuExit_Click();
    void tmrGrabbing_Timer();
    void ocxParseWeb_DownloadComplete();

    kit::ControlArray<kit::PictureBox> tmpIcon;
    kit::PictureBox picImage;
    kit::PictureBox picMask;
    kit::Timer tmrClock;
    kit::Timer tmrAlarm;
    kit::Timer tmrUTC;
    kit::Timer tmrGrabbing;
    platform::TcpClient sckUTC;
    ParseWeb ocxParseWeb;
    // The download folder's pictures, listed for the grab window and the viewer.
    kit::FileListBox flbThumbView{"*.jpeg;*.jpg;*.bmp;*.gif;*.png"};

    kit::MenuItem mnuPopup{"SysTray Popup Menu"};
    kit::MenuItem mnuSchedule{"&Alarm Schedule"};
    kit::MenuItem mnuGrabbing{"&Picture Grabbing"};
    kit::MenuItem sep1{"-"};
    kit::MenuItem mnuFortune{"&Fortune-telling"};
    kit::MenuItem sep2{"-"};
    kit::MenuItem mnuTimeSynch{"&Time Synch Via Web"};
    kit::MenuItem sep3{"-"};
    kit::MenuItem mnuHelp{"&Help"};
    kit::MenuItem mnuAbout{"A&bout..."};
    kit::MenuItem mnuExit{"E&xit"};

protected:
    void Form_Load() override;

private:
    void WatchConnection();
    void FireDueAlarms();
    void RebuildQueueAtNewDate();

    std::string letterFont_;
    std::string mTimeReply;  // "+OK" once a reply set the clock
    bool checkingUTC_ = false;     // CheckUTC is on the stack
    bool synchCancelled_ = false;  // CancelTimeSynch ended the attempts under way
    bool awaitingReply_ = false;   // an attempt waits: arrivals are judged, others dropped
    bool attemptFailed_ = false;   // the connection was refused, its host unknown, or it broke
    bool clockRefused_ = false;    // the system refused the new time
    int16_t mOfflineTicks = 0;  // offline ticks in a row during a grab run
    bool mAlarmTickRunning = false;
};

inline kit::FormInstance<FrmTivlo> frmTivlo;

// The am/pm letter's font: MS Serif, or the digits' own font where MS Serif is not installed.
std::string TrayLetterFont();
