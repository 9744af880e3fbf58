#include <map>

#include "grabber/crawl.h"
#include "grabber/grab_state.h"
#include "grabber/grab_window.h"
#include "grabber/queues.h"
#include "kit/backend.h"
#include "program_fixture.h"
#include "shell/tivlo_form.h"

namespace {

using kit::headless::ScriptedReader;

struct WindowRecorder : grabber::GrabWindow {
    std::vector<std::string> texts;
    std::string button;
    bool buttonEnabled = false;
    std::function<void(const std::string&)> onText;
    void setStatusText(const std::string& t) override {
        texts.push_back(t);
        if (onText) onText(t);
    }
    void setGrabButton(const std::string& caption, bool enabled) override {
        button = caption;
        buttonEnabled = enabled;
    }
    int count(const std::string& prefix) const {
        int n = 0;
        for (auto& t : texts) n += t.rfind(prefix, 0) == 0;
        return n;
    }
};

const std::string kGif = std::string("GIF89a\x01\x00\x01\x00", 10) + std::string(30, '\0');

class CrawlTest : public ProgramTest {
protected:
    WindowRecorder window;
    std::map<std::string, std::string> site;  // address -> body; missing addresses fail
    int extraRounds = 0;                      // progress events before each completion
    std::function<void(const std::string& address, const std::string& name)> onBegin;

