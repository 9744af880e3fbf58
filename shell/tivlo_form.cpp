#include "shell/tivlo_form.h"

#include <cstring>

#include "alarms/schedule_form.h"
#include "fortune/fortune_form.h"
#include "grabber/crawl.h"
#include "grabber/grab_state.h"
#include "grabber/resource_form.h"
#include "kit/datetime.h"
#include "kit/runtime.h"
#include "platform/services.h"
#include "shell/about_form.h"
#include "shell/globals.h"
#include "shell/help.h"
#include "shell/severe_error.h"
#include "shell/system.h"
#include "shell/tray.h"

namespace {
constexpr int kMouseRightDown = 516;
}  // namespace

FrmTivlo::FrmTivlo()
    : tmpIcon(this, [](kit::Container* c) { return std::make_unique<kit::PictureBox>(c, 16, 16); }),
      picImage(this, 16, 16),
      picMask(this, 16, 16),
      tmrClock(this, 1000),
      tmrAlarm(this, 1000),
      tmrUTC(this, 100),
      tmrGrabbing(this, 100),
      ocxParseWeb(this) {
    picImage.setBackColor(0x000000);
    tmpIcon.MouseMove = [this](int index, int button, int shift, int x, int y) {
        tmpIcon_MouseMove(index, button, shift, x, y);
    };
    tmrClock.OnTimer = [this] { tmrClock_Timer(); };
    tmrGrabbing.OnTimer = [this] { tmrGrabbing_Timer(); };
    ocxParseWeb.DownloadComplete = [this] { ocxParseWeb_DownloadComplete(); };
    tmrUTC.OnTimer = [this] { tmrUTC_Timer(); };
    sckUTC.DataArrival = [this](long bytes) { sckUTC_DataArrival(bytes); };
    sckUTC.OnError = [this](int number) { sckUTC_Error(number); };
    tmrAlarm.OnTimer = [this] { tmrAlarm_Timer(); };
    mnuPopup.Items = {&mnuSchedule, &mnuGrabbing, &sep1, &mnuFortune, &sep2, &mnuTimeSynch,
                      &sep3,        &mnuHelp,     &mnuAbout, &mnuExit};
    mnuSchedule.Click = [this] { mnuSchedule_Click(); };
    mnuTimeSynch.Click = [this] { mnuTimeSynch_Click(); };
    mnuGrabbing.Click = [this] { mnuGrabbing_Click(); };
    mnuFortune.Click = [this] { mnuFortune_Click(); };
    mnuHelp.Click = [this] { mnuHelp_Click(); };
    mnuAbout.Click = [] { frmAbout().Show(); };
    mnuExit.Click = [this] { mnuExit_Click(); };
}

void FrmTivlo::Form_Load() {
    shell::RunLoadHandler(*this, [this] {
        eSystem::HideTrayClock();
        kit::Handle formDC = kit::gdi().getDC(hWnd());
        eTray::CreateIconCanvas(formDC);
        kit::gdi().releaseDC(hWnd(), formDC);
        eTray::AddTrayIcons();
        letterFont_ = TrayLetterFont();
        gWinVersion = eSystem::GetWindowsVersion();
        const kit::DateTime now = kit::Now();
        TrayDispDateTime(kit::DateText(now), kit::TimeText(now));
        tmrClock.setEnabled(true);
        tmrAlarm.setEnabled(true);
    });
}

