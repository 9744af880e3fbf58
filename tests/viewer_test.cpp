// The image viewer driven as a user drives it: keys, menus, the wheel, drags
// and the slide show's clock, read back from the status panels, the caption,
// the menus, the picture box and its pixels.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "grabber/resource_state.h"
#include "kit/headless/headless_window.h"
#include "kit/window_proc.h"
#include "program_fixture.h"
#include "shell/tivlo_form.h"
#include "viewer/sized_preview.h"
#include "viewer/thumb_view.h"
#include "viewer/view_rules.h"

namespace {

constexpr const char* kFolder = "C:\\Pics";
using Pixels = kit::headless::RasterGdi::Pixels;
using Colour = std::function<std::uint32_t(int, int)>;  // 0x00BBGGRR of pixel (x, y)

// A 24-bit bottom-up BMP file.
std::string Bmp(int w, int h, const Colour& c) {
    const int stride = (w * 3 + 3) & ~3;
    const std::uint32_t size = 54 + stride * h;
    std::string b(size, '\0');
    auto put32 = [&](int at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>(v >> (8 * i));
    };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, size);
    put32(10, 54);
    put32(14, 40);
    put32(18, w);
    put32(22, h);
    b[26] = 1;
    b[28] = 24;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::uint32_t v = c(x, y);
            const std::size_t at = 54 + static_cast<std::size_t>(h - 1 - y) * stride + x * 3;
            b[at] = static_cast<char>(v >> 16);
            b[at + 1] = static_cast<char>(v >> 8);
            b[at + 2] = static_cast<char>(v);
        }
    return b;
}

std::string Plain(int w, int h) {
    return Bmp(w, h, [](int, int) { return 0x336699u; });
}

// Each pixel its own colour.
std::uint32_t Distinct(int x, int y) {
    return static_cast<std::uint32_t>(0x10000 * y + 0x10 * x + 1);
}

class ViewerTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        ASSERT_FALSE(Start());
        gDownloadFolder = kFolder;
        world.files.addFolder(kFolder);
    }

    // Lists the folder as the grab window does and opens the viewer on entry index.
    FrmSizedPreview& Open(int index = 0, int clientW = 668, int clientH = 602) {
        List();
        gCurrentPicture = index;
        FrmSizedPreview& v = frmSizedPreview();
        v.Show();
        if (clientW != 668 || clientH != 602) {
            v.setClientSize(clientW * 15, clientH * 15);
            v.LoadImage(0);  // fitted to that window
        }
        return v;
    }
    void List() {
        frmTivlo().flbThumbView.setPath(kFolder);
        gThumbFileCount = frmTivlo().flbThumbView.ListCount();
    }
    void Add(const std::string& name, const std::string& bytes) {
        world.files.addFile(std::string(kFolder) + "\\" + name, bytes);
    }
    FrmSizedPreview& V() { return frmSizedPreview(); }
    std::string Panel(int n) { return V().ImageViewStatus.PanelText(n); }
    void Key(int code, int shift = 0) { world.backend.pressKey(code, shift); }
    void Menu(kit::MenuItem& item) { world.backend.chooseMenuItem(V().hWnd(), item); }
    std::string Shown() { return V().Caption().substr(std::string(kFolder).size() + 1); }
    // What is drawn on the picture box.
    Pixels Drawn() { return world.gdi.bitmapPixels(world.gdi.selectedBitmap(V().picPview.hDC())); }
    // The box's place and size.
    std::vector<int> Box() {
        const auto& p = V().picPview;
        return {p.leftPx(), p.topPx(), p.widthPx(), p.heightPx()};
    }
};

// ---- pure rules ----

