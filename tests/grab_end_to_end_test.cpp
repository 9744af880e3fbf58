// One crawl of a small real site on the loopback server, with the real client.
#include <filesystem>
#include <fstream>
#include <set>

#include "grabber/crawl.h"
#include "grabber/grab_state.h"
#include "kit/headless/curl_reader.h"
#include "grab_window_fixture.h"
#include "program_fixture.h"
#include "shell/tivlo_form.h"
#include "tests/server/loopback_server.h"

namespace {

namespace fs = std::filesystem;

std::string Picture(char kind, int n) {
    std::string head = kind == 'g' ? std::string("GIF89a\x02\x00\x02\x00", 10) : std::string("\x89PNG\r\n\x1a\n", 8);
    return head + std::string(200 + n, static_cast<char>('a' + n));
}

// A crawl of the program from `start` through `reader` (GIFs and PNGs into C:\Pics as "Catch"),
// run until the run's own message; the scripted reader is put back after it.
class EndToEndCrawlTest : public ProgramTest {
protected:
    void Crawl(kit::AsyncReader& reader, const std::string& start) {
        kit::setAsyncReader(&reader);
        ASSERT_FALSE(Start());
        gDownloadGIF = gDownloadPNG = true;
        gDownloadFolder = "C:\\Pics";
        gDownloadFileName = "Catch";
        world.files.addFolder("C:\\Pics");
        grabber::InitGrabTask(start);
        gStopGrabbing = false;
        frmTivlo().tmrGrabbing.setEnabled(true);
        world.backend.advance(100);
        kit::setAsyncReader(&world.reader);
    }
};

TEST_F(EndToEndCrawlTest, CrawlOfARealSiteSavesEachPictureOnceAndEnds) {
    const fs::path dir = fs::temp_directory_path() / ("tivlo-site-" + std::to_string(::getpid()));
    fs::create_directories(dir / "gallery");
    auto put = [&](const std::string& name, const std::string& body) { std::ofstream(dir / name, std::ios::binary) << body; };
    put("index.html", "<a href=\"gallery/\">Gallery</a><a href=\"about.html#top\">About</a><img src=\"logo.gif\">"
                      "<a href=\"#top\">top</a><a href=\"./\">here</a>");
    put("about.html", "<img src=\"logo.gif\"><a href=\"/index.html\">home</a><a href=\"missing.html\">x</a>");
    put("gallery/index.html", "<a href=\"one.png\">1</a><a href=\"two.png\"><img src=\"two.png\"></a>"
                              "<a href=\"../about.html\">about</a><img src=\"fake.gif\">");
    put("logo.gif", Picture('g', 1));
    put("gallery/one.png", Picture('p', 2));
    put("gallery/two.png", Picture('p', 3));
    put("gallery/fake.gif", "<html>no picture</html>");
    {
        testserver::LoopbackServer server(dir.string());
        kit::headless::CurlReader curl(world.backend);
        Crawl(curl, server.url("/index.html"));

        const auto files = world.files.files();
        // The two pictures of the gallery finish in either order.
        std::map<std::string, std::string> expected = {{"C:\\Pics\\Catch00000.gif", Picture('g', 1)},
                                                       {"C:\\Pics\\Catch00000.png", Picture('p', 2)},
                                                       {"C:\\Pics\\Catch00001.png", Picture('p', 3)}};
        if (files.count("C:\\Pics\\Catch00000.png") && files.at("C:\\Pics\\Catch00000.png") == Picture('p', 3))
            std::swap(expected["C:\\Pics\\Catch00000.png"], expected["C:\\Pics\\Catch00001.png"]);
        EXPECT_EQ(files, expected);
        const auto targets = server.targets();
        EXPECT_EQ(std::set<std::string>(targets.begin(), targets.end()).size(), targets.size());
        // 3 pages, 4 picture addresses, the missing page, the folder, and the start page again
        // as "/" (its "./" link); its "#top" link names the page itself and is not requested.
        EXPECT_EQ(targets.size(), 10u);
        ASSERT_EQ(world.backend.msgBoxCalls().size(), 1u);
        EXPECT_EQ(world.backend.msgBoxCalls()[0].text, "All links have been parsed !");
        EXPECT_EQ(gDownloadsInFlight, 0);
    }
    fs::remove_all(dir);
}

// A start address that redirects to an https site: the site's links keep its scheme.
TEST_F(EndToEndCrawlTest, CrawlFollowsARedirectToAnHttpsSite) {
    const fs::path dir = fs::temp_directory_path() / ("tivlo-https-" + std::to_string(::getpid()));
    fs::create_directories(dir / "sub");
    auto put = [&](const std::string& name, const std::string& body) { std::ofstream(dir / name, std::ios::binary) << body; };
    put("index.html", "<a href=\"sub/page.html\">sub</a><img src=\"/logo.gif\">");
    put("sub/page.html", "<img src=\"pic.png\"><a href=\"../index.html\">home</a>");
    put("logo.gif", Picture('g', 1));
    put("sub/pic.png", Picture('p', 2));
    {
        testserver::LoopbackServer server(dir.string(), true);
        kit::headless::CurlReader curl(world.backend);
        curl.trustOnly(server.certificatePem());
        Crawl(curl, server.url("/t/redirect?n=1&to=" + server.httpsUrl("/index.html")));
        EXPECT_EQ(world.files.files(), (std::map<std::string, std::string>{{"C:\\Pics\\Catch00000.gif", Picture('g', 1)},
                                                                           {"C:\\Pics\\Catch00000.png", Picture('p', 2)}}));
        ASSERT_EQ(world.backend.msgBoxCalls().size(), 1u);
        EXPECT_EQ(world.backend.msgBoxCalls()[0].text, "All links have been parsed !");
    }
    fs::remove_all(dir);
}

// A script that serves every path below it: its fragment link queues nothing, so the crawl
// requests four pages and ends.
TEST_F(EndToEndCrawlTest, CrawlOfAPathInfoSiteEnds) {
    testserver::LoopbackServer server;
    kit::headless::CurlReader curl(world.backend);
    Crawl(curl, server.url("/t/info.php"));
    const auto targets = server.targets();
    EXPECT_EQ(std::set<std::string>(targets.begin(), targets.end()),
              (std::set<std::string>{"/t/info.php", "/t/about.php", "/t/info.php/more", "/t/info.php/about.php"}));
    ASSERT_EQ(world.backend.msgBoxCalls().size(), 1u);
    EXPECT_EQ(world.backend.msgBoxCalls()[0].text, "All links have been parsed !");
}

// The grab window as a user drives it: opened from the tray, an address typed, "&Grab Now";
// after the crawl's message and one refresh the first five pictures show as thumbnails.
TEST_F(ProgramTest, GrabWindowShowsTheGrabbedPicturesAfterTheRefresh) {
    const fs::path dir = fs::temp_directory_path() / ("tivlo-grab-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::uint32_t colours[] = {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFF00FF, 0xFFFF00};
    std::string index;
    for (int i = 0; i < 6; ++i) {
        const std::string name = "p" + std::to_string(i) + ".bmp";
        std::ofstream(dir / name, std::ios::binary) << SolidBmp(40, 30, colours[i]);
        index += "<img src=\"" + name + "\">";
    }
    std::ofstream(dir / "index.html") << index;
    {
        testserver::LoopbackServer server(dir.string());
        kit::headless::CurlReader curl(world.backend);
        kit::setAsyncReader(&curl);
        ASSERT_FALSE(Start());
        gDownloadFolder = gListedFolder = "C:\\Pics";
        world.files.addFolder("C:\\Pics");
        gDownloadGIF = gDownloadJPG = gDownloadJPEG = gDownloadPNG = false;
        gDownloadBMP = true;
        gLimitImageSize = gLimitImageFileSize = false;
        gDispWindowAfterGrabbing = true;

        ChooseFromTray("&Picture Grabbing");
        ASSERT_TRUE(frmResource.Loaded());
        FrmResource& w = frmResource();
        world.backend.focus(w.ocxResource.txtWebsiteURL.hWnd());
        world.backend.typeText(server.url("/index.html"));
        world.backend.click(w.cmdGrabNow.hWnd());
        world.backend.advance(100);
        kit::setAsyncReader(&world.reader);
        ASSERT_EQ(world.backend.msgBoxCalls().size(), 1u);
        EXPECT_EQ(world.backend.msgBoxCalls()[0].text, "All links have been parsed !");
        EXPECT_EQ(w.cmdGrabNow.Caption(), "&Grab Now");
        EXPECT_EQ(world.files.files().size(), 6u);

        world.backend.advance(10000);
        EXPECT_EQ(w.lblThumbViewPage.Caption(), "1/2");
        const auto shot = world.backend.snapshot(w.hWnd());
        std::set<std::uint32_t> seen;
        for (int k = 0; k < 5; ++k) seen.insert(shot.at(65 + 126 * k, 368));
        EXPECT_EQ(seen.size(), 5u);
        EXPECT_EQ(seen.count(0x000000), 0u);
        EXPECT_EQ(w.lblThumbView(0).Caption(), "Catch00000.bmp");

        // Closed after the run: the tray item opens the window again.
        world.backend.click(w.cmdExit.hWnd());
        EXPECT_EQ(frmTivlo().mnuGrabbing.Caption, "&Picture Grabbing");
        EXPECT_TRUE(frmTivlo().mnuGrabbing.Enabled);
        ChooseFromTray("&Picture Grabbing");
        EXPECT_TRUE(frmResource.Loaded());
    }
    fs::remove_all(dir);
}

}  // namespace
