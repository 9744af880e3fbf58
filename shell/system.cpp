#include "shell/system.h"

#include <cmath>
#include <string>

#include "kit/convert.h"
#include "kit/runtime.h"
#include "platform/services.h"
#include "shell/tivlo_form.h"

using namespace platform;

namespace eSystem {

int16_t GetWindowsVersion() {
    OsVersionInfoEx info;
    info.dwOSVersionInfoSize = 156;
    if (!sys().getVersionEx(info)) return 0;
    const std::string key = std::to_string(info.dwPlatformId) + "." + std::to_string(info.dwMajorVersion) +
                            "." + std::to_string(info.dwMinorVersion);
    if (key == "2.5.0") return 0;
    if (key == "2.5.1") return 1;
    if (key == "2.6.0") return info.wProductType == 1 ? 2 : 0;
    return 3;
}

int16_t IntMod(int16_t a, int16_t b) {
    if (b == 0) throw kit::RuntimeError(kit::kErrDivisionByZero, "division by zero");
    double r = a - b * std::floor(static_cast<double>(a) / b);
    return kit::CIntOf(r);
}

void DecodeWeekMask(int16_t days[7], int16_t mask) {
    for (int i = 0; i < 7; ++i) {
        days[i] = IntMod(mask, 2);
        mask = static_cast<int16_t>(std::floor(mask / 2.0));
    }
}

namespace {
const char* const kTrayClockEndAction = "taskbar clock";

kit::Handle FindTrayClock() {
    kit::Handle tray = sys().findWindow("Shell_TrayWnd");
    if (!tray) return 0;
    kit::Handle notify = sys().findWindowEx(tray, "TrayNotifyWnd");
    if (!notify) return 0;
    return sys().findWindowEx(notify, "TrayClockWClass");
}
}  // namespace

void HideTrayClock() {
    kit::Handle clock = FindTrayClock();
    if (!clock) return;
    sys().showWindow(clock, kSwHide);
    // However the process ends from here on, the user gets the clock back.
    kit::AtProcessEnd(kTrayClockEndAction, ShowTrayClock);
}

void ShowTrayClock() {
    kit::CancelAtProcessEnd(kTrayClockEndAction);
    if (kit::Handle clock = FindTrayClock()) sys().showWindow(clock, kSwRestore);
}

void LockInput() { sys().blockInput(true); }

void UnlockInput() { sys().blockInput(false); }

void ShutDownComputer() {
    EnableShutdownPrivilege();
    sys().exitWindowsEx(1 + 4 + 8, 0xFFFFFFFFu);
}

namespace {
// Each step is reported and the next one runs all the same.
void ReportStep(const char* text) {
    if (sys().getLastError() == 0) return;
    frmTivlo().MsgBox(text + std::to_string(sys().getLastError()), kit::kMbIconExclamation, "Tivlo 2.3");
}
}  // namespace

void EnableShutdownPrivilege() {
    sys().setLastError(0);
    kit::Handle process = sys().getCurrentProcess();
    ReportStep("GetCurrentProcess error = ");

    kit::Handle token = 0;
    sys().openProcessToken(process, kTokenAdjustPrivileges + kTokenQuery, token);
    ReportStep("OpenProcessToken error = ");

    Luid luid;
    sys().lookupPrivilegeValue("", "SeShutdownPrivilege", luid);
    ReportStep("LookupPrivilegeValue error =");

    TokenPrivileges privileges;
    privileges.privilegeCount = 1;
    privileges.luid = luid;
    privileges.attributes = kSePrivilegeEnabled;
    TokenPrivileges previous;
    std::uint32_t length = 0;
    sys().adjustTokenPrivileges(token, false, privileges, 16, &previous, &length);
    ReportStep("AdjustTokenPrivileges error = ");
    if (token) sys().closeHandle(token);
}

}  // namespace eSystem