    void SetUp() override {
        ProgramTest::SetUp();
        ASSERT_FALSE(Start());
        gDownloadFolder = "C:\\Pics";
        world.files.addFolder(gDownloadFolder);
        gResourceFormOpen = true;
        grabber::SetGrabWindow(&window);
        world.reader.scripter = [this](const std::string& address, const std::string& name) {
            if (onBegin) onBegin(address, name);
            auto it = site.find(address);
            ScriptedReader::Script s = it == site.end() ? ScriptedReader::Failure() : ScriptedReader::Body(it->second);
            ScriptedReader::Step other;
            other.status = 99;  // a progress status nobody acts on
            for (int i = 0; i < extraRounds; ++i) s.steps.insert(s.steps.begin(), other);
            return s;
        };
    }
    void TearDown() override {
        grabber::SetGrabWindow(nullptr);
        ProgramTest::TearDown();
    }
    // Starts a run as the grab window does and lets it go to its end.
    void Run(const std::string& start, bool newTask = true) {
        if (newTask) grabber::InitGrabTask(start);
        gStopGrabbing = false;
        frmTivlo().mnuGrabbing.Caption = "Stop &Grabbing";
        frmTivlo().mnuGrabbing.Enabled = !gResourceFormOpen;
        frmTivlo().tmrGrabbing.setEnabled(true);
        world.backend.advance(100);
        ASSERT_FALSE(gGrabbing);
    }
    std::vector<std::string> Reads() {
        std::vector<std::string> out;
        for (auto& r : world.reader.reads()) out.push_back(r.address);
        return out;
    }
    std::vector<std::string> Messages() {
        std::vector<std::string> out;
        for (auto& m : world.backend.msgBoxCalls()) out.push_back(m.text);
        return out;
    }
    std::string Page(int n) { return "http://s/p" + std::to_string(n) + ".html"; }
};

TEST_F(CrawlTest, SmallSiteGivesPagesFirstThenPicturesAndEnds) {
    site["http://s/"] = "<a href=p1.html>1</a><a href=p2.html>2</a><img src=a.gif>";
    site[Page(1)] = "<img src=b.gif><a href=\"/\">home</a>";
    site[Page(2)] = "<img src=a.gif><img src=c.gif>";
    site["http://s/a.gif"] = site["http://s/b.gif"] = site["http://s/c.gif"] = kGif;
    Run("http://s/");
    EXPECT_EQ(Reads(), (std::vector<std::string>{"http://s/", Page(1), Page(2), "http://s/a.gif", "http://s/b.gif",
                                                 "http://s/c.gif"}));
    EXPECT_EQ(Messages(), std::vector<std::string>{"All links have been parsed !"});
    EXPECT_EQ(world.backend.msgBoxCalls()[0].flags, 48);
    EXPECT_EQ(world.backend.msgBoxCalls()[0].caption, "Tivlo 2.3");
    EXPECT_EQ(world.files.files().size(), 3u);
    EXPECT_EQ(gSavedPictureCount, 3);
    EXPECT_EQ(gDownloadsInFlight, 0);
    // With the window open: its button and end time; the tray item stays disabled.
    EXPECT_EQ(window.button, "&Grab Now");
    EXPECT_TRUE(window.buttonEnabled);
    EXPECT_EQ(window.texts.back().rfind("Grab process ended at ", 0), 0u);
    EXPECT_EQ(window.count("Connecting to : "), 6);
    EXPECT_EQ(frmTivlo().mnuGrabbing.Caption, "&Picture Grabbing");
    EXPECT_FALSE(frmTivlo().mnuGrabbing.Enabled);
}

TEST_F(CrawlTest, BatchesOfTwentyPagesThenEveryWaitingPicture) {
    std::string links;
    for (int i = 1; i <= 45; ++i) {
        links += "<a href=p" + std::to_string(i) + ".html>x</a>";
        site[Page(i)] = "<img src=i" + std::to_string(i) + ".gif>";
        site["http://s/i" + std::to_string(i) + ".gif"] = kGif;
    }
    site["http://s/"] = links;
    extraRounds = 40;
    int inFlightMax = 0;
    onBegin = [&](const std::string&, const std::string&) { inFlightMax = std::max<int>(inFlightMax, gDownloadsInFlight); };
    Run("http://s/");
    const auto reads = Reads();
    ASSERT_EQ(reads.size(), 91u);
    // The first twenty reads are pages; then pictures until none waits.
    for (int i = 1; i < 20; ++i) EXPECT_NE(reads[i].find(".html"), std::string::npos) << i;
    EXPECT_NE(reads[20].find(".gif"), std::string::npos);
    EXPECT_EQ(world.reader.maxOpenReads(), 5);
    EXPECT_EQ(inFlightMax, 5);
    EXPECT_EQ(gSavedPictureCount, 45);
    EXPECT_EQ(Messages(), std::vector<std::string>{"All links have been parsed !"});
}

TEST_F(CrawlTest, TwentyPagesWithoutPicturesGoOnAtOnceAndPriorityComesFirst) {
    std::string links;
    for (int i = 1; i <= 25; ++i) {
        links += "<a href=p" + std::to_string(i) + ".html>x</a>";
        site[Page(i)] = "<p>no pictures</p>";
    }
    // A picture address that serves a page makes its folder a priority page.
    site[Page(1)] = "<img src=gallery/x.gif>";
    site["http://s/gallery/x.gif"] = "<html>not a picture</html>";
    site["http://s/gallery"] = "<p>folder</p>";
    site["http://s/"] = links;
    Run("http://s/");
    const auto reads = Reads();
    EXPECT_EQ(reads.size(), 28u);
    EXPECT_EQ(gPriorityPageCount, 1);
    // The priority page is started before the pages still waiting in the page queue.
    const auto folder = std::find(reads.begin(), reads.end(), "http://s/gallery");
    ASSERT_NE(folder, reads.end());
    EXPECT_NE(std::find(folder, reads.end(), Page(25)), reads.end());
    EXPECT_EQ(Messages(), std::vector<std::string>{"All links have been parsed !"});
}

TEST_F(CrawlTest, FailingStartPageAndRefusedAddresses) {
    Run("http://s/");  // nothing served
    EXPECT_EQ(Messages(), std::vector<std::string>{"All links have been parsed !"});
    EXPECT_EQ(gDownloadsInFlight, 0);
    world.backend.reset();
    // A refused address is passed over and gives its count back.
    site["http://s/"] = "<a href=\"http://bad host/\">x</a><img src=a.gif>";
    site["http://s/a.gif"] = kGif;
    Run("http://s/");
    EXPECT_EQ(gPageQueueNext, 2);
    EXPECT_EQ(gSavedPictureCount, 1);
    EXPECT_EQ(gDownloadsInFlight, 0);
    EXPECT_EQ(Messages(), std::vector<std::string>{"All links have been parsed !"});
}

TEST_F(CrawlTest, StopWithFivePendingCancelsEachOnce) {
    std::string links;
    for (int i = 1; i <= 9; ++i) links += "<a href=p" + std::to_string(i) + ".html>x</a>";
    site["http://s/"] = links;
    world.reader.scripter = [&](const std::string& address, const std::string&) {
        if (address == "http://s/") return ScriptedReader::Body(links);
        ScriptedReader::Script held;
        held.hold = true;
        if (world.reader.openReads() == 4) gStopGrabbing = true;  // the fifth
        return held;
    };
    int completes = 0;
    frmTivlo().ocxParseWeb.DownloadComplete = [&] {
        ++completes;
        frmTivlo().ocxParseWeb_DownloadComplete();
    };
    Run("http://s/");
    EXPECT_EQ(window.count("Cancel : "), 5);
    EXPECT_EQ(completes, 6);  // the start page, then five cancels
    EXPECT_EQ(gDownloadsInFlight, 0);
    EXPECT_EQ(world.reader.openReads(), 0);
    EXPECT_EQ(Messages(), std::vector<std::string>{"You stop the grabbing process !"});
    EXPECT_TRUE(frmTivlo().ocxParseWeb.pending().empty());
}

TEST_F(CrawlTest, OfflineShowsOnlyItsOwnMessageAndTheClosedWindowIsLeftAlone) {
    gResourceFormOpen = false;
    site["http://s/"] = "<a href=p1.html>1</a>";
    onBegin = [&](const std::string& a, const std::string&) {
        if (a == Page(1)) gStopGrabbing = gGrabOffline = true;
    };
    Run("http://s/");
    ASSERT_EQ(Messages(), std::vector<std::string>{"You are not on the internet !"});
    EXPECT_EQ(world.backend.msgBoxCalls()[0].flags, 16);
    EXPECT_EQ(world.backend.msgBoxCalls()[0].owner, frmTivlo().hWnd());
    EXPECT_TRUE(window.texts.empty());
    EXPECT_EQ(frmTivlo().mnuGrabbing.Caption, "&Picture Grabbing");
    EXPECT_TRUE(frmTivlo().mnuGrabbing.Enabled);
}

TEST_F(CrawlTest, TenThousandPicturesEndEveryLaterRunAtOnce) {
    gSavedPictureCount = kMaxSavedPictures;
    site["http://s/"] = "<img src=a.gif>";
    Run("http://s/");
    EXPECT_EQ(Messages(), std::vector<std::string>{"You have download 10000 items and stop parsing !"});
    EXPECT_LE(Reads().size(), 1u);
    EXPECT_TRUE(world.files.files().empty());
}

TEST_F(CrawlTest, ContinuedTaskKeepsItsQueuesAndCounters) {
    site["http://s/"] = "<img src=a.gif>";
    site["http://s/a.gif"] = site["http://s/b.gif"] = kGif;
    site[Page(1)] = "<img src=b.gif><img src=a.gif>";
    Run("http://s/");
    EXPECT_EQ(gFileCounterGIF, 1);
    // The user goes on with the task after more was queued.
    grabber::AddPageLink(Page(1), "");
    world.backend.reset();
    Run("", false);
    EXPECT_EQ(Reads(), (std::vector<std::string>{"http://s/", "http://s/a.gif", Page(1), "http://s/b.gif"}));
    EXPECT_TRUE(world.files.read("C:\\Pics\\Catch00001.gif"));
    EXPECT_EQ(gFileCounterGIF, 2);
    EXPECT_EQ(Messages(), std::vector<std::string>{"All links have been parsed !"});
}

TEST_F(CrawlTest, ExitDuringARunEndsTheProcess) {
    site["http://s/"] = "<a href=p1.html>1</a>";
    onBegin = [&](const std::string& a, const std::string&) {
        if (a == Page(1)) world.backend.post([] { frmTivlo().mnuExit_Click(); });
    };
    EXPECT_TRUE(Ends([&] { Run("http://s/"); }));
}

TEST_F(CrawlTest, FragmentsDotSegmentsAndABareHostRequestThePageOnce) {
    site["http://s"] = "<a href=\"#top\">t</a><a href=\"#\">h</a><a href=\"./\">d</a><a href=\"./#x\">x</a>";
    Run("http://s");
    EXPECT_EQ(Reads(), std::vector<std::string>{"http://s"});
    EXPECT_EQ(Messages(), std::vector<std::string>{"All links have been parsed !"});
}

TEST_F(CrawlTest, RedirectedPagesResolveAgainstWhereTheyWereFound) {
    // A typed folder address without its slash, and a priority folder page, both redirected.
    world.reader.scripter = [&](const std::string& address, const std::string&) {
        if (address == "http://s/gallery")
            return ScriptedReader::Body("<img src=a.gif><img src=x/b.gif>", 0, "http://s/gallery/");
        if (address == "http://s/gallery/a.gif" || address == "http://s/gallery/x/b.gif") return ScriptedReader::Body(kGif);
        if (address == "http://s/gallery/x/c.gif") return ScriptedReader::Body("<p>page</p>");
        if (address == "http://s/gallery/x") return ScriptedReader::Body("<img src=d.gif>", 0, "http://s/gallery/x/");
        if (address == "http://s/gallery/x/d.gif") return ScriptedReader::Body(kGif);
        return ScriptedReader::Failure();
    };
    grabber::InitGrabTask("http://s/gallery");
    grabber::AddResourceURL("http://s/gallery/x/c.gif");
    Run("", false);
    EXPECT_EQ(gSavedPictureCount, 3);
    EXPECT_EQ(gPriorityPageURLs, std::vector<std::string>{"http://s/gallery/x"});
    // Status texts keep the queued address.
    EXPECT_EQ(window.count("Download complete : http://s/gallery"), 5);
}

TEST_F(CrawlTest, AStartPageRedirectedToHttpsGivesItsSchemeToItsLinks) {
    world.reader.scripter = [&](const std::string& address, const std::string&) {
        if (address == "http://s")
            return ScriptedReader::Body("<img src=a.gif><img src=/b.gif><a href=\"HTTPS://t/c.gif\">c</a>"
                                        "<a href=d/>d</a><a href=\"tel:+1\">t</a><a href=\"ftp://s/e.gif\">e</a>"
                                        "<img src=\"data:image/gif;base64,R0lGODlh.gif\">",
                                        0, "https://s/");
        if (address == "https://s/d/") return ScriptedReader::Body("<img src=../f.gif><a href=\"#top\">top</a>");
        if (address.rfind("https://", 0) == 0 && address.size() > 4 && address.substr(address.size() - 4) == ".gif")
            return ScriptedReader::Body(kGif);
        return ScriptedReader::Failure();
    };
    Run("http://s");
    EXPECT_EQ(Reads(), (std::vector<std::string>{"http://s", "https://s/d/", "https://s/a.gif", "https://s/b.gif",
                                                 "https://t/c.gif", "https://s/f.gif"}));
    EXPECT_EQ(gSavedPictureCount, 4);
}

TEST_F(CrawlTest, AFragmentLinkOnAPathInfoSiteQueuesNoNewPage) {
    // Every path below the script answers with its page: a fragment link that requested a new
    // address would let the relative link nest without end (cut short here at a depth).
    world.reader.scripter = [&](const std::string& address, const std::string&) {
        if (address.rfind("http://s/index.php", 0) == 0 && address.size() < 200)
            return ScriptedReader::Body("<a href=\"#top\">top</a><a href=about.php>about</a><a href=/index.php/more>m</a>");
        return ScriptedReader::Failure();
    };
    Run("http://s/index.php");
    EXPECT_EQ(Reads(), (std::vector<std::string>{"http://s/index.php", "http://s/about.php", "http://s/index.php/more",
                                                 "http://s/index.php/about.php"}));
    EXPECT_EQ(Messages(), std::vector<std::string>{"All links have been parsed !"});
}

TEST_F(CrawlTest, APageParsedWhileAPictureIsQueuedCannotQueueItTwice) {
    site["http://s/"] = "<a href=p1.html>1</a><a href=p2.html>2</a>";
    site[Page(1)] = site[Page(2)] = "<img src=logo.gif>";
    site["http://s/logo.gif"] = kGif;
    // The second page is held, then let go when the first completes: its completion arrives
    // inside the event processing of the first page's picture adder.
    kit::ReadHandle first = 0, second = 0;
    onBegin = [&](const std::string& a, const std::string&) {
        if (a == Page(1)) first = world.reader.reads().size() + 1;
        if (a != Page(2)) return;
        second = world.reader.reads().size() + 1;
        world.backend.post([&] { world.reader.release(first); });
    };
    auto scripted = world.reader.scripter;
    world.reader.scripter = [&, scripted](const std::string& a, const std::string& n) {
        auto s = scripted(a, n);
        s.hold = a == Page(1) || a == Page(2);
        return s;
    };
    window.onText = [&](const std::string& t) {
        if (t == "Download complete : " + Page(1)) world.reader.release(second);
    };
    Run("http://s/");
    EXPECT_EQ(gPictureQueue, std::vector<std::string>{"http://s/logo.gif"});
    EXPECT_EQ(gSavedPictureCount, 1);
}

TEST_F(CrawlTest, APassThatStartsNothingWaitsForTheNextEvent) {
    // The start page answers after two seconds; until then no pass can start anything. A loop
    // that spins never lets the clock move, so a guard stops it after many rounds.
    struct SpinGuard : kit::headless::EventSource {
        int polls = 0;
        std::optional<std::uint64_t> nextDue() const override { return std::nullopt; }
        void deliverDue(std::uint64_t) override {}
        void poll() override {
            if (++polls > 200000) gStopGrabbing = true;
        }
    } guard;
    world.backend.addEventSource(&guard);
    site["http://s/"] = "<p>late</p>";
    auto scripted = world.reader.scripter;
    world.reader.scripter = [&, scripted](const std::string& a, const std::string& n) {
        auto s = scripted(a, n);
        s.hold = true;
        return s;
    };
    kit::Handle timer = 0;
    timer = world.backend.createTimer([&] {
        world.backend.setTimer(timer, 0, false);
        world.reader.release(world.reader.reads().at(0).handle);
    });
    world.backend.setTimer(timer, 2000, true);
    const std::uint64_t start = world.backend.tickMs();
    const int rounds = world.backend.doEventsCount();
    Run("http://s/");
    world.backend.removeEventSource(&guard);
    EXPECT_EQ(Messages(), std::vector<std::string>{"All links have been parsed !"});
    const std::uint64_t waited = world.backend.tickMs() - start;
    EXPECT_GE(waited, 2000u);
    // A few rounds of event processing per wait of at most kEventWaitMs.
    EXPECT_LT(world.backend.doEventsCount() - rounds, int(waited / kit::kEventWaitMs) * 6 + 50);
}

TEST_F(CrawlTest, DownloadsThatEndDuringAPassLetTheNextStartWithoutAWait) {
    // Five pictures held until one second, then let go together; the rest answer at once. The
    // last of the five may end inside a pass that started nothing: the loop must not then sleep
    // a whole wait with nothing in flight. Both parities of the steps are tried.
    std::string page;
    for (int i = 0; i < 10; ++i) {
        page += "<img src=i" + std::to_string(i) + ".gif>";
        site["http://s/i" + std::to_string(i) + ".gif"] = kGif;
    }
    site["http://s/"] = page;
    for (int rounds = 0; rounds < 2; ++rounds) {
        extraRounds = rounds;
        auto scripted = world.reader.scripter;
        int held = 0;
        world.reader.scripter = [&, scripted](const std::string& a, const std::string& n) {
            auto s = scripted(a, n);
            s.hold = a.find(".gif") != std::string::npos && ++held <= 5;
            return s;
        };
        kit::Handle timer = 0;
        timer = world.backend.createTimer([&] {
            world.backend.setTimer(timer, 0, false);
            for (auto& r : world.reader.reads())
                if (!r.finished && !r.cancelled) world.reader.release(r.handle);
        });
        world.backend.setTimer(timer, 1000, true);
        const std::uint64_t start = world.backend.tickMs();
        Run("http://s/");
        world.reader.scripter = scripted;
        EXPECT_EQ(gSavedPictureCount, 10 * (rounds + 1));
        EXPECT_LT(world.backend.tickMs() - start, 1000u + kit::kEventWaitMs) << rounds;
    }
}

TEST_F(CrawlTest, BatchesGoOnPastThirtyTwoThousandPagesStarted) {
    // A continued task that has started 40,000 pages: k starts again at 0, serves the waiting
    // picture, then climbs one per pass until (k + 1) x 20 passes the pages started, far past
    // what a 16-bit product holds.
    grabber::InitGrabTask(Page(0));
    constexpr int kStarted = 40000;
    for (int i = 1; i <= kStarted; ++i) grabber::AddPageLink(Page(i), "");
    gPageQueueNext = kStarted;
    grabber::AddResourceURL("http://s/a.gif");
    site["http://s/a.gif"] = kGif;
    site[Page(kStarted)] = "<p>the last page</p>";
    Run("", false);
    EXPECT_EQ(Reads(), (std::vector<std::string>{"http://s/a.gif", Page(kStarted)}));
    EXPECT_EQ(gSavedPictureCount, 1);
    EXPECT_EQ(Messages(), std::vector<std::string>{"All links have been parsed !"});
}

TEST_F(CrawlTest, AddressesHoldingADollarSignKeepTheirWholeAddress) {
    // The address of a download name is the text after its last "$": read back from the name,
    // these would lose everything up to "x/".
    const std::string dir = "http://s/d$x";
    site[dir + "/p.html"] = "<img src=a.gif><img src=fake.gif>";
    site[dir + "/a.gif"] = kGif;
    site[dir + "/fake.gif"] = "<html>no picture</html>";
    site[dir] = "<p>folder</p>";
    Run(dir + "/p.html");
    EXPECT_EQ(gSavedPictureCount, 1);
    EXPECT_EQ(gPriorityPageURLs, std::vector<std::string>{dir});
    EXPECT_EQ(Reads(), (std::vector<std::string>{dir + "/p.html", dir + "/a.gif", dir + "/fake.gif", dir}));
    for (const char* text : {"Connecting to : ", "Downloading and parsing : ", "Download complete : "})
        EXPECT_EQ(window.count(text + dir + "/p.html"), 1) << text;
    EXPECT_EQ(window.count("Download complete : " + dir + "/a.gif"), 1);
}

TEST_F(CrawlTest, LinksPastTheQueuesBoundsArePassedOverWithOneLine) {
    // Links at a 4 KB address: a page's share of the queues is reached after a few thousand.
    std::string links = "<img src=a.gif>";
    for (int i = 0; i < 5000; ++i) links += "<a href=" + std::to_string(i) + "></a>";
    const std::string deep = "http://s/" + std::string(4096, 'd');
    auto parse = [&](int page) {
        const std::string address = deep + std::to_string(page) + "/p.html";
        const std::int32_t before = gPageQueueCount;
        window.texts.clear();
        frmTivlo().ocxParseWeb.ParseHtml(links, "HTM$$" + address, address);
        return gPageQueueCount - before;
    };
    grabber::InitGrabTask("http://s/");
    const std::size_t linkCost = deep.size() + 6 + grabber::kQueueEntryCost;  // at most
    const int share = parse(0);
    EXPECT_NEAR(share, grabber::kMaxPageLinkBytes / linkCost, 5);
    EXPECT_EQ(gPictureQueueCount, 1);
    EXPECT_EQ(window.texts, std::vector<std::string>{"Too many links, some passed over : " + deep + "0/p.html"});
    // Every page gets its share until the queues are full; then nothing more is queued.
    for (int page = 1; parse(page) > 0;) ++page;
    std::size_t held = 0;
    for (const auto* queue : {&gPageQueueURLs, &gPictureQueue})
        for (const std::string& url : *queue) held += url.size() + grabber::kQueueEntryCost;
    EXPECT_LE(held, grabber::kMaxQueueBytes);
    EXPECT_GT(held + linkCost, grabber::kMaxQueueBytes);
    EXPECT_EQ(window.count("Too many links"), 1);
    EXPECT_EQ(parse(0), 0);
    // A new task starts afresh.
    grabber::InitGrabTask("http://s/");
    EXPECT_EQ(parse(0), share);
}

}  // namespace
