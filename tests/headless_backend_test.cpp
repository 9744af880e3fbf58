#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

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

namespace {
// Delivers its scripted events at their virtual ticks.
struct ScriptedSource : kit::headless::EventSource {
    std::vector<std::pair<std::uint64_t, char>> events;  // tick, mark; ascending
    std::string* log = nullptr;
    std::optional<std::uint64_t> nextDue() const override {
        if (events.empty()) return std::nullopt;
        return events.front().first;
    }
    void deliverDue(std::uint64_t tick) override {
        while (!events.empty() && events.front().first <= tick) {
            *log += events.front().second;
            events.erase(events.begin());
        }
    }
};
}  // namespace

TEST(HeadlessBackend, WaitingRunsWhatIsPendingOrSleepsToTheNextEventOnly) {
    HeadlessBackend b;
    std::string log;
    ScriptedSource source;
    source.log = &log;
    source.events = {{1500, 'd'}, {1500, 'e'}, {2200, 'x'}};
    b.addEventSource(&source);
    kit::Handle t = b.createTimer([&] { log += 't'; });
    b.setTimer(t, 1000, true);

    // Something pending: it runs, and no time passes.
    b.post([&] { log += 'p'; });
    b.waitEvents();
    EXPECT_EQ(log, "p");
    EXPECT_EQ(b.tickMs(), 0u);

    // Nothing pending: each wait sleeps kEventWaitMs at most, and lands on events exactly.
    int waits = 0;
    std::vector<std::uint64_t> seenAt;
    while (log.size() < 5) {
        std::size_t before = log.size();
        b.waitEvents();
        ++waits;
        if (log.size() != before) seenAt.push_back(b.tickMs());
    }
    EXPECT_EQ(log, "ptdet");
    EXPECT_EQ(seenAt, (std::vector<std::uint64_t>{1000, 1500, 2000}));
    EXPECT_GE(waits, int(2000 / kit::kEventWaitMs));
    EXPECT_LE(waits, int(2000 / kit::kEventWaitMs) + 3);

    // advance() interleaves deliveries with timer ticks in time order.
    b.advance(1000);
    EXPECT_EQ(log, "ptdetxt");
    b.removeEventSource(&source);
}

TEST(HeadlessBackend, SecondsSinceMidnightHasItsFractionAndWrapsAtMidnight) {
    HeadlessBackend b;
    b.setNow({2026, 12, 7, 23, 59, 58});
    b.advance(1250);
    EXPECT_DOUBLE_EQ(b.secondsSinceMidnight(), 86399.25);
    b.advance(1000);
    EXPECT_DOUBLE_EQ(b.secondsSinceMidnight(), 0.25);
    EXPECT_EQ(b.now(), (kit::DateTime{2026, 12, 8, 0, 0, 0}));
}

TEST(HeadlessBackend, MessageBoxHandlerAnswersWhileTimeGoesOn) {
    HeadlessBackend b;
    int ticks = 0;
    kit::Handle t = b.createTimer([&] { ++ticks; });
    b.setTimer(t, 1000, true);
    b.setMsgBoxHandler([&](const HeadlessBackend::MsgBoxCall& call) {
        b.advance(3000);  // the user reads for three seconds; timers go on meanwhile
        return call.text == "Sure?" ? kit::kIdYes : kit::kIdOk;
    });
    EXPECT_EQ(b.msgBox(0, "Sure?", "t", kit::kMbYesNo), kit::kIdYes);
    EXPECT_EQ(ticks, 3);
    b.queueMsgBoxAnswer(kit::kIdNo);  // scripted answers come first
    EXPECT_EQ(b.msgBox(0, "Sure?", "t", kit::kMbYesNo), kit::kIdNo);
    EXPECT_EQ(ticks, 3);

    // A box opened inside a tick: the clock never goes back when the outer advance ends.
    bool asked = false;
    kit::Handle asker = b.createTimer([&] {
        if (!asked) asked = true, b.msgBox(0, "Later", "t", kit::kMbOk);
    });
    b.setTimer(asker, 500, true);
    const auto before = b.tickMs();
    b.advance(1000);
    EXPECT_EQ(b.tickMs(), before + 3500);
    EXPECT_EQ(ticks, 6);
}
