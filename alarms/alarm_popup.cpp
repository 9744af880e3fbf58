#include "alarms/alarm_popup.h"

#include <algorithm>

#include "alarms/alarm_records.h"
#include "kit/convert.h"
#include "kit/gdi.h"
#include "kit/runtime.h"
#include "platform/services.h"
#include "shell/system.h"
#include "shell/tivlo_form.h"

namespace {
constexpr const char* kShutdownWarning =
    "Save your data please, computer will\r\nbe shut down in one minute !";
constexpr unsigned kMusicUpdateMs = 50;
constexpr int kLockSecondsPerUnit = 60;

kit::Color Red(int intensity) { return static_cast<kit::Color>(intensity & 0xFF); }

void Beep() { platform::sound().messageBeep(platform::kStandardBeep); }
}  // namespace

FrmAlarm::FrmAlarm()
    : pbTextBuffer(this, 0, kLinePx),
      lblTestHint(this, "Hint"),
      tmrFlash(this, kFlashMs, true),
      tmrAction(this, 1000, false),
      mciMedia(this) {
    setBorderStyle(kit::kBorderNone);
    setScaleMode(kit::kScalePixels);
    setBackColor(kBackColor);
    setClientSize(kWidthTwips, kLineTwips);
    // The buffer lies below the window's visible part; only its image is used.
    pbTextBuffer.setBackColor(kBackColor);
    pbTextBuffer.Move(0, kLinePx * 1000);
    lblTestHint.setVisible(false);
    lblTestHint.setAutoSize(true);
    tmrFlash.OnTimer = [this] { tmrFlash_Timer(); };
    tmrAction.OnTimer = [this] { tmrAction_Timer(); };
    mciMedia.StatusUpdate = [this] { mciMedia_StatusUpdate(); };
}

void FrmAlarm::Form_Load() {
    mIntensity = kBrightest;
    pbTextBuffer.setWidth(ScaleWidth());
    // Top centre of the screen, so the whole window is always in sight.
    Move((kit::backend().screenWidthTwips() - Width()) / 2, 0);
    Show();
    setTopmost();
    AddHint();
}

void FrmAlarm::AddHint() {
    try {
        if (gHintCount < 1) return;
        const AlarmQueueItem& entry = gAlarmQueue.at(gFiredIndex);
        // A copy: the warning below lets other handlers run, which may rebuild the lists.
        const AlarmRecord alarm = gAlarms.at(entry.AlarmIndex);
        gHints.resize(gHintCount);
        gHints.back() = alarm.Hint;
        DrawHints(Red(mIntensity));

        StartMusic(alarm.Music);

        mAction = alarm.Action;
        if (mAction == kActionShutdown && !mShutdownPending) {
            mShutdownAction = kActionShutdown;
            mShutdownCountdown = kShutdownSeconds;
            eSystem::UnlockInput();  // so that the user can save
            mShutdownPending = true;
            tmrAction.setEnabled(true);
            // The countdown runs while the warning is open.
            frmTivlo().MsgBox(kShutdownWarning, kit::kMbIconExclamation, "Tivlo 2.3");
        } else if (mAction == kActionLock && !mShutdownPending) {
            mLockAction = kActionLock;
            mLockCountdown = kit::CIntOf(kit::CDbl(alarm.Snooze) * kLockSecondsPerUnit);
            // Input is blocked only with a countdown that will release it.
            if (mLockCountdown > 0) eSystem::LockInput();
            mLockActive = true;
            tmrAction.setEnabled(true);
        }
    } catch (const kit::RuntimeError&) {
    } catch (const std::out_of_range&) {
    }
}

void FrmAlarm::StartMusic(const std::string& music) {
    // A music file that cannot be played (moved, deleted, not sound) still makes the alarm heard.
    try {
        if (mciMedia.Mode() != kit::kMciModeNotOpen) mciMedia.setCommand("Close");
        mMusic = music;
        if (mMusic.empty()) {
            Beep();
            return;
        }
        mciMedia.setTimeFormat(kit::kMciFormatMilliseconds);
        mciMedia.setUpdateInterval(kMusicUpdateMs);
        mciMedia.setFileName(mMusic);
        mciMedia.setCommand("Open");
        mciMedia.setCommand("Play");
    } catch (const kit::RuntimeError&) {
        StopMusic();
        Beep();
    }
}

void FrmAlarm::StopMusic() {
    try {
        if (mciMedia.Mode() != kit::kMciModeNotOpen) mciMedia.setCommand("Close");
    } catch (const kit::RuntimeError&) {
    }
}

