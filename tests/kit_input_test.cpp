// The input controls driven as a user would (clicks, typing, keys, Tab and access keys) and
// by the program: the change rule, LostFocus before Click, tab order and groups.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kit/controls.h"
#include "kit/headless/headless_window.h"
#include "platform/headless/bind.h"

namespace {

std::vector<std::string> g_log;
void Log(const std::string& s) { g_log.push_back(s); }

// A user control with its own tab order, as the settings editor's.
struct Limits : kit::UserControl {
    explicit Limits(kit::Container* parent) : kit::UserControl(parent) {
        setScaleMode(kit::kScalePixels);
        fme.movePx(0, 0, 300, 120);
        chkSize.movePx(8, 16, 200, 17);
        txtWidth.movePx(8, 40, 40, 20);
        udWidth.movePx(48, 40, 16, 20);
        txtWidth.setMaxLength(4);
        txtWidth.setAlignment(kit::kAlignCenter);
        udWidth.setMin(1);
        udWidth.setMax(2048);
        udWidth.setValue(500);
        txtWidth.Change = [this] { Log("width " + txtWidth.Text()); };
        udWidth.Change = [this] { Log("ud " + std::to_string(udWidth.Value())); };
        chkSize.Click = [this] { Log("size " + std::to_string(chkSize.Value())); };
    }
    kit::Frame fme{this, "&Limit"};
    kit::CheckBox chkSize{&fme, "Limited by images &resolution"};
    kit::TextBox txtWidth{&fme, "500"};
    kit::UpDown udWidth{&fme};
};

struct Dialog : kit::Form {
    Dialog() {
        setScaleMode(kit::kScalePixels);
        limits.movePx(0, 0, 320, 130);
        lblHint.movePx(8, 140, 60, 13);
        txtHint.movePx(70, 136, 140, 20);
        fmeTime.movePx(8, 170, 150, 60);
        opt12.movePx(8, 16, 130, 17);
        opt24.movePx(8, 36, 130, 17);
        fmeDate.movePx(170, 170, 150, 60);
        optMD.movePx(8, 16, 130, 17);
        optDM.movePx(8, 36, 130, 17);
        cmbMode.movePx(8, 240, 200, 21);
        vslTime.movePx(220, 240, 17, 40);
        cmdOK.movePx(8, 290, 80, 23);
        cmdGrab.movePx(100, 290, 80, 23);
        sb.AddPanel(-1);
        txtHint.setMaxLength(20);
        txtHint.Change = [this] { Log("hint " + txtHint.Text()); };
        txtHint.LostFocus = [] { Log("hint lost"); };
        txtHint.GotFocus = [] { Log("hint got"); };
        opt12.Click = [] { Log("12"); };
        opt24.Click = [] { Log("24"); };
        opt24.GotFocus = [] { Log("24 got"); };
        optMD.Click = [] { Log("md"); };
        optDM.Click = [] { Log("dm"); };
        cmbMode.Click = [this] { Log("mode " + cmbMode.Text()); };
        vslTime.Change = [this] { Log("spin " + std::to_string(vslTime.Value())); };
        cmdOK.Click = [] { Log("ok"); };
        cmdGrab.Click = [] { Log("grab"); };
        cmdGrab.GotFocus = [] { Log("grab got"); };
        chkWeek.Click = [this](int i) { Log("week " + std::to_string(i) + "=" + std::to_string(chkWeek(i).Value())); };
    }
    Limits limits{this};
    kit::Label lblHint{this, "Alarm &hint :"};
    kit::TextBox txtHint{this};
    kit::Frame fmeTime{this, "&Time Format"};
    kit::OptionButton opt12{&fmeTime, "12 hours (AM/PM)"};
    kit::OptionButton opt24{&fmeTime, "24 hours"};
    kit::Frame fmeDate{this, "&Date Format"};
    kit::OptionButton optMD{&fmeDate, "mm,dd,yyyy"};
    kit::OptionButton optDM{&fmeDate, "dd,mm,yyyy"};
    kit::ComboBox cmbMode{this};
    kit::ScrollBar vslTime{this};
    kit::CommandButton cmdOK{this, "&OK"};
    kit::CommandButton cmdGrab{this, "&Grab Now"};
    kit::ControlArray<kit::CheckBox> chkWeek{
        this, [](kit::Container* c) { return std::make_unique<kit::CheckBox>(c); }, 7,
        [](int i, kit::CheckBox& b) {
            static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
            b.setCaption(kDays[i]);
            b.movePx(8 + 45 * i, 320, 44, 17);
        }};
    kit::StatusBar sb{this};
    kit::Image img{this};
};

kit::FormInstance<Dialog> dialog;

class KitInputTest : public ::testing::Test {
protected:
    platform::headless::HeadlessWorld world;
    kit::headless::HeadlessBackend& ui = world.backend;
    Dialog& d() { return dialog(); }
    void SetUp() override {
        world.bind();
        d().setClientSize(5100, 5400);
        d().Show();
        g_log.clear();
    }
    void TearDown() override { kit::ResetAllForms(); }
    std::string Focused() {
        kit::Control* c = d().ActiveControl();
        if (!c || ui.focused() != c->hWnd()) return "?";
        if (auto* b = dynamic_cast<kit::CommandButton*>(c)) return b->Caption();
        if (auto* o = dynamic_cast<kit::OptionButton*>(c)) return o->Caption();
        if (auto* k = dynamic_cast<kit::CheckBox*>(c)) return k->Caption();
        if (c == &d().txtHint) return "hint";
        if (c == &d().limits.txtWidth) return "width";
        if (c == &d().cmbMode) return "mode";
        if (c == &d().vslTime) return "spin";
        return "other";
    }
};

TEST_F(KitInputTest, TextBoxesRaiseChangeOnlyForADifferentTextFromTheUserOrTheProgram) {
    kit::TextBox& t = d().txtHint;
    t.setText("Have a rest please");
    t.setText("Have a rest please");
    EXPECT_EQ(g_log, (std::vector<std::string>{"hint Have a rest please"}));
    g_log.clear();

    // Typing replaces the selection and stops at the maximum length; the program may exceed it.
    ui.focus(t.hWnd());
    t.setSelStart(5);
    t.setSelLength(1);
    EXPECT_EQ(t.SelLength(), 1);
    ui.typeText("A");
    EXPECT_EQ(t.Text(), "Have A rest please");
    t.setSelStart(static_cast<int>(t.Text().size()));  // the caret at the end
    ui.typeText("!!!");
    EXPECT_EQ(t.Text(), "Have A rest please!!");
    EXPECT_EQ(t.SelStart(), 20);
    ui.pressKey(kit::kKeyBack);
    EXPECT_EQ(t.Text(), "Have A rest please!");
    t.setText("a text longer than twenty characters");
    EXPECT_EQ(t.Text(), "a text longer than twenty characters");
    EXPECT_EQ(g_log.size(), 6u);  // focus, A, two of "!!!", Backspace, the program's text

    // Locked: nothing the user types or deletes changes it.
    t.setLocked(true);
    g_log.clear();
    ui.typeText("x");
    ui.pressKey(kit::kKeyHome);
    ui.pressKey(kit::kKeyDelete);
    EXPECT_TRUE(g_log.empty());

    // A handler that swallows the key stops it; KeyPress sees it first.
    kit::TextBox& w = d().limits.txtWidth;
    w.KeyPress = [](int& ascii) {
        if (ascii < '0' || ascii > '9') ascii = 0;
    };
    ui.focus(w.hWnd());
    g_log.clear();
    w.setSelStart(0);
    w.setSelLength(3);
    ui.typeText("7a5");
    EXPECT_EQ(w.Text(), "75");
    EXPECT_EQ(g_log, (std::vector<std::string>{"width 7", "width 75"}));
}

TEST_F(KitInputTest, LostFocusRunsBeforeTheClickOfTheButtonThatTakesTheFocus) {
    ui.click(d().txtHint.hWnd());
    ui.click(d().cmdGrab.hWnd());
    EXPECT_EQ(g_log, (std::vector<std::string>{"hint got", "hint lost", "grab got", "grab"}));
    // A handler that disables its button and enables it again leaves the focus elsewhere.
    d().cmdOK.Click = [this] {
        Log("ok");
        d().cmdOK.setEnabled(false);
        d().cmdOK.setEnabled(true);
    };
    g_log.clear();
    ui.click(d().cmdOK.hWnd());
    EXPECT_EQ(g_log, (std::vector<std::string>{"ok", "grab got"}));
    EXPECT_EQ(Focused(), "&Grab Now");
}

TEST_F(KitInputTest, TabFollowsTabIndexThroughFramesAndUserControlsSkippingWhatCannotTakeIt) {
    d().opt24.setValue(true);
    d().optMD.setValue(true);
    ui.focus(d().limits.chkSize.hWnd());
    std::vector<std::string> seen;
    for (int i = 0; i < 9; ++i) {
        seen.push_back(Focused());
        ui.pressKey(kit::kKeyTab);
    }
    // The user control's own sequence, then the form's; of each option group only the
    // selected option; the up-down takes no focus; the status bar and image none either.
    EXPECT_EQ(seen, (std::vector<std::string>{"Limited by images &resolution", "width", "hint",
                                              "24 hours", "mm,dd,yyyy", "mode", "spin", "&OK",
                                              "&Grab Now"}));
    EXPECT_EQ(Focused(), "Sun");
    ui.pressKey(kit::kKeyTab, kit::kShiftMask);
    EXPECT_EQ(Focused(), "&Grab Now");

    // Disabled, hidden and TabStop False controls are passed over; TabIndex reorders.
    d().cmdOK.setEnabled(false);
    d().vslTime.setVisible(false);
    d().cmbMode.setTabStop(false);
    ui.focus(d().optMD.hWnd());
    ui.pressKey(kit::kKeyTab);
    EXPECT_EQ(Focused(), "&Grab Now");
    d().cmdGrab.setTabIndex(0);
    EXPECT_EQ(d().cmdGrab.TabIndex(), 0);
    EXPECT_EQ(d().limits.TabIndex(), 1);
    ui.focus(d().chkWeek(6).hWnd());
    ui.pressKey(kit::kKeyTab);
    EXPECT_EQ(Focused(), "&Grab Now");
}

TEST_F(KitInputTest, AccessKeysClickButtonsTickBoxesAndLeadLabelsAndFramesToTheirControl) {
    ui.focus(d().txtHint.hWnd());
    g_log.clear();
    ui.pressKey('G', kit::kAltMask);
    EXPECT_EQ(g_log, (std::vector<std::string>{"hint lost", "grab got", "grab"}));
    ui.pressKey('H', kit::kAltMask);
    EXPECT_EQ(Focused(), "hint");
    ui.pressKey('L', kit::kAltMask);  // the frame: its first control
    EXPECT_EQ(Focused(), "Limited by images &resolution");
    g_log.clear();
    ui.pressKey('R', kit::kAltMask);
    EXPECT_EQ(g_log, (std::vector<std::string>{"size 1"}));
    ui.pressKey('T', kit::kAltMask | kit::kShiftMask);  // Shift held as well
    EXPECT_EQ(Focused(), "12 hours (AM/PM)");
    // A control out of reach does not answer its key.
    d().cmdGrab.setVisible(false);
    g_log.clear();
    ui.pressKey('G', kit::kAltMask);
    EXPECT_TRUE(g_log.empty());
    // Without Alt the letter is typed.
    ui.focus(d().txtHint.hWnd());
    ui.pressKey('O');
    EXPECT_EQ(d().txtHint.Text(), "o");
}

TEST_F(KitInputTest, CheckBoxesAndTheirArraysRaiseClickOnEveryChangeOfValue) {
    kit::ControlArray<kit::CheckBox>& week = d().chkWeek;
    EXPECT_EQ(week.UBound(), 6);
    week(1).setValue(kit::kChecked);
    week(1).setValue(kit::kChecked);
    ui.click(week(3).hWnd());
    ui.click(week(3).hWnd());
    ui.focus(week(5).hWnd());
    ui.pressKey(kit::kKeySpace);
    week(6).setEnabled(false);
    ui.click(week(6).hWnd());
    week(6).setValue(kit::kChecked);  // the program still may
    EXPECT_EQ(g_log, (std::vector<std::string>{"week 1=1", "week 3=1", "week 3=0", "week 5=1", "week 6=1"}));
    week(2).setValue(kit::kGrayed);
    ui.click(week(2).hWnd());
    EXPECT_EQ(week(2).Value(), kit::kUnchecked);
    EXPECT_EQ(ui.window(week(2).hWnd()).text, "Tue");
}

TEST_F(KitInputTest, OptionGroupsKeepOneSelectedPerContainer) {
    d().opt12.setValue(true);
    d().optDM.setValue(true);  // another frame, another group
    ui.click(d().opt24.hWnd());
    ui.click(d().opt24.hWnd());  // already selected: nothing new
    EXPECT_EQ(g_log, (std::vector<std::string>{"12", "dm", "24 got", "24"}));
    EXPECT_FALSE(d().opt12.Value());
    EXPECT_TRUE(d().optDM.Value());
    // The arrow keys walk the group and select.
    g_log.clear();
    ui.pressKey(kit::kKeyUp);
    EXPECT_TRUE(d().opt12.Value());
    EXPECT_FALSE(d().opt24.Value());
    EXPECT_EQ(Focused(), "12 hours (AM/PM)");
    EXPECT_EQ(g_log, (std::vector<std::string>{"12"}));
    d().opt12.setValue(false);  // False clears without selecting another
    EXPECT_FALSE(d().opt24.Value());
}

TEST_F(KitInputTest, DropDownListsRaiseClickWhenTheChosenIndexChanges) {
    kit::ComboBox& c = d().cmbMode;
    for (const char* m : {"Once", "Every day", "Every week"}) c.AddItem(m);
    EXPECT_EQ(c.ListIndex(), -1);
    EXPECT_EQ(c.Text(), "");
    c.setText("Once");
    c.setListIndex(0);
    c.AddItem("Every hour after running computer", 1);
    EXPECT_EQ(c.List(1), "Every hour after running computer");
    EXPECT_EQ(c.ListCount(), 4);
    ui.choose(c.hWnd(), 2);
    ui.pressKey(kit::kKeyDown);
    ui.pressKey(kit::kKeyDown);  // already the last
    c.setText("Every year");    // not in the list: nothing
    EXPECT_EQ(g_log, (std::vector<std::string>{"mode Once", "mode Every day", "mode Every week"}));
    EXPECT_THROW(c.setListIndex(4), kit::RuntimeError);
    c.Clear();
    EXPECT_EQ(c.ListCount(), 0);
    EXPECT_EQ(c.ListIndex(), -1);
}

TEST_F(KitInputTest, UpDownsAndScrollBarsStepWithinTheirRangeAndRaiseChangeOnChange) {
    kit::UpDown& ud = d().limits.udWidth;
    const kit::Handle h = ud.hWnd();
    ud.setIncrement(10);
    ui.mouseDown(h, 8, 2);
    ui.mouseUp(h, 8, 2);  // upper half: up
    ui.mouseDown(h, 8, 18);
    ui.mouseUp(h, 8, 18);
    ud.setValue(5000);  // kept at Max
    ud.setValue(2048);
    ui.mouseDown(h, 8, 2);
    ui.mouseUp(h, 8, 2);  // at Max: nothing
    EXPECT_EQ(g_log, (std::vector<std::string>{"ud 510", "ud 500", "ud 2048"}));

    // A spin whose Min is above its Max: the upper arrow goes towards Min.
    kit::ScrollBar& s = d().vslTime;
    s.setMin(61);
    s.setMax(0);
    s.setValue(59);
    g_log.clear();
    const kit::Handle sh = s.hWnd();
    ui.mouseDown(sh, 8, 2);
    ui.mouseUp(sh, 8, 2);
    ui.mouseDown(sh, 8, 38);
    ui.mouseUp(sh, 8, 38);
    ui.mouseDown(sh, 8, 38);
    ui.mouseUp(sh, 8, 38);
    ui.choose(sh, 61);  // the thumb let go at the far end: Max
    s.setValue(-5);     // kept at 0
    ui.choose(sh, 0);
    EXPECT_EQ(g_log, (std::vector<std::string>{"spin 60", "spin 59", "spin 58", "spin 0", "spin 61"}));
}

TEST_F(KitInputTest, StatusBarsNumberPanelsFromOneAndLieAlongTheBottom) {
    kit::StatusBar& sb = d().sb;
    EXPECT_EQ(sb.PanelCount(), 2);
    EXPECT_EQ(world.backend.window(sb.hWnd()).kind(), "statusbar");
    sb.setPanelText(1, "All links have been parsed !");
    EXPECT_EQ(sb.PanelText(1), "All links have been parsed !");
    EXPECT_THROW(sb.setPanelText(3, "x"), kit::RuntimeError);
    int w, h;
    d().clientSizePx(w, h);
    EXPECT_EQ(sb.topPx(), h - kit::StatusBar::kHeightPx);
    EXPECT_EQ(sb.widthPx(), w);
    d().setHeight(d().Height() + 300);
    EXPECT_EQ(sb.topPx(), h + 20 - kit::StatusBar::kHeightPx);
    // Fixed panels keep their width; those of width -1 share the rest.
    sb.AddPanel(1200);
    auto shot = ui.snapshot(sb.hWnd());
    const int half = (w - 80) / 2;
    EXPECT_EQ(shot.at(half - 3, 2), 0x808080u);  // the first panel's edge
    EXPECT_EQ(shot.at(2 * half - 3, 2), 0x808080u);
    EXPECT_EQ(shot.at(w - 3, 2), 0x808080u);
}

TEST_F(KitInputTest, ImagesStretchTheirPictureOrTakeItsSize) {
    // A 2 x 2 picture: red, green / blue, white.
    const unsigned char bgr[] = {0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255};
    kit::Handle bmp = world.gdi.createBitmapFromPixels(2, 2, bgr);
    kit::Image& img = d().img;
    int clicks = 0;
    img.Click = [&] { ++clicks; };
    img.movePx(100, 10, 40, 40);
    img.setPicture(kit::CreatePicture(kit::kPictureTypeBitmap, bmp, true));
    EXPECT_EQ(img.widthPx(), 2);  // not stretched: the picture's size
    img.setStretch(true);
    img.movePx(100, 10, 40, 40);
    auto shot = ui.snapshot(d().hWnd());
    EXPECT_EQ(shot.at(105, 15), 0x0000FFu);
    EXPECT_EQ(shot.at(135, 15), 0x00FF00u);
    EXPECT_EQ(shot.at(105, 45), 0xFF0000u);
    EXPECT_EQ(shot.at(135, 45), 0xFFFFFFu);
    ui.click(img.hWnd());
    EXPECT_EQ(clicks, 1);
    img.setVisible(false);
    EXPECT_NE(ui.snapshot(d().hWnd()).at(105, 15), 0x0000FFu);
}

}  // namespace
