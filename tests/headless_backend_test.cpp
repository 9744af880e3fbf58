#include <gtest/gtest.h>

#include <string>

#include "kit/headless/headless_backend.h"
#include "kit/runtime.h"

using kit::headless::HeadlessBackend;

TEST(HeadlessBackend, TimersFireInTimeOrderOnTheVirtualClock) {
    HeadlessBackend b;
    std::string log;
    kit::Handle fast = b.createTimer([&] { log += 'f'; });
    kit::Handle slow = 0;
    slow = b.createTimer([&] {
        log += 's' + std::to_string(b.now().second);
        b.destroyTimer(fast);  // from inside a tick
    });
    b.setTimer(fast, 400, true);
    b.setTimer(slow, 1000, true);
    b.advance(999);
    EXPECT_EQ(log, "ff");
    b.advance(1);
    EXPECT_EQ(log, "ffs1");
    EXPECT_EQ(b.timerCount(), 1u);
    b.advance(2500);
    EXPECT_EQ(log, "ffs1s2s3");
    EXPECT_EQ(b.tickMs(), 3500u);
    EXPECT_EQ(b.now(), (kit::DateTime{2026, 12, 7, 9, 41, 3}));

    b.setTimer(slow, 1000, false);
    b.advance(5000);
    EXPECT_EQ(log, "ffs1s2s3");
    b.destroyTimer(slow);
    EXPECT_EQ(b.timerCount(), 0u);
}

TEST(HeadlessBackend, ScriptedDialogsAndEnd) {
    HeadlessBackend b;
    EXPECT_EQ(b.msgBox(0, "Sure?", "t", kit::kMbYesNo), kit::kIdNo);
    EXPECT_EQ(b.msgBox(0, "Hi", "t", kit::kMbOk | kit::kMbIconError), kit::kIdOk);
    b.queueMsgBoxAnswer(kit::kIdYes);
    EXPECT_EQ(b.msgBox(0, "Sure?", "t", kit::kMbYesNo), kit::kIdYes);
    ASSERT_EQ(b.msgBoxCalls().size(), 3u);
    EXPECT_EQ(b.msgBoxCalls()[1].text, "Hi");

    EXPECT_EQ(b.popupMenu(0, {{"Open"}, {"-"}}), -1);
    b.setMenuChooser([](const auto& entries) { return static_cast<int>(entries.size()) - 1; });
    EXPECT_EQ(b.popupMenu(0, {{"Open"}, {"Exit"}}), 1);
    EXPECT_EQ(b.menuCalls().size(), 2u);

    int runs = 0;
    b.post([&] {
        ++runs;
        b.post([&] { ++runs; });  // waits for the next doEvents
    });
    b.doEvents();
    EXPECT_EQ(runs, 1);
    b.doEvents();
    EXPECT_EQ(runs, 2);
    EXPECT_EQ(b.doEventsCount(), 2);

    EXPECT_THROW(b.endProcess(3), kit::ProcessEnded);
    EXPECT_EQ(b.endedWith(), 3);
    b.reset();
    EXPECT_FALSE(b.endedWith());
    EXPECT_TRUE(b.msgBoxCalls().empty());
}
