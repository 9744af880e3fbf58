#include <array>
#include <optional>
#include <string>
#include <vector>

#include "program_fixture.h"
#include "shell/daytime.h"
#include "shell/tivlo_form.h"
#include "shell/tray.h"

namespace {

using Peer = platform::headless::ScriptedNetwork::Peer;

const char* const kNotOnInternet = "You are not on the internet !";
const char* const kFinished = "Time synchronization finished !";
const char* const kSynchError =
    "Some errors may have occured on\r\nthe web, Check you connection and\r\ntry again !";
const char* const kClockRefused = "The system time could not be changed !";
// The example line of a public daytime server: 7 December 2026, 21:45:30 UTC.
const char* const kExampleReply = "\n61381 26-12-07 21:45:30 00 0 0 752.7 UTC(NIST) * \n";

Peer Sends(std::vector<std::pair<std::uint64_t, std::string>> pieces) {
    Peer p;
    p.pieces = std::move(pieces);
    return p;
}

Peer Answers(Peer::Answer answer) {
    Peer p;
    p.answer = answer;
    return p;
}

class TimeSynchTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        ASSERT_FALSE(Start());
    }
    FrmTivlo& form() { return frmTivlo(); }
    bool Pending() {
        return form().mnuTimeSynch.Checked && !form().mnuTimeSynch.Enabled &&
               form().tmrUTC.Enabled();
    }
    int Boxes(const std::string& text) {
        int n = 0;
        for (auto& call : world.backend.msgBoxCalls()) n += call.text == text;
        return n;
    }
    std::vector<std::string> BoxTexts() {
        std::vector<std::string> texts;
        for (auto& call : world.backend.msgBoxCalls()) texts.push_back(call.text);
        return texts;
    }
    // Chooses "&Time Synch Via Web" and lets the virtual clock run until the synchronisation
    // has ended (or the limit passed).
    void Synchronise(std::uint64_t limitMs = 60000) {
        ChooseFromTray("&Time Synch Via Web");
        for (std::uint64_t t = 0; t < limitMs && form().mnuTimeSynch.Checked; t += 100)
            world.backend.advance(100);
    }
    std::vector<std::uint64_t> ConnectTicks() {
        std::vector<std::uint64_t> ticks;
        for (auto& c : world.network.connects()) ticks.push_back(c.tick);
        return ticks;
    }
    void SilentServerFrom(const kit::DateTime& start, std::uint64_t commandAfterMs = 0) {
        world.backend.setNow(start);
        world.backend.advance(commandAfterMs);
        int alarmTicks = 0;
        form().tmrAlarm.OnTimer = [&] { ++alarmTicks; };
        std::size_t trayCallsAtError = 0;
        world.backend.setMsgBoxHandler([&](const auto&) {
            trayCallsAtError = world.tray.calls().size();
            return kit::kIdOk;
        });
        const std::size_t trayCallsBefore = world.tray.calls().size();
        const auto begin = world.backend.tickMs();
        Synchronise();

        const auto ticks = ConnectTicks();
        ASSERT_EQ(ticks.size(), 3u);
        // Each wait lasts ten seconds, ended by the first wake-up after them.
        for (int i : {1, 2}) {
            EXPECT_GE(ticks[i] - ticks[i - 1], 10000u);
            EXPECT_LE(ticks[i] - ticks[i - 1], 10000u + kit::kEventWaitMs);
        }
        EXPECT_EQ(BoxTexts(), std::vector<std::string>{kSynchError});
        EXPECT_EQ(world.backend.msgBoxCalls()[0].flags, kit::kMbIconExclamation);
        EXPECT_TRUE(world.system.setSystemTimeCalls().empty());
        EXPECT_TRUE(world.sound.beeps().empty());
        EXPECT_FALSE(form().mnuTimeSynch.Checked);
        EXPECT_TRUE(form().mnuTimeSynch.Enabled);

        // The alarm timer ticked all along, and the clock redrew at second 00 during a wait.
        EXPECT_GE(alarmTicks, static_cast<int>((world.backend.tickMs() - begin) / 1000) - 1);
        EXPECT_EQ(trayCallsAtError - trayCallsBefore, 2u);  // one redraw: two icons
    }
    kit::Handle IconOf(int record) {
        auto rec = world.tray.icon(form().tmpIcon(record).hWnd(), 1);
        return rec ? rec->hIcon : 0;
    }
};

