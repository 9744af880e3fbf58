#include "program_fixture.h"
#include "shell/tivlo_form.h"

namespace {

const char* const kNotOnInternet = "You are not on the internet !";

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
};

TEST_F(TimeSynchTest, CommandProbesUpTo101TimesAndStartsOnlyWhenOnline) {
    world.network.queueProbeAnswers(101, false);
    form().mnuTimeSynch_Click();
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
    form().mnuTimeSynch_Click();
    EXPECT_EQ(world.network.probeCount(), 202);
    EXPECT_TRUE(Pending());
    EXPECT_EQ(Boxes(kNotOnInternet), 1);

    // While pending, the command does nothing at all.
    form().mnuTimeSynch_Click();
    EXPECT_EQ(world.network.probeCount(), 202);
    EXPECT_TRUE(Pending());
}

TEST_F(TimeSynchTest, OfflineCancelDropsTheStartStillDue) {
    form().mnuTimeSynch_Click();
    ASSERT_TRUE(Pending());
    form().CancelTimeSynch();
    EXPECT_FALSE(form().mnuTimeSynch.Checked);
    EXPECT_TRUE(form().mnuTimeSynch.Enabled);
    EXPECT_FALSE(form().tmrUTC.Enabled());
    ASSERT_EQ(Boxes(kNotOnInternet), 1);
    EXPECT_EQ(world.backend.msgBoxCalls().back().flags, kit::kMbIconError);
    EXPECT_EQ(world.backend.msgBoxCalls().back().owner, form().hWnd());
    const auto boxes = world.backend.msgBoxCalls().size();
    world.backend.advance(30000);
    EXPECT_EQ(world.backend.msgBoxCalls().size(), boxes);
}

}  // namespace
