// List views, tab strips and user-scaled picture boxes, driven as a user and the program drive
// them: rows by number, the selection through presses and keys, the row height, the background
// picture below the headers; tabs by press, key and access key; bands painted in a user scale.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kit/controls.h"
#include "kit/headless/headless_listview.h"
#include "kit/listview.h"
#include "kit/runtime.h"
#include "kit/tabstrip.h"
#include "platform/headless/bind.h"

namespace {

std::vector<std::string> g_log;

struct Sheet : kit::Form {
    Sheet() {
        setClientSize(6000, 4500);
        list.Move(240, 360, 4500, 1500);  // 300 x 100 pixels
        list.AddColumn("Hint", 4500 / 6.0);
        list.AddColumn("Mode", 4500 / 9.5);
        list.ItemClick = [](int row) { g_log.push_back("item " + std::to_string(row)); };
        list.Click = [] { g_log.push_back("click"); };
        tabs.Move(120, 2000, 5205, 2400);
        tabs.AddTab("Sched&ule");
        tabs.AddTab("Action&s");
        tabs.AddTab("&Date/Time Format");
        tabs.Click = [this] { g_log.push_back("tab " + tabs.Caption()); };
        bar.setVisible(false);
        bar.movePx(0, 0, 40, 25);
    }
    kit::ListView list{this};
    kit::TabStrip tabs{this};
    kit::PictureBox page{&tabs, 1, 1};
    kit::CommandButton ok{this, "&OK"};
    kit::PictureBox bar{this, 1, 1};
};

kit::FormInstance<Sheet> sheet;

class KitListsTabsTest : public ::testing::Test {
protected:
    platform::headless::HeadlessWorld world;
    kit::headless::HeadlessBackend& ui = world.backend;
    void SetUp() override {
        world.bind();
        g_log.clear();
    }
    void TearDown() override { kit::ResetAllForms(); }