TEST(DaytimeReply, OnlyTwoDigitFieldsOfARealDateAndTimeCount) {
    struct Case {
        const char* reply;
        std::optional<std::array<int, 6>> utc;  // year, month, day, hour, minute, second
    };
    const Case cases[] = {
        {kExampleReply, std::array{2026, 12, 7, 21, 45, 30}},
        {"61381 26-12-07 21:45:30", std::array{2026, 12, 7, 21, 45, 30}},  // no leading line break
        {"\n60000 24-02-29 00:00:00 UTC", std::array{2024, 2, 29, 0, 0, 0}},
        {"\n61381 26-12-07 23:59:59", std::array{2026, 12, 7, 23, 59, 59}},
        {"", std::nullopt},
        {"no colon in this reply at all", std::nullopt},
        {"12:34:56", std::nullopt},                          // ':' too early for the date
        {"\n1381 26-12-07 21:45:30", std::array{2026, 12, 7, 21, 45, 30}},  // still 11 before
        {"\n61381 26-1207 21:45:30", std::nullopt},          // shifted: a blank where a digit goes
        {"Mon Dec  7 21:45:30 2026\r\n", std::nullopt},      // another daytime format
        {"\n61381 2x-12-07 21:45:30", std::nullopt},
        {"\n61381 26-13-07 21:45:30", std::nullopt},         // month 13
        {"\n61381 26-00-07 21:45:30", std::nullopt},
        {"\n61381 26-02-30 21:45:30", std::nullopt},         // 30 February
        {"\n61381 26-12-07 25:45:30", std::nullopt},         // hour 25
        {"\n61381 26-12-07 21:60:30", std::nullopt},
        {"\n61381 26-12-07 21:45:61", std::nullopt},
        {"\n61381 26-12-07 21:45", std::nullopt},            // cut after the minutes
        {"\n61381 26-12-07 21:45:3", std::nullopt},
        {"\n61381 26-12-07 21:", std::nullopt},
        {"\n61381 26-12-07 -1:45:30", std::nullopt},
        {"\n61381 26-12-07 21:+5:30", std::nullopt},
    };
    for (const Case& c : cases) {
        // Parsed from an exact-size copy, so that a read past the end shows under ASan.
        const std::string text = c.reply;
        const auto got = daytime::ParseReply(std::string_view(text));
        ASSERT_EQ(got.has_value(), c.utc.has_value()) << "reply: " << text;
        if (!got) continue;
        const auto& u = *c.utc;
        EXPECT_EQ((std::array<int, 6>{got->wYear, got->wMonth, got->wDay, got->wHour,
                                      got->wMinute, got->wSecond}),
                  u)
            << text;
        EXPECT_EQ(got->wDayOfWeek, 0);
        EXPECT_EQ(got->wMilliseconds, 0);
    }
}

TEST_F(TimeSynchTest, CommandProbesUpTo101TimesAndStartsOnlyWhenOnline) {
    world.network.queueProbeAnswers(101, false);
    ChooseFromTray("&Time Synch Via Web");
    EXPECT_EQ(world.network.probeCount(), 101);
    ASSERT_EQ(Boxes(kNotOnInternet), 1);
    const auto& box = world.backend.msgBoxCalls().back();
    EXPECT_EQ(box.flags, kit::kMbIconError);
    EXPECT_EQ(box.caption, "Tivlo 2.3");
    EXPECT_EQ(box.owner, form().hWnd());
    EXPECT_FALSE(form().mnuTimeSynch.Checked);
    EXPECT_FALSE(form().tmrUTC.Enabled());

    // The 101st probe is the last chance.
    world.network.queueProbeAnswers(100, false);
    ChooseFromTray("&Time Synch Via Web");
    EXPECT_EQ(world.network.probeCount(), 202);
    EXPECT_TRUE(Pending());
    EXPECT_EQ(Boxes(kNotOnInternet), 1);

    // While pending, the command does nothing at all, and the menu shows the item checked
    // and greyed.
    form().mnuTimeSynch_Click();
    EXPECT_EQ(world.network.probeCount(), 202);
    ChooseFromTray("&Time Synch Via Web");
    const auto& entries = world.backend.menuCalls().back().entries;
    EXPECT_TRUE(entries[5].checked);
    EXPECT_FALSE(entries[5].enabled);
    EXPECT_EQ(world.network.probeCount(), 202);
    EXPECT_TRUE(Pending());
    EXPECT_TRUE(world.network.connects().empty());
    const auto commanded = world.backend.tickMs();
    world.backend.advance(100);  // tmrUTC: the attempts run inside its tick
    ASSERT_FALSE(world.network.connects().empty());
    EXPECT_EQ(world.network.connects()[0].tick, commanded + 100);
}

