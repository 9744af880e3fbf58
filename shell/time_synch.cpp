// The main form's clock synchronisation: the menu command, the attempts, and their end.
#include "platform/services.h"
#include "shell/globals.h"
#include "shell/product.h"
#include "shell/tivlo_form.h"

namespace {
constexpr int kProbes = 101;
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
    // The attempts come with the time socket.
    checkingUTC_ = false;
    if (!synchCancelled_) ResetTimeSynchMenu();
}

void FrmTivlo::CloseTimeSocket() {}

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
    synchCancelled_ = true;
    mnuTimeSynch.Checked = false;
    mnuTimeSynch.Enabled = true;
    CloseTimeSocket();
    MsgBox(kNotOnInternet, kit::kMbIconError, product::kName);
}