TEST(ViewerRules, ZoomLadderPercentAndFit) {
    struct Step {
        double before, in, out;
    };
    for (const Step s :
         {Step{0.05, 0.15, 0.05}, Step{0.1, 0.15, 0.1}, Step{0.12, 0.15, 0.1}, Step{0.15, 0.2, 0.1},
          Step{0.4, 0.5, 0.3}, Step{0.7, 1.0, 0.5}, Step{0.99, 1.0, 0.7}}) {
        EXPECT_EQ(eViewRules::ZoomIn(s.before), s.in) << s.before;
        EXPECT_EQ(eViewRules::ZoomOut(s.before), s.out) << s.before;
    }
    // Whole percent exactly, not 28 and 56 from floating point, and never printed
    // with 17 digits.
    EXPECT_EQ(eViewRules::PercentText(eViewRules::ZoomOfFit(570, 1000)), "57%");
    EXPECT_EQ(eViewRules::PercentText(eViewRules::ZoomOfFit(290, 1000)), "29%");
    EXPECT_EQ(eViewRules::PercentText(eViewRules::ZoomOfFit(150, 1000)), "15%");
    EXPECT_EQ(eViewRules::PercentText(eViewRules::ZoomOfFit(70, 1000)), "7%");
    // A panorama far wider than its room keeps a zoom of 1 %, and every size stays visible.
    EXPECT_EQ(eViewRules::ZoomOfFit(800, 100000), 0.01);
    EXPECT_EQ(eViewRules::Fit(100000, 1000, 800, 600), (eViewRules::Size{800, 8}));
    EXPECT_EQ(eViewRules::Fit(6000, 10, 50, -30), (eViewRules::Size{50, 1}));
    EXPECT_EQ(eViewRules::Scaled(6000, 0.0001), 1);
    EXPECT_EQ(eViewRules::JoinPath("C:\\", "a.jpg"), "C:\\a.jpg");
    EXPECT_EQ(eViewRules::JoinPath("C:\\Pics", "a.jpg"), "C:\\Pics\\a.jpg");
    // Outside the list: Next starts again, Previous goes to the last.
    EXPECT_EQ(eViewRules::NextIndex(7, 5), 0);
    EXPECT_EQ(eViewRules::PreviousIndex(7, 5), 4);
}

// ---- transforms ----

TEST(ViewerRaster, PlgBltMapsSixPixelsExactly) {
    platform::headless::HeadlessWorld world;
    world.bind();
    kit::Gdi& g = world.gdi;
    std::vector<unsigned char> bgr;
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            const std::uint32_t c = Distinct(x, y);
            bgr.insert(bgr.end(),
                       {static_cast<unsigned char>(c >> 16), static_cast<unsigned char>(c >> 8),
                        static_cast<unsigned char>(c)});
        }
    const kit::Handle src = g.createBitmapFromPixels(3, 2, bgr.data());
    struct Case {
        int mode, w, h;
        std::function<std::pair<int, int>(int, int)> to;
    };
    const int W = 3, H = 2;
    for (const Case& c : {Case{2, W, H,
                               [&](int x, int y) {
                                   return std::pair{W - 1 - x, y};
                               }},
                          Case{3, W, H,
                               [&](int x, int y) {
                                   return std::pair{x, H - 1 - y};
                               }},
                          Case{4, H, W,
                               [&](int x, int y) {
                                   return std::pair{y, W - 1 - x};
                               }},
                          Case{5, H, W, [&](int x, int y) {
                                   return std::pair{H - 1 - y, x};
                               }}}) {
        const kit::Handle sdc = g.createCompatibleDC(0), ddc = g.createCompatibleDC(0);
        const kit::Handle screen = g.getDC(0);
        const kit::Handle dst = g.createCompatibleBitmap(screen, c.w, c.h);
        g.releaseDC(0, screen);
        const kit::Handle os = g.selectObject(sdc, src), od = g.selectObject(ddc, dst);
        const auto pts = eViewRules::TransformPoints(c.mode, W, H);
        ASSERT_TRUE(g.plgBlt(ddc, pts.data(), sdc, 0, 0, W, H));
        const Pixels out = world.gdi.bitmapPixels(dst);
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                const auto [tx, ty] = c.to(x, y);
                EXPECT_EQ(out.at(tx, ty), Distinct(x, y))
                    << "mode " << c.mode << " " << x << "," << y;
            }
        g.selectObject(sdc, os);
        g.selectObject(ddc, od);
        g.deleteObject(dst);
        g.deleteDC(sdc);
        g.deleteDC(ddc);
    }
    g.deleteObject(src);
}

