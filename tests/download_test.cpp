// The real client against the loopback server.
#include <gtest/gtest.h>

#include <chrono>

#include "kit/headless/curl_reader.h"
#include "platform/headless/bind.h"
#include "tests/server/loopback_server.h"

namespace {

using kit::ReadHandle;

struct Recorder : kit::AsyncReadSink {
    std::vector<std::string> events;  // "3 <text>", "14 <bytesMax>", "6 <size> <final>", "0"
    std::string body;
    int completions = 0;
    void onReadProgress(ReadHandle, const std::string&, int status, const std::string& text,
                        std::uint32_t bytesMax) override {
        if (status == 3) events.push_back("3 " + text);
        if (status == 14) events.push_back("14 " + std::to_string(bytesMax));
    }
    void onReadComplete(ReadHandle, const std::string&, int status, std::vector<std::uint8_t>& data,
                        std::uint32_t, const std::string& finalAddress) override {
        ++completions;
        body.assign(data.begin(), data.end());
        events.push_back(status == 6 ? "6 " + std::to_string(data.size()) + " " + finalAddress : "0");
    }
};

class DownloadTest : public ::testing::Test {
protected:
    static testserver::LoopbackServer* server;
    static void SetUpTestSuite() { server = new testserver::LoopbackServer({}, true); }
    static void TearDownTestSuite() {
        delete server;
        server = nullptr;
    }

    platform::headless::HeadlessWorld world;
    kit::headless::CurlReader reader{world.backend};
    Recorder sink;

    void SetUp() override {
        world.bind();
        server->clearLog();
    }
    // Processes events until every read is answered, or the real-time limit.
    void RunUntilDone(int completions = 1, int limitMs = 10000) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
        while (sink.completions < completions && std::chrono::steady_clock::now() < end) world.backend.waitEvents();
    }
    // A target of the server's, or a whole address.
    std::vector<std::string> Read(const std::string& target) {
        sink = {};
        EXPECT_NE(reader.beginRead(target[0] == '/' ? server->url(target) : target, "n", &sink), 0u);
        RunUntilDone();
        return sink.events;
    }
    std::string U(const std::string& target) { return server->url(target); }
};
testserver::LoopbackServer* DownloadTest::server = nullptr;

TEST_F(DownloadTest, EventOrderAndContent) {
    EXPECT_EQ(Read("/t/text"), (std::vector<std::string>{"14 15", "6 15 " + U("/t/text")}));
    EXPECT_EQ(sink.body, "plain text body");
    sink = {};
    EXPECT_EQ(Read("/t/chunked"), (std::vector<std::string>{"14 0", "6 3000 " + U("/t/chunked")}));
    EXPECT_EQ(sink.body.substr(995, 10), "aaaaabbbbb");
    sink = {};
    // An error page is delivered like any body.
    EXPECT_EQ(Read("/t/missing"), (std::vector<std::string>{"14 21", "6 21 " + U("/t/missing")}));
    sink = {};
    EXPECT_EQ(Read("/t/redirect?n=1&to=/t/text"),
              (std::vector<std::string>{"3 " + U("/t/text"), "14 15", "6 15 " + U("/t/text")}));
    sink = {};
    EXPECT_EQ(Read("/t/redirect?n=3&to=/t/text"),
              (std::vector<std::string>{"3 " + U("/t/redirect?n=2&to=/t/text"), "3 " + U("/t/redirect?n=1&to=/t/text"),
                                        "3 " + U("/t/text"), "14 15", "6 15 " + U("/t/text")}));
}

