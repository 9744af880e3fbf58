// The editor's music preview and speaker volume on its "Action&s" page.
#include "alarms/alarm_editor_control.h"
#include "alarms/mci.h"
#include "platform/services.h"
#include "shell/product.h"

namespace {

constexpr unsigned kPreviewUpdateMs = 50;
// What each status event adds to the played time: a little more than the interval.
constexpr double kPreviewStepMs = 55;
constexpr char kMusicFilter[] = "*.wav,*.mp3|*.wav;*.mp3|";

}  // namespace

void OcxAlarm::SetUpMusic() {
    sldProgress.setValue(0);
    mPlayedMs = 0;
    if (platform::mixer().open(0, mMixer) != 0)
        MsgBox("Music volume control is disabled !", kit::kMbIconExclamation, product::kName);
    if (eMci::GetVolumeControl(mMixer, platform::kMixerComponentSpeakers,
                               platform::kMixerControlVolume, mVolumeControl)) {
        sldVolume.setMax(mVolumeControl.maximum);
        sldVolume.setMin(mVolumeControl.minimum);
    }
    sldVolume.setValue(eMci::GetVolume(mMixer, mVolumeControl));
    sldVolume.setSlideMove(true);
    sldProgress.setSlideMove(false);
}

void OcxAlarm::cmdMusicPath_Click() {
    CommonDialog1.setFlags(kit::kCdlOfnCreatePrompt);
    CommonDialog1.setFileName("");
    CommonDialog1.setCancelError(true);
    CommonDialog1.setFilter(kMusicFilter);
    try {
        CommonDialog1.ShowOpen();
    } catch (const kit::RuntimeError &) {
        return;  // cancelled: the path stays
    }
    txtAlarmMusic.SetFocus();
    txtAlarmMusic.setText(CommonDialog1.FileName());
    mMusic = txtAlarmMusic.Text();
}

void OcxAlarm::cmdPlay_Click() {
    try {
        if (mciMedia.Mode() != kit::kMciModeNotOpen) mciMedia.setCommand("Close");
        sldProgress.setValue(0);
        mPlayedMs = 0;
        mciMedia.setFileName(txtAlarmMusic.Text());
        mciMedia.setCommand("Open");
        mciMedia.setTimeFormat(kit::kMciFormatMilliseconds);
        mciMedia.setUpdateInterval(kPreviewUpdateMs);
        mciMedia.setCommand("Play");
    } catch (const kit::RuntimeError &) {
        MsgBox("Multimedia device error !", kit::kMbIconExclamation, product::kName);
    }
}

void OcxAlarm::cmdStop_Click() {
    ClosePreview();
    sldProgress.setValue(0);
    mPlayedMs = 0;
}

void OcxAlarm::ClosePreview() {
    if (mciMedia.Mode() == kit::kMciModeNotOpen) return;
    try {
        mciMedia.setCommand("Close");
    } catch (const kit::RuntimeError &) {
    }
}

void OcxAlarm::mciMedia_StatusUpdate() {
    const int mode = mciMedia.Mode();
    if (mode == kit::kMciModeNotOpen) return;
    if (mode == kit::kMciModeStop) {
        try {
            mciMedia.setCommand("Close");
            mciMedia.setCommand("Open");
            mciMedia.setCommand("Play");
        } catch (const kit::RuntimeError &) {
            // The file went away or broke meanwhile: the preview ends here rather
            // than the program, and it is not tried again every 50 ms.
            ClosePreview();
        }
        sldProgress.setValue(0);
        mPlayedMs = 0;
        return;
    }
    mPlayedMs += kPreviewStepMs;
    if (auto p = eMci::ProgressValue(mPlayedMs, mciMedia.Length(), sldProgress.getMax()))
        sldProgress.setValue(*p);
}

void OcxAlarm::sldVolume_Change() { eMci::SetVolume(mMixer, mVolumeControl, sldVolume.getValue()); }

void OcxAlarm::UserControl_Terminate() {
    ClosePreview();
    mPlayedMs = 0;
    // Every opening of the dialog opened a mixer handle of its own.
    if (mMixer) {
        platform::mixer().close(mMixer);
        mMixer = 0;
    }
}
