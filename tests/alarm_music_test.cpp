// The alarm editor's music and volume as a user meets them: choosing the file,
// the preview with its counted progress, the speaker volume on the mixer, and
// what happens without a mixer, with a bad file, and when the editor or the dialog closes.
#include "alarms/alarm_editor_rules.h"
#include "schedule_fixture.h"

namespace {

constexpr const char *kWav = "C:\\Music\\wake.wav";

class AlarmMusicTest : public ScheduleTest {
protected:
    // The dialog open on a new alarm, on the "Action&s" page.
    void OpenActions() {
        StartWith({});
        Open();
        Press(List().cmdAdd);
        // A mode whose OK takes the alarm at any time of day.
        Choose(Editor().cmbAlarmMode, "Every day");
        ChooseTab(1);
    }
    void ChooseFile(const std::string &path) {
        world.fileDialogs.queueAnswer(path);
        Press(Editor().cmdMusicPath);
    }
    // One status event of the preview (every 50 ms).
    void Tick(int events = 1) { world.backend.advance(50 * events); }
    int Progress() { return Editor().sldProgress.getValue(); }
    std::string LastMessage() { return Messages().empty() ? "" : Messages().back(); }
};

TEST_F(AlarmMusicTest, TheFileDialogSetsThePathAndACancelKeepsIt) {
    OpenActions();
    ChooseFile(kWav);
    EXPECT_EQ(Editor().txtAlarmMusic.Text(), kWav);
    EXPECT_EQ(Editor().getAlarmMusic(), kWav);
    const kit::OpenFileRequest &r = world.fileDialogs.requests().back();
    EXPECT_EQ(r.flags, 0x2000u);
    EXPECT_EQ(r.filter, "*.wav,*.mp3|*.wav;*.mp3|");
    EXPECT_EQ(r.fileName, "");

    world.fileDialogs.queueAnswer(std::nullopt);
    Press(Editor().cmdMusicPath);
    EXPECT_EQ(Editor().getAlarmMusic(), kWav);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(AlarmMusicTest, ThePreviewCountsItsProgressLoopsAndStops) {
    world.mci.addFile(kWav, 2000);
    OpenActions();
    ChooseFile(kWav);
    Press(Editor().cmdPlay);
    EXPECT_EQ(world.mci.playing(), kWav);
    Tick(20);  // 20 x 55 ms of 2000
    EXPECT_EQ(Progress(), 55);

    // Play again starts from the beginning.
    Press(Editor().cmdPlay);
    EXPECT_EQ(Progress(), 0);
    EXPECT_EQ(world.mci.openDevices(), 1);
    Tick(2);
    EXPECT_EQ(Progress(), 6);  // 110 of 2000: 5.5 to the even 6

    // Past the length the bar stays full until the file ends, which starts it again.
    Tick(60);
    EXPECT_EQ(Progress(), 100);
    world.mci.finishPlaying();
    Tick();
    EXPECT_EQ(Progress(), 0);
    EXPECT_EQ(world.mci.playing(), kWav);

    Press(Editor().cmdStop);
    EXPECT_EQ(world.mci.openDevices(), 0);
    EXPECT_EQ(Progress(), 0);
    // Stop with nothing open only resets the progress.
    Editor().sldProgress.setValue(30);
    Press(Editor().cmdStop);
    EXPECT_EQ(Progress(), 0);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(AlarmMusicTest, PlayShowsTheDeviceErrorForAnEmptyMissingOrSoundlessFile) {
    world.mci.addFile("C:\\notes.txt", 0);
    world.mci.setOpenError("C:\\notes.txt", 277);
    OpenActions();
    for (const char *path : {"", "C:\\gone.wav", "C:\\notes.txt"}) {
        if (*path) ChooseFile(path);
        Press(Editor().cmdPlay);
        EXPECT_EQ(LastMessage(), "Multimedia device error !") << path;
        EXPECT_EQ(world.mci.openDevices(), 0);
        EXPECT_EQ(Progress(), 0);
    }
    EXPECT_EQ(Messages().size(), 3u);
}

TEST_F(AlarmMusicTest, TheVolumeSliderShowsAndSetsTheSpeakerVolume) {
    world.mixer.minimum = 0;
    world.mixer.maximum = 65535;
    world.mixer.value = 32768;
    OpenActions();
    OcxSlider &v = Editor().sldVolume;
    EXPECT_EQ(v.getMin(), 0);
    EXPECT_EQ(v.getMax(), 65535);
    EXPECT_EQ(v.getValue(), 32768);
    EXPECT_TRUE(v.getSlideMove());
    EXPECT_FALSE(Editor().sldProgress.getSlideMove());
    world.backend.mouseDown(v.hWnd(), 0, 5);
    world.backend.mouseUp(v.hWnd(), 0, 5);
    EXPECT_EQ(world.mixer.sets(), (std::vector<std::int32_t>{0}));
    world.backend.mouseDown(v.hWnd(), 224, 5);
    world.backend.mouseUp(v.hWnd(), 224, 5);
    EXPECT_EQ(world.mixer.sets().back(), 65535);
    // The volume is the machine's, not the alarm's: nothing of it is stored.
    EXPECT_TRUE(Messages().empty());
}

TEST_F(AlarmMusicTest, WithoutAMixerTheMessageComesOnceAndTheEditorStaysUsable) {
    world.mixer.hasDevice = false;
    OpenActions();
    EXPECT_EQ(Messages(), (std::vector<std::string>{"Music volume control is disabled !"}));
    EXPECT_EQ(world.backend.msgBoxCalls()[0].flags, 48);
    EXPECT_EQ(Editor().sldVolume.getValue(), 0);  // the refused read, raised to the minimum
    world.backend.mouseDown(Editor().sldVolume.hWnd(), 100, 5);
    world.backend.mouseUp(Editor().sldVolume.hWnd(), 100, 5);
    EXPECT_GT(Editor().sldVolume.getValue(), 0);
    EXPECT_EQ(Messages().size(), 1u);
}

TEST_F(AlarmMusicTest, AMixerWithoutTheControlOrRefusingEveryCallIsNotReported) {
    world.mixer.hasVolumeControl = false;
    OpenActions();
    EXPECT_EQ(Editor().sldVolume.getMin(), 0);
    EXPECT_EQ(Editor().sldVolume.getMax(), 100);
    EXPECT_EQ(Editor().sldVolume.getValue(), 0);
    world.backend.mouseDown(Editor().sldVolume.hWnd(), 100, 5);
    EXPECT_TRUE(world.mixer.sets().empty());
    EXPECT_TRUE(Messages().empty());
    world.backend.mouseUp(Editor().sldVolume.hWnd(), 100, 5);
    Press(Dialog().cmdCancel);

    world.mixer.hasVolumeControl = true;
    world.mixer.refuseRead = world.mixer.refuseSet = true;
    Open();
    Press(List().cmdAdd);
    ChooseTab(1);
    EXPECT_EQ(Editor().sldVolume.getMax(), 65535);
    EXPECT_EQ(Editor().sldVolume.getValue(), 0);  // the refused read, raised to the minimum
    world.backend.mouseDown(Editor().sldVolume.hWnd(), 100, 5);
    world.backend.mouseUp(Editor().sldVolume.hWnd(), 100, 5);
    EXPECT_GT(Editor().sldVolume.getValue(), 0);
    EXPECT_TRUE(world.mixer.sets().empty());
    EXPECT_TRUE(Messages().empty());
}

TEST_F(AlarmMusicTest, ClosingTheEditorStopsThePreviewAndClosingTheDialogTheMixer) {
    world.mci.addFile(kWav, 2000);
    OpenActions();
    EXPECT_EQ(world.mixer.openHandles(), 1);
    ChooseFile(kWav);
    Press(Editor().cmdPlay);
    Press(Editor().cmdCancel(1));
    EXPECT_FALSE(Expanded());
    EXPECT_EQ(world.mci.openDevices(), 0);

    Press(List().cmdAdd);
    ChooseTab(0);
    Choose(Editor().cmbAlarmMode, "Every day");
    ChooseTab(1);
    ChooseFile(kWav);
    Press(Editor().cmdPlay);
    TypeOver(Editor().txtAlarmHint, "Wake");
    Press(Editor().cmdOK(1));
    EXPECT_FALSE(Expanded());
    EXPECT_EQ(world.mci.openDevices(), 0);
    EXPECT_EQ(Messages(), std::vector<std::string>{});

    // The close box while the editor plays: the music and the mixer end with the dialog.
    Press(List().cmdAdd);
    ChooseTab(1);
    ChooseFile(kWav);
    Press(Editor().cmdPlay);
    ASSERT_EQ(world.mci.openDevices(), 1);
    world.backend.pressCloseBox(Dialog().hWnd());
    EXPECT_FALSE(frmSchedule.Loaded());
    EXPECT_EQ(world.mci.openDevices(), 0);
    EXPECT_EQ(world.mixer.openHandles(), 0);
    EXPECT_EQ(world.mixer.opens(), 1);

    // Each opening of the dialog has a handle of its own, and gives it back.
    Open();
    EXPECT_EQ(world.mixer.openHandles(), 1);
    Press(Dialog().cmdCancel);
    EXPECT_EQ(world.mixer.openHandles(), 0);
    EXPECT_EQ(world.mixer.opens(), 2);
}

TEST_F(AlarmMusicTest, AFileThatBreaksWhileLoopingEndsThePreviewNotTheProgram) {
    world.mci.addFile(kWav, 2000);
    OpenActions();
    ChooseFile(kWav);
    Press(Editor().cmdPlay);
    Tick(4);
    world.mci.setOpenError(kWav, kit::headless::HeadlessMci::kErrFileNotFound);
    world.mci.finishPlaying();
    Tick();
    EXPECT_EQ(world.mci.openDevices(), 0);
    EXPECT_EQ(Progress(), 0);
    const auto commands = world.mci.commands().size();
    Tick(10);  // not tried again
    EXPECT_EQ(world.mci.commands().size(), commands);
    EXPECT_TRUE(Messages().empty());
    // Play still answers as for any bad file.
    Press(Editor().cmdPlay);
    EXPECT_EQ(LastMessage(), "Multimedia device error !");
}

TEST_F(AlarmMusicTest, APathThatMakesTheAlarmTooLongIsRefusedAtOk) {
    OpenActions();
    ChooseFile("C:\\" + std::string(250, 'm') + ".wav");
    Press(Editor().cmdOK(1));
    EXPECT_EQ(LastMessage(), alarm_editor::kMsgTooLong);
    EXPECT_TRUE(Expanded());
}

}  // namespace
