// Forms, user controls and the control base: geometry in twips and pixels, showing, closing,
// resizing, z-order, mouse capture and hover, as a user and the program drive them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kit/controls.h"
#include "kit/listview.h"
#include "kit/headless/headless_window.h"
#include "platform/headless/bind.h"

namespace {

std::vector<std::string> g_log;

struct Board : kit::UserControl {
    explicit Board(kit::Container* parent) : kit::UserControl(parent) {
        setScaleMode(kit::kScalePixels);
        table.setBorderStyle(1);
        table.setBackColor(0x000000);
        table.movePx(8, 40, 359, 380);
        card.movePx(0, 0, 71, 96);
        card.setVisible(false);
        table.MouseMove = [](int b, int s, int x, int y) {
            g_log.push_back("move " + std::to_string(b) + " " + std::to_string(x) + "," + std::to_string(y));
        };
        table.MouseUp = [](int b, int, int x, int y) {
            g_log.push_back("up " + std::to_string(b) + " " + std::to_string(x) + "," + std::to_string(y));
        };
        table.DblClick = [] { g_log.push_back("dbl"); };
        table.Click = [] { g_log.push_back("click"); };
    }
    void UserControl_Initialize() override { g_log.push_back("init"); }
    void UserControl_Terminate() override { g_log.push_back("terminate"); }
    kit::PictureBox table{this, 1, 1};
    kit::PictureBox card{this, 1, 1};
    kit::Label remark{&table, "first\r\nsecond line"};
};

struct Game : kit::Form {
    Game() {
        setCaption("Fortune-telling");
        setBorderStyle(kit::kBorderFixedDialog);
        board.setFillsForm(true);
    }
    void Form_Load() override {
        g_log.push_back("load");
        Move(0, 0, 5700, 6900);
    }
    void Form_QueryUnload(int& cancel, int mode) override {
        g_log.push_back("query " + std::to_string(mode));
        cancel = keepOpen;
    }
    void Form_Unload(int&) override { g_log.push_back("unload"); }
    void Form_Resize() override { g_log.push_back("resize"); }
    Board board{this};
    bool keepOpen = false;
};

kit::FormInstance<Game> game;

struct About : kit::Form {
    About() {
        setBorderStyle(kit::kBorderFixedSingle);
        link.MouseEnter = [this] {
            link.setFontUnderline(true);
            link.setForeColor(0xFF0000);
        };
        link.MouseLeave = [this] {
            link.setFontUnderline(false);
            link.setForeColor(0xFFFF00);
        };
        link.Click = [this] { ++opened; };
        ok.Click = [this] { ++oks; };
        rule.setX1(120);
        rule.setY1(600);
        rule.setX2(1200);
        rule.setY2(600);
    }
    kit::Label note{this, "You can visit web page : "};
    kit::Label link{this, "http://tivlo.invalid/"};
    kit::CommandButton ok{this, "&OK"};
    kit::Line rule{this};
    int opened = 0, oks = 0;
};

kit::FormInstance<About> about;

int g_popupsDestroyed = 0;

// A form that unloads itself from its own handlers and goes on using itself afterwards, and
// holds pictures in the controls that keep one.
struct Popup : kit::Form {
    Popup();
    ~Popup() override { ++g_popupsDestroyed; }
    kit::CommandButton close{this, "&Close"};
    kit::Timer tick{this};
    kit::ListView list{this};
    kit::Image image{this};
    std::string closedBy;
};

kit::FormInstance<Popup> popup;

Popup::Popup() {
    close.Move(120, 120, 1200, 375);
    close.Click = [this] {
        popup.Unload();
        kit::DoEvents();  // a wait inside the handler is still the same event
        closedBy = "click " + close.Caption();
        g_log.push_back(closedBy);
    };
    tick.setInterval(1000);
    tick.OnTimer = [this] {
        popup.Unload();
        closedBy = "timer";
        g_log.push_back(closedBy);
    };
}

class KitFormsTest : public ::testing::Test {
protected:
    platform::headless::HeadlessWorld world;
    kit::headless::HeadlessBackend& ui = world.backend;
    void SetUp() override {
        world.bind();
        g_log.clear();
    }
    void TearDown() override { kit::ResetAllForms(); }
};

TEST_F(KitFormsTest, GeometryFollowsTheContainersScaleAndRoundsHalvesToEven) {
    About& f = about();
    f.note.Move(240, 1200, 2415, 195);  // twips on a twips form
    EXPECT_EQ(f.note.leftPx(), 16);
    EXPECT_EQ(f.note.topPx(), 80);
    EXPECT_EQ(f.note.Width(), 2415);
    f.note.setLeft(22.5);  // 1.5 pixels: to the even 2
    EXPECT_EQ(f.note.leftPx(), 2);
    f.note.setLeft(37.5);  // 2.5 pixels: to the even 2 as well
    EXPECT_EQ(f.note.leftPx(), 2);
    EXPECT_EQ(f.note.Left(), 30);

    // A label in a pixel-scaled picture box inside a pixel-scaled user control.
    Game& g = game();
    g.board.remark.Move(8, 136);
    EXPECT_EQ(g.board.remark.leftPx(), 8);
    EXPECT_EQ(g.board.remark.Top(), 136);
    // The sunken border takes two pixels a side from the box's client area.
    EXPECT_EQ(g.board.table.ScaleWidth(), 355);
    EXPECT_EQ(g.board.table.ScaleHeight(), 376);
    EXPECT_EQ(ui.window(g.board.table.hWnd()).clientWidth(), 355);
}

TEST_F(KitFormsTest, FormsMeasureTheOuterWindowInTwipsAndTheClientInTheirScale) {
    Game& g = game();
    EXPECT_EQ(g.Width(), 5700);
    EXPECT_EQ(g.Height(), 6900);
    int dx = 0, dy = 0;
    g.peer()->frameSize(dx, dy);
    EXPECT_GT(dy, dx);  // the caption
    EXPECT_EQ(g.ScaleWidth(), 5700 - dx * 15);
    EXPECT_EQ(g.ScaleHeight(), 6900 - dy * 15);
    // The user control fills the client area, in its own pixels.
    EXPECT_EQ(g.board.ScaleWidth(), 380 - dx);
    EXPECT_EQ(g.board.ScaleHeight(), 460 - dy);

    g.setScaleMode(kit::kScalePixels);
    EXPECT_EQ(g.ScaleWidth(), 380 - dx);
    g.setClientSize(8880, 4695);
    EXPECT_EQ(g.ScaleHeight(), 313);
    EXPECT_EQ(g.Height(), 4695 + dy * 15);
    EXPECT_EQ(g.board.heightPx(), 313);

    // Centred from the screen size, as a form's load does it.
    g.Move((kit::ScreenWidth() - g.Width()) / 2, (kit::ScreenHeight() - 8820) / 2);
    EXPECT_EQ(g.Top(), 1350);
    EXPECT_EQ(g.Left(), (15360 - g.Width()) / 2);
}

TEST_F(KitFormsTest, LoadInitialisesUserControlsFirstAndResizeWaitsForTheFirstShow) {
    Game& g = game();
    EXPECT_EQ(g_log, (std::vector<std::string>{"init", "load"}));
    g.Show();
    g.Show();  // already open: only brought forward
    EXPECT_EQ(g_log, (std::vector<std::string>{"init", "load", "resize"}));
    EXPECT_EQ(ui.activeForm(), g.hWnd());
    EXPECT_TRUE(ui.isVisible(g.hWnd()));

    g.setHeight(3000);
    EXPECT_EQ(g_log.back(), "resize");
    g_log.clear();
    g.setLeft(600);  // a move alone keeps the size
    EXPECT_TRUE(g_log.empty());

    g.setWindowState(kit::kStateMinimized);
    EXPECT_EQ(g.ScaleWidth(), 0);
    EXPECT_EQ(g_log, (std::vector<std::string>{"resize"}));
    EXPECT_GT(g.board.widthPx(), 0);  // keeps its size while there is no client area
    g.setWindowState(kit::kStateNormal);
    EXPECT_GT(g.ScaleWidth(), 0);
}

TEST_F(KitFormsTest, TheCloseBoxAndTheProgramUnloadWithTheirOwnMode) {
    Game& first = game();
    first.keepOpen = true;
    ui.pressCloseBox(first.hWnd());
    EXPECT_TRUE(game.Loaded());
    first.keepOpen = false;
    ui.pressCloseBox(first.hWnd());
    EXPECT_FALSE(game.Loaded());
    EXPECT_EQ(g_log, (std::vector<std::string>{"init", "load", "query 0", "query 0", "unload",
                                               "terminate"}));
    // Its windows are gone, and the next use loads a new instance.
    EXPECT_EQ(ui.windowCount(), 0u);
    g_log.clear();
    Game& second = game();
    EXPECT_NE(&second, &first);
    game.Unload();
    EXPECT_EQ(g_log, (std::vector<std::string>{"init", "load", "query 1", "unload", "terminate"}));
}

TEST_F(KitFormsTest, AnUnloadedFormLivesUntilItsEventEndsAndThenGoesWithItsPictures) {
    const int pictures = world.gdi.livePictureCount(), objects = world.gdi.liveObjectCount();
    const auto windows = ui.windowCount();
    g_popupsDestroyed = 0;
    auto withPictures = [&](Popup& p) {
        p.list.setPicture(kit::CreatePicture(kit::kPictureTypeBitmap, world.gdi.createBitmap(300, 40, 1, 32), true));
        p.image.setPicture(kit::CreatePicture(kit::kPictureTypeBitmap, world.gdi.createBitmap(8, 8, 1, 32), true));
        p.Show();
    };

    // By its own button: the handler runs on after the unload, through a DoEvents.
    withPictures(popup());
    ui.post([] {});
    ui.click(popup().close.hWnd());
    EXPECT_EQ(g_log.back(), "click &Close");
    EXPECT_FALSE(popup.Loaded());
    EXPECT_EQ(g_popupsDestroyed, 1);
    EXPECT_EQ(kit::UnloadedFormCount(), 0u);

    // By its own timer.
    withPictures(popup());
    popup().tick.setEnabled(true);
    ui.advance(1000);
    EXPECT_EQ(g_log.back(), "timer");
    EXPECT_EQ(g_popupsDestroyed, 2);

    // Unloaded by the program outside any event: kept until the next event ends.
    withPictures(popup());
    Popup& kept = popup();
    popup.Unload();
    EXPECT_EQ(g_popupsDestroyed, 2);
    // The pictures went with the windows already.
    EXPECT_EQ(kept.list.picture(), nullptr);
    EXPECT_EQ(kept.image.picture(), nullptr);
    EXPECT_EQ(world.gdi.livePictureCount(), pictures);
    ui.advance(1);
    EXPECT_EQ(g_popupsDestroyed, 3);

    EXPECT_EQ(world.gdi.liveObjectCount(), objects);
    EXPECT_EQ(ui.windowCount(), windows);
}

TEST_F(KitFormsTest, ABoxKeepsTheMouseWhileAButtonIsHeld) {
    Game& g = game();
    g.Show();
    g_log.clear();
    const kit::Handle table = g.board.table.hWnd();
    ui.mouseDown(table, 100, 100);
    // The drag leaves the table over its neighbour and the form; the table still hears it, in
    // its own pixels, and the release ends there.
    ui.mouseMove(g.board.hWnd(), 400, 50, kit::kLeftButton | kit::kRightButton);
    ui.mouseUp(g.hWnd(), 3, 4);
    EXPECT_EQ(g_log.at(0), "move 3 390,8");
    EXPECT_EQ(g_log.at(1), "up 1 -7,-38");
    EXPECT_EQ(g_log.size(), 2u);  // released outside: no Click
    EXPECT_EQ(ui.captured(), 0u);

    g_log.clear();
    ui.dblClick(table, 10, 20);
    EXPECT_EQ(g_log, (std::vector<std::string>{"up 1 10,20", "click", "dbl", "up 1 10,20"}));
}

TEST_F(KitFormsTest, PointerEnterAndLeaveDriveTheHoverLink) {
    About& f = about();
    f.Show();
    f.link.Move(2400, 1200, 1500, 195);
    ui.mouseMove(f.link.hWnd(), 3, 3);
    EXPECT_TRUE(f.link.FontUnderline());
    EXPECT_EQ(f.link.ForeColor(), 0xFF0000u);
    ui.mouseMove(f.link.hWnd(), 5, 3);  // still over it: nothing new
    ui.mouseMove(f.hWnd(), 10, 10);
    EXPECT_FALSE(f.link.FontUnderline());
    EXPECT_EQ(f.link.ForeColor(), 0xFFFF00u);
    // A click opens once and leaves it as the pointer left it.
    ui.click(f.link.hWnd());
    ui.mouseAway();
    EXPECT_EQ(f.opened, 1);
    EXPECT_FALSE(f.link.FontUnderline());
}

TEST_F(KitFormsTest, ButtonsClickOnlyWhenUsableAndBoldCaptionsKeepTheirAccessKey) {
    About& f = about();
    f.Show();
    f.ok.Move(1800, 2400, 1215, 375);
    f.ok.setFontBold(true);
    EXPECT_EQ(f.ok.accessKey(), 'o');
    ui.click(f.ok.hWnd());
    ui.click(f.ok.hWnd(), kit::kRightButton);  // only the left button clicks
    EXPECT_EQ(f.oks, 1);
    EXPECT_EQ(ui.focused(), f.ok.hWnd());
    // Disabled and enabled again after a click, as the program does: the focus moves on.
    f.ok.setEnabled(false);
    EXPECT_NE(ui.focused(), f.ok.hWnd());
    ui.click(f.ok.hWnd());
    EXPECT_EQ(f.oks, 1);
    f.ok.setEnabled(true);
    ui.click(f.ok.hWnd());
    EXPECT_EQ(f.oks, 2);
    f.ok.setVisible(false);
    ui.click(f.ok.hWnd());
    EXPECT_EQ(f.oks, 2);
}

TEST_F(KitFormsTest, AutoSizedLabelsFitTheirLongestLineAndEveryLine) {
    Game& g = game();
    kit::Label& r = g.board.remark;
    r.setAutoSize(true);
    EXPECT_EQ(r.widthPx(), kit::headless::RasterGdi::textWidth("second line"));
    EXPECT_EQ(r.heightPx(), 2 * kit::headless::RasterGdi::kCellHeight);
    r.setCaption("A & B");
    EXPECT_EQ(r.widthPx(), kit::headless::RasterGdi::textWidth("A  B"));
    r.setBorderStyle(1);
    EXPECT_EQ(r.heightPx(), kit::headless::RasterGdi::kCellHeight + 4);
}

TEST_F(KitFormsTest, ZOrderLinesAndLabelsShowInAPictureOfTheForm) {
    Game& g = game();
    g.board.card.setBackColor(0xFFFFFF);
    g.board.card.setVisible(true);
    g.board.card.movePx(20, 50, 71, 96);
    // Made after the table, the card lies in front; sent back, the table hides it.
    auto shot = ui.snapshot(g.hWnd());
    EXPECT_EQ(shot.at(30, 60), 0xFFFFFFu);
    g.board.card.ZOrder(1);
    shot = ui.snapshot(g.hWnd());
    EXPECT_EQ(shot.at(30, 60), 0x000000u);
    EXPECT_EQ(ui.childrenOf(g.board.hWnd()).front(), g.board.card.hWnd());
    g.board.card.ZOrder();
    EXPECT_EQ(ui.childrenOf(g.board.hWnd()).back(), g.board.card.hWnd());

    // The sunken edge, and the line drawn on the form up to, not including, its end point.
    shot = ui.snapshot(g.hWnd());
    EXPECT_EQ(shot.at(8, 60), 0x808080u);
    About& f = about();
    f.rule.setBorderColor(0x0000FF);
    auto form = ui.snapshot(f.hWnd());
    EXPECT_EQ(form.at(8, 40), 0x0000FFu);
    EXPECT_EQ(form.at(79, 40), 0x0000FFu);
    EXPECT_NE(form.at(80, 40), 0x0000FFu);
    f.rule.setX2(f.hWnd() ? 1500 : 0);
    EXPECT_EQ(f.rule.X2(), 1500);
    EXPECT_EQ(ui.snapshot(f.hWnd()).at(99, 40), 0x0000FFu);
}

TEST_F(KitFormsTest, APersistentImageShowsOnRefreshAndSurvivesAResize) {
    Game& g = game();
    kit::PictureBox& t = g.board.table;
    kit::Gdi& gdi = kit::gdi();
    kit::Handle brush = gdi.createSolidBrush(0x00FF00);
    gdi.fillRect(t.hDC(), 0, 0, 10, 10, brush);
    gdi.deleteObject(brush);
    ui.keepShownImages(true);
    EXPECT_EQ(ui.repaintCount(t.hWnd()), 0);
    t.Refresh();
    EXPECT_EQ(ui.repaintCount(t.hWnd()), 1);
    EXPECT_EQ(ui.shownImage(t.hWnd()).at(5, 5), 0x00FF00u);
    t.movePx(8, 40, 400, 400);
    auto px = world.gdi.bitmapPixels(world.gdi.selectedBitmap(t.hDC()));
    EXPECT_EQ(px.width, 396);
    EXPECT_EQ(px.at(5, 5), 0x00FF00u);
    EXPECT_EQ(px.at(390, 390), 0x000000u);

    // Unloading releases every drawing object the form made.
    const int objects = world.gdi.liveObjectCount(), dcs = world.gdi.liveDCCount();
    EXPECT_GT(objects, 0);
    game.Unload();
    EXPECT_LT(world.gdi.liveObjectCount(), objects);
    EXPECT_LT(world.gdi.liveDCCount(), dcs);
}

TEST_F(KitFormsTest, MessageBoxesCanBeOwnedByAUserControlsWindow) {
    Game& g = game();
    g.board.MsgBox("God's design is unknown !", kit::kMbIconExclamation, "Tivlo 2.3");
    ASSERT_EQ(ui.msgBoxCalls().size(), 1u);
    EXPECT_EQ(ui.msgBoxCalls()[0].owner, g.board.hWnd());
    EXPECT_EQ(ui.msgBoxCalls()[0].flags, 48);
}

}  // namespace