TEST_F(ViewerTest, TurnsAndFlipsRestoreThePictureAndSwapTheSize) {
    Add("a.bmp", Bmp(400, 300, Distinct));
    Open();
    EXPECT_EQ(Panel(2), "400x300");
    const Pixels loaded = Drawn();
    Key('L', kit::kCtrlMask);
    EXPECT_EQ(Panel(2), "300x400");
    EXPECT_EQ(Box()[2], 300);
    EXPECT_EQ(Box()[3], 400);
    EXPECT_EQ(Drawn().at(0, 399), Distinct(0, 0));  // the left turn's lower-left corner
    for (int i = 0; i < 3; ++i) Key('L', kit::kCtrlMask);
    EXPECT_EQ(Drawn().px, loaded.px);
    Key('H', kit::kCtrlMask);
    EXPECT_EQ(Drawn().at(399, 0), Distinct(0, 0));
    EXPECT_EQ(Box()[2], 400);  // a flip keeps the displayed size
    Key('H', kit::kCtrlMask);
    Key('V', kit::kCtrlMask);
    Key('V', kit::kCtrlMask);
    EXPECT_EQ(Drawn().px, loaded.px);
    Key('R', kit::kCtrlMask);
    EXPECT_EQ(Drawn().at(299, 0), Distinct(0, 0));
    EXPECT_EQ(Panel(3), "100%");
}

// ---- layout ----

TEST_F(ViewerTest, FitZoomAndPlacing) {
    Add("a.bmp", Plain(2000, 1000));
    Add("b.bmp", Plain(800, 600));
    Add("c.bmp", Plain(100, 50));
    Open(0, 800, 620);  // SW 800, A 600 above the status bar
    EXPECT_EQ(Box(), (std::vector<int>{0, 100, 800, 400}));
    EXPECT_EQ(Panel(3), "40%");
    EXPECT_TRUE(V().mnuZoomIn.Enabled);
    Key(187, kit::kShiftMask);  // "+" is Shift with the "=" key
    EXPECT_EQ(gPreviewZoom, 0.5);
    EXPECT_EQ(Box()[2], 1000);
    EXPECT_TRUE(gPreviewWideImage);
    EXPECT_EQ(Box()[0], -100);
    Key(189);
    EXPECT_EQ(gPreviewZoom, 0.3);
    // A resize keeps the zoom and centres the picture again.
    V().setClientSize(700 * 15, 520 * 15);
    EXPECT_EQ(Panel(3), "30%");
    EXPECT_EQ(Box(), (std::vector<int>{50, 100, 600, 300}));

    Key(34);  // an exact fit is not fitted
    V().setClientSize(800 * 15, 620 * 15);
    Key(113);
    EXPECT_EQ(Panel(3), "100%");
    EXPECT_FALSE(V().mnuZoomIn.Enabled);
    Key(187);  // disabled: nothing
    EXPECT_EQ(gPreviewZoom, 1.0);
    Key(34);  // a small picture is centred
    EXPECT_EQ(Box(), (std::vector<int>{350, 275, 100, 50}));

    Key(36);
    gPreviewZoom = 0.12;
    Menu(V().mnuZoomOut);
    EXPECT_EQ(gPreviewZoom, 0.1);
    EXPECT_FALSE(V().mnuZoomOut.Enabled);
    Key(189);
    EXPECT_EQ(gPreviewZoom, 0.1);
    gPreviewZoom = 0.05;
    Menu(V().mnuZoomIn);
    EXPECT_EQ(gPreviewZoom, 0.15);
}