TEST_F(TimeSynchTest, ExampleReplySetsTheClockInUtcBeepsAndShowsTheNewTimeAtOnce) {
    world.moveClockOnSet(60);  // the computer's zone is one hour east of UTC
    world.network.queuePeer(Sends({{300, kExampleReply}}));
    std::size_t callsAtFinish = 0;
    world.backend.setMsgBoxHandler([&](const auto&) {
        callsAtFinish = world.tray.calls().size();
        return kit::kIdOk;
    });
    Synchronise();

    ASSERT_EQ(world.network.connects().size(), 1u);
    EXPECT_EQ(world.network.connects()[0].host, "time.nist.gov");
    EXPECT_EQ(world.network.connects()[0].port, 13);
    ASSERT_EQ(world.system.setSystemTimeCalls().size(), 1u);
    const auto& t = world.system.setSystemTimeCalls()[0];
    EXPECT_EQ((std::array<int, 8>{t.wYear, t.wMonth, t.wDayOfWeek, t.wDay, t.wHour, t.wMinute,
                                  t.wSecond, t.wMilliseconds}),
              (std::array<int, 8>{2026, 12, 0, 7, 21, 45, 30, 0}));
    EXPECT_EQ(world.sound.beeps(), std::vector<std::uint32_t>{platform::kStandardBeep});
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{kFinished});
    EXPECT_EQ(world.backend.msgBoxCalls()[0].flags, kit::kMbIconExclamation);
    EXPECT_EQ(world.backend.msgBoxCalls()[0].owner, form().hWnd());
    EXPECT_FALSE(form().mnuTimeSynch.Checked);
    EXPECT_TRUE(form().mnuTimeSynch.Enabled);
    EXPECT_EQ(world.network.openConnections(), 0u);

    // Right after the box, well before second 00, the icons show the new local time: 22:45
    // on the 12-hour clock, and the tooltip the date.
    EXPECT_GT(world.tray.calls().size(), callsAtFinish);
    EXPECT_EQ(kit::Now().hour, 22);
    EXPECT_EQ(OpaquePixels(IconOf(1)), TextPixels("10:", 0, 2));
    EXPECT_EQ(OpaquePixels(IconOf(0)), TextPixels("45", -1, 2, "p", 11));
    EXPECT_STREQ(world.tray.icon(form().tmpIcon(0).hWnd(), 1)->szTip, "Dec 07,2026,Monday");
}

TEST_F(TimeSynchTest, SilentServerGivesThreeWaitsOfAboutTenSecondsWhileTimersGoOn) {
    SilentServerFrom({2026, 12, 7, 9, 41, 30});
}

TEST_F(TimeSynchTest, SilentServerWaitsAsLongAcrossMidnight) {
    // The first attempt starts at .7 s past the second.
    SilentServerFrom({2026, 12, 7, 23, 59, 48}, 600);
}

TEST_F(TimeSynchTest, AClockSetBackDuringAWaitDoesNotStretchIt) {
    // Another program puts the clock back an hour while the first attempt waits (as at the end
    // of summer time): the waits stay about ten seconds each.
    world.backend.setNow({2026, 10, 25, 2, 59, 50});
    bool setBack = false;
    form().tmrAlarm.OnTimer = [&] {
        if (setBack || world.network.connects().empty()) return;
        setBack = true;
        world.backend.setNow(kit::AddSeconds(kit::Now(), -3600));
    };
    Synchronise();
    ASSERT_TRUE(setBack);
    const auto ticks = ConnectTicks();
    ASSERT_EQ(ticks.size(), 3u);
    for (int i : {1, 2}) EXPECT_LE(ticks[i] - ticks[i - 1], 10000u + kit::kEventWaitMs) << i;
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{kSynchError});
    EXPECT_FALSE(form().mnuTimeSynch.Checked);
}

