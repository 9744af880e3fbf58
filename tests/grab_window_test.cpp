// The grab window driven as a user would: pages of the download folder, thumbnails read from
// the raster, the refresh on the virtual clock, the grab button, help and closing.
#include <algorithm>
#include <cmath>

#include "grab_window_fixture.h"
#include "kit/headless/raster_gdi.h"

namespace {

struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
};

// Where colour shows in the window's thumbnail strip.
Box Find(const kit::headless::RasterGdi::Pixels& shot, std::uint32_t colour) {
    Box b;
    for (int y = 300; y < 415 && y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x)
            if (shot.at(x, y) == colour) {
                b.left = std::min(b.left, x);
                b.top = std::min(b.top, y);
                b.right = std::max(b.right, x);
                b.bottom = std::max(b.bottom, y);
            }
    return b;
}

struct PageState {
    std::string caption;
    kit::Color colour;
    bool first, backward, forward, last;
    int shown;  // thumbnails visible
};

PageState StateOf(FrmResource& w) {
    int shown = 0;
    for (int k = 0; k < 5; ++k) shown += w.picThumb(k).Visible() ? 1 : 0;
    return {w.lblThumbViewPage.Caption(), w.lblThumbViewPage.ForeColor(), w.cmdFirst.Enabled(),
            w.cmdBackward.Enabled(),      w.cmdForward.Enabled(),         w.cmdLast.Enabled(),
            shown};
}

void ExpectPage(FrmResource& w, const PageState& want) {
    const PageState got = StateOf(w);
    EXPECT_EQ(got.caption, want.caption);
    EXPECT_EQ(got.colour, want.colour) << want.caption;
    EXPECT_EQ(got.first, want.first) << want.caption;
    EXPECT_EQ(got.backward, want.backward) << want.caption;
    EXPECT_EQ(got.forward, want.forward) << want.caption;
    EXPECT_EQ(got.last, want.last) << want.caption;
    EXPECT_EQ(got.shown, want.shown) << want.caption;
}