TEST_F(ViewerTest, OpeningInTheDesignedWindowFitsThenLaysOutAtTheStoredZoom) {
    Add("a.bmp", Plain(4000, 3000));
    FrmSizedPreview& v = Open();
    int w = 0, h = 0;
    v.clientSizePx(w, h);
    EXPECT_EQ(w, 668);
    EXPECT_EQ(h, 602);
    // The fit gives 668 x 501 at 16 %; the first show's resize lays it out at 16
    // %.
    EXPECT_EQ(Panel(3), "16%");
    EXPECT_EQ(Box(), (std::vector<int>{14, 51, 640, 480}));
    EXPECT_EQ(Panel(1), "1/1");
    EXPECT_EQ(v.Caption(), "C:\\Pics\\a.bmp");
    EXPECT_TRUE(gPreviewOpen);
}

// ---- navigation, keys, wheel, slide show ----

TEST_F(ViewerTest, NavigationWrapsAndKeysActOnlyAsTheTableSays) {
    Add("a.bmp", Plain(10, 10));
    Add("b.bmp", Plain(20, 10));
    Add("c.bmp", Plain(30, 10));
    Open();
    Key(33);
    EXPECT_EQ(Shown(), "c.bmp");
    EXPECT_EQ(Panel(1), "3/3");
    Key(34);
    EXPECT_EQ(Shown(), "a.bmp");
    Key(35);
    EXPECT_EQ(Shown(), "c.bmp");
    Key(36);
    EXPECT_EQ(Shown(), "a.bmp");
    Menu(V().mnuNext);
    EXPECT_EQ(Shown(), "b.bmp");

    // Keypad plus and X alone do nothing; 8 reloads like F2, dropping a turn.
    Key('L', kit::kCtrlMask);
    EXPECT_EQ(Panel(2), "10x20");
    Key(107);
    Key('X');
    Key('L');
    EXPECT_EQ(Panel(2), "10x20");
    Key('8');
    EXPECT_EQ(Panel(2), "20x10");

    // The wheel: forward is Previous, backward Next, one picture per message whatever the delta.
    world.backend.wheel(V().hWnd(), 120);
    EXPECT_EQ(Shown(), "a.bmp");
    world.backend.wheel(V().picPview.hWnd(), -15);  // from a child window too
    EXPECT_EQ(Shown(), "b.bmp");
    world.backend.wheel(V().hWnd(), -360);
    EXPECT_EQ(Shown(), "c.bmp");

    Key(27, kit::kShiftMask | kit::kCtrlMask | kit::kAltMask);
    EXPECT_FALSE(frmSizedPreview.Loaded());
    EXPECT_FALSE(gPreviewOpen);
    Open(1);
    Key('X', kit::kCtrlMask | kit::kShiftMask);
    EXPECT_FALSE(frmSizedPreview.Loaded());
}

TEST_F(ViewerTest, TheHookGoesWithTheViewerAndIsNeverDoubled) {
    Add("a.bmp", Plain(10, 10));
    Add("b.bmp", Plain(20, 10));
    Add("c.bmp", Plain(30, 10));
    Open();
    const kit::Handle first = V().hWnd();
    EXPECT_EQ(kit::GetWndLong(first, kit::kGwlWndProc),
              kit::AddressOfWndProc(eThumbView::PreviewWindowProc));
    Menu(V().mnuExit);
    EXPECT_FALSE(frmSizedPreview.Loaded());
    Open();
    const kit::Handle h = V().hWnd();
    const int before = world.backend.window(h).ownProcMessages;
    world.backend.wheel(h, -120);
    EXPECT_EQ(Shown(), "b.bmp");
    EXPECT_EQ(world.backend.window(h).ownProcMessages,
              before + 1);  // passed on once
    // With one file, Next and Previous fit the same picture again.
    world.files.remove("C:\\Pics\\a.bmp");
    world.files.remove("C:\\Pics\\c.bmp");
    List();
    gCurrentPicture = 0;
    Key('L', kit::kCtrlMask);
    world.backend.wheel(h, 120);
    EXPECT_EQ(Shown(), "b.bmp");
    EXPECT_EQ(Panel(2), "20x10");
}