TEST_F(TimeSynchTest, EachArrivalIsJudgedByItselfAndBadRepliesNeverReachTheClock) {
    // The reply split before its time: neither piece counts; then a reply in another daytime
    // format, a month 13 and an endless stream of text without a line end or ':'.
    world.network.queuePeer(Sends({{200, "\n61381 26-12-07 "}, {400, "21:45:30 00 0 0 50.0 UTC(NIST) *\n"}}));
    world.network.queuePeer(Sends({{200, "Mon Dec  7 21:45:30 2026\r\n"}, {300, "\n61381 26-13-07 21:45:30 00\n"}}));
    std::vector<std::pair<std::uint64_t, std::string>> stream;
    for (std::uint64_t ms = 100; ms < 12000; ms += 2)
        stream.emplace_back(ms, std::string(100 * 1024, 'x'));
    world.network.queuePeer(Sends(std::move(stream)));
    Synchronise();
    EXPECT_EQ(world.network.connects().size(), 3u);
    EXPECT_TRUE(world.system.setSystemTimeCalls().empty());
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{kSynchError});
}

TEST_F(TimeSynchTest, ArrivalsAfterTheClockWasSetAreDropped) {
    // The rest of the line in a second piece at the same moment, a second line later, and
    // another while the success box is open: the clock is set once, and it is a success.
    world.network.queuePeer(Sends({{200, "\n61381 26-12-07 21:45:30 00 0 0 "},
                                   {200, "50.0 UTC(NIST) *\n"},
                                   {210, "\n61381 26-12-07 21:45:31 00 0 0 50.0 UTC(NIST) *\n"},
                                   {3000, kExampleReply}}));
    world.backend.setMsgBoxHandler([&](const auto&) {
        world.backend.advance(5000);  // the user reads for five seconds
        return kit::kIdOk;
    });
    Synchronise();
    EXPECT_EQ(world.network.connects().size(), 1u);
    EXPECT_EQ(world.system.setSystemTimeCalls().size(), 1u);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{kFinished});
    EXPECT_EQ(world.sound.beeps().size(), 1u);
}

TEST_F(TimeSynchTest, RefusedClockEndsTheAttemptsAtOnceWithItsOwnMessage) {
    world.system.setClockRefused(true);
    world.network.queuePeer(Sends({{200, kExampleReply}}));
    world.network.queuePeer(Sends({{200, kExampleReply}}));
    Synchronise();
    EXPECT_EQ(world.network.connects().size(), 1u);
    EXPECT_EQ(world.system.setSystemTimeCalls().size(), 1u);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{kClockRefused});
    EXPECT_EQ(world.backend.msgBoxCalls()[0].flags, kit::kMbIconExclamation);
    EXPECT_EQ(world.backend.msgBoxCalls()[0].caption, "Tivlo 2.3");
    EXPECT_TRUE(world.sound.beeps().empty());
    EXPECT_FALSE(form().mnuTimeSynch.Checked);
    EXPECT_TRUE(form().mnuTimeSynch.Enabled);
}

TEST_F(TimeSynchTest, RefusedConnectionOrUnknownHostFailsEachAttemptAtOnce) {
    world.network.queuePeer(Answers(Peer::Answer::Refuse));
    world.network.queuePeer(Answers(Peer::Answer::NoHost));
    world.network.queuePeer(Answers(Peer::Answer::Refuse));
    world.network.queuePeer(Sends({{200, kExampleReply}}));  // never reached
    const auto begin = world.backend.tickMs();
    ChooseFromTray("&Time Synch Via Web");
    world.backend.advance(100);
    EXPECT_EQ(world.network.connects().size(), 3u);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{kSynchError});
    EXPECT_LE(world.backend.tickMs() - begin, 100u + 3 * kit::kEventWaitMs);
    EXPECT_FALSE(form().mnuTimeSynch.Checked);
    EXPECT_EQ(world.network.openConnections(), 0u);

    // A failure after a late connect: the second attempt gets the answer.
    world.reset();
    Peer late = Answers(Peer::Answer::Refuse);
    late.answerMs = 4000;
    world.network.queuePeer(late);
    world.network.queuePeer(Sends({{200, kExampleReply}}));
    Synchronise();
    EXPECT_EQ(ConnectTicks().size(), 2u);
    EXPECT_EQ(ConnectTicks()[1] - ConnectTicks()[0], 4000u);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{kFinished});
}

