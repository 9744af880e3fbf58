// The speaker volume procedures against a mixer that may lack pieces or refuse calls, the
// preview's progress arithmetic, and the file-open dialog component.
#include <gtest/gtest.h>

#include "alarms/mci.h"
#include "kit/commondialog.h"
#include "kit/controls.h"
#include "platform/headless/bind.h"
#include "platform/services.h"

namespace {

class AlarmMciTest : public ::testing::Test {
protected:
    platform::headless::HeadlessWorld world;
    platform::headless::ScriptedMixer& mixer = world.mixer;
    void SetUp() override { world.bind(); }
    void TearDown() override { kit::ResetAllForms(); }
    platform::MixerHandle openMixer() {
        platform::MixerHandle h = 0;
        EXPECT_EQ(platform::mixer().open(0, h), 0u);
        return h;
    }
};

TEST_F(AlarmMciTest, FindsTheSpeakerVolumeReadsAndSetsIt) {
    mixer.minimum = 0;
    mixer.maximum = 65535;
    mixer.value = 40000;
    const platform::MixerHandle h = openMixer();
    platform::MixerControl c;
    ASSERT_TRUE(eMci::GetVolumeControl(h, platform::kMixerComponentSpeakers,
                                       platform::kMixerControlVolume, c));
    EXPECT_EQ(c.minimum, 0);
    EXPECT_EQ(c.maximum, 65535);
    EXPECT_EQ(eMci::GetVolume(h, c), 40000);
    EXPECT_TRUE(eMci::SetVolume(h, c, 123));
    EXPECT_EQ(mixer.sets(), (std::vector<std::int32_t>{123}));
}

TEST_F(AlarmMciTest, AMissingLineOrControlOrARefusalIsAnswerNotACrash) {
    const platform::MixerHandle h = openMixer();
    platform::MixerControl c;
    c.minimum = -7;  // left alone when nothing is found
    mixer.hasSpeakerLine = false;
    EXPECT_FALSE(eMci::GetVolumeControl(h, platform::kMixerComponentSpeakers,
                                        platform::kMixerControlVolume, c));
    mixer.hasSpeakerLine = true;
    mixer.hasVolumeControl = false;
    EXPECT_FALSE(eMci::GetVolumeControl(h, platform::kMixerComponentSpeakers,
                                        platform::kMixerControlVolume, c));
    EXPECT_EQ(c.minimum, -7);
    EXPECT_EQ(eMci::GetVolume(h, c), -1);

    mixer.hasVolumeControl = true;
    ASSERT_TRUE(eMci::GetVolumeControl(h, platform::kMixerComponentSpeakers,
                                       platform::kMixerControlVolume, c));
    mixer.refuseRead = mixer.refuseSet = true;
    EXPECT_EQ(eMci::GetVolume(h, c), -1);
    EXPECT_FALSE(eMci::SetVolume(h, c, 5));
    // A handle that was never opened (the open failed) is refused everywhere.
    mixer.refuseRead = mixer.refuseSet = false;
    EXPECT_EQ(eMci::GetVolume(0, c), -1);
    EXPECT_FALSE(eMci::SetVolume(0, c, 5));
    EXPECT_TRUE(mixer.sets().empty());
}

TEST_F(AlarmMciTest, ProgressIsTheSharePlayedClampedBeforeRoundingAndNothingWithoutALength) {
    struct Case {
        double played;
        long length;
        std::int32_t max;
        std::optional<std::int32_t> value;
    } cases[] = {
        {1000, 2000, 100, 50},
        {5, 1000, 100, 0},        // 0.5 to the even 0
        {15, 1000, 100, 2},       // 1.5 to the even 2
        {2055, 2000, 100, 100},   // past the end: the maximum
        {1e12, 1, 100, 100},      // far past it: no overflow
        {1e12, 1, 40000, 40000},  // a maximum above 16 bits
        {550, 0, 100, std::nullopt},
        {550, -1, 100, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(eMci::ProgressValue(c.played, c.length, c.max), c.value)
            << c.played << " of " << c.length;
}

struct DialogHost : kit::Form {
    kit::CommonDialog dialog{this};
};
kit::FormInstance<DialogHost> dialogHost;

TEST_F(AlarmMciTest, TheFileDialogTakesTheChosenPathAndRaisesOnCancelOnlyWhenAsked) {
    kit::CommonDialog& d = dialogHost().dialog;
    d.setFlags(kit::kCdlOfnCreatePrompt);
    d.setFilter("*.wav,*.mp3|*.wav;*.mp3|");
    d.setCancelError(true);
    world.fileDialogs.queueAnswer("C:\\Music\\wake.wav");
    d.ShowOpen();
    EXPECT_EQ(d.FileName(), "C:\\Music\\wake.wav");
    ASSERT_EQ(world.fileDialogs.requests().size(), 1u);
    const kit::OpenFileRequest& r = world.fileDialogs.requests()[0];
    EXPECT_EQ(r.owner, dialogHost().hWnd());
    EXPECT_EQ(r.flags, 0x2000u);
    EXPECT_EQ(r.filter, "*.wav,*.mp3|*.wav;*.mp3|");

    world.fileDialogs.queueAnswer(std::nullopt);
    try {
        d.ShowOpen();
        ADD_FAILURE() << "a cancel raises";
    } catch (const kit::RuntimeError& e) {
        EXPECT_EQ(e.code(), kit::kErrDialogCancelled);
    }
    EXPECT_EQ(d.FileName(), "C:\\Music\\wake.wav");
    d.setCancelError(false);
    EXPECT_NO_THROW(d.ShowOpen());  // unscripted: cancelled
}

}  // namespace