TEST_F(ViewerTest, SlideShowTicksEveryThreeSecondsAndStops) {
    Add("a.bmp", Plain(10, 10));
    Add("b.bmp", Plain(20, 10));
    Open(1);
    Key('S', kit::kCtrlMask);
    EXPECT_EQ(V().mnuSlideShow.Caption, "&Stop            Ctrl+S");
    world.backend.advance(2999);
    EXPECT_EQ(Shown(), "b.bmp");
    world.backend.advance(1);
    EXPECT_EQ(Shown(), "a.bmp");  // wrapped
    world.backend.advance(3000);
    EXPECT_EQ(Shown(), "b.bmp");
    Menu(V().mnuSlideShow);
    EXPECT_EQ(V().mnuSlideShow.Caption, "&Slide Show      Ctrl+S");
    world.backend.advance(9000);
    EXPECT_EQ(Shown(), "b.bmp");
}

TEST_F(ViewerTest, DragsStopAtTheEdgesAndAFittingPictureStays) {
    for (int extra : {201, 203}) {
        world.files.clear();
        world.files.addFolder(kFolder);
        Add("a.bmp", Plain(668 + extra, 100));
        if (frmSizedPreview.Loaded()) frmSizedPreview.Unload();
        Open();
        Menu(V().mnuFullSize);
        const kit::Handle box = V().picPview.hWnd();
        EXPECT_EQ(V().VScroll1.Max(), extra);
        world.backend.mouseDown(box, 300, 50);
        world.backend.mouseMove(box, -5000, 50, kit::kLeftButton);
        EXPECT_EQ(Box()[0], 668 - (668 + extra)) << extra;  // right edge on the window's edge
        EXPECT_EQ(V().VScroll1.Value(), 0);
        world.backend.mouseMove(box, 9000, 50, kit::kLeftButton);
        EXPECT_EQ(Box()[0], 0) << extra;
        EXPECT_EQ(V().VScroll1.Value(), extra);
        world.backend.mouseUp(box, 9000, 50);
        // Vertically it fits: no move at all.
        EXPECT_EQ(Box()[1], (582 - 100) / 2);
    }
}

// ---- delete ----

TEST_F(ViewerTest, DeleteGoesToTheRecycleBinAndShowsTheNextPicture) {
    Add("a.bmp", Plain(10, 10));
    Add("b.bmp", Plain(20, 10));
    Add("c.bmp", Plain(30, 10));
    Open(2);
    Key(46);
    ASSERT_EQ(world.shell.fileOps().size(), 1u);
    const platform::ShFileOpStruct& op = world.shell.fileOps()[0];
    EXPECT_EQ(op.pFrom, std::string("C:\\Pics\\c.bmp\0\0", 15));
    EXPECT_EQ(op.fFlags, 0x40);
    EXPECT_EQ(op.wFunc, 3u);
    EXPECT_EQ(op.hwnd, 0u);
    EXPECT_TRUE(world.files.pathExists("C:\\Recycled\\c.bmp"));
    EXPECT_EQ(Shown(), "a.bmp");  // the last entry leads to the first
    EXPECT_EQ(Panel(1), "1/2");
    Menu(V().mnuDelete);
    EXPECT_EQ(Shown(), "b.bmp");  // another entry to the one that followed
    // A failure and a declined confirmation change nothing and say nothing.
    Key('L', kit::kCtrlMask);
    world.shell.queueFileOpAnswer(platform::headless::RecordingShell::FileOpAnswer::Fail);
    Key(46);
    world.shell.queueFileOpAnswer(platform::headless::RecordingShell::FileOpAnswer::Decline);
    Key(46);
    EXPECT_TRUE(world.files.pathExists("C:\\Pics\\b.bmp"));
    EXPECT_EQ(Panel(2), "10x20");
    EXPECT_EQ(gThumbFileCount, 1);
    EXPECT_TRUE(world.backend.msgBoxCalls().empty());
    Key(46);  // the only file
    EXPECT_FALSE(frmSizedPreview.Loaded());
    EXPECT_FALSE(gPreviewOpen);
}