TEST_F(TimeSynchTest, OfflineCancelEndsTheWaitingAttemptsQuietlyAndRunsNeverNest) {
    // Three seconds into the first wait the alarm tick finds the connection gone. While its
    // message is open, the user starts a synchronisation again and reads for two seconds.
    kit::Timer offline(nullptr, 3100, true);
    offline.OnTimer = [&] {
        offline.setEnabled(false);
        form().CancelTimeSynch();
    };
    std::size_t connectsWhileBoxOpen = 0;
    world.backend.setMsgBoxHandler([&](const auto& call) {
        if (call.text == kNotOnInternet) {
            ChooseFromTray("&Time Synch Via Web");
            EXPECT_TRUE(Pending());
            world.backend.advance(2000);
            connectsWhileBoxOpen = world.network.connects().size();
        }
        return kit::kIdOk;
    });
    world.network.queuePeer(Peer{});                          // silent: the cancelled run
    world.network.queuePeer(Sends({{300, kExampleReply}}));  // the new run
    Synchronise();

    EXPECT_EQ(connectsWhileBoxOpen, 1u);  // no run inside the other
    const auto ticks = ConnectTicks();
    ASSERT_EQ(ticks.size(), 2u);
    EXPECT_LT(ticks[1] - ticks[0], 5300u);  // the old run did not wait out its ten seconds
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{kNotOnInternet, kFinished}));
    EXPECT_EQ(world.backend.msgBoxCalls()[0].flags, kit::kMbIconError);
    EXPECT_EQ(world.backend.msgBoxCalls()[0].owner, form().hWnd());
    EXPECT_EQ(world.system.setSystemTimeCalls().size(), 1u);
    EXPECT_FALSE(form().mnuTimeSynch.Checked);
    EXPECT_TRUE(form().mnuTimeSynch.Enabled);
    EXPECT_FALSE(form().tmrUTC.Enabled());
}

TEST_F(TimeSynchTest, OfflineCancelDropsTheStartStillDue) {
    ChooseFromTray("&Time Synch Via Web");
    ASSERT_TRUE(Pending());
    form().CancelTimeSynch();
    EXPECT_FALSE(form().mnuTimeSynch.Checked);
    EXPECT_TRUE(form().mnuTimeSynch.Enabled);
    EXPECT_FALSE(form().tmrUTC.Enabled());
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{kNotOnInternet});
    world.backend.advance(30000);
    EXPECT_TRUE(world.network.connects().empty());
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{kNotOnInternet});
}

TEST_F(TimeSynchTest, ExitDuringAWaitClosesTheSocket) {
    ChooseFromTray("&Time Synch Via Web");
    kit::Timer exit(nullptr, 2000, true);
    exit.OnTimer = [&] { ChooseFromTray("E&xit"); };
    EXPECT_TRUE(Ends([&] { world.backend.advance(3000); }));
    EXPECT_EQ(world.network.connects().size(), 1u);
    EXPECT_EQ(world.network.openConnections(), 0u);
}

TEST_F(TimeSynchTest, RestartedShellGetsBothIconsBackAtOnce) {
    world.system.addWindow(0, "Shell_TrayWnd", 100);
    world.system.addWindow(100, "TrayNotifyWnd", 101);
    world.system.addWindow(101, "TrayClockWClass", 102);
    world.tray.reset();  // the new shell knows no icons
    world.backend.setNow({2026, 12, 7, 14, 5, 17});
    world.backend.broadcastTaskbarCreated();
    ASSERT_EQ(world.tray.iconCount(), 2u);
    EXPECT_EQ(OpaquePixels(IconOf(1)), TextPixels("02:", 0, 2));
    EXPECT_EQ(OpaquePixels(IconOf(0)), TextPixels("05", -1, 2, "p", 11));
    EXPECT_STREQ(world.tray.icon(form().tmpIcon(1).hWnd(), 1)->szTip, "Dec 07,2026,Monday");
    ASSERT_FALSE(world.system.showCalls().empty());
    EXPECT_EQ(world.system.showCalls().back(), (std::pair<kit::Handle, int>{102, platform::kSwHide}));
    EXPECT_FALSE(gTrayRedraw);
}

}  // namespace