void FrmTivlo::TrayDispDateTime(const std::string& dateText, const std::string& timeText) {
    const auto date = kit::ParseDate(dateText);
    const auto time = kit::ParseTime(timeText);
    if (!date || !time) return;
    kit::DateTime moment = *date;
    moment.hour = time->hour;
    moment.minute = time->minute;
    moment.second = time->second;

    const kit::Color textColor = static_cast<kit::Color>(gDispColor);
    // White digits need a black mask background, or they would vanish into it.
    picMask.setBackColor(gDispColor == 0xFFFFFF ? 0x000000 : 0xFFFFFF);
    picImage.setForeColor(textColor);
    picMask.setForeColor(textColor);

    kit::Gdi& g = kit::gdi();
    const std::string t = kit::Format(moment, gAmPmMode == 1 ? "hh:mm:ss am/pm" : "hh:mm:ss");

    picImage.Cls();
    picMask.Cls();
    g.textOut(picImage.hDC(), 0, 2, t.substr(0, 3));
    g.textOut(picMask.hDC(), 0, 2, t.substr(0, 3));
    eTray::MakeTrayIcon(tmpIcon(0));

    picImage.Cls();
    picMask.Cls();
    g.textOut(picImage.hDC(), -1, 2, t.substr(3, 2));
    g.textOut(picMask.hDC(), -1, 2, t.substr(3, 2));
    if (gAmPmMode == 1) {
        picImage.setFontName(letterFont_);
        picMask.setFontName(letterFont_);
        const std::string letter = kit::Format(moment, "am/pm").substr(0, 1);
        g.textOut(picImage.hDC(), 11, 2, letter);
        g.textOut(picMask.hDC(), 11, 2, letter);
        picImage.setFontName("MS Sans Serif");
        picMask.setFontName("MS Sans Serif");
    }
    eTray::MakeTrayIcon(tmpIcon(1));

    using eTray::gTrayIcons;
    // Windows 2000 orders the notification area the other way round from later systems.
    const bool hourFirst = gWinVersion == 0;
    gTrayIcons[hourFirst ? 0 : 1].hIcon = tmpIcon(0).picture()->handle();
    gTrayIcons[hourFirst ? 1 : 0].hIcon = tmpIcon(1).picture()->handle();

    const std::string tip = kit::Format(moment, gDayMode == 1 ? "mmm dd,yyyy,dddd" : "dd mmm yyyy,dddd");
    for (auto& rec : gTrayIcons) {
        std::memset(rec.szTip, ' ', sizeof rec.szTip);
        const std::size_t n = std::min(tip.size(), sizeof rec.szTip - 1);
        std::memcpy(rec.szTip, tip.data(), n);
        rec.szTip[n] = '\0';
    }

    const int first = hourFirst ? 0 : 1;
    platform::tray().notifyIcon(platform::kNimModify, gTrayIcons[first]);
    platform::tray().notifyIcon(platform::kNimModify, gTrayIcons[1 - first]);
}

std::string TrayLetterFont() {
    // The digits' font has the same small bitmap size, so the letter still fits the icon.
    return kit::gdi().fontInstalled("MS Serif") ? "MS Serif" : "MS Sans Serif";
}

void FrmTivlo::tmrClock_Timer() {
    const kit::DateTime now = kit::Now();
    const std::string timeText = kit::TimeText(now);
    if (timeText.compare(timeText.size() - 2, 2, "00") == 0 || gTrayRedraw) {
        TrayDispDateTime(kit::DateText(now), timeText);
        gTrayRedraw = false;
    }
}

void FrmTivlo::Form_TaskbarCreated() {
    eSystem::HideTrayClock();
    for (const auto& record : eTray::gTrayIcons) platform::tray().notifyIcon(platform::kNimAdd, record);
    gTrayRedraw = true;
    tmrClock_Timer();
}

void FrmTivlo::tmpIcon_MouseMove(int index, int button, int shift, int x, int y) {
    if (x != kMouseRightDown) return;
    platform::tray().setForegroundWindow(hWnd());
    PopupMenu(mnuPopup);
}

void FrmTivlo::mnuSchedule_Click() {
    mnuSchedule.Enabled = false;
    frmSchedule().Show();
}

void FrmTivlo::mnuFortune_Click() {
    // The game's window enables the item again when it closes.
    mnuFortune.Enabled = false;
    frmFortune().Show();
}

void FrmTivlo::mnuHelp_Click() {
    shell::OpenHelp(0);
}

void FrmTivlo::mnuGrabbing_Click() {
    // The grab window, or the end of the run, gives the item back.
    mnuGrabbing.Enabled = false;
    if (mnuGrabbing.Caption == "&Picture Grabbing") {
        // Its load may already have closed it again (a close that came while events ran).
        if (FrmResource& window = frmResource(); window.loaded()) window.Show();
    } else
        gStopGrabbing = true;
}

void FrmTivlo::mnuExit_Click() {
    gStopGrabbing = true;
    CloseTimeSocket();
    eTray::RemoveTrayIcons();
    eTray::ReleaseIconCanvas();
    eSystem::ShowTrayClock();
    if (gResourceFormOpen) frmResource.Unload();  // its unload saves the grab settings
    kit::End(0);
}

void FrmTivlo::tmrGrabbing_Timer() {
    tmrGrabbing.setEnabled(false);  // the whole run happens inside this one tick
    eResource::GrabPictures();
}

void FrmTivlo::ocxParseWeb_DownloadComplete() {
    if (--gDownloadsInFlight < 0) gDownloadsInFlight = 0;
}