TEST_F(GrabWindowTest, PagesOfFiveWithTheirLabelAndButtons) {
    struct Case {
        int files;
        PageState first;
    };
    const Case cases[] = {
        {0, {"0/0", 0xC0C0C0, false, false, false, false, 0}},
        {5, {"1/1", 0xFFFFFF, false, false, false, false, 5}},
        {6, {"1/2", 0xFFFFFF, false, false, true, true, 5}},
        {11, {"1/3", 0xFFFFFF, false, false, true, true, 5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.files);
        world.files.clear();
        world.files.addFolder(kPics);
        AddPictures(c.files);
        FrmResource& w = Open();
        EXPECT_EQ(w.Caption(), "Resource Grabbing Setting");
        int cw = 0, ch = 0;
        w.clientSizePx(cw, ch);
        EXPECT_EQ(cw, 632);
        EXPECT_EQ(ch, 502);
        ExpectPage(w, c.first);
        EXPECT_EQ(gThumbFileCount, c.files);
        EXPECT_EQ(gThumbPage, c.files ? 1 : 0);
        // Centred by its own width.
        EXPECT_NEAR(w.lblThumbViewPage.Left() + w.lblThumbViewPage.Width() / 2.0, 316, 1);
        w.cmdExit.Click();
        EXPECT_FALSE(frmResource.Loaded());
    }

    // Paging through 11: the last page holds one thumbnail, in slot 0.
    FrmResource& w = Open();
    world.backend.click(w.cmdLast.hWnd());
    ExpectPage(w, {"3/3", 0xFFFFFF, true, true, false, false, 1});
    EXPECT_TRUE(w.picThumb(0).Visible());
    EXPECT_EQ(w.lblThumbView(0).Caption(), "p10.bmp");
    EXPECT_FALSE(w.lblThumbView(1).Visible());
    world.backend.click(w.cmdBackward.hWnd());
    ExpectPage(w, {"2/3", 0xFFFFFF, true, true, true, true, 5});
    EXPECT_EQ(w.lblThumbView(4).Caption(), "p09.bmp");
    world.backend.click(w.cmdFirst.hWnd());
    ExpectPage(w, {"1/3", 0xFFFFFF, false, false, true, true, 5});
    world.backend.click(w.cmdForward.hWnd());
    EXPECT_EQ(w.lblThumbViewPage.Caption(), "2/3");
    EXPECT_EQ(gThumbPage, 2);
}

TEST_F(GrabWindowTest, ThumbnailsFitIntoEightyAndAreCentredOnTheirSlot) {
    struct Case {
        int width, height;
        std::uint32_t colour;
        int thumbWidth, thumbHeight;
    };
    const Case cases[] = {
        {80, 80, 0x0000FF, 80, 80},   {160, 100, 0x00FF00, 80, 50}, {100, 160, 0xFF0000, 50, 80},
        {81, 81, 0x00FFFF, 80, 80},   {33, 17, 0xFF00FF, 33, 17},
    };
    for (int k = 0; k < 5; ++k) {
        const Case& c = cases[k];
        AddPicture(Name(k), SolidBmp(c.width, c.height, c.colour));
    }
    FrmResource& w = Open();
    const auto shot = world.backend.snapshot(w.hWnd());
    for (int k = 0; k < 5; ++k) {
        const Case& c = cases[k];
        SCOPED_TRACE(k);
        const Box b = Find(shot, c.colour);
        EXPECT_EQ(b.width(), c.thumbWidth);
        EXPECT_EQ(b.height(), c.thumbHeight);
        // Centred on x = 65 + 126 k and y = 368, halves rounded to even.
        const double left = 65 + 126 * k - c.thumbWidth / 2.0, top = 368 - c.thumbHeight / 2.0;
        EXPECT_EQ(b.left, static_cast<int>(std::nearbyint(left)));
        EXPECT_EQ(b.top, static_cast<int>(std::nearbyint(top)));
        EXPECT_EQ(w.lblThumbView(k).Top(), 418);
        EXPECT_NEAR(w.lblThumbView(k).Left() + w.lblThumbView(k).Width() / 2.0, 65 + 126 * k, 1);
    }
}

TEST_F(GrabWindowTest, UnreadablePicturesShowOnlyTheirNames) {
    AddPicture("a.bmp", SolidBmp(10, 10, 0x00FF00));
    AddPicture("b.jpg", "just some text");
    AddPicture("c.png", "");
    // A header that claims 20000 x 20000: read as unreadable before any decoding.
    std::string bomb = SolidBmp(1, 1, 0);
    bomb[18] = bomb[22] = static_cast<char>(0x20);
    bomb[19] = bomb[23] = static_cast<char>(0x4E);
    AddPicture("d.bmp", bomb);
    AddPicture("e.bmp", SolidBmp(10, 10, 0x0000FF));
    FrmResource& w = Open();
    const bool shown[] = {true, false, false, false, true};
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(w.picThumb(k).Visible(), shown[k]) << k;
        EXPECT_TRUE(w.lblThumbView(k).Visible()) << k;
    }
    EXPECT_EQ(w.lblThumbView(2).Caption(), "c.png");
    EXPECT_EQ(world.gdiplus.liveImages(), 0);
    EXPECT_EQ(world.gdiplus.liveStarts(), 0);
}

TEST_F(GrabWindowTest, AFolderEndingInABackslashGetsNoSecondOne) {
    gDownloadFolder = gListedFolder = std::string(kPics) + "\\";
    AddPicture("a.png", "");
    Open();
    ASSERT_EQ(world.gdiplus.count(platform::headless::FakeGdiPlus::Call::Load), 1);
    for (const auto& call : world.gdiplus.calls()) {
        if (call.call == platform::headless::FakeGdiPlus::Call::Load) EXPECT_EQ(call.path, "C:\\Pics\\a.png");
    }
}

TEST_F(GrabWindowTest, RefreshKeepsUnchangedThumbnailsAndFollowsTheFolder) {
    AddPictures(11);
    FrmResource& w = Open();
    world.backend.click(w.cmdLast.hWnd());
    ASSERT_EQ(gThumbPage, 3);

    // Nothing decoded again over an unchanged folder.
    int reads = 0;
    world.files.beforeAccess = [&](const std::string& path) {
        if (path.find(".bmp") != std::string::npos) ++reads;
    };
    world.backend.advance(10000);
    EXPECT_EQ(reads, 0);
    world.files.beforeAccess = nullptr;

    // Files vanish: the next tick moves to the last page that exists.
    for (int i = 4; i < 11; ++i) world.files.remove(std::string(kPics) + "\\" + Name(i));
    world.backend.advance(10000);
    EXPECT_EQ(gThumbPage, 1);
    ExpectPage(w, {"1/1", 0xFFFFFF, false, false, false, false, 4});

    for (int i = 0; i < 4; ++i) world.files.remove(std::string(kPics) + "\\" + Name(i));
    world.backend.advance(10000);
    ExpectPage(w, {"0/0", 0xC0C0C0, false, false, false, false, 0});
    EXPECT_EQ(gListedFolder, kPics);
}