void FrmAlarm::mciMedia_StatusUpdate() {
    try {
        if (mciMedia.Mode() != kit::kMciModeStop) return;
        mciMedia.setCommand("Close");
        mciMedia.setCommand("Open");
        mciMedia.setCommand("Play");
    } catch (const kit::RuntimeError&) {
        StopMusic();  // a file gone meanwhile is not tried again every 50 ms
    }
}

void FrmAlarm::tmrAction_Timer() {
    try {
        if (mShutdownAction == kActionShutdown && mShutdownPending) {
            const int16_t was = mShutdownCountdown;
            mShutdownCountdown = static_cast<int16_t>(was - 1);
            if (was == 1) {
                gHintCount = 0;
                frmAlarm.Unload();
                eSystem::ShutDownComputer();
                return;
            }
        } else if (mLockAction == kActionLock && mLockActive) {
            mLockCountdown = static_cast<int16_t>(mLockCountdown - 1);
            if (mLockCountdown <= 0) {
                eSystem::UnlockInput();
                mLockActive = false;
            }
        }
        if (!mShutdownPending && !mLockActive) tmrAction.setEnabled(false);
    } catch (const kit::RuntimeError&) {
    }
}

void FrmAlarm::tmrFlash_Timer() {
    try {
        DrawHints(Red(mIntensity));
        if (mRising) {
            mIntensity = static_cast<int16_t>(mIntensity + kFlashStep);
            if (mIntensity > kBrightest) {
                mIntensity = kBrightest;
                mRising = false;
            }
        } else {
            mIntensity = static_cast<int16_t>(mIntensity - kFlashStep);
            if (mIntensity < kDimmest) {
                mIntensity = kDimmest;
                mRising = true;
            }
        }
    } catch (const kit::RuntimeError&) {
    }
}

void FrmAlarm::DrawHints(kit::Color color) {
    const int lines = std::max<int>(0, std::min<int>(gHintCount, int(gHints.size())));
    pbTextBuffer.Cls();
    pbTextBuffer.setHeight(gHintCount * kLinePx);
    setHeight(gHintCount * kLineTwips + kExtraTwips);
    pbTextBuffer.setForeColor(color);
    kit::Gdi& g = kit::gdi();
    const kit::Handle buffer = pbTextBuffer.hDC();
    const int width = ScaleWidth();
    for (int i = 0; i < lines; ++i) {
        const double x = (width - HintWidth(i)) / 2.0;
        g.textOut(buffer, static_cast<int>(kit::RoundHalfEven(x)), i * kLinePx, gHints[i]);
    }
    const kit::Handle form = g.getDC(hWnd());
    g.bitBlt(form, 0, 0, pbTextBuffer.ScaleWidth(), pbTextBuffer.ScaleHeight(), buffer, 0, 0,
             kit::kSrcCopy);
    g.releaseDC(hWnd(), form);
}

int FrmAlarm::HintWidth(int line) {
    // Measured once per text: a label's caption costs a round trip to the window system, and
    // the lines are drawn 12 times a second.
    if (line >= int(mMeasured.size())) mMeasured.resize(line + 1);
    auto& [text, width] = mMeasured[line];
    if (text != gHints[line] || width < 0) {
        lblTestHint.setCaption(gHints[line]);
        text = gHints[line];
        width = lblTestHint.Width();
    }
    return width;
}

void FrmAlarm::Form_MouseMove(int button, int shift, int x, int y) { mLastY = static_cast<int16_t>(y); }

void FrmAlarm::Form_MouseDown(int button, int shift, int x, int y) {
    mLastButton = static_cast<int16_t>(button);
    if (button == kit::kLeftButton) dragWindow();
}

void FrmAlarm::Form_DblClick() {
    try {
        if (mShutdownPending) return;  // the last minute before a shut-down
        if (mLastButton != kit::kLeftButton) {
            CloseWindow();
            return;
        }
        const int16_t was = gHintCount;
        gHintCount = static_cast<int16_t>(was - 1);
        if (was <= 1) {
            CloseWindow();
            return;
        }
        // The line under the pointer; below the last line, the last one.
        const int last = std::min<int>(was, int(gHints.size())) - 1;
        const int r = std::clamp(mLastY / kLinePx, 0, last);
        gHints.erase(gHints.begin() + r);
        gHints.resize(gHintCount);
    } catch (const kit::RuntimeError&) {
    }
}

void FrmAlarm::CloseWindow() {
    gHintCount = 0;
    if (mciMedia.Mode() != kit::kMciModeNotOpen) mciMedia.setCommand("Close");
    tmrAction.setEnabled(false);
    frmAlarm.Unload();
}