TEST_F(DownloadTest, EachFailureEndsWithStatusZero) {
    kit::ReadLimits limits;
    limits.maxBytes = 1 << 20;
    limits.windowMs = 800;
    reader.setLimits(limits);
    // Among them a redirect whose body never ends, and headers that never end.
    const std::string targets[] = {"/t/headers-only", "/t/short",           "/t/loop",
                                   "/t/ftp",          "/t/endless",         "/t/slow?ms=300&n=50",
                                   "/t/endless-redirect", server->rawUrl("/t/trickle?ms=100")};
    for (const std::string& t : targets) {
        sink = {};
        const auto events = Read(t);
        ASSERT_FALSE(events.empty()) << t;
        EXPECT_EQ(events.back(), "0") << t;
        EXPECT_EQ(sink.completions, 1) << t;
    }
    // The loop gives up after ten hops.
    int hops = 0;
    for (const auto& e : Read("/t/loop")) hops += e[0] == '3';
    EXPECT_EQ(hops, 10);
    // A refused port, and a reset after the headers.
    sink = {};
    const int refused = server->resetPort() + 1;
    reader.beginRead("http://127.0.0.1:" + std::to_string(refused == server->port() ? refused + 1 : refused) + "/",
                     "n", &sink);
    RunUntilDone();
    EXPECT_EQ(sink.events.back(), "0");
    sink = {};
    reader.beginRead("http://127.0.0.1:" + std::to_string(server->resetPort()) + "/", "n", &sink);
    RunUntilDone();
    EXPECT_EQ(sink.events, (std::vector<std::string>{"14 5000", "0"}));
}

TEST_F(DownloadTest, HttpsIsVerifiedAgainstTheTrustedCertificate) {
    const std::string text = server->httpsUrl("/t/text");
    EXPECT_EQ(Read(text), std::vector<std::string>{"0"});  // the system does not know the test's own
    reader.trustOnly(server->certificatePem());
    EXPECT_EQ(Read(text), (std::vector<std::string>{"14 15", "6 15 " + text}));
    EXPECT_EQ(sink.body, "plain text body");
    EXPECT_EQ(Read("/t/redirect?n=1&to=" + text), (std::vector<std::string>{"3 " + text, "14 15", "6 15 " + text}));
    // The certificate names localhost alone.
    EXPECT_EQ(Read("https://127.0.0.1:" + std::to_string(server->httpsPort()) + "/t/text").back(), "0");
}

TEST_F(DownloadTest, NoEventAfterACancel) {
    // Before the headers, and in the middle of a body.
    const ReadHandle early = reader.beginRead(U("/t/delay?ms=300"), "n", &sink);
    reader.cancelRead(early);
    const ReadHandle middle = reader.beginRead(U("/t/slow?ms=50&n=100"), "n", &sink);
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(400);
    while (std::chrono::steady_clock::now() < end) world.backend.waitEvents();
    EXPECT_EQ(sink.events, std::vector<std::string>{"14 100"});
    reader.cancelRead(middle);
    const auto later = std::chrono::steady_clock::now() + std::chrono::milliseconds(400);
    while (std::chrono::steady_clock::now() < later) world.backend.waitEvents();
    EXPECT_EQ(sink.events, std::vector<std::string>{"14 100"});
    EXPECT_EQ(reader.liveReads(), 0);
    // Nothing arrives from inside beginRead itself.
    reader.beginRead(U("/t/text"), "n", &sink);
    EXPECT_EQ(sink.events.size(), 1u);
}

TEST_F(DownloadTest, WhatIsSentAndWhatIsRefused) {
    Read("/t/echo/a/./b/../c#frag");
    Read("/t/echo?q=\xe4\xf6 x\"y");
    EXPECT_EQ(Read("/t/echo/x/..").back().substr(0, 2), "6 ");
    const auto targets = server->targets();
    ASSERT_EQ(targets.size(), 3u);
    EXPECT_EQ(targets[0], "/t/echo/a/c");
    EXPECT_EQ(targets[1], "/t/echo?q=%E4%F6%20x%22y");
    EXPECT_EQ(targets[2], "/t/echo/");
    for (const char* bad : {"http://127.0.0.1/a\nb", "file:///etc/passwd", "ftp://127.0.0.1/", "http://u:p@127.0.0.1/",
                            "http://127.0.0.1:99999/"})
        EXPECT_EQ(reader.beginRead(bad, "n", &sink), 0u) << bad;
}

}  // namespace