TEST_F(GrabWindowTest, MissingFolderFallsBackToTheProgramsFolder) {
    const std::string app = world.backend.appPath();
    world.files.addFolder(app);
    world.files.addFile(app + "\\x.bmp", SolidBmp(4, 4, 0x00FF00));
    // A file of the folder's name is no folder.
    gDownloadFolder = "C:\\Gone";
    world.files.addFile("C:\\Gone", "");
    FrmResource& w = Open();
    ASSERT_EQ(Messages(), std::vector<std::string>{"frmResource download file folder error"});
    EXPECT_EQ(world.backend.msgBoxCalls()[0].caption, "Tivlo 2.3");
    EXPECT_EQ(world.backend.msgBoxCalls()[0].flags, 16);
    EXPECT_EQ(gDownloadFolder, app);
    EXPECT_EQ(gListedFolder, app);
    EXPECT_EQ(w.ocxResource.txtFileFolder.Text(), app);
    EXPECT_TRUE(gResourceFormOpen);
    EXPECT_EQ(w.lblThumbViewPage.Caption(), "0/0");
    world.backend.advance(10000);
    EXPECT_EQ(w.lblThumbViewPage.Caption(), "1/1");
    EXPECT_EQ(w.lblThumbView(0).Caption(), "x.bmp");

    // The folder goes away while the window shows it: the tick reports it the same way.
    gDownloadFolder = "C:\\Pics";
    world.files.remove(app + "\\x.bmp");
    world.backend.advance(10000);
    EXPECT_EQ(world.backend.msgBoxCalls().size(), 1u);
}

TEST_F(GrabWindowTest, ATickThatFailsStillRefreshesLater) {
    AddPictures(2);
    FrmResource& w = Open();
    // The folder vanishes between the test and the listing.
    world.files.beforeAccess = [&](const std::string&) {
        world.files.beforeAccess = nullptr;
        world.files.remove(std::string(kPics) + "\\" + Name(0));
        world.files.remove(std::string(kPics) + "\\" + Name(1));
        world.files.remove(kPics);
    };
    world.backend.advance(10000);
    EXPECT_TRUE(w.tmrRefreshThumbView.Enabled());
    world.files.addFolder(kPics);
    AddPictures(1, 5);
    world.backend.advance(10000);
    EXPECT_EQ(w.lblThumbView(0).Caption(), "p05.bmp");
}

// Closing the window while its handlers let events run: they end quietly, load nothing again
// and leave no timer running.
TEST_F(GrabWindowTest, ClosingWhileEventsRunEndsTheWorkQuietly) {
    AddPictures(7);
    for (int delay = 0; delay < 12; ++delay) {
        SCOPED_TRACE(delay);
        // The close arrives at the delay-th event processing of the opening.
        int left = delay;
        std::function<void()> closer = [&] {
            if (left-- > 0)
                world.backend.post(closer);
            else
                world.backend.pressCloseBox(frmResource().hWnd());
        };
        world.backend.post(closer);
        ChooseFromTray("&Picture Grabbing");
        EXPECT_FALSE(frmResource.Loaded());
        EXPECT_FALSE(gResourceFormOpen);
        EXPECT_TRUE(frmTivlo().mnuGrabbing.Enabled);
    }
    // And during a refresh tick and a page flip.
    FrmResource& w = Open();
    int left = 3;
    std::function<void()> closer = [&] {
        if (left-- > 0)
            world.backend.post(closer);
        else
            world.backend.pressCloseBox(w.hWnd());
    };
    world.backend.post(closer);
    world.backend.advance(10000);
    EXPECT_FALSE(frmResource.Loaded());
    const auto timers = world.backend.timerCount();
    world.backend.advance(30000);
    EXPECT_FALSE(frmResource.Loaded());
    EXPECT_EQ(world.backend.timerCount(), timers);

    FrmResource& again = Open();
    left = 5;
    world.backend.post(closer = [&] {
        if (left-- > 0)
            world.backend.post(closer);
        else
            world.backend.pressCloseBox(again.hWnd());
    });
    again.cmdForward.Click();
    EXPECT_FALSE(frmResource.Loaded());
}