TEST_F(ViewerTest, EscInTheShellsBoxDoesNotCloseTheViewer) {
    Add("a.bmp", Plain(10, 10));
    Open();
    // The box takes the press and closes; the release reaches the viewer.
    world.shell.queueFileOpAnswer(platform::headless::RecordingShell::FileOpAnswer::Decline);
    world.shell.whileOperating = [] {};
    world.backend.keyDown(46);
    world.backend.keyUp(46);
    world.backend.keyUp(27);
    EXPECT_TRUE(frmSizedPreview.Loaded());
    EXPECT_TRUE(world.files.pathExists("C:\\Pics\\a.bmp"));
}

TEST_F(ViewerTest, DeleteTakesThePictureOnScreenWhenTheCommandIsGiven) {
    Add("a.bmp", Plain(10, 10));
    Add("b.bmp", Plain(20, 10));
    Add("c.bmp", Plain(30, 10));
    Open();
    // A wheel step already queued runs before the deletion.
    world.backend.post([&] { world.backend.wheel(V().hWnd(), -120); });
    Key(46);
    EXPECT_TRUE(world.files.pathExists("C:\\Recycled\\a.bmp"));
    EXPECT_TRUE(world.files.pathExists("C:\\Pics\\b.bmp"));
}

// ---- re-entrancy ----

TEST_F(ViewerTest, EventsDuringALoadEndCleanly) {
    Add("a.bmp", Plain(10, 10));
    Add("b.png", Plain(20, 10));  // the fake GDI+ reads any of its formats
    Add("c.png", Plain(30, 10));
    Open();
    // A wheel message in the middle of a load ends on its picture, caption and panel agreeing.
    world.backend.post([&] { world.backend.wheel(V().hWnd(), -120); });
    Key(34);
    EXPECT_EQ(Shown(), "c.png");
    EXPECT_EQ(Panel(1), "3/3");
    EXPECT_EQ(Panel(2), "30x10");
    // Each PNG's query and creation follow each other.
    using Call = platform::headless::FakeGdiPlus::Call;
    const auto& calls = world.gdiplus.calls();
    for (std::size_t i = 0; i < calls.size(); ++i) {
        if (calls[i].call != Call::Load) continue;
        for (std::size_t j = i + 1; j < calls.size() && calls[j].call != Call::Dispose; ++j) {
            EXPECT_NE(calls[j].call, Call::Load) << "at " << j;
        }
    }
    EXPECT_EQ(world.gdiplus.liveStarts(), 0);
    // An Esc in the middle of a load closes the viewer, which stays closed.
    for (int at = 0; at < 6; ++at) {
        if (!frmSizedPreview.Loaded()) Open();
        int pumps = 0;
        std::function<void()> esc = [&] {
            if (pumps++ < at) {
                world.backend.post(esc);
                return;
            }
            world.backend.pressKey(27);
        };
        world.backend.post(esc);
        Key(34);
        EXPECT_FALSE(frmSizedPreview.Loaded()) << at;
        EXPECT_FALSE(gPreviewOpen) << at;
        EXPECT_EQ(world.gdiplus.liveStarts(), 0) << at;
        world.backend.doEvents();
        EXPECT_FALSE(frmSizedPreview.Loaded()) << at;
    }
}

// ---- failures ----

