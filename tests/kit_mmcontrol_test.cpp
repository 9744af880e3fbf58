#include <gtest/gtest.h>

#include "kit/mmcontrol.h"
#include "kit/runtime.h"
#include "platform/headless/bind.h"

namespace {

struct Player : kit::Form {
    Player() : media(this) {
        media.StatusUpdate = [this] {
            ++updates;
            modes.push_back(media.Mode());
        };
    }
    kit::MMControl media;
    int updates = 0;
    std::vector<int> modes;
};

kit::FormInstance<Player> player;

class KitMMControlTest : public ::testing::Test {
protected:
    platform::headless::HeadlessWorld world;
    void SetUp() override {
        world.bind();
        world.mci.addFile("C:\\a.wav", 3000);
        world.mci.addFile("C:\\b.mp3", 125000);
    }
    void TearDown() override { kit::ResetAllForms(); }
    using Cmds = std::vector<std::string>;
};

TEST_F(KitMMControlTest, PlaysAFileAndReportsItsEndThroughTheStatusEvents) {
    Player& p = player();
    kit::MMControl& m = p.media;
    EXPECT_EQ(m.Mode(), kit::kMciModeNotOpen);
    EXPECT_EQ(m.Length(), 0);
    m.setTimeFormat(kit::kMciFormatMilliseconds);
    m.setUpdateInterval(50);
    m.setFileName("C:\\b.mp3");
    world.backend.advance(500);
    EXPECT_EQ(p.updates, 0);  // no device, no events

    m.setCommand("Open");
    EXPECT_EQ(m.Mode(), kit::kMciModeStop);
    EXPECT_EQ(m.Length(), 125000);
    m.setCommand("Play");
    world.backend.advance(100);
    EXPECT_EQ(p.modes, (std::vector<int>{kit::kMciModePlay, kit::kMciModePlay}));
    world.mci.finishPlaying();
    world.backend.advance(50);
    EXPECT_EQ(p.modes.back(), kit::kMciModeStop);

    m.setCommand("close");
    EXPECT_EQ(m.Mode(), kit::kMciModeNotOpen);
    world.backend.advance(500);
    EXPECT_EQ(p.updates, 3);
    EXPECT_EQ(world.mci.commands(),
              (Cmds{"open C:\\b.mp3", "time format 0", "play C:\\b.mp3", "close C:\\b.mp3"}));
    m.setCommand("Close");  // nothing open: nothing to do
    EXPECT_EQ(world.mci.commands().size(), 4u);
}

TEST_F(KitMMControlTest, FailingCommandsRaiseAndLeaveNoDeviceOpen) {
    kit::MMControl& m = player().media;
    m.setUpdateInterval(50);
    for (const char* file : {"", "C:\\missing.wav"}) {
        m.setFileName(file);
        EXPECT_THROW(m.setCommand("Open"), kit::RuntimeError) << file;
        EXPECT_EQ(m.Mode(), kit::kMciModeNotOpen);
    }
    EXPECT_THROW(m.setCommand("Play"), kit::RuntimeError);  // nothing open

    world.mci.addFile("C:\\text.mp3", 0);
    world.mci.setPlayError("C:\\text.mp3", kit::headless::HeadlessMci::kErrCannotPlay);
    m.setFileName("C:\\text.mp3");
    m.setCommand("Open");
    EXPECT_THROW(m.setCommand("Play"), kit::RuntimeError);
    EXPECT_THROW(m.setCommand("Eject"), kit::RuntimeError);

    // A second Open replaces the device rather than leaking it.
    m.setFileName("C:\\a.wav");
    m.setCommand("Open");
    m.setCommand("Play");
    EXPECT_EQ(world.mci.openDevices(), 1);
    EXPECT_EQ(world.mci.playing(), "C:\\a.wav");

    // Unloading the host closes the device and stops the events.
    player.Unload();
    EXPECT_EQ(world.mci.openDevices(), 0);
    EXPECT_EQ(world.mci.commands().back(), "close C:\\a.wav");
}

}  // namespace