TEST_F(GrabWindowTest, GrabButtonRefusesThenChoosesTheTask) {
    FrmResource& w = Open();
    world.backend.click(w.cmdGrabNow.hWnd());
    ChooseGif(w);
    world.backend.click(w.cmdGrabNow.hWnd());
    EXPECT_EQ(Messages(), (std::vector<std::string>{
                              "Please select picture types first !",
                              "Please enter search keyword or your favourite URL !"}));
    for (const auto& c : world.backend.msgBoxCalls()) EXPECT_EQ(c.flags, 48);
    EXPECT_FALSE(gTaskStarted);
    EXPECT_FALSE(frmTivlo().tmrGrabbing.Enabled());

    // A new website never asks.
    TypeWebsite(w, "http://a.test/");
    world.backend.click(w.cmdGrabNow.hWnd());
    EXPECT_EQ(world.backend.msgBoxCalls().size(), 2u);
    EXPECT_TRUE(gTaskStarted);
    EXPECT_EQ(gLastStartURL, "http://a.test/");
    EXPECT_EQ(gPageQueueURLs.at(0), "http://a.test/");
    EXPECT_EQ(w.cmdGrabNow.Caption(), "Stop &Grabbing");
    EXPECT_EQ(frmTivlo().mnuGrabbing.Caption, "Stop &Grabbing");
    EXPECT_EQ(w.sbThumbViewStatus.PanelText(1), "Started Grab process at 09:41:30");
    EXPECT_TRUE(frmTivlo().tmrGrabbing.Enabled());
    frmTivlo().tmrGrabbing.setEnabled(false);

    // Stopped from the window: the button waits for the loop's end.
    world.backend.click(w.cmdGrabNow.hWnd());
    EXPECT_TRUE(gStopGrabbing);
    EXPECT_EQ(w.cmdGrabNow.Caption(), "&Grab Now");
    EXPECT_FALSE(w.cmdGrabNow.Enabled());
    EXPECT_EQ(frmTivlo().mnuGrabbing.Caption, "&Picture Grabbing");
    w.setGrabButton("&Grab Now", true);

    // The same website asks: No keeps the queues, Yes starts again.
    gPageQueueNext = 1;
    world.backend.queueMsgBoxAnswer(kit::kIdNo);
    world.backend.click(w.cmdGrabNow.hWnd());
    EXPECT_EQ(world.backend.msgBoxCalls().back().flags, 52);
    EXPECT_EQ(gPageQueueNext, 1);
    w.setGrabButton("&Grab Now", true);
    world.backend.queueMsgBoxAnswer(kit::kIdYes);
    world.backend.click(w.cmdGrabNow.hWnd());
    EXPECT_EQ(gPageQueueNext, 0);
    w.setGrabButton("&Grab Now", true);

    // Another website does not ask; a keyword alone after any start always does.
    TypeWebsite(w, "http://b.test/");
    const auto asked = world.backend.msgBoxCalls().size();
    world.backend.click(w.cmdGrabNow.hWnd());
    EXPECT_EQ(world.backend.msgBoxCalls().size(), asked);
    EXPECT_EQ(gLastStartURL, "http://b.test/");
    w.setGrabButton("&Grab Now", true);
    TypeWebsite(w, "");
    gSearchKeyword = "cats";
    gSearchURL = "http://search.test/search?&q=picture+cats&btnG=";
    world.backend.queueMsgBoxAnswer(kit::kIdYes);
    world.backend.click(w.cmdGrabNow.hWnd());
    EXPECT_EQ(world.backend.msgBoxCalls().size(), asked + 1);
    EXPECT_EQ(gPageQueueURLs.at(0), gSearchURL);
    EXPECT_EQ(gLastStartURL, "http://b.test/");
}

