// The main form's clock synchronisation: the menu command, the attempts, the reply, and the
// end of a synchronisation.
#include "kit/runtime.h"
#include "platform/services.h"
#include "shell/daytime.h"
#include "shell/globals.h"
#include "shell/product.h"
#include "shell/tivlo_form.h"

namespace {
constexpr int kProbes = 101;
constexpr int kAttempts = 3;
constexpr std::uint64_t kReplyWaitMs = 10000;
const char* const kNotOnInternet = "You are not on the internet !";
}  // namespace

void FrmTivlo::mnuTimeSynch_Click() {
    if (mnuTimeSynch.Checked) return;
    bool online = false;
    for (int i = 0; i < kProbes && !online; ++i) {
        std::uint32_t flags = 0;
        online = platform::network().getConnectedState(flags);
    }
    if (!online) {
        MsgBox(kNotOnInternet, kit::kMbIconError, product::kName);
        return;
    }
    mnuTimeSynch.Checked = true;
    mnuTimeSynch.Enabled = false;
    tmrUTC.setEnabled(true);
}

void FrmTivlo::tmrUTC_Timer() {
    // A start requested while an ended run still unwinds (inside the message box of its
    // cancel) waits for the next tick, so that runs never nest.
    if (checkingUTC_) return;
    tmrUTC.setEnabled(false);
    CheckUTC();
}

void FrmTivlo::CheckUTC() {
    checkingUTC_ = true;
    synchCancelled_ = false;
    try {
        for (int attempts = 0;;) {
            attemptFailed_ = clockRefused_ = false;
            mTimeReply.clear();
            awaitingReply_ = true;
            sckUTC.Connect(daytime::gServer.host, daytime::gServer.port);
            if (WaitTimeReply()) {
                platform::sound().messageBeep(platform::kStandardBeep);
                ShowSynchFinished();
                break;
            }
            if (synchCancelled_) break;
            if (clockRefused_) {
                // Asking again cannot help: the process may not set the clock.
                MsgBox("The system time could not be changed !", kit::kMbIconExclamation,
                       product::kName);
                break;
            }
            if (++attempts == kAttempts) {
                ShowSynchError();
                break;
            }
            CloseTimeSocket();
        }
    } catch (const kit::RuntimeError&) {
        // Ends the attempts without a message.
    }
    awaitingReply_ = false;
    checkingUTC_ = false;
    // A cancelled run has reset the menu and closed the socket already; a new run may be
    // pending by now.
    if (!synchCancelled_) ResetTimeSynchMenu();
}

bool FrmTivlo::WaitTimeReply() {
    // Timed on the tick counter: the clock may be set back or on meanwhile (summer time ends,
    // another program synchronises it), and midnight may pass.
    const std::uint64_t start = kit::TickMs();
    while (mTimeReply.empty() && !attemptFailed_ && !clockRefused_ && !synchCancelled_) {
        kit::WaitEvents();
        if (kit::TickMs() - start > kReplyWaitMs) break;
    }
    awaitingReply_ = false;
    const bool result = mTimeReply == "+OK";
    mTimeReply.clear();
    return result;
}

void FrmTivlo::sckUTC_DataArrival(long) {
    // Every arrival is read; only those of an attempt still waiting are judged, each by itself,
    // so nothing that comes after the clock was set can undo the success.
    std::string data;
    sckUTC.GetData(data);
    if (!awaitingReply_) return;
    const auto utc = daytime::ParseReply(data);
    if (!utc) return;  // the wait goes on
    awaitingReply_ = false;
    if (!platform::sys().setSystemTime(*utc)) {
        clockRefused_ = true;
        return;
    }
    mTimeReply = "+OK";
}

void FrmTivlo::sckUTC_Error(int) {
    if (awaitingReply_) attemptFailed_ = true;
}

void FrmTivlo::CloseTimeSocket() {
    sckUTC.Close();
    sckUTC.setLocalPort(0);
}

void FrmTivlo::ResetTimeSynchMenu() {
    mnuTimeSynch.Checked = false;
    mnuTimeSynch.Enabled = true;
    CloseTimeSocket();
    gTrayRedraw = true;
    tmrClock_Timer();
}

void FrmTivlo::ShowSynchFinished() {
    MsgBox("Time synchronization finished !", kit::kMbIconExclamation, product::kName);
}

void FrmTivlo::ShowSynchError() {
    MsgBox("Some errors may have occured on\r\nthe web, Check you connection and\r\ntry again !",
           kit::kMbIconExclamation, product::kName);
}

void FrmTivlo::CancelTimeSynch() {
    tmrUTC.setEnabled(false);
    if (checkingUTC_) synchCancelled_ = true;
    mnuTimeSynch.Checked = false;
    mnuTimeSynch.Enabled = true;
    CloseTimeSocket();
    MsgBox(kNotOnInternet, kit::kMbIconError, product::kName);
}