    void PressRow(kit::ListView& l, int row) {
        const int y = kit::headless::ListRowCenterY(row - 1);
        ui.mouseDown(l.hWnd(), 20, y);
        ui.mouseUp(l.hWnd(), 20, y);
    }
};

TEST_F(KitListsTabsTest, RowsKeepTheirOrderAndAPressSelectsAndClicksARow) {
    Sheet& s = sheet();
    s.Show();
    EXPECT_EQ(s.list.ColumnWidthPx(0), 50);
    EXPECT_EQ(s.list.ColumnWidthPx(1), 32);  // 4500 / 9.5 twips, to the nearest pixel
    for (const char* hint : {"Tea", "Bed", "Alarm"}) {
        const int row = s.list.AddRow(hint);
        s.list.SetCell(row, 1, std::string(hint) + " mode");
    }
    EXPECT_EQ(s.list.Cell(3, 0), "Alarm");
    EXPECT_EQ(s.list.Cell(1, 1), "Tea mode");
    EXPECT_EQ(s.list.SelectedRow(), 0);

    PressRow(s.list, 2);
    EXPECT_EQ(s.list.SelectedRow(), 2);
    EXPECT_EQ(ui.focused(), s.list.hWnd());
    EXPECT_EQ(g_log, (std::vector<std::string>{"item 2", "click"}));

    // Below the last row: the selection goes, and only the click is raised.
    g_log.clear();
    ui.mouseDown(s.list.hWnd(), 20, 90);
    ui.mouseUp(s.list.hWnd(), 20, 90);
    EXPECT_EQ(s.list.SelectedRow(), 0);
    EXPECT_EQ(g_log, (std::vector<std::string>{"click"}));

    // The keys move the selection as a click would.
    g_log.clear();
    ui.pressKey(kit::kKeyDown);
    ui.pressKey(kit::kKeyEnd);
    ui.pressKey(kit::kKeyEnd);
    EXPECT_EQ(g_log, (std::vector<std::string>{"item 1", "item 3"}));
    EXPECT_EQ(s.list.SelectedRow(), 3);

    // Removing a row before the selected one keeps the same row selected.
    g_log.clear();
    s.list.RemoveRow(1);
    EXPECT_EQ(s.list.SelectedRow(), 2);
    EXPECT_EQ(s.list.Cell(2, 0), "Alarm");
    // The native list draws what it asks for by 0-based row; it may ask past the rows while
    // it catches up with a removal, and must then get nothing rather than another row's text.
    const kit::ListViewEvents& drawn = s.list;
    EXPECT_EQ(drawn.cellText(1, 0), "Alarm");
    EXPECT_EQ(drawn.cellText(0, 1), "Bed mode");
    EXPECT_EQ(drawn.cellText(2, 0), "");
    EXPECT_EQ(drawn.cellText(-1, 0), "");
    EXPECT_EQ(drawn.cellText(0, 7), "");
    s.list.SelectRow(1);  // the program's own choice raises nothing
    EXPECT_TRUE(g_log.empty());
    s.list.RemoveRow(1);
    EXPECT_EQ(s.list.SelectedRow(), 0);
    EXPECT_THROW(s.list.RemoveRow(2), kit::RuntimeError);
    s.list.Clear();
    EXPECT_EQ(s.list.RowCount(), 0);
}

TEST_F(KitListsTabsTest, TheRowHeightIsMeasuredAndNeverZero) {
    Sheet& s = sheet();
    EXPECT_GT(s.list.RowHeight(), 0);  // no row to measure yet
    s.list.AddRow("");
    EXPECT_EQ(s.list.RowHeight(), kit::headless::kListRowPx * 15);
    s.list.RemoveRow(1);
}

TEST_F(KitListsTabsTest, BandsPaintedInAUserScaleShowBelowTheHeaders) {
    Sheet& s = sheet();
    s.Show();
    kit::PictureBox& bar = s.bar;
    bar.setScaleWidth(1);
    bar.setScaleHeight(2.5);  // each unit is ten pixels of the 25
    bar.setBackColor(0xFFFFFF);
    bar.FillBox(0, 0, 1, 1, 0x0000FF);
    bar.FillBox(0, 1, 1, 2, 0x00FF00);
    kit::Picture image = bar.Image();
    bar.Cls();  // later drawing leaves the picture as it was
    auto px = world.gdi.bitmapPixels(image->handle());
    ASSERT_EQ(px.width, 40);
    EXPECT_EQ(px.at(39, 0), 0x0000FFu);
    EXPECT_EQ(px.at(0, 9), 0x0000FFu);
    EXPECT_EQ(px.at(0, 10), 0x00FF00u);  // the next band overpaints the shared edge
    EXPECT_EQ(px.at(0, 20), 0x00FF00u);
    EXPECT_EQ(px.at(0, 21), 0xFFFFFFu);

    s.list.setPicture(image);
    auto shot = ui.snapshot(s.list.hWnd());
    const int header = kit::headless::kListHeaderPx;
    EXPECT_EQ(shot.at(20, header), 0x0000FFu);
    EXPECT_EQ(shot.at(20, header + 10), 0x00FF00u);
}

TEST_F(KitListsTabsTest, TabsAreChosenByPressKeyAndAccessKeyAndRaiseClickOnChange) {
    Sheet& s = sheet();
    s.Show();
    EXPECT_EQ(s.tabs.Caption(), "Sched&ule");
    s.tabs.setTab(0);  // the same tab: nothing
    EXPECT_TRUE(g_log.empty());
    // A page fills the display area below the tabs.
    s.page.Move(s.tabs.ClientLeft(), s.tabs.ClientTop(), s.tabs.ClientWidth(), s.tabs.ClientHeight());
    EXPECT_EQ(s.page.topPx(), 22);
    EXPECT_EQ(ui.windowParent(s.page.hWnd()), s.tabs.hWnd());

    ui.mouseDown(s.tabs.hWnd(), 70, 5);  // on the second tab
    ui.mouseUp(s.tabs.hWnd(), 70, 5);
    EXPECT_EQ(g_log, (std::vector<std::string>{"tab Action&s"}));
    ui.pressKey(kit::kKeyRight);
    ui.pressKey(kit::kKeyRight);  // already the last
    ui.focus(s.ok.hWnd());
    ui.pressKey('U', kit::kAltMask);
    EXPECT_EQ(g_log, (std::vector<std::string>{"tab Action&s", "tab &Date/Time Format", "tab Sched&ule"}));
    EXPECT_EQ(ui.focused(), s.tabs.hWnd());
    s.tabs.setTab(1);  // the program's change is handled as the user's
    EXPECT_EQ(g_log.back(), "tab Action&s");
}

}  // namespace