TEST_F(GrabWindowTest, StartWithoutTheWindowClosesItSavesAndLeavesTheTrayItemToStop) {
    gDispWindowAfterGrabbing = false;
    FrmResource& w = Open();
    ChooseGif(w);
    TypeWebsite(w, "http://a.test/");
    EXPECT_FALSE(frmTivlo().mnuGrabbing.Enabled);
    world.backend.click(w.cmdGrabNow.hWnd());
    EXPECT_FALSE(frmResource.Loaded());
    EXPECT_FALSE(gResourceFormOpen);
    EXPECT_EQ(world.registry.value("Software\\Tivlo\\Image", "GIF_Download").value_or(""), "True");
    EXPECT_EQ(frmTivlo().mnuGrabbing.Caption, "Stop &Grabbing");
    EXPECT_TRUE(frmTivlo().mnuGrabbing.Enabled);
    EXPECT_TRUE(frmTivlo().tmrGrabbing.Enabled());
}

TEST_F(GrabWindowTest, ClosingDuringARunAndAfterAStopLeavesTheTrayItemAsItShould) {
    gDispWindowAfterGrabbing = true;
    // A run goes on: the tray item can stop it.
    FrmResource& w = Open();
    ChooseGif(w);
    TypeWebsite(w, "http://a.test/");
    world.backend.click(w.cmdGrabNow.hWnd());
    frmTivlo().tmrGrabbing.setEnabled(false);
    gGrabbing = true;
    world.backend.click(w.cmdExit.hWnd());
    EXPECT_EQ(frmTivlo().mnuGrabbing.Caption, "Stop &Grabbing");
    EXPECT_TRUE(frmTivlo().mnuGrabbing.Enabled);

    // The run ends; a new one is stopped from the window, which is then closed: the item
    // stays disabled until the loop ends.
    frmTivlo().mnuGrabbing.Caption = "&Picture Grabbing";
    frmTivlo().mnuGrabbing.Enabled = true;
    FrmResource& again = Open();
    EXPECT_EQ(again.ocxResource.chkImage(0).Value(), kit::kChecked);
    TypeWebsite(again, "http://b.test/");
    world.backend.click(again.cmdGrabNow.hWnd());
    frmTivlo().tmrGrabbing.setEnabled(false);
    world.backend.click(again.cmdGrabNow.hWnd());
    world.backend.click(again.cmdExit.hWnd());
    EXPECT_EQ(frmTivlo().mnuGrabbing.Caption, "&Picture Grabbing");
    EXPECT_FALSE(frmTivlo().mnuGrabbing.Enabled);

    // A stop asked from the tray while the window is closed keeps it disabled too.
    gGrabbing = false;
    frmTivlo().mnuGrabbing.Enabled = true;
    frmTivlo().mnuGrabbing.Caption = "Stop &Grabbing";
    ChooseFromTray("Stop &Grabbing");
    EXPECT_TRUE(gStopGrabbing);
    EXPECT_FALSE(frmTivlo().mnuGrabbing.Enabled);
    EXPECT_FALSE(frmResource.Loaded());
}

TEST_F(GrabWindowTest, HelpAndExit) {
    FrmResource& w = Open();
    world.shell.setResult(2);
    world.backend.click(w.cmdHelp.hWnd());
    ASSERT_EQ(Messages(), std::vector<std::string>{"Cannot find help file !"});
    EXPECT_EQ(world.backend.msgBoxCalls()[0].flags, 16);
    ASSERT_EQ(world.shell.calls().size(), 1u);
    EXPECT_EQ(world.shell.calls()[0].file,
              world.backend.appPath() + "\\Tivlo 2.3 Full Version Help.chm");
    EXPECT_EQ(world.shell.calls()[0].show, 1);

    // "E&xit" of the tray with the window open saves the settings.
    w.ocxResource.txtFileName.setText("Shot");
    EXPECT_TRUE(Ends([&] { ChooseFromTray("E&xit"); }));
    EXPECT_EQ(world.registry.value("Software\\Tivlo\\ResSetting", "Download_File_Name").value_or(""), "Shot");
}

TEST_F(GrabWindowTest, ThumbnailClickPicksThePictureOfThePage) {
    AddPictures(8);
    FrmResource& w = Open();
    world.backend.click(w.cmdForward.hWnd());
    world.backend.click(w.picThumb(2).hWnd());
    EXPECT_EQ(gCurrentPicture, 7);
    EXPECT_TRUE(gPreviewOpen);  // the viewer opened on it
}

}  // namespace