TEST_F(ViewerTest, AnUnreadableFileLeavesTheWindowBlackAndNothingOld) {
    Add("a.bmp", Plain(400, 300));
    Add("b.jpg", "not a picture");
    Add("c.png", "not a picture either");
    Add("d.bmp", Plain(20, 10));
    Open();
    Key(34);
    EXPECT_EQ(Shown(), "b.jpg");
    EXPECT_FALSE(V().picPview.Visible());
    EXPECT_EQ(Panel(2), "0x0");
    for (int key : {187, 189, 48}) Key(key);
    Key('R', kit::kCtrlMask);
    V().setClientSize(500 * 15, 400 * 15);
    EXPECT_FALSE(V().picPview.Visible());
    Key(34);
    EXPECT_EQ(Panel(2), "0x0");
    EXPECT_FALSE(V().picPview.Visible());
    EXPECT_EQ(world.gdiplus.liveStarts(), 0);
    Key(34);
    EXPECT_TRUE(V().picPview.Visible());
    EXPECT_EQ(Panel(2), "20x10");
    // An index past the list (a stale thumbnail) is never read; Next then starts
    // again.
    gCurrentPicture = 9;
    V().LoadImage(0);
    EXPECT_EQ(Panel(2), "0x0");
    Key(34);
    EXPECT_EQ(Shown(), "a.bmp");
    gCurrentPicture = 9;
    Key(33);
    EXPECT_EQ(Shown(), "d.bmp");
}

TEST_F(ViewerTest, APngOverThePixelCapIsRefusedBeforeItIsDrawn) {
    std::ifstream in(std::string(TIVLO_TEST_PICTURES) + "/png-rgba.png", std::ios::binary);
    std::string png(std::istreambuf_iterator<char>(in), {});
    ASSERT_GT(png.size(), 24u);
    for (int at : {16, 20}) png.replace(at, 4, std::string("\0\0\x23\x28", 4));  // 9000
    Add("a.png", png);
    Open();
    EXPECT_EQ(Panel(2), "0x0");
    EXPECT_FALSE(V().picPview.Visible());
    EXPECT_EQ(world.gdi.bitmapsOverCap(), 0);
    EXPECT_EQ(world.gdiplus.liveImages(), 0);
}

TEST_F(ViewerTest, MinimisedAndTinyWindowsNeverLayOutBelowOnePixel) {
    Add("a.bmp", Plain(6000, 100));
    Add("b.bmp", Plain(100000, 10));
    Open();
    V().setWindowState(kit::kStateMinimized);
    world.backend.advance(10);
    Key(34);  // laid out for the restored window
    EXPECT_EQ(Box()[2], 668);
    V().setWindowState(kit::kStateNormal);
    V().setClientSize(50 * 15, 10 * 15);  // the status bar fills it
    Key(113);
    EXPECT_GE(Box()[2], 1);
    EXPECT_GE(Box()[3], 1);
    EXPECT_GE(gPreviewZoom, 0.01);
    V().setClientSize(800 * 15, 620 * 15);
    EXPECT_GE(Box()[2], 1);
    EXPECT_EQ(Panel(3), "1%");
}

TEST_F(ViewerTest, DamagedFilesNeverStopTheViewer) {
    const std::string dir = std::string(TIVLO_TEST_PICTURES) + "/";
    std::vector<std::string> names;
    for (const char* n :
         {"bmp-truncated.bmp", "empty.jpg", "gif-truncated.gif", "gif-offset-frame.gif",
          "jpeg-truncated.jpg", "png-truncated.png", "text-named.jpg", "png-named.jpg",
          "jpeg-named.png", "bmp-rle4.bmp", "bmp-rle8.bmp"}) {
        std::ifstream in(dir + n, std::ios::binary);
        ASSERT_TRUE(in) << n;
        Add(n, std::string(std::istreambuf_iterator<char>(in), {}));
        names.push_back(n);
    }
    Add("zzz ok \xE9.bmp", Plain(20, 10));
    Open();
    for (std::size_t i = 0; i < names.size(); ++i) {
        Key(34);
        EXPECT_TRUE(world.backend.msgBoxCalls().empty());
    }
    EXPECT_EQ(Shown(), "zzz ok \xE9.bmp");
    EXPECT_EQ(Panel(2), "20x10");
    EXPECT_TRUE(V().picPview.Visible());
}

}  // namespace
