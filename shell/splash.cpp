#include "shell/splash.h"

#include "alarms/alarm_records.h"
#include "kit/convert.h"
#include "kit/runtime.h"
#include "platform/services.h"
#include "shell/globals.h"
#include "shell/registration.h"
#include "shell/severe_error.h"
#include "shell/start.h"
#include "shell/system.h"
#include "shell/tivlo_form.h"

using eRegistration::GetRegistryValue;
using eRegistration::SetRegistryValue;

namespace {
const char* const kRoot = "Software\\Tivlo";
const char* const kImage = "Software\\Tivlo\\Image";
const char* const kResSetting = "Software\\Tivlo\\ResSetting";
const char* const kPokerSetting = "Software\\Tivlo\\PokerSetting";
}  // namespace

void FrmSplash::Form_Load() {
    shell::RunLoadHandler(*this, [this] {
        if (kit::backend().prevInstance()) kit::End(0);
        gStopGrabbing = true;
        gWinVersion = eSystem::GetWindowsVersion();
        if (!SettingsStored()) WriteDefaultSettings();
        LoadSettings();
        frmSplash.Unload();
        frmTivlo();
    });
}

bool FrmSplash::SettingsStored() {
    platform::HKey key = 0;
    if (platform::registry().openKeyEx(platform::kHKeyLocalMachine, kPokerSetting, 0, platform::kKeyRead,
                                       key) != platform::kErrorSuccess)
        return false;
    platform::registry().closeKey(key);
    return true;
}

void FrmSplash::WriteDefaultSettings() {
    eRegistration::DeleteRegistryTree(kRoot);

    for (const char* name : {"GIF_Download", "JPG_Download", "JPEG_Download", "BMP_Download", "PNG_Download"})
        SetRegistryValue(kImage, name, "True");
    SetRegistryValue(kImage, "Limited_Images_Resolution", "False");
    SetRegistryValue(kImage, "Limited_Images_Size", "False");
    SetRegistryValue(kImage, "Images_Width", "300");
    SetRegistryValue(kImage, "Images_Height", "300");
    SetRegistryValue(kImage, "Images_File_Size", "10");
    gLimitImageSize = gLimitImageFileSize = false;
    gDownloadGIF = gDownloadJPG = gDownloadJPEG = gDownloadBMP = gDownloadPNG = true;
    gImageWidth = gImageHeight = 300;
    gImageFileSizeKB = 10;

    const std::string folder = kit::backend().appPath();
    SetRegistryValue(kResSetting, "Disp_Window_AfterGrabbing", "True");
    SetRegistryValue(kResSetting, "Download_File_Name", "Catch");
    SetRegistryValue(kResSetting, "Download_File_Folder", folder);
    gDispWindowAfterGrabbing = true;
    gDownloadFileName = "Catch";
    gDownloadFolder = folder;
    gListedFolder = gDownloadFolder;

    SetRegistryValue(kTimeSettingKey, "Day_Mode", "1");
    SetRegistryValue(kTimeSettingKey, "AM/PM_Mode", "1");
    SetRegistryValue(kTimeSettingKey, "AlarmNum", "0");
    SetRegistryValue(kTimeSettingKey, "DispColor", "0");
    gDayMode = 1;
    gAmPmMode = 1;
    gAlarmCount = 0;
    gSavedAlarmCount = 0;
    gDispColor = 0;

    SetRegistryValue(kPokerSetting, "Card_Back", "0");
    gCardBack = 0;
}

void FrmSplash::LoadSettings() {
    gDownloadGIF = kit::CBool(GetRegistryValue(kImage, "GIF_Download"));
    gDownloadJPG = kit::CBool(GetRegistryValue(kImage, "JPG_Download"));
    gDownloadJPEG = kit::CBool(GetRegistryValue(kImage, "JPEG_Download"));
    gDownloadBMP = kit::CBool(GetRegistryValue(kImage, "BMP_Download"));
    gDownloadPNG = kit::CBool(GetRegistryValue(kImage, "PNG_Download"));
    gLimitImageSize = kit::CBool(GetRegistryValue(kImage, "Limited_Images_Resolution"));
    gLimitImageFileSize = kit::CBool(GetRegistryValue(kImage, "Limited_Images_Size"));
    gImageWidth = kit::CInt(GetRegistryValue(kImage, "Images_Width"));
    gImageHeight = kit::CInt(GetRegistryValue(kImage, "Images_Height"));
    gImageFileSizeKB = kit::CInt(GetRegistryValue(kImage, "Images_File_Size"));

    gDispWindowAfterGrabbing = kit::CBool(GetRegistryValue(kResSetting, "Disp_Window_AfterGrabbing"));
    gDownloadFileName = GetRegistryValue(kResSetting, "Download_File_Name");
    gDownloadFolder = GetRegistryValue(kResSetting, "Download_File_Folder");
    gListedFolder = gDownloadFolder;

    gDayMode = kit::CInt(GetRegistryValue(kTimeSettingKey, "Day_Mode"));
    gAmPmMode = kit::CInt(GetRegistryValue(kTimeSettingKey, "AM/PM_Mode"));
    gDispColor = kit::CLng(GetRegistryValue(kTimeSettingKey, "DispColor"));
    LoadAlarms();
}

namespace shell {
void StartTivlo() { frmSplash(); }
}  // namespace shell
