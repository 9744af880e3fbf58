#include <cstdlib>

#include "program_fixture.h"
#include "shell/about_form.h"
#include "shell/tivlo_form.h"

namespace {

class AboutTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        ASSERT_FALSE(Start());
    }
    FrmAbout& OpenAbout() {
        ChooseFromTray("A&bout...");
        EXPECT_TRUE(frmAbout.Loaded());
        return frmAbout();
    }
};

// Within one pixel: positions are kept in whole pixels of 15 twips.
void ExpectNear(double got, double want, const char* what) {
    EXPECT_LE(std::abs(got - want), 15) << what << ": " << got << " vs " << want;
}

TEST_F(AboutTest, CaptionsAndEverythingCentredOnTheOuterWidth) {
    FrmAbout& f = OpenAbout();
    EXPECT_TRUE(f.Visible());
    EXPECT_EQ(f.Caption(), "About Tivlo 2.3");
    EXPECT_EQ(f.lblSoftwareVersion.Caption(), "Tivlo 2.3");
    EXPECT_TRUE(f.lblSoftwareVersion.FontBold());
    EXPECT_EQ(f.lblSoftwareAuther.Caption(), "Made by the Tivlo developers");
    EXPECT_EQ(f.lblNote.Caption(), "You can visit web page : ");
    EXPECT_EQ(f.lblWebPage.Caption(), "https://tivlo.invalid/");
    EXPECT_EQ(f.cmdOK.Caption(), "&OK");
    EXPECT_TRUE(f.cmdOK.FontBold());
    EXPECT_EQ(f.cmdOK.FontSize(), 8.25);
    EXPECT_EQ(f.lblNote.FontSize(), 9.75);

    const double w = f.Width();
    EXPECT_GT(w, f.ScaleWidth());  // the borders count
    for (kit::Control* c : std::initializer_list<kit::Control*>{
             &f.lblSoftwareVersion, &f.lblSoftwareAuther, &f.cmdOK, &f.picMark}) {
        EXPECT_GT(c->Width(), 0);
        ExpectNear(c->Left(), (w - c->Width()) / 2, "centred");
    }
    // The note and the address centred as one row with 240 twips between them.
    EXPECT_GT(f.lblWebPage.Width(), 0);
    ExpectNear(f.lblNote.Left(), (w - f.lblNote.Width() - f.lblWebPage.Width() - 240) / 2, "note");
    ExpectNear(f.lblWebPage.Left(), f.lblNote.Left() + f.lblNote.Width() + 240, "address");
    ExpectNear(f.Line1.X2(), w - f.Line1.X1(), "Line1");
    ExpectNear(f.Line2.X2(), w - f.Line2.X1(), "Line2");
}

TEST_F(AboutTest, TheLinkLightsUpUnderThePointerAndOpensOnceOnAClick) {
    FrmAbout& f = OpenAbout();
    const kit::Handle link = f.lblWebPage.hWnd();
    world.backend.mouseMove(link, 3, 3);
    EXPECT_TRUE(f.lblWebPage.FontUnderline());
    EXPECT_EQ(f.lblWebPage.ForeColor(), 0xFF0000u);
    world.backend.mouseMove(f.lblNote.hWnd(), 3, 3);  // across and out again
    EXPECT_FALSE(f.lblWebPage.FontUnderline());
    EXPECT_EQ(f.lblWebPage.ForeColor(), 0xFFFF00u);

    world.backend.mouseMove(link, 4, 4);
    world.backend.click(link);
    ASSERT_EQ(world.shell.calls().size(), 1u);
    const auto& call = world.shell.calls()[0];
    EXPECT_EQ(call.owner, 0u);
    EXPECT_EQ(call.verb, "");  // the default verb
    EXPECT_EQ(call.file, "https://tivlo.invalid/");
    EXPECT_EQ(call.parameters, "");
    EXPECT_EQ(call.directory, "");
    EXPECT_EQ(call.show, 1);
    EXPECT_FALSE(f.lblWebPage.FontUnderline());

    // A press on the link released elsewhere opens nothing.
    world.backend.mouseDown(link, 4, 4);
    world.backend.mouseUp(link, 400, 400);
    EXPECT_EQ(world.shell.calls().size(), 1u);
}

TEST_F(AboutTest, OneWindowWhateverTheMenuAndOKUnloadsIt) {
    frmTivlo().mnuSchedule.Enabled = false;  // the schedule dialog is open
    FrmAbout* first = &OpenAbout();
    const auto windows = world.backend.windowCount();
    FrmAbout* again = &OpenAbout();
    EXPECT_EQ(first, again);
    EXPECT_EQ(world.backend.windowCount(), windows);
    EXPECT_EQ(world.backend.activeForm(), first->hWnd());
    EXPECT_TRUE(frmTivlo().mnuAbout.Enabled);

    world.backend.mouseMove(first->lblWebPage.hWnd(), 2, 2);
    world.backend.click(first->cmdOK.hWnd());
    EXPECT_FALSE(frmAbout.Loaded());
    EXPECT_FALSE(frmTivlo().mnuSchedule.Enabled);

    // Loaded afresh, the link is as designed; the close box unloads it too.
    FrmAbout& f = OpenAbout();
    EXPECT_FALSE(f.lblWebPage.FontUnderline());
    EXPECT_EQ(f.lblWebPage.ForeColor(), 0xFFFF00u);
    world.backend.pressCloseBox(f.hWnd());
    EXPECT_FALSE(frmAbout.Loaded());
    EXPECT_FALSE(frmTivlo().mnuSchedule.Enabled);
}

TEST_F(AboutTest, TheProductPictureShowsAClockFace) {
    FrmAbout& f = OpenAbout();
    ASSERT_TRUE(f.picMark.picture());
    const auto shot = world.backend.snapshot(f.picMark.hWnd());
    ASSERT_EQ(shot.width, 48);
    auto rgb = [&](int x, int y) { return shot.at(x, y) & 0xFFFFFF; };
    EXPECT_EQ(rgb(0, 0), 0x000000u);                   // the corner: the form's black
    EXPECT_GT(rgb(24, 24) & 0xFF, 0xC0u);  // the red centre

    EXPECT_LT((rgb(24, 24) >> 16) & 0xFF, 0x60u);
    EXPECT_GT(rgb(24, 32) & 0xFF, 0xE0u);  // the white dial
    EXPECT_GT((rgb(24, 32) >> 16) & 0xFF, 0xE0u);
    EXPECT_GT((rgb(24, 1) >> 16) & 0xFF, 0xA0u);  // the cyan rim: much blue...
    EXPECT_LT(rgb(24, 1) & 0xFF, 0x40u);          // ...and little red
}

}  // namespace
